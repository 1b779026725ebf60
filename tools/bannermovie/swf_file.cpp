#include "swf_file.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "byte_writer.h"

namespace bannermovie {
namespace {

constexpr std::size_t kLongestShortTagBody = 62;  // 63 in the length field means "long header"
constexpr std::uint16_t kLongLengthMarker = 0x3F;

}  // namespace

std::string EncodeRect(const Rect& rect) {
    const int bits =
        std::max({BitWriter::SignedBitsFor(rect.xMin), BitWriter::SignedBitsFor(rect.xMax),
                  BitWriter::SignedBitsFor(rect.yMin), BitWriter::SignedBitsFor(rect.yMax)});
    BitWriter out;
    out.Unsigned(static_cast<std::uint32_t>(bits), 5);
    out.Signed(rect.xMin, bits);
    out.Signed(rect.xMax, bits);
    out.Signed(rect.yMin, bits);
    out.Signed(rect.yMax, bits);
    return out.Finish();
}

std::string EncodeTag(TagCode code, std::string_view body) {
    const auto codeBits = static_cast<std::uint16_t>(static_cast<std::uint16_t>(code) << 6);
    ByteWriter out;
    if (body.size() <= kLongestShortTagBody) {
        out.U16(static_cast<std::uint16_t>(codeBits | body.size()));
    } else {
        if (body.size() > std::numeric_limits<std::uint32_t>::max()) {
            throw std::length_error("tag too long");
        }
        out.U16(static_cast<std::uint16_t>(codeBits | kLongLengthMarker));
        out.U32(static_cast<std::uint32_t>(body.size()));
    }
    out.Bytes(body);
    return out.bytes();
}

SwfFile::SwfFile(std::uint8_t version, Rect stage, std::uint8_t framesPerSecond,
                 std::uint16_t frameCount)
    : version_(version),
      stage_(stage),
      framesPerSecond_(framesPerSecond),
      frameCount_(frameCount) {}

void SwfFile::AddTag(TagCode code, std::string_view body) {
    tags_ += EncodeTag(code, body);
}

std::string SwfFile::Finish() const {
    ByteWriter rest;  // everything after the 8 bytes of signature, version and file length
    rest.Bytes(EncodeRect(stage_));
    rest.U16(static_cast<std::uint16_t>(framesPerSecond_ << 8));  // 8.8 fixed point
    rest.U16(frameCount_);
    rest.Bytes(tags_);
    rest.Bytes(EncodeTag(TagCode::End, {}));

    ByteWriter file;
    file.Bytes("FWS");
    file.U8(version_);
    file.U32(static_cast<std::uint32_t>(8 + rest.size()));
    file.Bytes(rest.bytes());
    return file.bytes();
}

}  // namespace bannermovie
