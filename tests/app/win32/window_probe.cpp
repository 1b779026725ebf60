// window_probe: reports the running program's window for the smoke test, which drives it from
// outside. One line per control of the layout table: its name, its rectangle on the screen (left,
// top, width, height) and its text in UTF-8, with CR and LF written as \r and \n. Then "children"
// and the controls' names in the order of the window's children, where screen readers look for
// each box's name. Exits 1 when no window is up.
#include <windows.h>

#include <cstdio>
#include <string>

#include "control_ids.h"
#include "window_layout.h"

namespace {

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (const wchar_t unit : text) {
        if (unit == L'\r') {
            out += "\\r";
        } else if (unit == L'\n') {
            out += "\\n";
        } else {
            char bytes[8] = {};
            const int size = WideCharToMultiByte(CP_UTF8, 0, &unit, 1, bytes, 8, nullptr, nullptr);
            out.append(bytes, static_cast<std::size_t>(size));
        }
    }
    return out;
}

// Another process's control answers WM_GETTEXT itself; GetWindowText would not ask it.
std::wstring TextOf(HWND control) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

}  // namespace

int main() {
    const std::wstring caption(quillbeam::layout::kWindowCaption.begin(),
                               quillbeam::layout::kWindowCaption.end());
    HWND window = FindWindowW(L"Quillbeam", caption.c_str());
    if (window == nullptr) return 1;
    for (std::size_t i = 0; i < quillbeam::layout::kControls.size(); ++i) {
        HWND control = GetDlgItem(window, quillbeam::win32::ControlId(i));
        RECT rect{};
        GetWindowRect(control, &rect);
        const std::string name(quillbeam::layout::kControls[i].name);
        std::printf("%s %ld %ld %ld %ld %s\n", name.c_str(), rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, Utf8(TextOf(control)).c_str());
    }
    std::printf("children");
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int index = GetDlgCtrlID(child) - quillbeam::win32::kFirstControlId;
        const std::string name(
            quillbeam::layout::kControls.at(static_cast<std::size_t>(index)).name);
        std::printf(" %s", name.c_str());
    }
    std::printf("\n");
    return 0;
}
