#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// Windows-1252 text, one byte per UTF-16 unit. A character that code page lacks, and each half of a
// surrogate pair, becomes kUnmappableByte, so the byte count always equals the unit count.
inline constexpr char kUnmappableByte = '?';

// Appends the single-byte form of `text` to `out`.
void AppendSingleByte(std::string& out, std::u16string_view text);

std::string ToSingleByte(std::u16string_view text);

// The character a Windows-1252 byte stands for. The five bytes the code page leaves undefined map
// to the C1 controls of the same value, as Windows itself maps them, so every byte round-trips.
char16_t FromSingleByte(unsigned char byte);

}  // namespace quillbeam
