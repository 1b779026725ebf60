#pragma once

#include <QAccessibleWidget>

class ClickLabel;

// What assistive tools see of a label that acts as a link: the link role and one press action,
// which opens the page as a click does. Name and description are the label's own.
class LinkAccessible : public QAccessibleWidget {
  public:
    explicit LinkAccessible(ClickLabel* label);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};
