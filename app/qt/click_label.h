#pragma once

#include <QLabel>

// A label that acts as a link: a pointing-hand cursor, and clicked() when the left button is
// pressed and released over it, or when click() is called.
class ClickLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickLabel(QWidget* parent = nullptr);

    // Acts as a click on the label does; assistive tools press the link through it.
    void click();

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};
