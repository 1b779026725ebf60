#include "qt_platform.h"

#include "message_box.h"

namespace {
QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void QtPackagePlatform::ShowMessage(std::u16string_view caption, std::u16string_view text) {
    ShowMessageBox(owner_, QMessageBox::NoIcon, ToQString(caption), ToQString(text));
}
