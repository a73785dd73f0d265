// Points that are not numbers, infinite ones and ones a transformation cannot
// map: they lift the pen at every stage, never reach the workstation, are never
// subdivided, and text at such a position is left out with a report.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;
using zeptest::expectLines;

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

// The moves and draws that reached the workstation, from the first one on.
std::vector<std::string> strokes() {
  std::vector<std::string> out;
  for (const auto& s : driverLog())
    if (s.rfind("gmov", 0) == 0 || s.rfind("gplt", 0) == 0) out.push_back(s);
  return out;
}

std::string nothingNonFinite() {
  for (const auto& s : driverLog())
    if (s.find("nan") != std::string::npos || s.find("inf") != std::string::npos) return "reached the workstation: " + s + "\n";
  return "";
}

TEST(NonFinitePoints, LiftThePenAtEveryLevel) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgswnd(0, 10, 0, 10);
    zep::sgstrf();
    std::string failure;
    // U: the line goes on from the next good point, whatever is not a number.
    const float x[] = {0, 2, nan, 4, 6, 8, inf, 10};
    const float y[] = {0, 0, 0, 0, -inf, 0, 0, 0};
    driverLog().clear();
    zep::sgplu(8, x, y);
    failure += expectLines(strokes(), {"gmov(125.0,0.0)", "gplt(255.0,0.0)", "gmov(385.0,0.0)", "gmov(645.0,0.0)",
                                       "gmov(775.0,0.0)"});
    // The same with interpolation on: no piece is cut towards the bad points.
    zep::sglset("LLNINT", true);
    driverLog().clear();
    zep::sgplu(8, x, y);
    failure += nothingNonFinite();
    zep::sglset("LLNINT", false);
    // V with clipping, and R: the same pieces.
    zep::sglset("LCLIP", true);
    const float vx[] = {0.1F, 0.2F, nan, 0.3F, 0.4F};
    const float vy[] = {0.5F, 0.5F, 0.5F, 0.5F, 0.5F};
    driverLog().clear();
    zep::sgplv(5, vx, vy);
    failure += expectLines(strokes(), {"gmov(190.0,325.0)", "gplt(255.0,325.0)", "gmov(320.0,325.0)", "gplt(385.0,325.0)"});
    driverLog().clear();
    zep::sgplr(5, vx, vy);
    failure += expectLines(strokes(), {"gmov(190.0,325.0)", "gplt(255.0,325.0)", "gmov(320.0,325.0)", "gplt(385.0,325.0)"});
    // Stages entered directly, down to the last one.
    driverLog().clear();
    zep::szlnop(1);
    zep::szoplz();
    zep::szmvlz(nan, 0.1F);
    zep::szpllz(0.5F, 0.5F);
    zep::szpllz(inf, 0.5F);
    zep::szpllz(0.6F, 0.5F);
    zep::szcllz();
    zep::szopld();
    zep::szmvld(0.1F, 0.1F);
    zep::szplld(nan, nan);
    zep::szplld(0.2F, 0.1F);
    zep::szclld();
    zep::szlncl();
    failure += expectLines(strokes(), {"gmov(450.0,325.0)", "gmov(515.0,325.0)", "gmov(190.0,65.0)", "gmov(255.0,65.0)"});
    return failure;
  });
}

TEST(NonFinitePoints, DashesRunOnAcrossThemAsAcrossAMove) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    // The same dashed polyline with a gap made by a missing value and by a
    // point that is not a number: the same dashes.
    zep::gllset("LMISS", true);
    float miss = 0;
    zep::glrget("RMISS", miss);
    const float x1[] = {0.1F, 0.13F, miss, 0.2F, 0.31F};
    const float x2[] = {0.1F, 0.13F, nan, 0.2F, 0.31F};
    const float y[] = {0.5F, 0.5F, 0.5F, 0.5F, 0.5F};
    driverLog().clear();
    zep::sgplzv(5, x1, y, 2, 1);
    const std::vector<std::string> missing = strokes();
    driverLog().clear();
    zep::sgplzv(5, x2, y, 2, 1);
    std::string failure = expectLines(strokes(), missing);
    if (missing.size() < 6) failure += "too few dashes\n";
    return failure;
  });
}

int errors = 0;
void countError(std::string_view, std::string_view) { ++errors; }

TEST(NonFinitePoints, PointsATransformationCannotMapLiftThePen) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::set_msgdmp_err_func(countError);
    // A logarithmic y axis: y = -1 has no image; the callback lets the
    // transformation return its undefined value.
    zep::sgswnd(0, 10, 1, 100);
    zep::sgstrn(2);
    zep::sgstrf();
    const float x[] = {0, 5, 6, 10};
    const float y[] = {1, 10, -1, 100};
    driverLog().clear();
    zep::sgplu(4, x, y);
    std::string failure = expectLines(strokes(), {"gmov(125.0,0.0)", "gplt(450.0,325.0)", "gmov(775.0,650.0)"});
    if (errors == 0) failure += "no report for the point without an image\n";
    // A map: an infinite latitude neither hangs the great-circle interpolation
    // nor reaches the workstation.
    zep::sgssim(0.1F, 0, 0);
    zep::sgsmpl(0, 90, 0);
    zep::sgstrn(10);
    zep::sgstrf();
    zep::sglset("LGCINT", true);
    const float lon[] = {0, 30, 60, 90};
    const float lat[] = {0, inf, 10, nan};
    driverLog().clear();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) zep::sgplu(4, lon, lat);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds > 5.0) failure += "a thousand lines took " + std::to_string(seconds) + " s\n";
    failure += nothingNonFinite();
    return failure;
  });
}

TEST(NonFinitePoints, InterpolatorsDoNotCutSegmentsWithoutLength) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sglset("LLNINT", true);
    zep::sglset("LGCINT", true);
    zep::sgrset("RDX", 0.01F);
    zep::sgrset("RDY", 0.01F);
    zep::szlnop(1);
    std::string failure;
    auto count = [](void (*prepare)(float, float, float, float, int), void (*pull)(float&, float&, bool&), float x1,
                    float y1) {
      prepare(0.0F, 0.0F, x1, y1, 0);
      int n = 0;
      for (bool more = true; more && n < 2000000;) {
        float x = 0, y = 0;
        pull(x, y, more);
        ++n;
      }
      return n;
    };
    if (count(zep::szpipl, zep::szgipl, 0.5F, 0.5F) < 20) failure += "linear interpolation is off\n";
    if (count(zep::szpipt, zep::szgipt, 0.5F, 0.5F) < 20) failure += "great-circle interpolation is off\n";
    for (float bad : {inf, -inf, nan}) {
      if (count(zep::szpipl, zep::szgipl, bad, 0.5F) != 1) failure += "linear cut a segment to x = " + std::to_string(bad) + "\n";
      if (count(zep::szpipt, zep::szgipt, 0.5F, bad) != 1)
        failure += "great circle cut a segment to y = " + std::to_string(bad) + "\n";
    }
    // A huge but finite end is cut into a bounded number of pieces, so a line
    // to it takes no longer than an ordinary one.
    for (float big : {1.0E19F, 3.0E33F}) {
      const int n = count(zep::szpipl, zep::szgipl, big, -big);
      if (n > 4096) failure += "linear cut a segment to " + std::to_string(big) + " into " + std::to_string(n) + "\n";
    }
    zep::sgrset("RDX", 1.0E-6F);
    zep::sgrset("RDY", 1.0E-6F);
    zep::szlnop(1);
    if (const int n = count(zep::szpipt, zep::szgipt, 3.0F, 1.5F); n > 4096)
      failure += "a great circle at a tiny step has " + std::to_string(n) + " pieces\n";
    zep::szlncl();
    // Longitudes fold without undefined behaviour at any size.
    if (!std::isnan(zep::xmplon(nan))) failure += "xmplon(NaN)\n";
    for (float x : {1.0E10F, -3.0E38F, 7.0E20F}) {
      const float folded = zep::xmplon(x);
      if (!(std::fabs(folded) <= zep::rfpi() + 1.0E-5F)) failure += "xmplon(" + std::to_string(x) + ") = " + std::to_string(folded) + "\n";
    }
    return failure;
  });
}

TEST(NonFinitePoints, InterpolationInUAndAlongGreatCirclesStaysBoundedTogether) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    // Both interpolations at a step far below the segment: each would cut its
    // part into the most pieces it may, and the great circles would cut every
    // linear piece again.
    zep::sgssim(0.1F, 0, 0);
    zep::sgsmpl(0, 90, 0);
    zep::sgstrn(10);
    zep::sgstrf();
    zep::sglset("LLNINT", true);
    zep::sglset("LGCINT", true);
    zep::sgrset("RDX", 1.0E-6F);
    zep::sgrset("RDY", 1.0E-6F);
    driverLog().clear();
    zep::sglnu(-179.0F, 0.0F, 179.0F, 0.0F);
    const std::size_t n = strokes().size();
    std::string failure;
    if (n > 2 * 16384) failure += "one segment became " + std::to_string(n) + " points\n";
    if (n < 100) failure += "one segment became only " + std::to_string(n) + " points\n";
    return failure;
  });
}

TEST(NonFinitePoints, TextAtSuchAPositionIsLeftOutAndTransformationsRefuseThem) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedSession();
    zeptest::MessageFile messages(dir.path() / "m.txt");
    zep::gliset("MSGLEV", 0);
    driverLog().clear();
    zep::sgtxv(nan, 0.5F, "A");
    zep::sgtxzv(0.5F, inf, "B", 0.05F, 0, 0, 1);
    zep::swlset("SYSFONT", true);
    zep::sgtxv(nan, nan, "C");
    for (const auto& s : driverLog())
      if (s.rfind("gplt", 0) == 0 || s.rfind("txt(", 0) == 0) return "drawn: " + s;
    return expectLines(messages.lines(), {" *** MESSAGE (SZTXWV) ***  TEXT POSITION IS NOT FINITE / DO NOTHING.",
                                          " *** MESSAGE (SZTXWV) ***  TEXT POSITION IS NOT FINITE / DO NOTHING.",
                                          " *** MESSAGE (SZTXWV) ***  TEXT POSITION IS NOT FINITE / DO NOTHING."});
  });
  struct Case {
    float w[4], v[4];
    const char* report;
  };
  const Case cases[] = {
      {{0, nan, 0, 1}, {0, 1, 0, 1}, " ***** ERROR (SGSTRF) ***  WINDOW DEFINITION IS INVALID."},
      {{0, 1, -inf, 1}, {0, 1, 0, 1}, " ***** ERROR (SGSTRF) ***  WINDOW DEFINITION IS INVALID."},
      {{0, 1, 0, 1}, {0, inf, 0, 1}, " ***** ERROR (SGSTRF) ***  VIEWPORT DEFINITION IS INVALID."},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(
        {
          zeptest::openRecordedSession();
          zep::sgswnd(c.w[0], c.w[1], c.w[2], c.w[3]);
          zep::sgsvpt(c.v[0], c.v[1], c.v[2], c.v[3]);
          zep::sgstrf();
        },
        testing::KilledBySignal(SIGABRT), zeptest::lineRegex(c.report));
  }
}

}  // namespace
