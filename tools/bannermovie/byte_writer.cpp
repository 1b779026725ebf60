#include "byte_writer.h"

#include <stdexcept>

namespace bannermovie {

void ByteWriter::U8(std::uint8_t value) {
    bytes_.push_back(static_cast<char>(value));
}

void ByteWriter::U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value & 0xFF));
    U8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value & 0xFFFF));
    U16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::I32(std::int32_t value) {
    U32(static_cast<std::uint32_t>(value));
}

void ByteWriter::Bytes(std::string_view bytes) {
    bytes_.append(bytes);
}

void ByteWriter::String(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
        throw std::invalid_argument("a SWF string cannot hold a NUL byte");
    }
    bytes_.append(text);
    bytes_.push_back('\0');
}

void ByteWriter::PatchU16(std::size_t offset, std::uint16_t value) {
    bytes_.at(offset) = static_cast<char>(value & 0xFF);
    bytes_.at(offset + 1) = static_cast<char>(value >> 8);
}

void BitWriter::Unsigned(std::uint32_t value, int bits) {
    if (bits < 32 && (value >> bits) != 0) throw std::out_of_range("value does not fit its bits");
    for (int bit = bits - 1; bit >= 0; --bit) {
        current_ = static_cast<std::uint8_t>((unsigned{current_} << 1U) | ((value >> bit) & 1U));
        if (++used_ == 8) {
            bytes_.push_back(static_cast<char>(current_));
            current_ = 0;
            used_ = 0;
        }
    }
}

void BitWriter::Signed(std::int32_t value, int bits) {
    if (bits < SignedBitsFor(value)) throw std::out_of_range("value does not fit its bits");
    const std::uint32_t mask = bits >= 32 ? 0xFFFFFFFFU : (1U << bits) - 1U;
    Unsigned(static_cast<std::uint32_t>(value) & mask, bits);
}

std::string BitWriter::Finish() {
    if (used_ > 0) Unsigned(0, 8 - used_);
    return std::move(bytes_);
}

int BitWriter::SignedBitsFor(std::int32_t value) {
    int bits = 1;  // the sign bit
    for (std::int32_t rest = value < 0 ? ~value : value; rest != 0; rest >>= 1) ++bits;
    return bits;
}

}  // namespace bannermovie
