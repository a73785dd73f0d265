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

}  // namespace zep::text_engine
