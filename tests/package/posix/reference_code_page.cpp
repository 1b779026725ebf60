// glibc's own Windows-1252 converter as the reference.
#include "reference_code_page.h"

#include <iconv.h>

#include <cstddef>

namespace {

// The converters both ways, opened once for the test program.
class Converters {
  public:
    Converters()
        : decoder_(::iconv_open("UTF-16LE", "CP1252")),
          encoder_(::iconv_open("CP1252", "UTF-16LE")) {}
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        if (decoder_ != Invalid()) ::iconv_close(decoder_);
        if (encoder_ != Invalid()) ::iconv_close(encoder_);
    }
    bool valid() const { return decoder_ != Invalid() && encoder_ != Invalid(); }
    iconv_t decoder() const { return decoder_; }
    iconv_t encoder() const { return encoder_; }

  private:
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t decoder_;
    iconv_t encoder_;
};

const Converters& Iconv() {
    static const Converters converters;
    return converters;
}

bool Convert(iconv_t converter, const unsigned char* in, std::size_t inSize, unsigned char* out,
             std::size_t outSize) {
    ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    auto* inPointer = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
    auto* outPointer = reinterpret_cast<char*>(out);
    return ::iconv(converter, &inPointer, &inSize, &outPointer, &outSize) == 0 && inSize == 0 &&
           outSize == 0;
}

}  // namespace

bool ReferenceCodePage::valid() const {
    return Iconv().valid();
}

std::optional<char16_t> ReferenceCodePage::Decode(unsigned char byte) const {
    unsigned char out[2];
    if (!Convert(Iconv().decoder(), &byte, 1, out, 2)) return std::nullopt;
    return static_cast<char16_t>(out[0] | out[1] << 8);
}

std::optional<unsigned char> ReferenceCodePage::Encode(char16_t unit) const {
    const unsigned char in[2] = {static_cast<unsigned char>(unit & 0xFF),
                                 static_cast<unsigned char>(unit >> 8)};
    unsigned char out = 0;
    if (!Convert(Iconv().encoder(), in, 2, &out, 1)) return std::nullopt;
    return out;
}
