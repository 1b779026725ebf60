// Feeds arbitrary UTF-16 to the encoder and the variable file builder. The input's first two
// bytes say where the url ends and the message begins; the rest is read as UTF-16 units.
// Checks the length law and that every unit lands as exactly one byte: its own, a near letter,
// or the stand-in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "single_byte.h"
#include "variable_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t split = static_cast<std::size_t>(data[0]) | (std::size_t{data[1]} << 8);
    std::u16string units((size - 2) / 2, u'\0');
    std::memcpy(units.data(), data + 2, units.size() * 2);

    const std::size_t urlLength = split % (units.size() + 1);
    const std::u16string_view url(units.data(), urlLength);
    const std::u16string_view message(units.data() + urlLength, units.size() - urlLength);

    static const std::size_t fixed = quillbeam::BuildVariableFileText(u"", u"").size();
    const std::string text = quillbeam::BuildVariableFileText(message, url);
    Check(text.size() == fixed + url.size() + message.size());
    Check(text.compare(text.size() - message.size(), message.size(),
                       quillbeam::ToSingleByte(message)) == 0);

    const std::string encoded = quillbeam::ToSingleByte(units);
    Check(encoded.size() == units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto byte = static_cast<unsigned char>(encoded[i]);
        // Its own byte or a near letter, where it has either, else the stand-in; the code page's
        // Latin-1 characters keep their own byte.
        Check(quillbeam::HasSingleByte(units[i]) || encoded[i] == quillbeam::kUnmappableByte);
        Check(quillbeam::FromSingleByte(byte) == units[i] || units[i] > 0xFF ||
              !quillbeam::HasSingleByte(units[i]));
    }
    return 0;
}
