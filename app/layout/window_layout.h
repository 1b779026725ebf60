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
    std::u16string_view firstText = {};
    // An input's place in the tab order, in which the inputs take focus; labels and the picture
    // take no focus and have none.
    std::optional<int> tabIndex = std::nullopt;
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
    {.name = "Image1",
     .kind = Kind::Picture,
     .rect = {.left = 0, .top = 0, .width = 382, .height = 82},
     .role = Role::ResourcesLink},
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {.left = 16, .top = 96, .width = 233, .height = 17},
     .firstText = u"Select a Project Folder:",
     .captionOf = Role::Folder},
    {.name = "Label2",
     .kind = Kind::Label,
     .rect = {.left = 16, .top = 160, .width = 297, .height = 17},
     .firstText = u"Message 1",
     .captionOf = Role::Message1},
    {.name = "Label3",
     .kind = Kind::Label,
     .rect = {.left = 16, .top = 224, .width = 201, .height = 17},
     .firstText = u"Message 2",
     .captionOf = Role::Message2},
    {.name = "Label4",
     .kind = Kind::Label,
     .rect = {.left = 16, .top = 296, .width = 273, .height = 17},
     .firstText = u"Message 3",
     .captionOf = Role::Message3},
    {.name = "Label5",
     .kind = Kind::Label,
     .rect = {.left = 16, .top = 360, .width = 297, .height = 25},
     .firstText = u"Message 4",
     .captionOf = Role::Message4},
    {.name = "Label6",
     .kind = Kind::Label,
     .rect = {.left = 16, .top = 424, .width = 201, .height = 17},
     .firstText = u"Enter URL where banner will link to:",
     .captionOf = Role::Address},
    {.name = "Label7",
     .kind = Kind::Label,
     .rect = {.left = 32, .top = 504, .width = 105, .height = 17},
     .firstText = u"Check for Updates",
     .role = Role::UpdateLink,
     .blueText = true},
    {.name = "Text1",
     .kind = Kind::LineBox,
     .rect = {.left = 16, .top = 120, .width = 249, .height = 25},
     .tabIndex = 0,
     .role = Role::Folder},
    {.name = "Command1",
     .kind = Kind::Button,
     .rect = {.left = 280, .top = 120, .width = 73, .height = 25},
     .firstText = u"Browse",
     .tabIndex = 1,
     .role = Role::Browse},
    {.name = "Text2",
     .kind = Kind::MultiLineBox,
     .rect = {.left = 16, .top = 184, .width = 337, .height = 25},
     .firstText = u"Text2\r\n",
     .tabIndex = 2,
     .role = Role::Message1},
    {.name = "Text3",
     .kind = Kind::MultiLineBox,
     .rect = {.left = 16, .top = 256, .width = 337, .height = 25},
     .firstText = u"Text3",
     .tabIndex = 3,
     .role = Role::Message2},
    {.name = "Text4",
     .kind = Kind::MultiLineBox,
     .rect = {.left = 16, .top = 328, .width = 337, .height = 25},
     .firstText = u"Text4",
     .tabIndex = 4,
     .role = Role::Message3},
    {.name = "Text5",
     .kind = Kind::MultiLineBox,
     .rect = {.left = 16, .top = 384, .width = 337, .height = 25},
     .firstText = u"Text5",
     .tabIndex = 5,
     .role = Role::Message4},
    {.name = "Command2",
     .kind = Kind::Button,
     .rect = {.left = 160, .top = 496, .width = 185, .height = 33},
     .firstText = u"Generate!",
     .tabIndex = 6,
     .role = Role::Generate},
    {.name = "Text6",
     .kind = Kind::LineBox,
     .rect = {.left = 16, .top = 448, .width = 337, .height = 25},
     .firstText = u"Text6",
     .tabIndex = 7,
     .role = Role::Address},
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
