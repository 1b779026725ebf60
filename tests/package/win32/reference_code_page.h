#pragma once

#include <windows.h>

#include <optional>

// The system's own Windows-1252 tables, as an independent reference for the code page. Best-fit
// mappings (ā to a) are turned off: only characters the code page really has count.
class ReferenceCodePage {
  public:
    static constexpr UINT kCodePage = 1252;

    bool valid() const { return ::IsValidCodePage(kCodePage) != 0; }

    // The character of `byte`, or nothing for a byte the code page leaves undefined.
    std::optional<char16_t> Decode(unsigned char byte) const {
        const char in = static_cast<char>(byte);
        wchar_t out = 0;
        if (::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1) {
            return std::nullopt;
        }
        return static_cast<char16_t>(out);
    }
    // The byte of `unit`, or nothing when the code page lacks it.
    std::optional<unsigned char> Encode(char16_t unit) const {
        const auto in = static_cast<wchar_t>(unit);
        char out = 0;
        BOOL usedDefault = FALSE;
        if (::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &in, 1, &out, 1, nullptr,
                                  &usedDefault) != 1 ||
            usedDefault) {
            return std::nullopt;
        }
        return static_cast<unsigned char>(out);
    }
};
