#include "failure_report.h"

#include "message_box.h"
#include "package_writer.h"

void ShowFailureReport(QWidget* owner, const quillbeam::FileFailure& failure) {
    const QString text = QStringLiteral("Error %1: %2")
                             .arg(failure.number())
                             .arg(QString::fromStdString(failure.description()));
    const std::u16string_view title = quillbeam::kApplicationTitle;
    ShowMessageBox(owner, QMessageBox::Critical,
                   QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size())), text);
}
