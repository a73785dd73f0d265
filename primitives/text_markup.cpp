// Backslash markup to the control characters of the stroke-font engine.
#include "primitives/text_markup.hpp"

#include <algorithm>

#include <zep/zep.hpp>

namespace zep::text_engine {

std::string convertMarkup(std::string_view text, int sup, int sub, int reset) {
  const std::size_t length = static_cast<std::size_t>(lenc(text));
  std::string out;
  out.reserve(std::min(length, kConvertedLength));
  // The converted string has a fixed capacity; what does not fit is dropped.
  auto put = [&out](int code) {
    if (out.size() < kConvertedLength) out.push_back(static_cast<char>(code));
  };

  enum class State { plain, afterBackslash, inBraces } state = State::plain;
  // Cleared by an over- or under-bar, whose content then ends without a reset:
  // those marks are not scripts.
  bool resetPending = true;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    switch (state) {
      case State::plain:
        if (c == '\\') state = State::afterBackslash;
        else put(static_cast<unsigned char>(c));
        break;
      case State::afterBackslash:
        if (c == '^') {
          put(sup);
        } else if (c == '_') {
          put(sub);
        } else if (c == 'o' || c == 'u') {
          put('~');
          msgdmp("W", "SZTXWV", c == 'o' ? "TOPBAR IS NOT SUPPORT IN STROKEFONT" : "UNDERBAR IS NOT SUPPORT IN STROKEFONT");
          resetPending = false;
        } else if (c == '\\') {
          put('\\');
          state = State::plain;
        } else if (c == '{') {
          state = State::inBraces;
        } else {
          state = State::plain;
          put(static_cast<unsigned char>(c));
          if (resetPending) put(reset);
          else resetPending = true;
        }
        break;
      case State::inBraces:
        if (c == '}') {
          state = State::plain;
          if (resetPending) put(reset);
          else resetPending = true;
        } else {
          put(static_cast<unsigned char>(c));
        }
        break;
    }
  }
  if (state != State::plain) {
    if (out.size() < length) put(reset);
    msgdmp("W", "SZTXWV", "MARKUP IS NOT IN GOOD AGREEMENT.");
  }
  if (out.size() > length) out.resize(length);
  return out;
}

}  // namespace zep::text_engine
