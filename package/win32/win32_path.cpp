#include "win32_path.h"

#include <windows.h>

namespace quillbeam {
namespace {

constexpr std::wstring_view kVerbatimPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

// "\\?\" or "\\.\" and then "X:", the only places a '?' or a ':' may stand.
std::u16string_view WithoutRoot(std::u16string_view path) {
    if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\")) path.remove_prefix(4);
    const bool drive =
        path.size() >= 2 && path[1] == u':' &&
        ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
    if (drive) path.remove_prefix(2);
    return path;
}

}  // namespace

bool HasForbiddenCharacter(std::u16string_view path) {
    for (const char16_t unit : WithoutRoot(path)) {
        if (unit < 32 || std::u16string_view(u"<>:\"|?*").find(unit) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

std::wstring Win32Path(std::u16string_view path) {
    std::wstring wide(path.begin(), path.end());  // wchar_t is a UTF-16 unit on Windows
    if (wide.size() < MAX_PATH || wide.starts_with(kVerbatimPrefix) ||
        wide.starts_with(kDevicePrefix)) {
        return wide;
    }
    // The prefix turns off the system's own clean-up of the path ("..", "/", repeated
    // separators), so the path is made full first. On failure the path goes on as it is, and
    // the call that uses it reports why.
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return wide;
    full.resize(length);
    // A device name such as NUL comes back as \\.\NUL and stays a device.
    if (full.starts_with(kVerbatimPrefix) || full.starts_with(kDevicePrefix)) return full;
    if (full.starts_with(L"\\\\")) return std::wstring(kVerbatimPrefix) + L"UNC" + full.substr(1);
    return std::wstring(kVerbatimPrefix) + full;
}

}  // namespace quillbeam
