#include "single_byte.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "best_fit_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillbeam {
namespace {

// Characters of bytes 0x80 to 0x9F; the rest of the code page is Latin-1 and maps to itself.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char16_t Decode(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80u] : char16_t{byte};
}

// One entry per UTF-16 unit, so encoding is a single lookup per unit with no branches; and one
// bit per unit for whether its byte stands for it, as itself or as a near letter.
struct EncodeTable {
    std::array<unsigned char, 0x10000> bytes{};
    std::array<std::uint64_t, 0x10000 / 64> hasByte{};

    constexpr void Set(char16_t unit, unsigned char byte) {
        bytes[unit] = byte;
        hasByte[unit / 64] |= std::uint64_t{1} << (unit % 64);
    }
};

constexpr EncodeTable MakeEncodeTable() {
    EncodeTable table{};
    table.bytes.fill(static_cast<unsigned char>(kUnmappableByte));
    for (const best_fit::Row& row : best_fit::kRows) {
        for (const char16_t unit : row.characters) table.Set(unit, row.byte);
    }
    for (char16_t unit = best_fit::kFullWidthFirst; unit <= best_fit::kFullWidthLast; ++unit) {
        table.Set(unit, static_cast<unsigned char>(best_fit::kFullWidthFirstByte +
                                                   (unit - best_fit::kFullWidthFirst)));
    }
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        table.Set(Decode(static_cast<unsigned char>(byte)), static_cast<unsigned char>(byte));
    }
    return table;
}

constexpr EncodeTable kEncodeTable = MakeEncodeTable();

#if defined(__SSE2__)
// Narrows whole blocks of 16 units that are their own byte (Latin-1 outside the C1 range, which
// is nearly all typed text) with SSE2; stops at the first block that needs the table. Returns
// the number of units done.
std::size_t NarrowPlainBlocks(const char16_t* source, char* dest, std::size_t count) {
    const __m128i highByte = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i c1Start = _mm_set1_epi16(0x80);
    // (unit - 0x80) < 0x20 as an unsigned test, done with the signed compare SSE2 has.
    const __m128i signFlip = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i c1Limit = _mm_set1_epi16(static_cast<short>(0x8020));
    std::size_t done = 0;
    for (; done + 16 <= count; done += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + done));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + done + 8));
        __m128i notOwn = _mm_and_si128(_mm_or_si128(low, high), highByte);
        for (const __m128i half : {low, high}) {
            const __m128i shifted = _mm_xor_si128(_mm_sub_epi16(half, c1Start), signFlip);
            notOwn = _mm_or_si128(notOwn, _mm_cmplt_epi16(shifted, c1Limit));
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(notOwn, _mm_setzero_si128())) != 0xFFFF) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + done), _mm_packus_epi16(low, high));
    }
    return done;
}
#else
std::size_t NarrowPlainBlocks(const char16_t*, char*, std::size_t) {
    return 0;
}
#endif

}  // namespace

void AppendSingleByte(std::string& out, std::u16string_view text) {
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* dest = out.data() + start;
    std::size_t i = 0;
    while (i < text.size()) {
        i += NarrowPlainBlocks(text.data() + i, dest + i, text.size() - i);
        // One block's worth through the table, then back to the fast path.
        const std::size_t stop = std::min(text.size(), i + 16);
        for (; i < stop; ++i) dest[i] = static_cast<char>(kEncodeTable.bytes[text[i]]);
    }
}

std::string ToSingleByte(std::u16string_view text) {
    std::string out;
    AppendSingleByte(out, text);
    return out;
}

bool HasSingleByte(char16_t unit) {
    return (kEncodeTable.hasByte[unit / 64] >> (unit % 64) & 1) != 0;
}

char16_t FromSingleByte(unsigned char byte) {
    return Decode(byte);
}

}  // namespace quillbeam
