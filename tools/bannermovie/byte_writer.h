#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace bannermovie {

// Little-endian fields, as every byte-aligned SWF and AVM1 field is stored.
class ByteWriter {
  public:
    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value);
    void Bytes(std::string_view bytes);
    // A NUL-terminated string (SWF's STRING).
    void String(std::string_view text);
    void PatchU16(std::size_t offset, std::uint16_t value);

    std::size_t size() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// Bit fields packed most significant bit first, as SWF stores RECT, MATRIX and shape records.
// Finish() pads the last byte with zero bits.
class BitWriter {
  public:
    void Unsigned(std::uint32_t value, int bits);
    void Signed(std::int32_t value, int bits);
    void Flag(bool value) { Unsigned(value ? 1 : 0, 1); }
    std::string Finish();

    // The fewest bits that hold `value` as a signed (two's complement) field.
    static int SignedBitsFor(std::int32_t value);

  private:
    std::string bytes_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

}  // namespace bannermovie
