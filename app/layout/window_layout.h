#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The main window as plain data: every control's name, kind, role, place and first text, the
// focus order, the captions and the link addresses. Each front end builds its window from this
// one table, so that their layouts cannot drift apart.
namespace quillbeam::layout {

inline constexpr std::string_view kWindowName = "Quillbeam";
inline constexpr std::u16string_view kWindowCaption = u"Quillbeam 1.0";
inline constexpr std::u16string_view kBrowseTitle = u"Select a directory";

// Pixels at 96 dots per inch; front ends scale them with the screen.
struct Size {
    int width;
    int height;
    friend bool operator==(const Size&, const Size&) = default;
};
struct Rect {
    int left;
    int top;
    int width;
    int height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr Size kClientSize{378, 550};

enum class Kind {
    Picture,       // the banner artwork, shown at its own size from the top-left corner
    Label,         // a caption; takes no focus
    LineBox,       // a text box of one line
    MultiLineBox,  // several lines in a box one line high: Enter breaks the line, Tab moves on
    Button,
};

// What a control is for. Code asks for a control by its role, never by its name; every role but
// Caption belongs to one control.
enum class Role {
    Caption,  // names the box below it
    Folder,   // the output folder
    Message1,
    Message2,
    Message3,
    Message4,
    Address,  // where a click on the banner leads
    Browse,
    Generate,
    ResourcesLink,  // opens the publisher's page of further resources
    UpdateLink,     // opens the publisher's update page
};

struct Control {
    std::string_view name;
    Kind kind;
    Rect rect;
    std::u16string_view firstText;
    // The control's place in the tab order, labels included; inputs take focus in this order.
    // The picture has none.
    std::optional<int> tabIndex;
    Role role = Role::Caption;
    std::optional<Role> captionOf = std::nullopt;  // the box a caption names
    bool blueText = false;  // the update link's text: blue (0, 0, 255) where that reads

    constexpr bool takesFocus() const {
        return kind == Kind::LineBox || kind == Kind::MultiLineBox || kind == Kind::Button;
    }
    constexpr bool isLink() const {
        return role == Role::ResourcesLink || role == Role::UpdateLink;
    }
};

// Top to bottom, in drawing order: labels and the picture first, so that text boxes and buttons
// lie above them where they overlap (the last row of Label5 lies under Text5).
inline constexpr std::array<Control, 16> kControls{{
    {"Image1", Kind::Picture, {0, 0, 382, 82}, u"", std::nullopt, Role::ResourcesLink},
    {"Label1",
     Kind::Label,
     {16, 96, 233, 17},
     u"Select a Project Folder:",
     2,
     Role::Caption,
     Role::Folder},
    {"Label2", Kind::Label, {16, 160, 297, 17}, u"Message 1", 7, Role::Caption, Role::Message1},
    {"Label3", Kind::Label, {16, 224, 201, 17}, u"Message 2", 8, Role::Caption, Role::Message2},
    {"Label4", Kind::Label, {16, 296, 273, 17}, u"Message 3", 9, Role::Caption, Role::Message3},
    {"Label5", Kind::Label, {16, 360, 297, 25}, u"Message 4", 10, Role::Caption, Role::Message4},
    {"Label6",
     Kind::Label,
     {16, 424, 201, 17},
     u"Enter URL where banner will link to:",
     12,
     Role::Caption,
     Role::Address},
    {"Label7",
     Kind::Label,
     {32, 504, 105, 17},
     u"Check for Updates",
     14,
     Role::UpdateLink,
     std::nullopt,
     true},
    {"Text1", Kind::LineBox, {16, 120, 249, 25}, u"", 0, Role::Folder},
    {"Command1", Kind::Button, {280, 120, 73, 25}, u"Browse", 1, Role::Browse},
    {"Text2", Kind::MultiLineBox, {16, 184, 337, 25}, u"Text2\r\n", 3, Role::Message1},
    {"Text3", Kind::MultiLineBox, {16, 256, 337, 25}, u"Text3", 4, Role::Message2},
    {"Text4", Kind::MultiLineBox, {16, 328, 337, 25}, u"Text4", 5, Role::Message3},
    {"Text5", Kind::MultiLineBox, {16, 384, 337, 25}, u"Text5", 6, Role::Message4},
    {"Command2", Kind::Button, {160, 496, 185, 33}, u"Generate!", 11, Role::Generate},
    {"Text6", Kind::LineBox, {16, 448, 337, 25}, u"Text6", 13, Role::Address},
}};

// The one control with `role` (not Caption).
const Control& Find(Role role);

// The table's number of `control`, which the front ends keep their controls by.
std::size_t IndexOf(const Control& control);

// The controls that take focus, in focus order: Text1, Command1, Text2 to Text5, Command2, Text6.
// Focus starts at the first.
std::vector<const Control*> FocusOrder();

// The publisher's pages the two links open.
inline constexpr std::string_view kPublisherHost = "www.quillbeam.net";
inline constexpr std::string_view kResourcesPageUrl = "http://www.quillbeam.net/ZRV/NEW/";
inline constexpr std::string_view kUpdatePageUrl = "http://www.quillbeam.net/ZRV/update.htm";

// A link: the address it opens, and what screen readers call it and how they describe it.
struct Link {
    std::string_view address;
    std::u16string_view name;
    std::u16string_view description;
};
// The link `role` stands for; all empty for a role that is no link.
Link LinkOf(Role role);

// `pixels` at 96 dots per inch, scaled to `dpi` and rounded as Windows' MulDiv rounds.
int Scale(int pixels, int dpi);
Rect Scale(const Rect& rect, int dpi);

}  // namespace quillbeam::layout
