#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// Windows-1252 text, one byte per UTF-16 unit, as Windows' default conversion to that code page
// writes it: a character the code page lacks becomes its near letter (ż as z, ł as l, a
// full-width A as A) where Windows has one, and kUnmappableByte where it has none; so does each
// half of a surrogate pair, so the byte count always equals the unit count.
inline constexpr char kUnmappableByte = '?';

// Appends the single-byte form of `text` to `out`.
void AppendSingleByte(std::string& out, std::u16string_view text);

std::string ToSingleByte(std::u16string_view text);

// Whether `unit` has a byte of its own or a near letter: false where it becomes kUnmappableByte
// for want of either.
bool HasSingleByte(char16_t unit);

// The character a Windows-1252 byte stands for. The five bytes the code page leaves undefined map
// to the C1 controls of the same value, as Windows itself maps them, so every byte round-trips.
char16_t FromSingleByte(unsigned char byte);

}  // namespace quillbeam
