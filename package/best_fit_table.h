#pragma once

#include <string_view>

// The near letters Windows writes for characters that code page 1252 lacks: the byte its default
// conversion (WideCharToMultiByte with no flags) gives each of them. They are the entries of the
// best-fit table Microsoft publishes for that conversion, bestfit1252.txt, whose WCTABLE section
// lists every UTF-16 unit the conversion writes as something other than the default "?": the code
// page's own 256 characters, then 442 near letters. Here are the 442, grouped by the byte they
// become; the 94 full-width forms of ASCII follow as a range. Every other unit becomes "?".
//
// Characters that cannot be told apart on the page, or cannot be seen at all (combining marks,
// spaces, look-alikes of the row's own byte), are written as escapes.
namespace quillbeam::best_fit {

struct Row {
    unsigned char byte;
    std::u16string_view characters;  // the units written as `byte`
};

inline constexpr Row kRows[] = {
    // Latin letters with accents, hooks, strokes and bars, a few Greek and Cyrillic letters of
    // the same shape, and the mathematicians' script, black-letter and double-struck letters:
    // the plain letter.
    {'A', u"ĀĂĄǍǞ"},
    {'B', u"ℬ"},
    {'C', u"ĆĈĊČℂℭ"},
    {'D', u"Ď"},
    {'E', u"ĒĔĖĘĚℇℰ"},
    {'F', u"Φℱ"},
    {'G', u"ĜĞĠĢǤǦΓ"},
    {'H', u"ĤĦℋℌℍ"},
    {'I', u"ĨĪĬĮİƗǏℐℑ"},
    {'J', u"Ĵ"},
    {'K', u"ĶǨ\u212A"},  // and the Kelvin sign
    {'L', u"ĹĻĽŁℒ"},
    {'M', u"ℳ"},
    {'N', u"ŃŅŇℕ"},
    {'O', u"ŌŎŐƟƠǑǪǬΩ"},
    {'P', u"₧℘ℙ"},
    {'Q', u"ℚ"},
    {'R', u"ŔŖŘℛℜℝ"},
    {'S', u"ŚŜŞΣ"},
    {'T', u"ŢŤŦƮΘ"},
    {'U', u"ŨŪŬŮŰŲƯǓǕǗǙǛ"},
    {'W', u"Ŵ"},
    {'Y', u"Ŷ"},
    {'Z', u"ŹŻℤℨ"},
    {'a', u"āăąǎǟα"},
    {'b', u"ƀ"},
    {'c', u"ćĉċč"},
    {'d', u"ďđδ"},
    {'e', u"ēĕėęěε℮ℯ"},
    {'f', u"φ"},
    {'g', u"ĝğġģǥǧɡℊ"},
    {'h', u"ĥħһℎ"},
    {'i', u"ĩīĭįıǐ"},
    {'j', u"ĵǰ"},
    {'k', u"ķǩ"},
    {'l', u"ĺļľłƚℓ"},
    {'n', u"ńņňⁿ∩"},
    {'o', u"ōŏőơǒǫǭℴ"},
    {'p', u"π"},
    {'r', u"ŕŗř"},
    {'s', u"śŝşσ"},
    {'t', u"ţťŧƫτ"},
    {'u', u"ũūŭůűųưǔǖǘǚǜ"},
    {'v', u"√"},
    {'w', u"ŵ"},
    {'y', u"ŷ"},
    {'z', u"źżƶ"},
    // Letters of the code page beyond ASCII.
    {0x83, u"Ƒ"},       // ƒ
    {0xB5, u"μ"},       // µ, the micro sign
    {0xC5, u"\u212B"},  // Å, from the Angstrom sign
    {0xD0, u"ĐƉ"},      // Ð
    {0xDF, u"β"},       // ß
    // Digits: superscripts, subscripts, and infinity as an 8.
    {'0', u"₀"},
    {'1', u"₁"},
    {'2', u"₂"},
    {'3', u"₃"},
    {'4', u"⁴₄"},
    {'5', u"⁵₅"},
    {'6', u"⁶₆"},
    {'7', u"⁷₇"},
    {'8', u"⁸₈∞"},
    {'9', u"₉"},
    // Spaces: the typographic ones from en quad to six-per-em, and the ideographic space.
    {' ', u"\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u3000"},
    // Punctuation, accents standing alone or combining, and mathematical signs.
    {'!', u"ǃ"},
    {'"', u"ʺ\u030E"},
    {'%', u"٪"},
    {'\'', u"ʹʼˈ′"},
    {'(', u"⌠"},
    {')', u"⌡"},
    {'*', u"∗"},
    {'-', u"‐‑−"},
    {'/', u"⁄∕"},
    {':', u"։∶"},
    {';', u"\u037E"},  // the Greek question mark
    {'<', u"\u2329\u3008"},
    {'=', u"‗≡≤≥"},
    {'>', u"\u232A\u3009"},
    {'[', u"〚"},
    {'\\', u"∖"},
    {']', u"〛"},
    {'^', u"˄\u0302⌃"},
    {'_', u"ˍ\u0331\u0332▄"},
    {'`', u"ˋ\u0300‵"},
    {'|', u"ǀ∣❘"},
    {'~', u"\u0303∼"},
    {0x98, u"≈"},               // ˜
    {0xA2, u"₡"},               // ¢
    {0xA3, u"₤"},               // £
    {0xA4, u"☼"},               // ¤
    {0xA8, u"\u0308"},          // ¨
    {0xAB, u"≪《"},             // «
    {0xAC, u"⌐"},               // ¬
    {0xAF, u"ˉ\u0304\u0305▀"},  // ¯
    {0xB0, u"˚\u030A⁰∘"},       // °
    {0xB1, u"∓"},               // ±
    {0xB4, u"ˊ\u0301"},         // ´
    {0xB7, u"․∙⋅・"},           // ·
    {0xB8, u"\u0327"},          // ¸
    {0xBB, u"≫》"},             // »
    {0xD8, u"∅"},               // Ø
    // Box drawing and blocks: corners and crossings as "+", horizontals as "-", verticals and
    // shades as the broken bar.
    {'+', u"┌┐└┘├┼╒╓╔╕╖╗╘╙╚╛╜╝╪╫╬"},
    {'-', u"─┬┴═╤╥╦╧╨╩"},
    {0xA6, u"⌂│┤║╞╟╠╡╢╣█▌▐░▒▓■"},  // ¦
};

// U+FF01 to U+FF5E, the full-width forms of "!" to "~", become those ASCII characters.
inline constexpr char16_t kFullWidthFirst = u'\uFF01';
inline constexpr char16_t kFullWidthLast = u'\uFF5E';
inline constexpr unsigned char kFullWidthFirstByte = '!';

}  // namespace quillbeam::best_fit
