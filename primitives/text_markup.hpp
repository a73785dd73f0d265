// The backslash markup of stroke-font text: \^ superscript, \_ subscript, a
// following character or {group} as the script's content, \\ a backslash.
#pragma once

#include <string>
#include <string_view>

namespace zep::text_engine {

// The text-control settings (SG LCNTL, ISUP, ISUB, IRST, SMALL, SHIFT), read
// together: the stroke engine, its width query and the workstation's copies
// for the driver all take them from here.
struct TextControls {
  bool enabled = false;  // LCNTL
  int superscript = 124;  // ISUP, ISUB, IRST: character codes
  int subscript = 95;
  int reset = 34;
  float small = 0.7F;  // SMALL: script size
  float shift = 0.3F;  // SHIFT: script offset, in heights
};
TextControls readTextControls();

}  // namespace zep::text_engine

// The lexical units of the backslash markup, shared by the stroke-font engine
// and the driver's conversion to font-engine markup: what each of them makes of
// the units is theirs, where the units begin and end is decided here once.
namespace zep::markup {

enum class TokenKind {
  character,  // one character: a byte, or a UTF-8 sequence when asked for
  escape,     // a backslash and the byte after it (\^ \_ \o \u \p \\ ...)
  open,       // "{"
  close,      // "}"
};

struct Token {
  TokenKind kind;
  std::size_t length;  // bytes of the unit (an escape at the very end is 1)
  char letter;         // escape: the byte after the backslash, NUL when none
  int utf8;            // character: the UTF-8 length of its first byte's sequence, 0 if none
};

// Length of the UTF-8 sequence at the start of `p`: 1 below 0x80; 2, 3 or 4
// for a lead byte followed by enough continuation bytes; otherwise 0.
int sequenceLength(std::string_view p);

// The unit that starts at byte `i` (< text.size()). With `utf8`, a character
// is a whole UTF-8 sequence; otherwise one byte.
Token tokenAt(std::string_view text, std::size_t i, bool utf8);

}  // namespace zep::markup

namespace zep::text_engine {

constexpr std::size_t kConvertedLength = 256;

// Converts `text` (up to its last non-blank character) into a string in which
// superscript, subscript and reset are the single characters with the codes
// `sup`, `sub` and `reset` (0 to 255). Warnings are reported from "SZTXWV".
std::string convertMarkup(std::string_view text, int sup, int sub, int reset);

// The font code of the stroke fonts that draws a Unicode character, or -1.
int strokeFontCode(char32_t c);

// The code the stroke fonts draw for a character they have no glyph for.
constexpr int kReplacementCode = 127;

// Turns every well-formed multi-byte UTF-8 sequence of `text` into the one font
// code that draws its character (kReplacementCode when the fonts lack it); other
// bytes, including high bytes outside such a sequence, stay the font codes
// they are.
std::string decodeUtf8(std::string_view text);

}  // namespace zep::text_engine
