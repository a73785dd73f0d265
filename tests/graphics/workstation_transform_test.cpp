// Workstation transformation: the documented mappings, the mapping and its
// inverse against a reference computed here for both function numbers, the
// R-level clipping rectangle, the once-per-run warning and the error reports.
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

namespace {

TEST(WorkstationTransformTest, DocumentedMappings) {
  zep::stswrc(10.0F, 310.0F, 20.0F, 220.0F);
  zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 200.0F, 0.0F, 100.0F, 1);
  float r[4];
  float w[4];
  int iwtrf = 0;
  zep::stqwtr(r[0], r[1], r[2], r[3], w[0], w[1], w[2], w[3], iwtrf);
  EXPECT_EQ(r[1], 1.0F);
  EXPECT_FLOAT_EQ(w[0], 50.0F);
  EXPECT_FLOAT_EQ(w[1], 150.0F);
  EXPECT_FLOAT_EQ(w[2], 0.0F);
  EXPECT_FLOAT_EQ(w[3], 100.0F);
  EXPECT_EQ(iwtrf, 1);
  float s[4];
  zep::stqwrc(s[0], s[1], s[2], s[3]);
  EXPECT_EQ(s[0], 10.0F);
  EXPECT_EQ(s[3], 220.0F);
  float wx = 0.0F;
  float wy = 0.0F;
  zep::stfwtr(0.5F, 0.5F, wx, wy);
  EXPECT_FLOAT_EQ(wx, 110.0F);
  EXPECT_FLOAT_EQ(wy, 70.0F);

  // Turned by 90 degrees.
  zep::stswrc(0.0F, 100.0F, 0.0F, 200.0F);
  zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 200.0F, 0.0F, 100.0F, 2);
  zep::stfwtr(0.0F, 0.0F, wx, wy);
  EXPECT_FLOAT_EQ(wx, 0.0F);
  EXPECT_FLOAT_EQ(wy, 150.0F);
  zep::stfwtr(1.0F, 0.0F, wx, wy);
  EXPECT_FLOAT_EQ(wx, 0.0F);
  EXPECT_FLOAT_EQ(wy, 50.0F);
  zep::stfwtr(0.0F, 1.0F, wx, wy);
  EXPECT_FLOAT_EQ(wx, 100.0F);
  EXPECT_FLOAT_EQ(wy, 150.0F);

  // The window becomes the R-level clipping rectangle.
  zep::stswtr(0.1F, 0.9F, 0.0F, 0.5F, 0.0F, 200.0F, 0.0F, 100.0F, 1);
  float c[4];
  zep::szqcll(c[0], c[1], c[2], c[3], 0);
  EXPECT_EQ(c[0], 0.1F);
  EXPECT_EQ(c[1], 0.9F);
  EXPECT_EQ(c[2], 0.0F);
  EXPECT_EQ(c[3], 0.5F);
}

// Where R lands in W: the window, scaled by the smaller of the two axis ratios
// so that its shape is kept, centred in the requested viewport, then placed on
// (or, for function 2, turned onto) the workstation rectangle.
void reference(const float* win, const float* vp, const float* rect, int iwtrf, double rx, double ry,
               double& wx, double& wy) {
  const double scale = std::min((static_cast<double>(vp[1]) - vp[0]) / (static_cast<double>(win[1]) - win[0]),
                                (static_cast<double>(vp[3]) - vp[2]) / (static_cast<double>(win[3]) - win[2]));
  const double u = (vp[0] + static_cast<double>(vp[1])) / 2 + scale * (rx - (win[0] + static_cast<double>(win[1])) / 2);
  const double v = (vp[2] + static_cast<double>(vp[3])) / 2 + scale * (ry - (win[2] + static_cast<double>(win[3])) / 2);
  if (iwtrf == 1) {
    wx = rect[0] + u;
    wy = rect[2] + v;
  } else {
    wx = rect[0] + v;
    wy = rect[3] - u;
  }
}

TEST(WorkstationTransformTest, MappingAndInverseForBothFunctionNumbers) {
  std::mt19937 gen(42);
  std::uniform_real_distribution<float> unit(0.0F, 1.0F);
  std::uniform_real_distribution<float> size(50.0F, 900.0F);
  for (int k = 0; k < 400; ++k) {
    const int iwtrf = 1 + k % 2;
    float a = unit(gen);
    float b = unit(gen);
    float c = unit(gen);
    float d = unit(gen);
    if (std::fabs(a - b) < 0.05F || std::fabs(c - d) < 0.05F) continue;
    const float win[4] = {std::min(a, b), std::max(a, b), std::min(c, d), std::max(c, d)};
    const float x0 = size(gen) - 400.0F;
    const float y0 = size(gen) - 400.0F;
    const float vp[4] = {x0, x0 + size(gen), y0, y0 + size(gen)};
    const float rect[4] = {-5.0F, 800.0F, 3.0F, 700.0F};
    zep::stswrc(rect[0], rect[1], rect[2], rect[3]);
    zep::stswtr(win[0], win[1], win[2], win[3], vp[0], vp[1], vp[2], vp[3], iwtrf);

    // The adjusted viewport keeps the window's shape inside the requested one.
    float q[4];
    float w[4];
    int f = 0;
    zep::stqwtr(q[0], q[1], q[2], q[3], w[0], w[1], w[2], w[3], f);
    ASSERT_EQ(f, iwtrf);
    ASSERT_NEAR((w[3] - w[2]) / (w[1] - w[0]), (win[3] - win[2]) / (win[1] - win[0]),
                1e-4 * (win[3] - win[2]) / (win[1] - win[0]));
    ASSERT_GE(w[0], vp[0] - 1e-3F);
    ASSERT_LE(w[1], vp[1] + 1e-3F);
    ASSERT_GE(w[2], vp[2] - 1e-3F);
    ASSERT_LE(w[3], vp[3] + 1e-3F);

    for (int j = 0; j < 10; ++j) {
      const float rx = win[0] + unit(gen) * (win[1] - win[0]);
      const float ry = win[2] + unit(gen) * (win[3] - win[2]);
      float wx = 0.0F;
      float wy = 0.0F;
      zep::stfwtr(rx, ry, wx, wy);
      double ex = 0.0;
      double ey = 0.0;
      reference(win, vp, rect, iwtrf, rx, ry, ex, ey);
      ASSERT_NEAR(wx, ex, 2e-3) << k << " " << iwtrf;
      ASSERT_NEAR(wy, ey, 2e-3) << k << " " << iwtrf;
      float bx = 0.0F;
      float by = 0.0F;
      zep::stiwtr(wx, wy, bx, by);
      ASSERT_NEAR(bx, rx, 1e-5) << k << " " << iwtrf;
      ASSERT_NEAR(by, ry, 1e-5) << k << " " << iwtrf;
    }
  }
}

int warnings = 0;
std::vector<std::string> texts;
void countingDumper(std::string_view level, std::string_view, std::string_view text) {
  if (level == "W") {
    ++warnings;
    texts.emplace_back(text);
  }
}

TEST(WorkstationTransformDeathTest, ViewportWarningOncePerRun) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // In a fresh process, so that no earlier test has used up the warning.
  EXPECT_EXIT(
      {
        zep::set_msgdmp_func(&countingDumper);
        zep::stswrc(0.0F, 300.0F, 0.0F, 300.0F);
        zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 100.0F, 0.0F, 100.0F, 1);  // same shape: silent
        const int before = warnings;
        zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 200.0F, 0.0F, 100.0F, 1);
        zep::stswtr(0.0F, 1.0F, 0.0F, 0.5F, 0.0F, 100.0F, 0.0F, 100.0F, 2);
        // The adjustment itself still happens after the warning is spent.
        float q[4];
        float w[4];
        int f = 0;
        zep::stqwtr(q[0], q[1], q[2], q[3], w[0], w[1], w[2], w[3], f);
        const bool adjusted = w[2] == 25.0F && w[3] == 75.0F;
        const bool text = texts.size() == 1 && texts[0] == "WORKSTATION VIEWPORT WAS MODIFIED.";
        std::exit(before == 0 && warnings == 1 && adjusted && text ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  // Through the default dumper, in its report format.
  EXPECT_EXIT(
      {
        zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 200.0F, 0.0F, 100.0F, 1);
        std::exit(0);
      },
      testing::ExitedWithCode(0), R"(\*\*\* WARNING \(STSWTR\) \*\*\*  WORKSTATION VIEWPORT WAS MODIFIED\.)");
}

TEST(WorkstationTransformDeathTest, ErrorReports) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto abort = testing::KilledBySignal(SIGABRT);
  // Fresh processes: nothing is defined yet.
  EXPECT_EXIT(
      {
        float x = 0;
        float y = 0;
        zep::stfwtr(0.5F, 0.5F, x, y);
      },
      abort, R"(\*\*\*\*\* ERROR \(STFWTR\) \*\*\*  WORKSTATION TRANSFORMATION IS NOT DEFINED\.)");
  EXPECT_EXIT(
      {
        float x = 0;
        float y = 0;
        zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 1.0F, 1);
        zep::stiwtr(0.5F, 0.5F, x, y);
      },
      abort, R"(\*\*\*\*\* ERROR \(STIWTR\) \*\*\*  WORKSTATION RECTANGLE IS NOT DEFINED\.)");
  EXPECT_EXIT(
      {
        float q[8];
        int f = 0;
        zep::stqwtr(q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], f);
      },
      abort, R"(\(STQWTR\) \*\*\*  WORKSTATION TRANSFORMATION IS NOT DEFINED\.)");
  EXPECT_EXIT(
      {
        float q[4];
        zep::stqwrc(q[0], q[1], q[2], q[3]);
      },
      abort, R"(\(STQWRC\) \*\*\*  WORKSTATION RECTANGLE IS NOT DEFINED\.)");

  EXPECT_EXIT(
      {
        zep::gliset("NLNSIZE", 200);  // the whole report on one line
        zep::stswtr(0.0F, 1.0001F, 0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 1.0F, 1);
      },
      abort,
              R"(\(STSWTR\) \*\*\*  WORKSTATION WINDOW IS NOT WITHIN THE NORMALIZED DEVICE COORDINATE UNIT SQUARE\.)");
  EXPECT_EXIT(zep::stswtr(0.3F, 0.3F, 0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 1.0F, 1), abort,
              R"(\(STSWTR\) \*\*\*  WORKSTATION WINDOW DEFINITION IS INVALID\.)");
  EXPECT_EXIT(zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 1.0F, 3), abort,
              R"(\(STSWTR\) \*\*\*  TRANSFORMATION FUNCTION NUMBER IS INVALID\.)");
  EXPECT_EXIT(zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 5.0F, 5.0F, 0.0F, 1.0F, 1), abort,
              R"(\(STSWTR\) \*\*\*  WORKSTATION VIEWPORT DEFINITION IS INVALID\.)");
  EXPECT_EXIT(zep::stswrc(0.0F, 100.0F, 50.0F, 10.0F), abort,
              R"(\(STSWRC\) \*\*\*  WORKSTATION RECTANGLE IS INVALID\.)");
}

std::vector<std::string> errors;
void collectError(std::string_view routine, std::string_view text) {
  errors.push_back(std::string(routine) + ": " + std::string(text));
}

TEST(WorkstationTransformTest, RejectedDefinitionKeepsThePreviousOne) {
  zep::stswrc(0.0F, 100.0F, 0.0F, 100.0F);
  zep::stswtr(0.0F, 1.0F, 0.0F, 1.0F, 0.0F, 100.0F, 0.0F, 100.0F, 1);
  zep::set_msgdmp_err_func(&collectError);
  zep::stswtr(0.0F, 2.0F, 0.0F, 1.0F, 0.0F, 50.0F, 0.0F, 50.0F, 2);
  zep::stswrc(0.0F, 0.0F, 0.0F, 0.0F);
  zep::set_msgdmp_func(&zep::msgdmp_zeporig);
  ASSERT_EQ(errors.size(), 2U);
  EXPECT_EQ(errors[0], "STSWTR: WORKSTATION WINDOW IS NOT WITHIN THE NORMALIZED DEVICE COORDINATE UNIT SQUARE.");
  EXPECT_EQ(errors[1], "STSWRC: WORKSTATION RECTANGLE IS INVALID.");
  float wx = 0.0F;
  float wy = 0.0F;
  zep::stfwtr(0.25F, 0.75F, wx, wy);
  EXPECT_FLOAT_EQ(wx, 25.0F);
  EXPECT_FLOAT_EQ(wy, 75.0F);
}

}  // namespace
