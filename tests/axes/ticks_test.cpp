// Tick choice and labels as numbers and texts: linear, logarithmic and time axes,
// reversed and negative windows, common factors and calendar steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "axes/ax_internal.hpp"
#include "support/test_support.hpp"

namespace {

struct SideTicks {
  std::vector<float> major, minor;
  std::vector<std::string> labels;
  std::string factor;
};

std::string trimmed(const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); }

// Ticks of a side for window [u0, u1] on that side's axis under transformation itr.
SideTicks ticks(const char* side, float u0, float u1, int itr = 1) {
  const bool x = side[0] == 'B' || side[0] == 'T';
  if (x) zep::sgswnd(u0, u1, 1, 10);
  else zep::sgswnd(1, 10, u0, u1);
  zep::sgstrn(itr);
  SideTicks t;
  t.major.resize(200);
  t.minor.resize(200);
  int nmajor = 0, nminor = 0;
  zep::axqtck(side, t.major.data(), nmajor, t.minor.data(), nminor, 200);
  t.major.resize(static_cast<std::size_t>(nmajor));
  t.minor.resize(static_cast<std::size_t>(nminor));
  for (int i = 1; i <= nmajor; ++i) {
    std::string label(40, ' ');
    zep::axqlbl(side, i, label);
    t.labels.push_back(trimmed(label));
  }
  std::string factor(40, ' ');
  zep::axqfct(side, factor);
  t.factor = trimmed(factor);
  return t;
}

void expectNear(const std::vector<float>& got, const std::vector<double>& want, double tol) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], tol) << "tick " << i;
}

using Labels = std::vector<std::string>;

TEST(AxisTicks, LinearWindowsGiveOneTwoFiveSteps) {
  zep::axinit();
  const SideTicks unit = ticks("B", 0, 1);
  expectNear(unit.major, {0, 0.2, 0.4, 0.6, 0.8, 1.0}, 1e-6);
  EXPECT_EQ(unit.labels, (Labels{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
  EXPECT_EQ(unit.factor, "");
  EXPECT_EQ(unit.minor.size(), 15U);  // four minor intervals per step of 2
  EXPECT_NEAR(unit.minor.front(), 0.05, 1e-6);

  const SideTicks seven = ticks("L", 0, 7);
  const bool ones = seven.labels == Labels{"0", "1", "2", "3", "4", "5", "6", "7"};
  const bool twos = seven.labels == Labels{"0", "2", "4", "6"};
  EXPECT_TRUE(ones || twos) << testing::PrintToString(seven.labels);

  // No binary noise: 0.1 to 0.3 in float steps still reads as short decimals,
  // all with the decimals that tell them apart.
  const SideTicks tenths = ticks("B", 0.1F, 0.3F);
  EXPECT_EQ(tenths.labels, (Labels{"0.10", "0.15", "0.20", "0.25", "0.30"}));

  // Window not starting on a tick, and one with a span far from its size.
  EXPECT_EQ(ticks("B", 0.13F, 0.91F).labels, (Labels{"0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9"}));
  EXPECT_EQ(ticks("B", 1000, 1003).labels, (Labels{"1000.0", "1000.5", "1001.0", "1001.5", "1002.0", "1002.5", "1003.0"}));
}

TEST(AxisTicks, ReversedAndNegativeWindows) {
  zep::axinit();
  const SideTicks down = ticks("B", 10, 0);
  expectNear(down.major, {10, 8, 6, 4, 2, 0}, 1e-5);
  EXPECT_EQ(down.labels, (Labels{"10", "8", "6", "4", "2", "0"}));
  for (std::size_t i = 1; i < down.minor.size(); ++i) EXPECT_LT(down.minor[i], down.minor[i - 1]);

  const SideTicks negative = ticks("L", -3, -1);
  EXPECT_EQ(negative.labels, (Labels{"-3.0", "-2.5", "-2.0", "-1.5", "-1.0"}));
  // Zero never reads as "-0".
  EXPECT_EQ(ticks("B", -1, 1).labels, (Labels{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
  for (const std::string& l : ticks("B", -0.5F, 0.5F).labels)
    EXPECT_FALSE(l[0] == '-' && l.find_first_not_of("-0.") == std::string::npos) << l;
}

TEST(AxisTicks, CommonFactorForLongLabels) {
  zep::axinit();
  const SideTicks tiny = ticks("L", 1e-5F, 3e-5F);
  EXPECT_EQ(tiny.factor, "\xC3\x97" "10\\^{-5}");
  EXPECT_EQ(tiny.labels, (Labels{"1.0", "1.5", "2.0", "2.5", "3.0"}));
  expectNear(tiny.major, {1e-5, 1.5e-5, 2e-5, 2.5e-5, 3e-5}, 1e-11);

  const SideTicks huge = ticks("B", 0, 5e6F);
  EXPECT_EQ(huge.factor, "\xC3\x97" "10\\^{6}");
  EXPECT_EQ(huge.labels, (Labels{"0", "1", "2", "3", "4", "5"}));
  // Up to the length limit the labels stay plain.
  EXPECT_EQ(ticks("B", 0, 50000).factor, "");

  // The limit and the sign are parameters.
  zep::axiset("LBLMAX", 20);
  EXPECT_EQ(ticks("L", 1e-5F, 3e-5F).factor, "");
  EXPECT_EQ(ticks("L", 1e-5F, 3e-5F).labels.front(), "0.000010");
  zep::axiset("LBLMAX", 6);
  zep::axcset("CTIMES", "x");
  EXPECT_EQ(ticks("B", 0, 5e6F).factor, "x10\\^{6}");
  zep::axcset("CTIMES", "\xC3\x97");
}

TEST(AxisTicks, GivenIntervalsAndTargetCount) {
  zep::axinit();
  zep::axsstp("B", 0.25F, 0);
  const SideTicks quarters = ticks("B", 0, 1);
  EXPECT_EQ(quarters.labels, (Labels{"0.00", "0.25", "0.50", "0.75", "1.00"}));
  EXPECT_TRUE(quarters.minor.empty());
  zep::axsstp("B", 0.5F, 5);
  EXPECT_EQ(ticks("B", 0, 1).minor.size(), 8U);
  // An interval that would give millions of ticks falls back to a chosen one.
  zep::axsstp("B", 1e-9F, -1);
  EXPECT_EQ(ticks("B", 0, 1).major.size(), 6U);
  zep::axinit();
  float d = 0;
  int n = 0;
  zep::axqstp("B", d, n);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(n, -1);

  zep::axiset("NTICK", 11);
  EXPECT_EQ(ticks("B", 0, 1).major.size(), 11U);
  zep::axiset("NTICK", 6);

  zep::axqnic(0, 1, 6, d, n);
  EXPECT_FLOAT_EQ(d, 0.2F);
  EXPECT_EQ(n, 4);
  zep::axqnic(100, 0, 6, d, n);
  EXPECT_FLOAT_EQ(d, 20);
  zep::axqnic(0, 1e-3F, 3, d, n);
  EXPECT_FLOAT_EQ(d, 5e-4F);
  EXPECT_EQ(n, 5);
}

TEST(AxisTicks, LogarithmicAxes) {
  zep::axinit();
  const SideTicks decades = ticks("B", 1, 1000, 3);
  expectNear(decades.major, {1, 10, 100, 1000}, 1e-3);
  EXPECT_EQ(decades.labels, (Labels{"10\\^{0}", "10\\^{1}", "10\\^{2}", "10\\^{3}"}));
  std::vector<double> minors;
  for (double k : {1.0, 10.0, 100.0})
    for (int m = 2; m <= 9; ++m) minors.push_back(m * k);
  expectNear(decades.minor, minors, 1e-3);
  // The y axis of ITR 3 is linear, of ITR 2 and 4 logarithmic.
  EXPECT_EQ(ticks("L", 1, 1000, 3).labels.front(), "200");
  EXPECT_EQ(ticks("L", 1, 1000, 4).labels.front(), "10\\^{0}");
  EXPECT_EQ(ticks("L", 1e-3F, 1, 2).labels.front(), "10\\^{-3}");

  // Fewer than two decades: labels also at 2 and 5, stating their value.
  const SideTicks short_ = ticks("B", 1, 50, 4);
  expectNear(short_.major, {1, 2, 5, 10, 20, 50}, 1e-4);
  EXPECT_EQ(short_.labels, (Labels{"10\\^{0}", "2", "5", "10\\^{1}", "20", "50"}));
  EXPECT_EQ(short_.minor.size(), 8U);  // 3 4 6 7 8 9 30 40
  EXPECT_NEAR(short_.minor.front(), 3, 1e-5);

  // A window inside one decade without two labelled ticks reads like a linear one.
  const SideTicks inside = ticks("B", 3, 8, 3);
  EXPECT_GE(inside.labels.size(), 3U);
  EXPECT_EQ(inside.labels.front(), "3");

  // Negative windows are drawn on the absolute values.
  const SideTicks neg = ticks("L", -100, -1, 2);
  expectNear(neg.major, {-100, -10, -1}, 1e-4);
  EXPECT_EQ(neg.labels, (Labels{"-10\\^{2}", "-10\\^{1}", "-10\\^{0}"}));
  // Reversed: decades downwards.
  expectNear(ticks("B", 1000, 1, 3).major, {1000, 100, 10, 1}, 1e-3);
  // Very many decades: every decade ticked, not every one labelled.
  const SideTicks wide = ticks("B", 1e-20F, 1e20F, 3);
  EXPECT_EQ(wide.major.size(), 41U);
  int labelled = 0;
  for (const std::string& l : wide.labels) labelled += l.empty() ? 0 : 1;
  EXPECT_GE(labelled, 4);
  EXPECT_LE(labelled, 11);
  EXPECT_TRUE(wide.minor.empty());
}

TEST(AxisTicks, ShortLogAxesStateTheValueOfEveryLabel) {
  zep::axinit();
  EXPECT_EQ(ticks("L", 2, 30, 2).labels, (Labels{"2", "5", "10\\^{1}", "20"}));
  EXPECT_EQ(ticks("B", 0.02F, 0.5F, 3).labels, (Labels{"0.02", "0.05", "10\\^{-1}", "0.2", "0.5"}));
  EXPECT_EQ(ticks("L", -50, -2, 2).labels, (Labels{"-50", "-20", "-10\\^{1}", "-5", "-2"}));
  // Far from 1 the digit keeps its decade.
  EXPECT_EQ(ticks("B", 2e5F, 5e6F, 3).labels[3], "2\xC3\x97" "10\\^{6}");
}

TEST(AxisTicks, WindowEndsInFloatKeepTheirTicks) {
  zep::axinit();
  // 123.4 and 6.1 are not exact in float; the ends still carry majors.
  const SideTicks a = ticks("B", 123.4F, 123.9F), b = ticks("L", 6, 6.1F);
  ASSERT_EQ(a.major.size(), 6U);
  EXPECT_EQ(a.major.front(), 123.4F);
  EXPECT_EQ(a.major.back(), 123.9F);
  EXPECT_EQ(b.labels.back(), "6.10");
  // Two floats wide: no two majors or minors on one float value.
  const SideTicks c = ticks("B", 0.5F, 0.5000001F);
  EXPECT_TRUE(!c.major.empty() && c.major.size() <= 3);
  EXPECT_TRUE(std::adjacent_find(c.major.begin(), c.major.end(), std::greater_equal<>()) == c.major.end());
  EXPECT_TRUE(std::adjacent_find(c.minor.begin(), c.minor.end(), std::greater_equal<>()) == c.minor.end());
  // The tick at zero is 0, not -0.
  const SideTicks d = ticks("B", -0.3F, 1);
  const auto zero = std::find(d.major.begin(), d.major.end(), 0.0F);
  ASSERT_NE(zero, d.major.end());
  EXPECT_FALSE(std::signbit(*zero));
}

TEST(AxisTicks, YearsOfAnyNumberOfDigitsWithTheirSign) {
  zep::axinit();
  zep::axstim("B", 2000, 1, 1, "D");
  EXPECT_EQ(ticks("B", 0, 3652500).labels,
            (Labels{"2000", "3000", "4000", "5000", "6000", "7000", "8000", "9000", "10000", "11000", "12000"}));
  // Proleptic Gregorian: 1 January of year 0 is 2000 x 365.2425 = 730485 days before 2000.
  const SideTicks back = ticks("B", -1000000, 0);
  EXPECT_EQ(back.labels, (Labels{"-500", "0", "500", "1000", "1500", "2000"}));
  EXPECT_EQ(back.major.at(1), -730485);
  zep::axstim("B", 9999, 7, 1, "D");
  const SideTicks turn = ticks("B", 0, 366);
  EXPECT_EQ(turn.labels.front(), "JUL 9999");
  EXPECT_NE(std::find(turn.labels.begin(), turn.labels.end(), "JAN 10000"), turn.labels.end());
  zep::axstim("B", 0, 0, 0, " ");
}

TEST(AxisTicks, TimeAxesAtCalendarSteps) {
  zep::axinit();
  // A year of days from 1 January 2024 (a leap year): quarters.
  zep::axstim("B", 2024, 1, 1, "D");
  const SideTicks year = ticks("B", 0, 366);
  expectNear(year.major, {0, 91, 182, 274, 366}, 1e-3);
  EXPECT_EQ(year.labels, (Labels{"JAN 2024", "APR", "JUL", "OCT", "JAN 2025"}));
  expectNear(year.minor, {31, 60, 121, 152, 213, 244, 305, 335}, 1e-3);  // the months between
  // Half a year: every month.
  EXPECT_EQ(ticks("B", 0, 182).labels, (Labels{"JAN 2024", "FEB", "MAR", "APR", "MAY", "JUN", "JUL"}));

  // Two days in hours from 5 March 2024: every 12 hours, dates at midnight.
  zep::axstim("B", 2024, 3, 5, "H");
  const SideTicks hours = ticks("B", 0, 48);
  expectNear(hours.major, {0, 12, 24, 36, 48}, 1e-4);
  EXPECT_EQ(hours.labels, (Labels{"5 MAR", "12:00", "6 MAR", "12:00", "7 MAR"}));

  // Minutes in seconds, starting off a step.
  zep::axstim("L", 2000, 2, 28, "S");
  const SideTicks seconds = ticks("L", 70, 400);
  EXPECT_EQ(seconds.labels, (Labels{"00:02", "00:03", "00:04", "00:05", "00:06"}));
  // Decades of years over a century of days; across the end of February of a leap year.
  zep::axstim("B", 1950, 1, 1, "D");
  const SideTicks century = ticks("B", 0, 36525);
  EXPECT_EQ(century.labels, (Labels{"1960", "1980", "2000", "2020", "2040"}));
  zep::axstim("B", 2000, 2, 27, "D");
  EXPECT_EQ(ticks("B", 0, 4).labels, (Labels{"27 FEB", "28 FEB", "29 FEB", "1 MAR", "2 MAR"}));
  // Reversed time runs downwards too.
  EXPECT_EQ(ticks("B", 4, 0).labels.front(), "2 MAR");

  char unit[2] = {'?', '?'};
  int iy = 0, im = 0, id = 0;
  zep::axqtim("B", iy, im, id, unit);
  EXPECT_EQ(iy * 10000 + im * 100 + id, 20000227);
  EXPECT_EQ(unit[0], 'D');
  zep::axstim("B", 0, 0, 0, " ");
  EXPECT_EQ(ticks("B", 0, 1).labels.back(), "1.0");
}

TEST(AxisTicks, MapLabelTexts) {
  const std::string deg = "\\^{o}";
  EXPECT_EQ(zep::axes::longitudeLabel(30, deg), "30\\^{o}E");
  EXPECT_EQ(zep::axes::longitudeLabel(-120, deg), "120\\^{o}W");
  EXPECT_EQ(zep::axes::longitudeLabel(200, deg), "160\\^{o}W");
  EXPECT_EQ(zep::axes::longitudeLabel(-180, deg), "180\\^{o}");
  EXPECT_EQ(zep::axes::longitudeLabel(0, deg), "0\\^{o}");
  EXPECT_EQ(zep::axes::longitudeLabel(7.5, deg), "7.5\\^{o}E");
  EXPECT_EQ(zep::axes::latitudeLabel(-45, deg), "45\\^{o}S");
  EXPECT_EQ(zep::axes::latitudeLabel(60, deg), "60\\^{o}N");
  EXPECT_EQ(zep::axes::latitudeLabel(0, deg), "0\\^{o}");
  EXPECT_EQ(zep::axes::graticuleStep(180, 6), 30);
  EXPECT_EQ(zep::axes::graticuleStep(30, 6), 5);
  EXPECT_EQ(zep::axes::graticuleStep(2, 6), 0.5);
}

TEST(AxisTicks, BadSidesAndSettingsAreReported) {
  EXPECT_EXIT(zep::axssid("X", true, true), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXSSID) ***  SIDE IS INVALID (B, T, L OR R)."));
  EXPECT_EXIT(zep::axstdr("B", 4), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXSTDR) ***  TICK DIRECTION IS INVALID (0 TO 3)."));
  EXPECT_EXIT(zep::axstim("B", 2023, 2, 29, "D"), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXSTIM) ***  DATE IS INVALID."));
  EXPECT_EXIT(zep::axstim("B", 2023, 2, 1, "W"), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXSTIM) ***  TIME UNIT IS INVALID (D, H OR S)."));
  EXPECT_EXIT(zep::axsstp("L", -1, 0), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXSSTP) ***  TICK INTERVAL IS INVALID."));
  EXPECT_EXIT(
      {
        zep::sgswnd(0, 1, 0, 1);
        zep::sgstrn(1);
        std::string l(10, ' ');
        zep::axqlbl("B", 7, l);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (AXQLBL) ***  TICK NUMBER IS OUT OF RANGE."));
  // Lower-case side names are accepted; settings read back.
  zep::axssid("t", true, true);
  bool draw = false, label = false;
  zep::axqsid("T", draw, label);
  EXPECT_TRUE(draw && label);
  zep::axsttl("l", "height (m)");
  std::string title(20, '*');
  zep::axqttl("L", title);
  EXPECT_EQ(trimmed(title), "height (m)");
  zep::axsatr("B", 0.03F, 21, 0);
  float h = 0;
  int li = 0, ti = 5;
  zep::axqatr("B", h, li, ti);
  EXPECT_FLOAT_EQ(h, 0.03F);
  EXPECT_EQ(li * 10 + ti, 210);
  EXPECT_EXIT(zep::axsatr("B", -1, 1, 1), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXSATR) ***  LABEL HEIGHT OR INDEX IS INVALID."));
  zep::axinit();
  zep::axqsid("T", draw, label);
  EXPECT_FALSE(label);
  zep::axqatr("B", h, li, ti);
  EXPECT_EQ(li, -1);
}

}  // namespace
