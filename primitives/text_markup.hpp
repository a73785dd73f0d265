// The backslash markup of stroke-font text: \^ superscript, \_ subscript, a
// following character or {group} as the script's content, \\ a backslash.
#pragma once

#include <string>
#include <string_view>

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
