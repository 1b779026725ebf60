#pragma once

#include <string>
#include <string_view>

namespace quillbeam::win32 {

// The program's UTF-16 texts and the wide strings of the W calls hold the same units.
inline std::wstring ToWide(std::u16string_view text) {
    return {text.begin(), text.end()};
}
inline std::wstring ToWide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}
inline std::u16string FromWide(std::wstring_view text) {
    return {text.begin(), text.end()};
}

}  // namespace quillbeam::win32
