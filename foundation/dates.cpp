// Dates, times and calendar names.
#include <algorithm>
#include <array>
#include <limits>
#include <ctime>
#include <string>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"JANUARY  ", "FEBRUARY ", "MARCH    ", "APRIL    ",
                                                      "MAY      ", "JUNE     ", "JULY     ", "AUGUST   ",
                                                      "SEPTEMBER", "OCTOBER  ", "NOVEMBER ", "DECEMBER "};
constexpr std::array<std::string_view, 7> kWeekdays = {"SUNDAY   ", "MONDAY   ", "TUESDAY  ", "WEDNESDAY",
                                                       "THURSDAY ", "FRIDAY   ", "SATURDAY "};
// Template fields are at most as wide as a calendar name.
constexpr std::size_t kMaxField = 9;

std::tm localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// The field of `letter` in the template: from its first to its last occurrence
// within the trimmed length, cut at nine characters. Empty when absent.
std::span<char> field(std::span<char> form, char letter) {
  const std::string_view text(form.data(), static_cast<std::size_t>(lenz(text::view(form))));
  const std::size_t first = text.find(letter);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.rfind(letter);
  return form.subspan(first, std::min(last - first + 1, kMaxField));
}

// The value modulo 10^w, right-justified in the field; zeros or blanks in front.
void writeNumber(std::span<char> f, int value, bool zeros) {
  if (f.empty()) return;
  long long modulus = 1;
  for (std::size_t i = 0; i < f.size(); ++i) modulus *= 10;
  const long long v = value % modulus;
  std::string digits = std::to_string(v < 0 ? -v : v);
  if (zeros && digits.size() < f.size()) digits.insert(0, f.size() - digits.size(), '0');
  if (v < 0) digits.insert(0, 1, '-');
  if (digits.size() > f.size()) digits.assign(f.size(), '*');
  text::assign(f, std::string(f.size() - digits.size(), ' ') + digits);
}

void writeName(std::span<char> f, std::string_view name) {
  if (f.empty()) return;
  text::assign(f, name.substr(0, std::min(f.size(), name.size())));
  cradj(f);
}

}  // namespace

void dateq3(int& iy, int& im, int& id) {
  const std::tm t = localNow();
  iy = t.tm_year + 1900;
  im = t.tm_mon + 1;
  id = t.tm_mday;
}

void timeq3(int& ih, int& im, int& is) {
  const std::tm t = localNow();
  ih = t.tm_hour;
  im = t.tm_min;
  is = t.tm_sec;
}

void datec3(std::span<char> cform, int iy, int im, int id) {
  writeNumber(field(cform, 'Y'), iy, false);
  writeNumber(field(cform, 'M'), im, false);
  writeNumber(field(cform, 'D'), id, false);
  if (std::span<char> f = field(cform, 'C'); !f.empty()) writeName(f, cmon(im));
  if (std::span<char> f = field(cform, 'W'); !f.empty()) writeName(f, cweek(iweek3(iy, im, id)));
}

void timec3(std::span<char> cform, int ih, int im, int is) {
  writeNumber(field(cform, 'H'), ih, true);
  writeNumber(field(cform, 'M'), im, true);
  writeNumber(field(cform, 'S'), is, true);
}

int ndyear(int iy) { return ((iy % 4 == 0 && iy % 100 != 0) || iy % 400 == 0) ? 366 : 365; }

namespace {

long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Leap years up to and including y, counted from a fixed origin; the
// difference of two counts is the number of leap years between them.
long long leapYearsUpTo(long long y) { return floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400); }

// Days from day itd1 of year iy1 to day itd2 of year iy2, in closed form: far
// years neither overflow nor take a loop over every year between.
long long daysBetween(int iy1, int itd1, int iy2, int itd2) {
  const long long years = static_cast<long long>(iy2) - iy1;
  return static_cast<long long>(itd2) - itd1 + 365 * years + leapYearsUpTo(iy2 - 1LL) - leapYearsUpTo(iy1 - 1LL);
}

int saturated(long long v) {
  return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

void date32(int iy, int im, int id, int& itd) {
  static constexpr std::array<int, 12> kLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  long long days = id;
  for (int m = 1; m < im && m <= 12; ++m) days += kLengths[static_cast<std::size_t>(m - 1)] + (m == 2 && ndyear(iy) == 366);
  itd = saturated(days);
}

void dateg2(int& n, int iy1, int itd1, int iy2, int itd2) { n = saturated(daysBetween(iy1, itd1, iy2, itd2)); }

int iweek2(int iy, int itd) {
  const long long n = daysBetween(1989, 365, iy, itd);  // 31 December 1989 was a Sunday
  return static_cast<int>(((n % 7) + 7) % 7) + 1;
}

int iweek3(int iy, int im, int id) {
  int itd = 0;
  date32(iy, im, id, itd);
  return iweek2(iy, itd);
}

std::string cmon(int im) {
  if (im < 1 || im > 12) {
    msgdmp("E", "CMON", "IM IS OUT OF RANGE (1-12).");
    return std::string(kMaxField, ' ');
  }
  return std::string(kMonths[static_cast<std::size_t>(im - 1)]);
}

std::string cweek(int iw) {
  if (iw < 1 || iw > 7) {
    msgdmp("E", "CWEEK", "IW IS OUT OF RANGE (1-7).");
    return std::string(kMaxField, ' ');
  }
  return std::string(kWeekdays[static_cast<std::size_t>(iw - 1)]);
}

}  // namespace zep
