#include "failure_report.h"

#include "message_box.h"
#include "package_writer.h"

void ShowFailureReport(QWidget* owner, const quillbeam::FileFailure& failure) {
    const QString text = QStringLiteral("Error %1: %2")
                             .arg(failure.number())
                             .arg(QString::fromStdString(failure.description()));
    ShowMessageBox(owner, QMessageBox::Critical, ToQString(quillbeam::kApplicationTitle), text);
}
