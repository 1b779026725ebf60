#pragma once

#include <cstdint>

// The colour the update link's text is drawn in. The link's own blue reads well on a light
// window but hardly at all on a dark one, nor among the colours of the system's high-contrast
// mode; there the desktop's own colour for links takes its place, as long as it stands out.
namespace quillbeam::window {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The link's colour on a light window.
inline constexpr Rgb kLinkBlue{0, 0, 255};
// The contrast text needs against its background to be read with ease (WCAG's level AA).
inline constexpr double kReadableContrast = 4.5;

// The contrast of two colours as WCAG defines it: from 1 (the same light) to 21 (black on white).
double ContrastRatio(Rgb first, Rgb second);

// The desktop's colours around the link.
struct DesktopColors {
    Rgb window;  // the window's background
    Rgb link;    // the desktop's colour for links
    Rgb text;    // the window's text
    bool highContrast = false;
};

// The blue where it is readable on the window and high contrast is off; else the desktop's link
// colour where that is readable, else the window's text colour where that is; else black or
// white, whichever stands out more, of which one always reaches 4.58:1.
Rgb LinkColor(const DesktopColors& desktop);

}  // namespace quillbeam::window
