#include "message_boxes.h"

#include "package_writer.h"
#include "utf8.h"
#include "wide_text.h"

namespace quillbeam::win32 {

void ShowMessage(HWND owner, std::u16string_view caption, std::u16string_view text, UINT icon) {
    const std::wstring wideCaption = ToWide(caption);
    const std::wstring wideText = ToWide(text);
    MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), MB_OK | icon);
}

void ShowFailureReport(HWND owner, const FileFailure& failure) {
    const std::u16string text = u"Error " + FromUtf8(std::to_string(failure.number())) + u": " +
                                FromUtf8(failure.description());
    ShowMessage(owner, kApplicationTitle, text, MB_ICONERROR);
}

}  // namespace quillbeam::win32
