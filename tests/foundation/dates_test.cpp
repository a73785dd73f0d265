// Calendar arithmetic, templates and names.
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <limits>
#include <string>
#include <zep/zep.hpp>

#include "support/test_support.hpp"

namespace {

int dayOfYear(int y, int m, int d) {
  int itd = 0;
  zep::date32(y, m, d, itd);
  return itd;
}

// An independent reference: the C library's own calendar (timegm on UTC noon).
int referenceWeekday(int y, int m, int d) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = m - 1;
  t.tm_mday = d;
  t.tm_hour = 12;
  const std::time_t when = timegm(&t);
  std::tm out{};
  gmtime_r(&when, &out);
  return out.tm_wday + 1;
}

TEST(Dates, DayCountsAndLeapYears) {
  EXPECT_EQ(dayOfYear(2000, 3, 1), 61);
  EXPECT_EQ(dayOfYear(1900, 3, 1), 60);
  EXPECT_EQ(dayOfYear(2024, 12, 31), 366);
  EXPECT_EQ(dayOfYear(2023, 12, 31), 365);
  EXPECT_EQ(zep::ndyear(1900), 365);
  EXPECT_EQ(zep::ndyear(2000), 366);
  int n = 0;
  zep::dateg2(n, 1989, 365, 1990, 1);
  EXPECT_EQ(n, 1);
  zep::dateg2(n, 1990, 1, 1989, 365);
  EXPECT_EQ(n, -1);
  zep::dateg2(n, 2000, 1, 2004, 1);
  EXPECT_EQ(n, 366 + 365 * 3);
}

TEST(Dates, FarYearsNeitherOverflowNorLoopOverTheYears) {
  // 400 Gregorian years are 146097 days, 20871 weeks exactly.
  int n = 0;
  zep::dateg2(n, 1989, 365, 1989 + 4000, 365);
  EXPECT_EQ(n, 10 * 146097);
  zep::dateg2(n, 1989 + 4000, 365, 1989, 365);
  EXPECT_EQ(n, -10 * 146097);
  zep::dateg2(n, -400, 1, 0, 1);
  EXPECT_EQ(n, 146097);
  EXPECT_EQ(zep::iweek3(1989 + 400 * 5000, 12, 31), 1);
  EXPECT_EQ(zep::iweek3(1989 - 400 * 5000, 12, 31), 1);
  // Beyond the range of a day count the counts saturate; weekdays stay weekdays.
  zep::dateg2(n, std::numeric_limits<int>::min(), 1, std::numeric_limits<int>::max(), 1);
  EXPECT_EQ(n, std::numeric_limits<int>::max());
  int itd = 0;
  zep::date32(2001, 12, std::numeric_limits<int>::max(), itd);
  EXPECT_EQ(itd, std::numeric_limits<int>::max());
  const int w = zep::iweek3(std::numeric_limits<int>::max(), 12, std::numeric_limits<int>::max());
  EXPECT_TRUE(w >= 1 && w <= 7) << w;
  std::string form = "WWW";
  zep::datec3(form, std::numeric_limits<int>::max(), 12, 31);
  EXPECT_EQ(form.size(), 3U);
}

TEST(Dates, WeekdaysAgreeWithTheSystemCalendar) {
  EXPECT_EQ(zep::iweek3(1990, 1, 1), 2);
  EXPECT_EQ(zep::iweek3(1989, 12, 31), 1);
  EXPECT_EQ(zep::iweek3(1970, 1, 1), 5);
  for (int y : {1901, 1950, 1988, 1989, 1990, 2000, 2024, 2100})
    for (int m = 1; m <= 12; ++m)
      for (int d : {1, 13, 28}) EXPECT_EQ(zep::iweek3(y, m, d), referenceWeekday(y, m, d)) << y << "-" << m << "-" << d;
}

std::string date(std::string form, int y, int m, int d) {
  zep::datec3(form, y, m, d);
  return form;
}

TEST(Dates, Templates) {
  EXPECT_EQ(date("YYYY-MM-DD", 2024, 3, 5), "2024- 3- 5");
  EXPECT_EQ(date("YY/MM/DD", 2024, 3, 5), "24/ 3/ 5");
  EXPECT_EQ(date("YY/MM", 2005, 3, 5), " 5/ 3");
  EXPECT_EQ(date("CCC", 2024, 5, 1), "MAY");
  EXPECT_EQ(date("CCCCCCCCC", 2024, 5, 1), "      MAY");
  EXPECT_EQ(date("DD WWW", 2024, 3, 5), " 5 TUE");
  EXPECT_EQ(date("D CCCCCCCCC, Y", 2024, 12, 25), "5  DECEMBER, 4");
  EXPECT_EQ(date("no letters   ", 2024, 3, 5), "no letters   ");
  std::string t = "HH:MM:SS";
  zep::timec3(t, 9, 5, 3);
  EXPECT_EQ(t, "09:05:03");
  t = "H-M";
  zep::timec3(t, 23, 59, 0);
  EXPECT_EQ(t, "3-9");
  // A field wider than nine characters is cut at nine; nothing outside the template moves.
  char buffer[16] = {'Y', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', '!', '#', '#', '#'};
  zep::datec3(std::span<char>(buffer, 13), 2024, 1, 1);
  EXPECT_EQ(std::string(buffer, 16), "     2024YYY!###");
}

TEST(Dates, NamesAndTheirRanges) {
  EXPECT_EQ(zep::cmon(1), "JANUARY  ");
  EXPECT_EQ(zep::cmon(9), "SEPTEMBER");
  EXPECT_EQ(zep::cweek(4), "WEDNESDAY");
  EXPECT_EQ(zep::cweek(7), "SATURDAY ");
  EXPECT_EXIT(zep::cmon(13), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (CMON  ) ***  IM IS OUT OF RANGE (1-12)."));
  EXPECT_EXIT(zep::cweek(0), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (CWEEK ) ***  IW IS OUT OF RANGE (1-7)."));
}

TEST(Dates, ClockReadsTheLocalTime) {
  int y = 0, m = 0, d = 0, h = -1, mi = -1, s = -1;
  zep::dateq3(y, m, d);
  zep::timeq3(h, mi, s);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_EQ(y, local.tm_year + 1900);
  EXPECT_GE(m, 1);
  EXPECT_LE(m, 12);
  EXPECT_GE(d, 1);
  EXPECT_GE(h, 0);
  EXPECT_LE(h, 23);
  EXPECT_LE(s, 60);
}

}  // namespace
