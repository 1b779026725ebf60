#pragma once

#include <cstddef>
#include <string_view>

namespace quillbeam {

// Whether `code` is half of a surrogate pair: never a character of its own.
constexpr bool IsSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

// One character of UTF-16 text: its code and how many units it takes. A surrogate pair is one
// character of two units; half of a pair alone is a character of one unit, with the half's value
// as its code.
struct Utf16Character {
    char32_t code;
    std::size_t units;
};

// The character that starts at `text[at]`, which must be inside the text.
constexpr Utf16Character CharacterAt(std::u16string_view text, std::size_t at) {
    const char32_t unit = text[at];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
        return {0x10000 + ((unit - 0xD800) << 10) + (text[at + 1] - 0xDC00u), 2};
    }
    return {unit, 1};
}

}  // namespace quillbeam
