// What both windows leave to their shared logic: the request from the boxes, Generate and its
// failure report, the link addresses, the font that fits the captions and the link's colour.
#include <gtest/gtest.h>

#include <filesystem>

#include "application_folder.h"
#include "dropped_folder.h"
#include "fitting_font.h"
#include "generate_command.h"
#include "link_color.h"
#include "native_file_platform.h"
#include "path_join.h"
#include "temp_folder.h"
#include "unshowable_characters.h"
#include "window_layout.h"

namespace {

namespace layout = quillbeam::layout;
using layout::Role;
using quillbeam::FileFailure;
using namespace quillbeam::window;

// The real file layer, with the completion message kept instead of shown.
class QuietPlatform : public quillbeam::NativeFilePlatform {
  public:
    void ShowMessage(std::u16string_view /*caption*/, std::u16string_view text) override {
        messages.emplace_back(text);
    }
    std::vector<std::u16string> messages;
};

// A disk that fills up once the text files are written.
class FullDiskPlatform : public QuietPlatform {
  public:
    void CopyAsset(std::u16string_view /*from*/, std::u16string_view /*to*/) override {
        throw FileFailure(28, "No space left on device");
    }
};

TEST(WindowLogic, RequestTakesEachBoxByItsRole) {
    const quillbeam::BannerRequest request = RequestFromBoxes([](Role role) {
        const std::string_view name = layout::Find(role).name;
        return std::u16string(name.begin(), name.end());
    });
    EXPECT_EQ(request.folder, u"Text1");
    EXPECT_EQ(request.messages,
              (std::array<std::u16string, 4>{u"Text2", u"Text3", u"Text4", u"Text5"}));
    EXPECT_EQ(request.url, u"Text6");
}

TEST(WindowLogic, GenerateTakesTheTemplateBesideTheProgramUnlessGivenAFolder) {
    const TempFolder temp;
    std::filesystem::create_directories(temp / "app" / "Template");
    WriteFileBytes(temp / "app" / "Template" / "bannerloop2.swf", "own movie");
    WriteFileBytes(temp / "app" / "Template" / "mypic.jpg", "own picture");
    std::filesystem::create_directory(temp / "out");
    const quillbeam::BannerRequest request{
        (temp / "out").u16string(), {u"1", u"2", u"3", u"4"}, u"http://example.com/"};

    QuietPlatform platform;
    EXPECT_EQ(RunGenerate(request, (temp / "app").u16string(), platform), std::nullopt);
    EXPECT_EQ(ReadFileBytes(temp / "out" / "mypic.jpg"), "own picture");
    EXPECT_EQ(RunGenerate(request, std::nullopt, platform), std::nullopt);
    const std::filesystem::path beside(quillbeam::ExecutableFolder());
    EXPECT_TRUE(ReadFileBytes(temp / "out" / "mypic.jpg") ==
                ReadFileBytes(beside / "Template" / "mypic.jpg"));
    EXPECT_EQ(platform.messages.size(), 2u);

    FullDiskPlatform full;
    EXPECT_EQ(RunGenerate(request, (temp / "app").u16string(), full),
              std::u16string(u"Error 28: No space left on device"));
    EXPECT_TRUE(full.messages.empty());
}

TEST(WindowLogic, FailureReportGivesTheNumberAndTheDescription) {
    EXPECT_EQ(FailureReportText(FileFailure(5, "Access is denied.")),
              u"Error 5: Access is denied.");
    EXPECT_EQ(FailureReportText(FileFailure(-2, "Caf\xC3\xA9 \xE2\x82\xAC")),
              u"Error -2: Caf\u00e9 \u20ac");
}

TEST(WindowLogic, LinksOpenThePublisherPages) {
    EXPECT_EQ(layout::LinkOf(Role::ResourcesLink).address, "http://www.quillbeam.net/ZRV/NEW/");
    EXPECT_EQ(layout::LinkOf(Role::UpdateLink).address, "http://www.quillbeam.net/ZRV/update.htm");
    EXPECT_EQ(layout::LinkOf(Role::Generate).address, "");
}

// The widest caption for its box is "Enter URL where banner will link to:", 36 characters in
// 201 pixels at 96 DPI (302 at 144). Each row's font makes a character perSize * size +
// perCharacter wide.
TEST(WindowLogic, FontSizeFitsEveryCaption) {
    const struct {
        int size;
        int dpi;
        double perSize;
        double perCharacter;
        int fitting;
    } rows[] = {
        {9, 96, 0.6, 0, 9},     // fits as it is
        {16, 96, 0.6, 0, 9},    // shrinks in proportion: 21.6 * 9 <= 201
        {16, 96, 0.5, 0.6, 9},  // the estimate, 10, is too large: 36 * 5.6 > 201
        {24, 144, 0.6, 0, 13},  // the boxes grow with the screen
        {20, 144, 3, 0, 12},    // never below 8 pixels at 144 DPI
        {6, 96, 5, 0, 6},       // a font below that is never enlarged
    };
    for (const auto& row : rows) {
        const int fitting = FittingFontSize(
            row.size, row.dpi, [&row](int size, const std::vector<std::u16string_view>& texts) {
                std::vector<double> widths;
                for (const std::u16string_view text : texts) {
                    widths.push_back(static_cast<double>(text.size()) *
                                     (row.perSize * size + row.perCharacter));
                }
                return widths;
            });
        EXPECT_EQ(fitting, row.fitting) << row.size << " at " << row.dpi;
    }
}

// Blue on a light window; else the desktop's link colour, else its text colour, where readable;
// else black or white. High contrast always takes the desktop's colours.
TEST(WindowLogic, LinkColorIsReadableOnTheWindow) {
    constexpr Rgb kDark{0x32, 0x32, 0x32};
    constexpr Rgb kWhite{255, 255, 255};
    const struct {
        DesktopColors desktop;
        Rgb color;
    } rows[] = {
        {{{0xf6, 0xf5, 0xf4}, {0x1b, 0x6a, 0xcb}, {0, 0, 0}}, kLinkBlue},  // blue 7.9:1
        {{kDark, {0x78, 0xae, 0xed}, kWhite}, {0x78, 0xae, 0xed}},         // blue 1.5:1, link 5.5:1
        {{kWhite, {0, 0, 0x9f}, {0, 0, 0}, true}, {0, 0, 0x9f}},           // high contrast
        {{kDark, {0x35, 0x84, 0xe4}, {0xee, 0xee, 0xee}}, {0xee, 0xee, 0xee}},  // link 3.4:1
        // On mid grey neither is readable; black stands out more than white: 4.7:1.
        {{{0x77, 0x77, 0x77}, {0x35, 0x84, 0xe4}, {0x80, 0x80, 0x80}}, {0, 0, 0}},
    };
    for (const auto& row : rows) EXPECT_EQ(LinkColor(row.desktop), row.color);
    EXPECT_NEAR(ContrastRatio(kLinkBlue, kDark), 1.49, 0.01);
    EXPECT_DOUBLE_EQ(ContrastRatio({0, 0, 0}, kWhite), 21);
}

// Only characters that reach the banner as "?" are asked about, by box, the first box taking the
// focus on No; near letters and the folder never are. Five characters at most are named, each
// once, those that show nothing by their code.
TEST(WindowLogic, GenerateAsksOnlyAboutCharactersTheBannerCannotShow) {
    const std::u16string polish = u"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105";
    const std::u16string mixed = u"ja\u017A\u0144 \U0001F600 \u041F\u0440\u0438\u0432\u0435\u0442";
    const char16_t loneHalf[] = {u'a', 0xDC00, 0};
    const struct {
        quillbeam::BannerRequest request;
        std::optional<Role> firstBox;
        std::u16string_view start;  // of the question, up to its characters
    } rows[] = {
        {{u"", {u"Text2\r\n", u"Text3", u"Text4", u"Text5"}, u"Text6"}, {}, {}},
        {{u"\u041F", {polish, u"\uFF21\uFF1F \u2264", u"", u"caf\u00E9"}, u"http://x/"}, {}, {}},
        {{u"", {u"", mixed, mixed, u""}, u""},
         Role::Message2,
         u"Message 2 and Message 3 hold characters that the banner cannot show: "
         u"\U0001F600 \u041F \u0440 \u0438 \u0432 \u2026\r\n"},
        {{u"", {u"", u"", u"", loneHalf}, u"http://\u0436.x/\u200B\U000E0001"},
         Role::Message4,
         u"Message 4 and the address hold characters that the banner cannot show: "
         u"U+DC00 \u0436 U+200B U+E0001\r\n"},
        {{u"", {u"", u"", u"", u""}, u"\u0436\u0436"},
         Role::Address,
         u"The address holds a character that the banner cannot show: \u0436\r\n"},
        {{u"", {u"", u"", u"", u""}, u"\u0436\u0437\u0438\u0439\u043A"},  // five: no "\u2026"
         Role::Address,
         u"The address holds characters that the banner cannot show: "
         u"\u0436 \u0437 \u0438 \u0439 \u043A\r\n"},
    };
    for (const auto& row : rows) {
        const auto question = QuestionBeforeWriting(row.request);
        ASSERT_EQ(question.has_value(), row.firstBox.has_value()) << row.request.messages[1].size();
        if (!question) continue;
        EXPECT_EQ(question->firstBox, *row.firstBox);
        EXPECT_EQ(question->text, std::u16string(row.start) +
                                      u"The banner will show question marks instead.\r\n\r\n"
                                      u"Generate the package anyway?");
    }
}

// A folder gives its own path, a file the folder it lies in; anything else changes nothing.
TEST(WindowLogic, ADropGivesOneFolderOrNothing) {
    using Kind = DroppedItem::Kind;
    const std::u16string top = quillbeam::JoinPath(u"", u"top");  // "/top", or "\top" on Windows
    const std::u16string file = quillbeam::JoinPath(top, u"notes.txt");
    const std::u16string root(1, quillbeam::kPathSeparator);
    const struct {
        std::vector<DroppedItem> items;
        std::optional<std::u16string> folder;
    } rows[] = {
        {{{top, Kind::Folder}}, top},
        {{{file, Kind::File}}, top},
        {{{quillbeam::JoinPath(u"", u"notes.txt"), Kind::File}}, root},
        {{{u"C:\\notes.txt", Kind::File}},
         root == u"/" ? std::optional<std::u16string>() : u"C:\\"},
        {{{top, Kind::Folder}, {top, Kind::Folder}}, std::nullopt},
        {{{top, Kind::Other}}, std::nullopt},
        {{{u"", Kind::Other}}, std::nullopt},  // a web address
        {{}, std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(FolderFromDrop(row.items), row.folder);
}

}  // namespace
