#pragma once

#include <iconv.h>

#include <optional>

// glibc's own Windows-1252 converter, as an independent reference for the code page.
class ReferenceCodePage {
  public:
    ReferenceCodePage()
        : decoder_(::iconv_open("UTF-16LE", "CP1252")),
          encoder_(::iconv_open("CP1252", "UTF-16LE")) {}
    ReferenceCodePage(const ReferenceCodePage&) = delete;
    ReferenceCodePage& operator=(const ReferenceCodePage&) = delete;
    ~ReferenceCodePage() {
        if (valid()) {
            ::iconv_close(decoder_);
            ::iconv_close(encoder_);
        }
    }
    bool valid() const { return decoder_ != Invalid() && encoder_ != Invalid(); }

    // The character of `byte`, or nothing for a byte the code page leaves undefined.
    std::optional<char16_t> Decode(unsigned char byte) const {
        unsigned char out[2];
        if (!Convert(decoder_, &byte, 1, out, 2)) return std::nullopt;
        return static_cast<char16_t>(out[0] | out[1] << 8);
    }
    // The byte of `unit`, or nothing when the code page lacks it.
    std::optional<unsigned char> Encode(char16_t unit) const {
        const unsigned char in[2] = {static_cast<unsigned char>(unit & 0xFF),
                                     static_cast<unsigned char>(unit >> 8)};
        unsigned char out = 0;
        if (!Convert(encoder_, in, 2, &out, 1)) return std::nullopt;
        return out;
    }

  private:
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
    static bool Convert(iconv_t converter, const unsigned char* in, std::size_t inSize,
                        unsigned char* out, std::size_t outSize) {
        ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
        auto* inPointer = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
        auto* outPointer = reinterpret_cast<char*>(out);
        return ::iconv(converter, &inPointer, &inSize, &outPointer, &outSize) == 0 && inSize == 0 &&
               outSize == 0;
    }
    iconv_t decoder_;
    iconv_t encoder_;
};
