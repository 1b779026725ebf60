#include "unshowable_characters.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "request_boxes.h"
#include "single_byte.h"
#include "utf16.h"

namespace quillbeam::window {
namespace {

using layout::Role;

// As many characters as a glance takes in; the rest are only counted.
constexpr std::size_t kCharactersNamed = 5;

// Characters that show nothing on their own, or nothing at all, among those the banner lacks:
// they are named by their code, as U+200B, since the question could not show them.
bool IsInvisible(char32_t character) {
    struct Range {
        char32_t first, last;
    };
    constexpr Range kInvisible[] = {
        {0x0080, 0x009F},    // C1 controls
        {0x0300, 0x036F},    // combining accents
        {0x2000, 0x200F},    // spaces, zero-width characters, direction marks
        {0x2028, 0x202F},    // line and paragraph separators, embeddings, a narrow space
        {0x205F, 0x206F},    // a space, invisible operators, format controls
        {0xD800, 0xDFFF},    // half of a surrogate pair, alone
        {0xE000, 0xF8FF},    // private use
        {0xFE00, 0xFE0F},    // variation selectors
        {0xFEFF, 0xFEFF},    // the byte-order mark
        {0xFFF0, 0xFFFF},    // specials
        {0xE0000, 0xE01EF},  // tags and more variation selectors
    };
    return std::ranges::any_of(kInvisible, [character](const Range& range) {
        return character >= range.first && character <= range.last;
    });
}

std::u16string Shown(std::u16string_view character) {
    const char32_t code = CharacterAt(character, 0).code;
    if (!IsInvisible(code)) return std::u16string(character);
    std::u16string shown = u"U+";
    constexpr std::u16string_view kHex = u"0123456789ABCDEF";
    const int digits = code > 0xFFFF ? 5 : 4;
    for (int digit = digits - 1; digit >= 0; --digit) shown += kHex[(code >> (4 * digit)) & 0xF];
    return shown;
}

// Appends each character of `text` the banner cannot show that `found` lacks; whether `text`
// holds any. A surrogate pair is one character; a half alone is one of its own.
bool CollectUnshowable(std::u16string_view text, std::vector<std::u16string>& found) {
    bool any = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::u16string_view character = text.substr(i, CharacterAt(text, i).units);
        i += character.size();
        // A pair has no byte: only a character of one unit may have one.
        if (HasSingleByte(character[0])) continue;
        any = true;
        if (std::ranges::find(found, character) == found.end()) found.emplace_back(character);
    }
    return any;
}

// "Message 2", or "the address" ("The address" at the start of the sentence).
std::u16string NameOf(Role role, bool first) {
    if (role == Role::Address) return first ? u"The address" : u"the address";
    for (const layout::Control& control : layout::kControls) {
        if (control.captionOf == role) return std::u16string(control.firstText);
    }
    return {};
}

// "Message 1", "Message 1 and the address", "Message 1, Message 3 and the address".
std::u16string ListOf(const std::vector<Role>& boxes) {
    std::u16string list;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i > 0) list += i + 1 == boxes.size() ? u" and " : u", ";
        list += NameOf(boxes[i], i == 0);
    }
    return list;
}

}  // namespace

std::optional<UnshowableQuestion> QuestionBeforeWriting(const BannerRequest& request) {
    // In focus order, which is the order of the banner's files with the address last.
    std::vector<Role> holding;
    std::vector<std::u16string> characters;
    for (const Role box : kRequestBoxes) {
        if (box == Role::Folder) continue;  // the banner never shows it
        if (CollectUnshowable(TextOfBox(request, box), characters)) holding.push_back(box);
    }
    if (holding.empty()) return std::nullopt;

    std::u16string named;
    for (std::size_t i = 0; i < std::min(characters.size(), kCharactersNamed); ++i) {
        named += (i > 0 ? u" " : u"") + Shown(characters[i]);
    }
    if (characters.size() > kCharactersNamed) named += u" \u2026";
    const bool one = holding.size() == 1;
    const bool single = characters.size() == 1;
    std::u16string text = ListOf(holding) + (one ? u" holds " : u" hold ") +
                          (single ? u"a character" : u"characters") +
                          u" that the banner cannot show: " + named +
                          u"\r\nThe banner will show question marks instead." +
                          u"\r\n\r\nGenerate the package anyway?";
    return UnshowableQuestion{holding.front(), std::move(text)};
}

}  // namespace quillbeam::window
