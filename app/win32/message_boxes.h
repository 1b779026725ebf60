#pragma once

#include <windows.h>

#include <functional>
#include <string_view>
#include <utility>

#include "win32_platform.h"

namespace quillbeam::win32 {

// Shows a message box as MessageBoxW does. The window takes one, so that a test can read what
// each box says.
using MessageBoxFunction =
    std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)>;

// A modal message box with one OK button, owned by `owner`. CR LF breaks its lines.
void ShowMessage(const MessageBoxFunction& show, HWND owner, std::u16string_view caption,
                 std::u16string_view text, UINT icon);

// Asks the user whether to go on: the text under a warning icon, captioned with the application
// title, modal to `owner`, with Yes and No. True for Yes; No is the default.
bool AskToGoOn(const MessageBoxFunction& show, HWND owner, std::u16string_view text);

// Tells the user that a command failed: the report's text under an error icon, captioned with the
// application title, modal to `owner`.
void ShowFailureReport(const MessageBoxFunction& show, HWND owner, std::u16string_view text);

// The package core's platform for the window: files through Win32, messages as message boxes
// modal to the window, with no icon.
class WindowPackagePlatform : public Win32FilePlatform {
  public:
    WindowPackagePlatform(HWND owner, MessageBoxFunction show)
        : owner_(owner), show_(std::move(show)) {}

    void ShowMessage(std::u16string_view caption, std::u16string_view text) override {
        win32::ShowMessage(show_, owner_, caption, text, 0);
    }

  private:
    HWND owner_;
    MessageBoxFunction show_;
};

}  // namespace quillbeam::win32
