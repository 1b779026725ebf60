// The encoder against Windows' own default conversion to code page 1252, best fit and all, for
// every UTF-16 unit.
#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <string>

#include "single_byte.h"

TEST(WindowsBestFit, EveryUnitBecomesTheByteWideCharToMultiByteWrites) {
    std::size_t agree = 0;
    int reported = 0;
    for (unsigned value = 0; value < 0x10000; ++value) {
        const auto unit = static_cast<char16_t>(value);
        const auto wide = static_cast<wchar_t>(value);
        char byte = 0;
        BOOL usedDefault = FALSE;
        ASSERT_EQ(WideCharToMultiByte(1252, 0, &wide, 1, &byte, 1, nullptr, &usedDefault), 1);
        // Windows counts the full-width question mark, which it writes as "?", as a default.
        const bool shown = !usedDefault || unit == u'\uFF1F';
        const bool same = quillbeam::ToSingleByte({&unit, 1}) == std::string(1, byte) &&
                          quillbeam::HasSingleByte(unit) == shown;
        if (!same && ++reported <= 20) {
            ADD_FAILURE() << "U+" << std::hex << value << ": Windows writes "
                          << unsigned(byte & 0xFF) << (shown ? "" : " as the default");
        }
        agree += same;
    }
    std::cout << agree << " of 65536 units agree with WideCharToMultiByte(1252, 0)\n";
    RecordProperty("agreeing_units", static_cast<int>(agree));
    EXPECT_EQ(agree, 0x10000u);

    // A surrogate pair is two units and so two bytes, as Windows writes it.
    const wchar_t pair[] = L"\U0001F600";
    char bytes[4] = {};
    ASSERT_EQ(WideCharToMultiByte(1252, 0, pair, 2, bytes, 4, nullptr, nullptr), 2);
    EXPECT_EQ(quillbeam::ToSingleByte(u"\U0001F600"), std::string(bytes, 2));
}
