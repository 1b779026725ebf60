// What both windows must do, each case once: the window's look at the screen's DPI, the focus
// order and its return from another window, the keys in the boxes, the links, screen readers'
// names, Generate with its question and its failure report, drops, and the link's colour.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "expected_package.h"
#include "package_writer.h"
#include "path_join.h"
#include "unshowable_characters.h"
#include "utf8.h"
#include "window_driver.h"

namespace {

namespace layout = quillbeam::layout;
using layout::Control;
using layout::Find;
using layout::Role;
using quillbeam::window::Rgb;
using Key = WindowDriver::Key;

// What a case found wrong, a line each.
struct Findings {
    static std::string Shown(int number) { return std::to_string(number); }
    static std::string Shown(const std::string& text) { return '"' + text + '"'; }
    static std::string Shown(std::u16string_view text) {
        return Shown(std::regex_replace(quillbeam::ToUtf8(text), std::regex("\r\n"), "\\r\\n"));
    }
    static std::string Shown(const Control* control) {
        return control != nullptr ? std::string(control->name) : "none";
    }
    void That(bool holds, const std::string& what) {
        if (!holds) lines += what + "\n";
    }
    template <class Actual, class Expected>
    void Equal(const Actual& actual, const Expected& expected, const std::string& what) {
        That(actual == expected, what + ": " + Shown(actual) + ", not " + Shown(expected));
    }
    std::string lines;
};

std::vector<std::u16string> Texts(const WindowDriver& window) {
    std::vector<std::u16string> texts;
    for (const Control& control : layout::kControls) texts.push_back(window.Text(control));
    return texts;
}

// The `index`th message box said `text`, captioned with the application title, and was of `kind`.
void ExpectMessage(Findings& found, const WindowDriver& window, std::size_t index,
                   std::u16string_view text, const std::string& kind) {
    if (window.messages.size() <= index) return found.That(false, "no message box " + kind);
    const WindowDriver::Message& message = window.messages[index];
    found.Equal(message.caption, quillbeam::kApplicationTitle, kind + " caption");
    found.Equal(message.text, text, kind + " text");
    found.Equal(message.kind, kind, "message box");
}

// A Template folder beside a stand-in program, and an empty output folder in the folder box.
struct Folders {
    explicit Folders(WindowDriver& window) {
        MakeTemplateFolder(temp / "app");
        std::filesystem::create_directory(out);
        window.SetApplicationFolder((temp / "app").u16string());
        window.SetText(Find(Role::Folder), out.u16string());
    }
    TempFolder temp;
    std::filesystem::path out = temp / "out";
};

// The window as its reference picture shows it, at the screen's DPI, which the test is told
// (QUILLBEAM_EXPECTED_DPI, 96 by default): a control a pixel off its place or a changed text fails
// here, independently of the table the window is built from. The screenshot stays in the build's
// screenshots folder, where tools/reference-pictures.sh takes it from.
std::string LooksAsItsReferencePicture(WindowDriver& window) {
    const char* expected = std::getenv("QUILLBEAM_EXPECTED_DPI");
    const std::string dpi = expected != nullptr ? expected : "96";
    if (std::to_string(window.Dpi()) != dpi) return "DPI " + std::to_string(window.Dpi());
    const std::string name = window.Platform() + "-window-" + dpi;
    const Picture screenshot = window.Screenshot();
    std::filesystem::create_directories(QUILLBEAM_SCREENSHOTS);
    WritePpm(std::filesystem::path(QUILLBEAM_SCREENSHOTS) / (name + ".ppm"), screenshot);
    return PictureMismatch(screenshot, window.ReferencePicture(name));
}

// Whatever font the desktop gives, no caption is cut off by its fixed box; where a box overlaps a
// caption (the last row of Message 4's), the box takes the click.
std::string CaptionsShowWholeAndInputsLieAbove(WindowDriver& window) {
    Findings found;
    int overlaps = 0;
    for (const Control& label : layout::kControls) {
        if (label.takesFocus()) continue;
        const layout::Rect place = window.Place(label);
        const layout::Size text = window.TextExtent(label);
        found.That(label.kind != layout::Kind::Label ||
                       (text.width <= place.width && text.height <= place.height),
                   std::string(label.name) + " is cut off");
        for (const Control& input : layout::kControls) {
            const layout::Rect over = window.Place(input);
            const int left = std::max(place.left, over.left);
            const int top = std::max(place.top, over.top);
            const int right = std::min(place.left + place.width, over.left + over.width);
            const int bottom = std::min(place.top + place.height, over.top + over.height);
            if (!input.takesFocus() || left >= right || top >= bottom) continue;
            ++overlaps;  // aimed at a pixel both cover at every scale
            found.Equal(window.ControlAt((left + right - 1) / 2, (top + bottom - 1) / 2), &input,
                        "a click over " + std::string(label.name));
        }
    }
    found.Equal(overlaps, 1, "overlaps");
    return found.lines;
}

std::string FocusStartsInTheFolderBoxAndTabFollowsTheTable(WindowDriver& window) {
    Findings found;
    const auto order = layout::FocusOrder();
    found.Equal(window.Focused(), order.front(), "first");
    for (std::size_t step = 1; step <= order.size(); ++step) {
        window.Press(Key::Tab);
        found.Equal(window.Focused(), order[step % order.size()], "Tab " + std::to_string(step));
    }
    window.Press(Key::ShiftTab);
    found.Equal(window.Focused(), order.back(), "Shift+Tab");
    return found.lines;
}

// Back from another window, the user finds the focus in the box they left, wherever it was.
std::string TheFocusComesBackFromAnotherWindow(WindowDriver& window) {
    Findings found;
    for (const Role role : {Role::Message3, Role::Address}) {
        window.Focus(Find(role));
        window.SwitchAwayAndBack();
        found.Equal(window.Focused(), &Find(role), "back from another window");
    }
    return found.lines;
}

// Several lines in a box one line high: Enter breaks the line with CR LF, which reaches the
// request; Tab leaves the box and Escape does nothing; long lines wrap.
std::string MessageBoxesTakeLinesButNotTabs(WindowDriver& window) {
    Findings found;
    const Control& box = Find(Role::Message2);
    window.Focus(box);
    window.SetText(box, u"");
    window.Type(u"first");
    window.Press(Key::Enter);
    window.Type(u"second");
    found.Equal(window.Request().messages[1], u"first\r\nsecond", "typed");
    window.Press(Key::Tab);
    window.Press(Key::Escape);
    found.Equal(window.Focused(), &Find(Role::Message3), "after Tab");
    found.Equal(window.Text(box), u"first\r\nsecond", "after Tab");
    found.Equal(window.Text(Find(Role::Message3)), u"Text4", "after Escape");
    window.SetText(box, std::u16string(200, u'w'));
    found.That(window.LineCount(box) > 1, "a long line does not wrap");
    found.Equal(int(window.messages.size()), 0, "message boxes");
    return found.lines;
}

// Typing goes on past the box's edge, and Enter and Escape change nothing.
std::string OneLineBoxesKeepEveryLetterAndIgnoreEnterAndEscape(WindowDriver& window) {
    Findings found;
    std::u16string typed;
    for (int i = 0; i < 12; ++i) typed += u"0123456789";
    for (const Role role : {Role::Folder, Role::Address}) {
        const Control& box = Find(role);
        window.Focus(box);
        window.SetText(box, u"");
        window.Type(typed);
        window.Press(Key::Enter);
        window.Press(Key::Escape);
        found.Equal(window.Text(box), typed, std::string(box.name));
        found.Equal(window.LineCount(box), 1, std::string(box.name));
        found.Equal(window.Focused(), &box, "focus");
    }
    found.Equal(int(window.messages.size() + window.opened.size()), 0, "message boxes and pages");
    return found.lines;
}

// Links show a hand and open the publisher's pages, changing nothing else. Screen readers meet
// them as links named for what they open, whose action opens the page; each box is named by its
// caption, without its colon, as the Qt window names it, or with it, as Windows does.
std::string LinksOpenThePublisherPagesAndScreenReadersMeetThem(WindowDriver& window) {
    Findings found;
    const auto before = Texts(window);
    std::vector<std::string> pages;
    for (const Role role : {Role::ResourcesLink, Role::UpdateLink}) {
        const std::string name(Find(role).name);
        const layout::Link link = layout::LinkOf(role);
        pages.insert(pages.end(), 2, std::string(link.address));
        found.That(window.ShowsAHandOver(Find(role)), name + " shows no hand");
        window.Click(Find(role));
        const WindowDriver::Accessible accessible = window.AccessibleOf(Find(role));
        found.That(accessible.link, name + " is no link to screen readers");
        found.Equal(accessible.name, link.name, name);
        found.Equal(accessible.description, link.description, name);
        window.PressForScreenReader(Find(role));
    }
    found.That(window.opened == pages, "the links did not open their pages once a click");
    found.That(Texts(window) == before && window.messages.empty(), "a text or a message box");
    const auto bare = [](std::u16string_view text) {
        return std::u16string(text.substr(0, text.size() - (text.ends_with(u':') ? 1 : 0)));
    };
    for (const Control& caption : layout::kControls) {
        if (!caption.captionOf) continue;
        found.Equal(bare(window.AccessibleOf(Find(*caption.captionOf)).name),
                    bare(caption.firstText), std::string(Find(*caption.captionOf).name));
    }
    return found.lines;
}

// Typed line breaks and letters beyond ASCII reach the files, and the completion message says
// what to do next.
std::string GenerateWritesWhatTheBoxesHoldAndSaysSo(WindowDriver& window) {
    Findings found;
    const Folders folders(window);
    window.Focus(Find(Role::Message2));
    window.SetText(Find(Role::Message2), u"");
    window.Type(u"Sale");
    window.Press(Key::Enter);
    window.Type(u"\u20ac5 Caf\u00e9");
    window.Click(Find(Role::Generate));
    found.lines += PackageMismatches(
        folders.out, {folders.out.u16string(),
                      {u"Text2\r\n", u"Sale\r\n\u20ac5 Caf\u00e9", u"Text4", u"Text5"},
                      u"Text6"});
    found.Equal(int(window.messages.size()), 1, "message boxes");
    ExpectMessage(found, window, 0, quillbeam::CompletionMessage(), "OK");
    return found.lines;
}

// The report gives the failure's number and names the file under an error icon; the window keeps
// every text, so that the user can correct the folder and generate again.
std::string AFailureIsReportedAndTheTextsStay(WindowDriver& window) {
    Findings found;
    const Folders folders(window);
    WriteFileBytes(folders.temp / "not a folder", "x");
    const std::u16string badFolder = (folders.temp / "not a folder").u16string();
    window.SetText(Find(Role::Folder), badFolder);
    window.SetText(Find(Role::Address), u"http://example.com/");
    const auto before = Texts(window);
    window.Click(Find(Role::Generate));
    found.Equal(int(window.messages.size()), 1, "message boxes");
    const std::u16string report = window.messages.empty() ? u"" : window.messages[0].text;
    found.That(std::regex_search(quillbeam::ToUtf8(report), std::regex("^Error -?[0-9]+: ")) &&
                   report.find(quillbeam::JoinPath(badFolder, u"mytext1.txt")) != report.npos,
               "report " + Findings::Shown(report));
    ExpectMessage(found, window, 0, report, "error OK");
    found.That(Texts(window) == before, "a text changed");

    window.SetText(Find(Role::Folder), folders.out.u16string());
    window.Click(Find(Role::Generate));
    found.Equal(int(window.messages.size()), 2, "message boxes once corrected");
    found.That(ReadFileBytes(folders.out / "mytext4.txt") ==
                   quillbeam::BuildVariableFileText(u"Text5", u"http://example.com/"),
               "mytext4.txt holds other bytes");
    return found.lines;
}

// Near letters go without a word. Characters the banner cannot show are named first: No writes
// nothing and leaves every text, the focus in the first box holding them; Yes writes.
std::string UnshowableCharactersAreNamedBeforeWriting(WindowDriver& window) {
    Findings found;
    const Folders folders(window);
    window.SetText(Find(Role::Message3), u"Za\u017C\u00F3\u0142\u0107");
    window.Click(Find(Role::Generate));
    found.Equal(int(window.messages.size()), 1, "message boxes for near letters");
    std::filesystem::remove_all(folders.out);
    std::filesystem::create_directory(folders.out);

    window.SetText(Find(Role::Message2), u"\U0001F600 \u041F\u0440\u0438");
    window.Focus(Find(Role::Generate));
    const auto before = Texts(window);
    const auto question = quillbeam::window::QuestionBeforeWriting(window.Request());
    window.messages.clear();
    window.answers = {WindowDriver::Answer::No, WindowDriver::Answer::Yes};
    window.Click(Find(Role::Generate));
    found.Equal(int(window.messages.size()), 1, "message boxes after No");
    ExpectMessage(found, window, 0, question ? question->text : u"", "warning Yes No");
    found.That(question && question->text.starts_with(u"Message 2 holds"), "names another box");
    found.That(std::filesystem::is_empty(folders.out), "No wrote files");
    found.That(Texts(window) == before, "a text changed");
    found.Equal(window.Focused(), &Find(Role::Message2), "focus after No");

    window.Click(Find(Role::Generate));
    found.Equal(int(window.messages.size()), 3, "the question, then the completion message");
    found.That(ReadFileBytes(folders.out / "mytext2.txt").ends_with("?? ???"), "Yes wrote other");
    return found.lines;
}

// What the file manager drops on the folder box: a folder gives its path, a file the folder it
// lies in; several items (a web address among them), or a path that leads nowhere, change nothing.
std::string ADroppedFolderFillsTheFolderBox(WindowDriver& window) {
    Findings found;
    const TempFolder temp;
    WriteFileBytes(temp / "notes.txt", "x");
    const std::u16string folder = temp.path().u16string();
    const std::u16string root = temp.path().root_path().u16string();
    const struct {
        std::vector<std::u16string> paths;
        std::u16string box;
    } rows[] = {
        {{folder}, folder},
        {{(temp / "notes.txt").u16string()}, folder},
        {{root}, root},
        {{folder, folder}, u"typed"},
        {{(temp / "gone").u16string()}, u"typed"},
        {{u"http://example.com/", folder}, u"typed"},
    };
    for (const auto& row : rows) {
        window.SetText(Find(Role::Folder), u"typed");
        window.Drop(Find(Role::Folder), row.paths);
        found.Equal(window.Text(Find(Role::Folder)), row.box,
                    "dropped " + Findings::Shown(row.paths[0]));
    }
    found.Equal(int(window.messages.size()), 0, "message boxes");
    return found.lines;
}

// How far apart two colours are.
int Distance(Rgb a, Rgb b) {
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

// The colour within `place` farthest from the background: what a text's fully covered pixels show.
Rgb TextColor(const Picture& picture, const layout::Rect& place, Rgb background) {
    Rgb text = background;
    for (int y = place.top; y < place.top + place.height; ++y) {
        for (int x = place.left; x < place.left + place.width; ++x) {
            const std::uint32_t pixel = picture.at(x, y);
            const Rgb color{static_cast<std::uint8_t>(pixel >> 16),
                            static_cast<std::uint8_t>(pixel >> 8),
                            static_cast<std::uint8_t>(pixel)};
            if (Distance(color, background) > Distance(text, background)) text = color;
        }
    }
    return text;
}

// The update link's text, as drawn, stands out from the window on every desktop: blue on a light
// window, else the desktop's link colour, else its text colour; in high contrast the desktop's
// link colour. Captions keep the text colour. The colours change while the window is open.
std::string TheUpdateLinkReadsInTheDesktopsColors(WindowDriver& window) {
    Findings found;
    constexpr Rgb kLight{240, 240, 240};
    constexpr Rgb kDark{50, 50, 50};
    const struct {
        quillbeam::window::DesktopColors desktop;  // window, link, text, high contrast
        Rgb link;
    } rows[] = {
        {{kLight, {0, 102, 204}, {0, 0, 0}}, {0, 0, 255}},
        {{kLight, {0, 102, 204}, {0, 0, 0}, true}, {0, 102, 204}},
        {{kDark, {120, 174, 237}, {255, 255, 255}}, {120, 174, 237}},
        {{kDark, {0x35, 0x84, 0xe4}, {0xee, 0xee, 0xee}}, {0xee, 0xee, 0xee}},  // link 3.4:1
    };
    const Control& caption =
        *std::ranges::find(layout::kControls, Role::Folder, &Control::captionOf);
    for (const auto& row : rows) {
        if (!window.SetColors(row.desktop)) continue;
        const Picture picture = window.Screenshot();
        const Rgb background = row.desktop.window;
        const Rgb link = TextColor(picture, window.Place(Find(Role::UpdateLink)), background);
        const Rgb text = TextColor(picture, window.Place(caption), background);
        // Within 8, for what antialiasing leaves.
        found.That(Distance(link, row.link) <= 8, "the link in another colour");
        found.That(Distance(text, row.desktop.text) <= 8, "a caption in another colour");
    }
    return found.lines;
}

constexpr WindowCase kCases[] = {
    {"LooksAsItsReferencePicture", LooksAsItsReferencePicture},
    {"CaptionsShowWholeAndInputsLieAbove", CaptionsShowWholeAndInputsLieAbove},
    {"FocusStartsInTheFolderBoxAndTabFollowsTheTable",
     FocusStartsInTheFolderBoxAndTabFollowsTheTable},
    {"TheFocusComesBackFromAnotherWindow", TheFocusComesBackFromAnotherWindow},
    {"MessageBoxesTakeLinesButNotTabs", MessageBoxesTakeLinesButNotTabs},
    {"OneLineBoxesKeepEveryLetterAndIgnoreEnterAndEscape",
     OneLineBoxesKeepEveryLetterAndIgnoreEnterAndEscape},
    {"LinksOpenThePublisherPagesAndScreenReadersMeetThem",
     LinksOpenThePublisherPagesAndScreenReadersMeetThem},
    {"GenerateWritesWhatTheBoxesHoldAndSaysSo", GenerateWritesWhatTheBoxesHoldAndSaysSo},
    {"AFailureIsReportedAndTheTextsStay", AFailureIsReportedAndTheTextsStay},
    {"UnshowableCharactersAreNamedBeforeWriting", UnshowableCharactersAreNamedBeforeWriting},
    {"ADroppedFolderFillsTheFolderBox", ADroppedFolderFillsTheFolderBox},
    {"TheUpdateLinkReadsInTheDesktopsColors", TheUpdateLinkReadsInTheDesktopsColors},
};

}  // namespace

std::span<const WindowCase> WindowCases() {
    return kCases;
}
