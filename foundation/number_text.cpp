// Numbers and logicals read from text, and integers substituted into text templates.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

constexpr std::int64_t kIntLimit = std::numeric_limits<std::int32_t>::max();

std::size_t firstNonBlank(std::string_view c) {
  std::size_t s = 0;
  while (s < c.size() && c[s] == ' ') ++s;
  return s;
}

// The unsigned decimal value of `c`, reported under `routine`; `limit` is the
// largest magnitude the caller can represent. Returns the value computed so far
// when a report lets the call return.
std::int64_t unsignedValue(std::string_view c, std::int64_t limit) {
  const int n = lenz(c);
  if (n == 0) {
    msgdmp("E", "JFROMC", "THERE IS NO VALID CHARACTER.");
    return 0;
  }
  std::int64_t value = 0;
  std::int64_t weight = 1;
  for (int i = n - 1; i >= 0; --i) {
    const char ch = c[static_cast<std::size_t>(i)];
    if (ch < '0' || ch > '9') {
      msgdmp("E", "JFROMC", "THERE IS A NON-NUMERAL CHARACTER.");
      return value;
    }
    const int digit = ch - '0';
    // Zeros ahead of a long number cost nothing; anything else past the
    // 32-bit range is refused before it can overflow.
    if (digit != 0 && (weight > limit || digit * weight > limit - value)) {
      msgdmp("E", "JFROMC", "THE NUMBER IS OUT OF THE 32-BIT INTEGER RANGE.");
      return value;
    }
    value += digit * weight;
    if (weight <= limit) weight *= 10;
  }
  return value;
}

}  // namespace

int jfromc(std::string_view c) { return static_cast<int>(unsignedValue(c, kIntLimit)); }

int ifromc(std::string_view c) {
  std::size_t s = firstNonBlank(c);
  if (lenz(c) == 0) {
    msgdmp("E", "IFROMC", "THERE IS NO VALID CHARACTER.");
    return 0;
  }
  int sign = 1;
  if (c[s] == '-' || c[s] == '+') {
    sign = c[s] == '-' ? -1 : 1;
    ++s;
  }
  const std::string_view digits = c.substr(s, static_cast<std::size_t>(lenz(c)) - std::min<std::size_t>(s, lenz(c)));
  // -2147483648 is representable although its magnitude is not.
  const std::int64_t magnitude = unsignedValue(digits, sign < 0 ? kIntLimit + 1 : kIntLimit);
  return static_cast<int>(sign * magnitude);
}

float ffromc(std::string_view c) {
  const std::size_t n = static_cast<std::size_t>(lenz(c));
  if (n == 0) {
    msgdmp("E", "FFROMC", "THERE IS NO VALID CHARACTER.");
    return 0.0F;
  }
  // Positions below are 0-based; s is the first character of the number.
  std::size_t s = firstNonBlank(c);
  double sign = 1.0;
  if (c[s] == '-' || c[s] == '+') {
    sign = c[s] == '-' ? -1.0 : 1.0;
    ++s;
  }
  auto slice = [&](std::size_t from, std::size_t to) -> std::string {  // characters from..to-1
    return from < to ? std::string(c.substr(from, to - from)) : std::string();
  };
  std::string digits;
  int exponent = 0;
  const std::size_t k = c.substr(0, n).find('.');
  if (k == std::string_view::npos) {
    digits = slice(s, n);
  } else {
    if (k == s) {
      if (k == n - 1) {
        msgdmp("E", "FFROMC", "THERE EXISTS A PERIOD ONLY.");
        return 0.0F;
      }
      digits = slice(k + 1, n);
    } else if (k == n - 1) {
      digits = slice(s, k);
    } else {
      digits = slice(s, k) + slice(k + 1, n);
    }
    exponent = static_cast<int>(k) - static_cast<int>(n - 1);
  }
  if (digits.size() > 16) {
    msgdmp("E", "FFROMC", "THE NUMBER HAS MORE THAN 16 DIGITS.");
    return 0.0F;
  }
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  if (digits.size() > 8 && digits[0] != '0') {
    msgdmp("W", "FFROMC", "GIVEN NUMBER IS TRUNCATED WITHIN 8 DIGITS.");
    exponent += static_cast<int>(digits.size()) - 8;
    digits.resize(8);
  }
  const double mantissa = static_cast<double>(jfromc(digits));
  return static_cast<float>(sign * mantissa * std::pow(10.0, exponent));
}

float rfromc(std::string_view c) {
  const std::size_t n = static_cast<std::size_t>(lenz(c));
  if (n == 0) {
    msgdmp("E", "FFROMC", "THERE IS NO VALID CHARACTER.");
    return 0.0F;
  }
  const std::size_t k = c.substr(0, n).find_first_of("Ee");
  if (k == std::string_view::npos) return ffromc(c);
  const int power = ifromc(c.substr(k + 1, n - k - 1));
  const float mantissa = ffromc(c.substr(0, k));
  if (mantissa == 0.0F) return 0.0F;  // 0E999 is zero, not zero times infinity
  const double value = static_cast<double>(mantissa) * std::pow(10.0, power);
  // A value past the largest real would be infinity: refused like any bad number.
  if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max()))) {
    msgdmp("E", "RFROMC", "THE NUMBER IS OUT OF THE REAL RANGE.");
    return 0.0F;
  }
  return static_cast<float>(value);
}

bool lfromc(std::string_view c) {
  std::size_t s = firstNonBlank(c);
  if (s == c.size()) {
    msgdmp("E", "LFROMC", "THERE IS NO VALID CHARACTER.");
    return true;
  }
  if (c[s] == '.') ++s;
  const char ch = s < c.size() ? c[s] : ' ';
  if (ch == 'T' || ch == 't') return true;
  if (ch == 'F' || ch == 'f') return false;
  msgdmp("E", "LFROMC", "THIS IS INVALID LOGICAL EXPRESSION.");
  return true;
}

namespace {

// Width of an integer edit descriptor "(In)" (blanks allowed), or 0 when the
// format is not one.
int integerFormatWidth(std::string_view fmt) {
  std::string f;
  for (char ch : fmt)
    if (ch != ' ') f += ch;
  if (f.size() >= 2 && f.front() == '(' && f.back() == ')') f = f.substr(1, f.size() - 2);
  if (f.size() < 2 || (f[0] != 'I' && f[0] != 'i')) return 0;
  int width = 0;
  for (std::size_t i = 1; i < f.size(); ++i) {
    if (f[i] < '0' || f[i] > '9' || width > 999) return 0;
    width = width * 10 + (f[i] - '0');
  }
  return width;
}

}  // namespace

void chngi(std::span<char> cx, std::string_view cpat, int ival, std::string_view cfmt) {
  if (cx.size() < cpat.size()) {
    msgdmp("E", "CHNGI", "TEXT LENGTH IS TOO SHORT.");
    return;
  }
  const int slots = static_cast<int>(cx.size() - cpat.size()) + 1;
  const int p = cpat.empty() ? 0 : indxnf(text::view(cx), slots, 1, cpat);
  if (p == 0) {
    msgdmp("W", "CHNGI", "PATTERN < " + std::string(cpat) + " > WAS NOT FOUND.");
    return;
  }
  const int width = integerFormatWidth(cfmt);
  if (width == 0 || width > static_cast<int>(cpat.size())) {
    msgdmp("W", "CHNGI", "SUBSTITUTION ERROR.");
    return;
  }
  std::string field = std::to_string(ival);
  if (static_cast<int>(field.size()) > width)
    field.assign(static_cast<std::size_t>(width), '*');
  else
    field.insert(0, static_cast<std::size_t>(width) - field.size(), ' ');
  text::assign(cx.subspan(static_cast<std::size_t>(p - 1), cpat.size()), field);
}

}  // namespace zep
