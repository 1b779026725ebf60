// The system's own Windows-1252 tables as the reference, with best-fit mappings turned off.
#include "reference_code_page.h"

#include <windows.h>

namespace {

constexpr UINT kCodePage = 1252;

}  // namespace

bool ReferenceCodePage::valid() const {
    return ::IsValidCodePage(kCodePage) != 0;
}

std::optional<char16_t> ReferenceCodePage::Decode(unsigned char byte) const {
    const char in = static_cast<char>(byte);
    wchar_t out = 0;
    if (::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1) {
        return std::nullopt;
    }
    return static_cast<char16_t>(out);
}

std::optional<unsigned char> ReferenceCodePage::Encode(char16_t unit) const {
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
