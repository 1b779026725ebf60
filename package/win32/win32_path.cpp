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

// The system's full form of `path`: "..", "/" and repeated separators resolved, a device name
// turned into \\.\NAME. Empty when the system cannot make it.
std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
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

Win32Path ToWin32Path(std::u16string_view path) {
    std::wstring wide(path.begin(), path.end());  // wchar_t is a UTF-16 unit on Windows
    // A path already in the device or verbatim namespace means exactly what it says.
    if (wide.starts_with(kVerbatimPrefix) || wide.starts_with(kDevicePrefix)) return {wide};
    const std::wstring full = FullPath(wide);
    if (full.starts_with(kDevicePrefix)) return {full, true};
    // The prefix turns off the system's own clean-up of the path, so the full form follows it.
    // Without a full form the path goes on as it is, and the call that uses it reports why.
    if (wide.size() < MAX_PATH || full.empty()) return {wide};
    if (full.starts_with(L"\\\\")) return {std::wstring(kVerbatimPrefix) + L"UNC" + full.substr(1)};
    return {std::wstring(kVerbatimPrefix) + full};
}

}  // namespace quillbeam
