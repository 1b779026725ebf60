#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include "wait_guard.h"

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

    // Picks `path` in Qt's own file dialog as a person would: its folder opened and its entry
    // selected in the list. It waits for the dialog to become active first: the dialog then gives
    // its name box the focus, and selectFile() leaves a focused name box alone, so a selection
    // made any earlier races the activation. Accepts only once the dialog's answer is `path`.
    static Answer Pick(QString path) {
        return [path = std::move(path)](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            auto* list = dialog.findChild<QListView*>("listView");
            auto* model = dialog.findChild<QFileSystemModel*>();
            QStringList answer;
            if (files != nullptr && list != nullptr && list->model() == model &&
                QTest::qWaitForWindowActive(&dialog, kWaitGuardMs)) {
                files->setDirectory(QFileInfo(path).absolutePath());
                list->selectionModel()->select(
                    model->index(path),
                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                answer = files->selectedFiles();
            }
            // Nothing runs between this check and accept(), which takes the same answer.
            const bool picked = answer == QStringList{path};
            picked ? dialog.accept() : dialog.reject();
            QVERIFY2(picked, qPrintable("the file dialog would answer " + answer.join(", ")));
        };
    }

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
