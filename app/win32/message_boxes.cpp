#include "message_boxes.h"

#include "package_writer.h"
#include "wide_text.h"

namespace quillbeam::win32 {

void ShowMessage(const MessageBoxFunction& show, HWND owner, std::u16string_view caption,
                 std::u16string_view text, UINT icon) {
    const std::wstring wideCaption = ToWide(caption);
    const std::wstring wideText = ToWide(text);
    show(owner, wideText.c_str(), wideCaption.c_str(), MB_OK | icon);
}

bool AskToGoOn(const MessageBoxFunction& show, HWND owner, std::u16string_view text) {
    const std::wstring caption = ToWide(kApplicationTitle);
    const std::wstring wideText = ToWide(text);
    // Enter, or closing the box, writes nothing: only a deliberate Yes goes on.
    return show(owner, wideText.c_str(), caption.c_str(),
                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void ShowFailureReport(const MessageBoxFunction& show, HWND owner, std::u16string_view text) {
    ShowMessage(show, owner, kApplicationTitle, text, MB_ICONERROR);
}

}  // namespace quillbeam::win32
