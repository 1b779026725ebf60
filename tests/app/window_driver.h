#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "banner_request.h"
#include "link_color.h"
#include "picture.h"
#include "window_layout.h"

// A window under test as the cases both windows share meet it: by the rows of the layout table,
// with keys, clicks and drops as a person gives them, and with the calls the window makes to the
// system caught on the way. Each platform's window test implements it for its window. Places are
// in the window's pixels at its DPI, within its client area.
class WindowDriver {
  public:
    enum class Key { Tab, ShiftTab, Enter, Escape };
    enum class Answer { Ok, Yes, No };
    // A message box the window showed. `kind` names its icon ("error", "warning" or none), then
    // its buttons ("OK", or "Yes No" with No the default), and whether it is not modal to the
    // window: "error OK", "warning Yes No", "OK".
    struct Message {
        std::u16string caption;
        std::u16string text;  // lines broken by CR LF, as the program gives them
        std::string kind;
    };
    // What a screen reader learns of a control.
    struct Accessible {
        std::u16string name;
        std::u16string description;
        bool link = false;  // a link by its role, and linked by its state
    };

    virtual ~WindowDriver() = default;

    // "qt" or "win32": the reference pictures are named for it.
    virtual std::string Platform() const = 0;
    virtual int Dpi() const = 0;  // 96 times the window's scale
    virtual quillbeam::layout::Rect Place(const quillbeam::layout::Control& control) const = 0;
    virtual std::u16string Text(const quillbeam::layout::Control& control) const = 0;
    // The size of the control's text as drawn in its font.
    virtual quillbeam::layout::Size TextExtent(const quillbeam::layout::Control& control) const = 0;
    // The lines a box shows its text in.
    virtual int LineCount(const quillbeam::layout::Control& control) const = 0;
    // The control with the window's keyboard focus, or none.
    virtual const quillbeam::layout::Control* Focused() const = 0;
    // The control a click at `x`, `y` reaches, or none.
    virtual const quillbeam::layout::Control* ControlAt(int x, int y) const = 0;
    virtual bool ShowsAHandOver(const quillbeam::layout::Control& control) const = 0;
    virtual Accessible AccessibleOf(const quillbeam::layout::Control& control) const = 0;
    virtual quillbeam::BannerRequest Request() const = 0;
    // The client area as drawn, with no caret blinking in it.
    virtual Picture Screenshot() = 0;
    // The reference picture `name` (tests/app/pictures/`name`.png).
    virtual Picture ReferencePicture(const std::string& name) const = 0;

    virtual void Focus(const quillbeam::layout::Control& control) = 0;
    virtual void SetText(const quillbeam::layout::Control& control, std::u16string_view text) = 0;
    virtual void Type(std::u16string_view text) = 0;  // into the focused control
    virtual void Press(Key key) = 0;
    virtual void Click(const quillbeam::layout::Control& control) = 0;
    // The user switches to another window, which takes the activation and the focus, and back.
    virtual void SwitchAwayAndBack() = 0;
    // What a screen reader's default action on the control does.
    virtual void PressForScreenReader(const quillbeam::layout::Control& control) = 0;
    // Files and folders dragged from the file manager and dropped on the control. An item that
    // starts with "http://" is a web address, which Qt is given as one; a Windows drop of files
    // carries paths only, and gives it as a path that leads nowhere.
    virtual void Drop(const quillbeam::layout::Control& control,
                      const std::vector<std::u16string>& paths) = 0;
    // The desktop's colours; false where the platform has no such setting (high contrast on Qt).
    virtual bool SetColors(const quillbeam::window::DesktopColors& colors) = 0;
    virtual void SetApplicationFolder(std::u16string folder) = 0;

    // Kept by the platform's driver as the window calls: the message boxes shown, each answered
    // with the next of `answers` (Ok beyond them), and the addresses the links opened.
    std::vector<Message> messages;
    std::vector<Answer> answers;
    std::vector<std::string> opened;
};

// The cases both windows must pass, written once; each platform's tests run every one against a
// fresh window. A case returns what it found wrong, a line each: the empty text when all is well.
struct WindowCase {
    std::string_view name;
    std::string (*run)(WindowDriver& window);
};
std::span<const WindowCase> WindowCases();
