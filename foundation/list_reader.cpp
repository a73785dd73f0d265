// Free-format (list-directed) reading; see list_reader.hpp for the rules.
#include "foundation/list_reader.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "foundation/fixed_text.hpp"
#include "foundation/units.hpp"

namespace zep::listio {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool endsWord(char c) { return isBlank(c) || c == ',' || c == '/'; }

}  // namespace

ListReader::ListReader(int unit, std::size_t width)
    : source_([unit, width](std::string& record) { return units::readRecord(unit, record, width); }) {}

bool ListReader::nextRecord() {
  pos_ = 0;
  haveRecord_ = source_(record_);
  if (!haveRecord_) record_.clear();
  return haveRecord_;
}

void ListReader::skipBlanks() {
  while (pos_ < record_.size() && isBlank(record_[pos_])) ++pos_;
}

ListReader::Token ListReader::nextValue(std::string& value, bool& quoted) {
  if (repeatLeft_ > 0) {
    --repeatLeft_;
    value = repeatValue_;
    quoted = repeatQuoted_;
    return repeatToken_;
  }
  for (;;) {
    skipBlanks();
    if (pos_ >= record_.size()) {
      // The end of a record separates like a blank; the read goes on with the next.
      if (!nextRecord()) return Token::endOfFile;
      continue;
    }
    const char c = record_[pos_];
    if (c == ',') {
      ++pos_;
      if (afterValue_) {
        afterValue_ = false;  // the comma that ends the previous value
        continue;
      }
      return Token::null;
    }
    if (c == '/') return Token::slash;
    break;
  }

  // A repeat count "r*" in front of a value or standing alone for r null values.
  int repeat = 1;
  {
    std::size_t p = pos_;
    while (p < record_.size() && isDigit(record_[p])) ++p;
    if (p > pos_ && p < record_.size() && record_[p] == '*') {
      int r = 0;
      for (std::size_t k = pos_; k < p; ++k) {
        if (r > (std::numeric_limits<int>::max() - 9) / 10) return Token::error;
        r = r * 10 + (record_[k] - '0');
      }
      if (r == 0) return Token::error;
      repeat = r;
      pos_ = p + 1;
      if (pos_ >= record_.size() || endsWord(record_[pos_])) {
        afterValue_ = true;
        repeatLeft_ = repeat - 1;
        repeatToken_ = Token::null;
        return Token::null;
      }
    }
  }

  value.clear();
  quoted = false;
  const char c = record_[pos_];
  if (c == '\'' || c == '"') {
    quoted = true;
    ++pos_;
    for (;;) {
      if (pos_ >= record_.size()) return Token::error;  // not closed on its record
      const char d = record_[pos_++];
      if (d == c) {
        if (pos_ < record_.size() && record_[pos_] == c) {
          value.push_back(c);
          ++pos_;
          continue;
        }
        break;
      }
      value.push_back(d);
    }
  } else {
    while (pos_ < record_.size() && !endsWord(record_[pos_])) value.push_back(record_[pos_++]);
  }
  afterValue_ = true;
  if (repeat > 1) {
    repeatLeft_ = repeat - 1;
    repeatToken_ = Token::value;
    repeatValue_ = value;
    repeatQuoted_ = quoted;
  }
  return Token::value;
}

ReadStatus ListReader::read(std::span<const Item> items) {
  // Every read starts on a fresh record; whatever the previous read left is dropped.
  repeatLeft_ = 0;
  afterValue_ = false;
  if (!nextRecord()) return ReadStatus::endOfFile;

  std::string value;
  for (const Item& item : items) {
    bool quoted = false;
    const Token token = nextValue(value, quoted);
    switch (token) {
      case Token::endOfFile: return ReadStatus::endOfFile;
      case Token::error: return ReadStatus::error;
      case Token::slash: return ReadStatus::ok;
      case Token::null: continue;
      case Token::value: break;
    }
    const bool ok = std::visit(
        [&](auto target) -> bool {
          using T = decltype(target);
          if constexpr (std::is_same_v<T, std::span<char>>) {
            text::assign(target, value);
            return true;
          } else {
            if (quoted) return false;
            if constexpr (std::is_same_v<T, int*>) return parseInteger(value, *target);
            else if constexpr (std::is_same_v<T, float*>) return parseReal(value, *target);
            else return parseLogical(value, *target);
          }
        },
        item);
    if (!ok) return ReadStatus::error;
  }
  return ReadStatus::ok;
}

bool parseInteger(std::string_view text, int& value) {
  std::size_t p = 0;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p >= text.size()) return false;
  std::int64_t v = 0;
  for (; p < text.size(); ++p) {
    if (!isDigit(text[p])) return false;
    v = v * 10 + (text[p] - '0');
    if (v > std::int64_t{std::numeric_limits<int>::max()} + 1) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(v);
  return true;
}

bool parseReal(std::string_view text, float& value) {
  // Checked by hand first: strtof alone would take "inf", hexadecimal forms and
  // trailing garbage.
  std::string normal;
  std::size_t p = 0;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) normal.push_back(text[p++]);
  int digits = 0;
  while (p < text.size() && isDigit(text[p])) normal.push_back(text[p++]), ++digits;
  if (p < text.size() && text[p] == '.') {
    normal.push_back(text[p++]);
    while (p < text.size() && isDigit(text[p])) normal.push_back(text[p++]), ++digits;
  }
  if (digits == 0) return false;
  if (p < text.size()) {
    // Exponent: a letter E or D with an optional sign, or a sign alone.
    const char e = text[p];
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') ++p;
    else if (e != '+' && e != '-') return false;
    normal.push_back('E');
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) normal.push_back(text[p++]);
    int expDigits = 0;
    while (p < text.size() && isDigit(text[p])) normal.push_back(text[p++]), ++expDigits;
    if (expDigits == 0 || p != text.size()) return false;
  }
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(normal.c_str(), &end);
  if (end != normal.c_str() + normal.size() || errno == ERANGE) {
    // Underflow to zero is harmless; overflow is not a value.
    if (!(errno == ERANGE && std::fabs(v) < 1.0)) return false;
  }
  if (std::fabs(v) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(v);
  return true;
}

bool parseLogical(std::string_view text, bool& value) {
  std::size_t p = 0;
  if (p < text.size() && text[p] == '.') ++p;
  if (p >= text.size()) return false;
  const char c = text[p];
  if (c == 'T' || c == 't') value = true;
  else if (c == 'F' || c == 'f') value = false;
  else return false;
  return true;
}

}  // namespace zep::listio
