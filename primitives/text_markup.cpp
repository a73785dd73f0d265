// Backslash markup to the control characters of the stroke-font engine.
#include "primitives/text_markup.hpp"

#include <algorithm>

#include <zep/zep.hpp>

namespace zep::text_engine {

TextControls readTextControls() {
  TextControls c;
  sglget("LCNTL", c.enabled);
  sgiget("ISUP", c.superscript);
  sgiget("ISUB", c.subscript);
  sgiget("IRST", c.reset);
  sgrget("SMALL", c.small);
  sgrget("SHIFT", c.shift);
  return c;
}

std::string convertMarkup(std::string_view text, int sup, int sub, int reset) {
  const std::size_t length = static_cast<std::size_t>(lenc(text));
  text = text.substr(0, length);
  std::string out;
  out.reserve(std::min(length, kConvertedLength));
  // The converted string has a fixed capacity; what does not fit is dropped.
  auto put = [&out](int code) {
    if (out.size() < kConvertedLength) out.push_back(static_cast<char>(code));
  };
  auto copy = [&](char c) { put(static_cast<unsigned char>(c)); };

  enum class State { plain, afterBackslash, inBraces } state = State::plain;
  // Cleared by an over- or under-bar, whose content then ends without a reset:
  // those marks are not scripts.
  bool resetPending = true;
  auto endScript = [&] {
    if (resetPending) put(reset);
    else resetPending = true;
  };
  // What the character after a backslash does. Script and bar marks leave the
  // state after the backslash, so that the next character or group is their
  // content.
  auto afterBackslash = [&](char c) {
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
      copy(c);
      endScript();
    }
  };

  for (std::size_t i = 0; i < length;) {
    const markup::Token t = markup::tokenAt(text, i, false);
    const char c = text[i];
    switch (state) {
      case State::plain:
        if (t.kind == markup::TokenKind::escape) {
          state = State::afterBackslash;
          if (t.length == 2) afterBackslash(t.letter);
          i += t.length;
          continue;
        }
        copy(c);
        break;
      case State::afterBackslash:
        // A backslash here is the second of a pair: it is written, and what
        // follows it starts afresh.
        afterBackslash(c);
        break;
      case State::inBraces:
        if (t.kind == markup::TokenKind::close) {
          state = State::plain;
          endScript();
        } else {
          copy(c);
        }
        break;
    }
    i += 1;
  }
  if (state != State::plain) {
    if (out.size() < length) put(reset);
    msgdmp("W", "SZTXWV", "MARKUP IS NOT IN GOOD AGREEMENT.");
  }
  if (out.size() > length) out.resize(length);
  return out;
}

}  // namespace zep::text_engine

namespace zep::text_engine {
namespace {

struct CodePoint {
  char32_t unicode;
  unsigned char code;
};

// Characters the stroke fonts draw outside ASCII, by code point. The Greek
// alphabets are computed; the rest are the symbols and markers of the fonts,
// and characters that look the same as one of them.
constexpr CodePoint kSymbols[] = {
    {0x00A0, ' '},  {0x00B0, 0xB0}, {0x00B1, 0xC0}, {0x00B4, 0xCF}, {0x00B5, 0xA3}, {0x00B7, 0xC3},
    {0x00C5, 0xE1}, {0x00D7, 0xC2}, {0x00F7, 0xC4}, {0x03C2, 0xA9}, {0x03D1, 0xF1}, {0x03D5, 0xF5},
    {0x03D6, 0xF2}, {0x03F1, 0xF3}, {0x03F5, 0xF0}, {0x2010, 0xF6}, {0x2014, 0xF8}, {0x2016, 0xB7},
    {0x2018, 0xB1}, {0x2019, 0xB2}, {0x2030, 0xE0}, {0x212B, 0xE1}, {0x2190, 0xB5}, {0x2191, 0xB4},
    {0x2192, 0xB3}, {0x2193, 0xB6}, {0x2202, 0xD8}, {0x2207, 0xD9}, {0x2208, 0xD7}, {0x2212, 0xBE},
    {0x2213, 0xC1}, {0x2219, 0xC3}, {0x221A, 0xD2}, {0x221D, 0xCC}, {0x221E, 0xBD}, {0x2220, 0xB9},
    {0x2229, 0xD6}, {0x222A, 0xD4}, {0x222B, 0xDA}, {0x222E, 0xDB}, {0x2234, 0xBA}, {0x223C, 0xCD},
    {0x223E, 0xBC}, {0x2260, 0xC6}, {0x2261, 0xC7}, {0x2264, 0xCA}, {0x2265, 0xCB}, {0x2266, 0xCA}, {0x2267, 0xCB}, {0x2282, 0xD3},
    {0x2283, 0xD5}, {0x22A5, 0xB8}, {0x2460, 0xE6}, {0x2461, 0xE3}, {0x2462, 0xE5}, {0x25A0, 11},
    {0x25A1, 6},    {0x25B2, 12},   {0x25B3, 7},    {0x25B6, 15},   {0x25BC, 14},   {0x25C0, 13},
    {0x25C7, 8},    {0x25CB, 4},    {0x25CF, 10},   {0x2605, 16},   {0x2606, 9},    {0x2691, 17},
    {0x30FB, 1},    {0xFF0A, 3},    {0xFF0B, 2},    {0x1D716, 0xF0}, {0x1D717, 0xF1}, {0x1D719, 0xF5},
    {0x1D71A, 0xF3}, {0x1D71B, 0xF2},
};

// Length and value of the well-formed UTF-8 sequence of two or more bytes at
// the start of `s`, or 0: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t multiByteSequence(std::string_view s, char32_t& c) {
  auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(0);
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < n || byte(1) < lo || byte(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  c = b0 & (0x7F >> n);
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (byte(i) & 0x3F);
  return n;
}

}  // namespace

int strokeFontCode(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  // Capitals and small letters in alphabetical order, without the gap at U+03A2
  // and, for the small letters, the final sigma (mapped to sigma below).
  if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return 0x80 + static_cast<int>(c - 0x0391) - (c > 0x03A2 ? 1 : 0);
  if (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) return 0x98 + static_cast<int>(c - 0x03B1) - (c > 0x03C2 ? 1 : 0);
  for (const CodePoint& p : kSymbols)
    if (p.unicode == c) return p.code;
  return -1;
}

std::string decodeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t n = static_cast<unsigned char>(text[i]) < 0x80 ? 0 : multiByteSequence(text.substr(i), c);
    if (n == 0) {
      out.push_back(text[i++]);
      continue;
    }
    const int code = strokeFontCode(c);
    out.push_back(static_cast<char>(code < 0 ? kReplacementCode : code));
    i += n;
  }
  return out;
}

}  // namespace zep::text_engine

namespace zep::markup {

int sequenceLength(std::string_view p) {
  if (p.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(p[0]);
  if (b0 < 0x80) return 1;
  int len = 0;
  if ((b0 & 0xE0) == 0xC0)
    len = 2;
  else if ((b0 & 0xF0) == 0xE0)
    len = 3;
  else if ((b0 & 0xF8) == 0xF0)
    len = 4;
  else
    return 0;
  if (p.size() < static_cast<std::size_t>(len)) return 0;
  for (int j = 1; j < len; ++j)
    if ((static_cast<unsigned char>(p[static_cast<std::size_t>(j)]) & 0xC0) != 0x80) return 0;
  return len;
}

Token tokenAt(std::string_view text, std::size_t i, bool utf8) {
  const char c = text[i];
  if (c == '\\') {
    if (i + 1 < text.size()) return {TokenKind::escape, 2, text[i + 1], 0};
    return {TokenKind::escape, 1, '\0', 0};
  }
  if (c == '{') return {TokenKind::open, 1, '\0', 1};
  if (c == '}') return {TokenKind::close, 1, '\0', 1};
  const int k = sequenceLength(text.substr(i));
  const std::size_t length = utf8 && k > 1 ? static_cast<std::size_t>(k) : 1;
  return {TokenKind::character, length, '\0', k};
}

}  // namespace zep::markup
