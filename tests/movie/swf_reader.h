#pragma once

// An independent reader of the SWF and AVM1 structures the banner uses, written from the file
// format's description, so that the tests check the generator against the format and not against
// itself. Every read is bounds-checked and throws on a malformed file.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace swf_reader {

struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Bytes {
  public:
    Bytes(std::string_view data) : data_(data) {}
    std::uint8_t U8() {
        Need(1);
        return static_cast<std::uint8_t>(data_[at_++]);
    }
    std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }
    std::uint32_t U32() { return U16() | (static_cast<std::uint32_t>(U16()) << 16); }
    std::string_view Take(std::size_t count) {
        Need(count);
        auto piece = data_.substr(at_, count);
        at_ += count;
        return piece;
    }
    std::string String() {
        const auto end = data_.find('\0', at_);
        if (end == std::string_view::npos) throw Malformed("unterminated string");
        std::string text(data_.substr(at_, end - at_));
        at_ = end + 1;
        return text;
    }
    std::size_t at() const { return at_; }
    std::size_t left() const { return data_.size() - at_; }
    void Skip(std::size_t count) { Take(count); }

  private:
    void Need(std::size_t count) const {
        if (count > data_.size() - at_) throw Malformed("read past the end");
    }
    std::string_view data_;
    std::size_t at_ = 0;
};

// Bit fields, most significant bit first.
class Bits {
  public:
    explicit Bits(Bytes& bytes) : bytes_(bytes) {}
    std::uint32_t Unsigned(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (used_ == 0) current_ = bytes_.U8();
            value = (value << 1) | ((current_ >> (7 - used_)) & 1U);
            used_ = (used_ + 1) % 8;
        }
        return value;
    }
    std::int32_t Signed(int count) {
        const std::uint32_t raw = Unsigned(count);
        if (count > 0 && (raw >> (count - 1)) != 0) {
            return static_cast<std::int32_t>(raw | ~((1U << count) - 1U));
        }
        return static_cast<std::int32_t>(raw);
    }

  private:
    Bytes& bytes_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

struct Rect {
    std::int32_t xMin, xMax, yMin, yMax;
};

inline Rect ReadRect(Bytes& bytes) {
    Bits bits(bytes);
    const int n = static_cast<int>(bits.Unsigned(5));
    Rect rect{};
    rect.xMin = bits.Signed(n);
    rect.xMax = bits.Signed(n);
    rect.yMin = bits.Signed(n);
    rect.yMax = bits.Signed(n);
    return rect;
}

struct Tag {
    std::uint16_t code;
    std::string_view body;
};

struct Movie {
    std::string signature;
    std::uint8_t version;
    std::uint32_t fileLength;
    Rect stage;
    double frameRate;
    std::uint16_t frameCount;
    std::vector<Tag> tags;  // the End tag included
};

inline std::vector<Tag> ReadTags(Bytes& bytes) {
    std::vector<Tag> tags;
    for (;;) {
        const std::uint16_t header = bytes.U16();
        std::uint32_t length = header & 0x3F;
        if (length == 0x3F) length = bytes.U32();
        tags.push_back({static_cast<std::uint16_t>(header >> 6), bytes.Take(length)});
        if (tags.back().code == 0) return tags;
    }
}

inline Movie ReadMovie(std::string_view file) {
    Bytes bytes(file);
    Movie movie{};
    movie.signature = std::string(bytes.Take(3));
    movie.version = bytes.U8();
    movie.fileLength = bytes.U32();
    movie.stage = ReadRect(bytes);
    movie.frameRate = bytes.U16() / 256.0;
    movie.frameCount = bytes.U16();
    movie.tags = ReadTags(bytes);
    if (bytes.left() != 0) throw Malformed("bytes after the End tag");
    return movie;
}

// One AVM1 action record.
struct Action {
    std::size_t offset;  // within its block
    std::uint8_t code;
    std::string_view operands;
};

// Reads an action block up to and including its End action, which must be its last byte.
inline std::vector<Action> ReadActions(std::string_view block) {
    Bytes bytes(block);
    std::vector<Action> actions;
    for (;;) {
        const std::size_t offset = bytes.at();
        const std::uint8_t code = bytes.U8();
        std::string_view operands;
        if (code >= 0x80) operands = bytes.Take(bytes.U16());
        actions.push_back({offset, code, operands});
        if (code == 0) break;
    }
    if (bytes.left() != 0) throw Malformed("bytes after the End action");
    return actions;
}

}  // namespace swf_reader
