#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

// Stands in for the person at the screen. While it lives, every modal dialog that opens is
// recorded and handed to the next of the given answers; a dialog beyond them is rejected, so that
// no test ever waits on a person.
class ModalDialogs {
  public:
    using Answer = std::function<void(QDialog&)>;

    struct Seen {
        QString className;
        QString title;
        QString text;   // a message box's text
        int icon = -1;  // a message box's icon
        QMessageBox::StandardButtons buttons;
        QWidget* parent = nullptr;
        Qt::WindowModality modality = Qt::NonModal;
    };

    explicit ModalDialogs(std::vector<Answer> answers = {}) : answers_(std::move(answers)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }

    const std::vector<Seen>& seen() const { return seen_; }

    static void Accept(QDialog& dialog) { dialog.accept(); }
    static void Reject(QDialog& dialog) { dialog.reject(); }

  private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || (dialog == last_ && dialog->isVisible())) return;
        last_ = dialog;
        Seen seen{QString::fromLatin1(dialog->metaObject()->className()),
                  dialog->windowTitle(),
                  {},
                  -1,
                  {},
                  dialog->parentWidget(),
                  dialog->windowModality()};
        if (const auto* box = qobject_cast<QMessageBox*>(dialog)) {
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
        }
        seen_.push_back(seen);
        const std::size_t index = seen_.size() - 1;
        if (index < answers_.size()) {
            answers_[index](*dialog);
        } else {
            dialog->reject();
        }
    }

    std::vector<Answer> answers_;
    std::vector<Seen> seen_;
    QPointer<QDialog> last_;
    QTimer timer_;
};
