#pragma once

#include <optional>

// The system's own Windows-1252 converter, as an independent reference for the code page; each
// platform's folder reaches its own. Only characters the code page really has count: best-fit
// mappings (ā to a) are left out.
class ReferenceCodePage {
  public:
    // Whether the system has the converter.
    bool valid() const;

    // The character of `byte`, or nothing for a byte the code page leaves undefined.
    std::optional<char16_t> Decode(unsigned char byte) const;
    // The byte of `unit`, or nothing when the code page lacks it.
    std::optional<unsigned char> Encode(char16_t unit) const;
};
