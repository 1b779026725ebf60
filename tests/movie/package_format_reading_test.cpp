// The core's variable files taken apart by the movie's own reading rules, the code that writes the
// script's readFile: a change of the format that the movie could not follow fails here.
#include "package_format_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "single_byte.h"
#include "variable_file.h"

namespace {

// The script's string operations on the file's bytes, as ActionScript's: a place outside the text
// is taken as its nearer end, and substring's ends the wrong way round are swapped.
struct ByteOps {
    using Place = std::ptrdiff_t;
    static Place Local(const char* /*name*/, Place value) { return value; }
    static Place Within(const std::string& text, Place at) {
        return std::clamp<Place>(at, 0, static_cast<Place>(text.size()));
    }
    static Place IndexOf(const std::string& text, const std::string& marker, Place from = 0) {
        const std::size_t at = text.find(marker, static_cast<std::size_t>(Within(text, from)));
        return at == std::string::npos ? -1 : static_cast<Place>(at);
    }
    static std::string Substring(const std::string& text, Place from, Place to) {
        const Place first = std::min(Within(text, from), Within(text, to));
        const Place last = std::max(Within(text, from), Within(text, to));
        return text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first));
    }
    static std::string Substr(const std::string& text, Place from) {
        return text.substr(static_cast<std::size_t>(Within(text, from)));
    }
};

TEST(PackageFormatReading, TheMovieFindsEveryValueTheCoreWrote) {
    const struct {
        std::u16string message, url;
    } rows[] = {
        {u"Hi", u"offers/index.html"},
        {u"", u""},
        // Markers and separators of the format inside the values.
        {u"50% & more + less = fun\r\n&txt=again\r\n&speed=9&", u"shop.php?a=1&b=%20+c&theUrl=x"},
        {u"//The variable\r\n//\r\n", u"&"},
        {u"caf\u00E9 \u20AC\r\n", u"http://example.com/\u00E9"},
    };
    for (const auto& row : rows) {
        const std::string file = quillbeam::BuildVariableFileText(row.message, row.url);
        SCOPED_TRACE(file);
        const auto values = bannermovie::LocateValues(ByteOps{}, file);
        EXPECT_FALSE(values.missing);
        EXPECT_EQ(values.speed, std::to_string(quillbeam::package_format::kDefaultSpeedMs));
        EXPECT_EQ(values.url, quillbeam::ToSingleByte(row.url));
        EXPECT_EQ(values.message, quillbeam::ToSingleByte(row.message));
    }
    for (const std::string notAFile : {"", "&loaded=yes&\r\n", "&speed=50&&theUrl=x&&txt=y"}) {
        EXPECT_TRUE(bannermovie::LocateValues(ByteOps{}, notAFile).missing) << notAFile;
    }
}

}  // namespace
