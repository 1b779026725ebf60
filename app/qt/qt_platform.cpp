#include "qt_platform.h"

#include "message_box.h"

void QtPackagePlatform::ShowMessage(std::u16string_view caption, std::u16string_view text) {
    ShowMessageBox(owner_, QMessageBox::NoIcon, ToQString(caption), ToQString(text));
}
