#pragma once

#include <windows.h>

#include <string_view>

#include "file_failure.h"
#include "win32_platform.h"

namespace quillbeam::win32 {

// A modal message box with one OK button, owned by `owner`. CR LF breaks its lines.
void ShowMessage(HWND owner, std::u16string_view caption, std::u16string_view text, UINT icon);

// Tells the user that a command failed: the failure's number and description under an error
// icon, captioned with the application title, modal to `owner`.
void ShowFailureReport(HWND owner, const FileFailure& failure);

// The package core's platform for the window: files through Win32, messages as message boxes
// modal to the window, with no icon.
class WindowPackagePlatform : public Win32FilePlatform {
  public:
    explicit WindowPackagePlatform(HWND owner) : owner_(owner) {}

    void ShowMessage(std::u16string_view caption, std::u16string_view text) override {
        win32::ShowMessage(owner_, caption, text, 0);
    }

  private:
    HWND owner_;
};

}  // namespace quillbeam::win32
