// Session control seen from the workstation: which pages are opened and closed
// at each frame, where each frame lands, and the workstation-number check.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <csignal>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;
using zeptest::expectLines;
using zeptest::lineRegex;

// The page calls of the log since it was last cleared.
std::vector<std::string> pageCalls() {
  std::vector<std::string> out;
  for (const auto& s : driverLog())
    if (s == "popn" || s == "pcls" || s == "dopn" || s == "dcls") out.push_back(s);
  return out;
}

std::string near(float got, float want, const char* what) {
  if (std::fabs(got - want) <= 1.0E-3F * std::max(1.0F, std::fabs(want))) return "";
  return std::string(what) + ": " + std::to_string(got) + " instead of " + std::to_string(want);
}

TEST(Session, EveryFrameIsANewPageWithoutDivision) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedWorkstation();
    zep::sgfrm();
    zep::sgfrm();
    zep::sgfrm();
    zep::sgcls();
    // The first page is opened without closing one before it.
    return expectLines(pageCalls(), {"dopn", "popn", "pcls", "popn", "pcls", "popn", "pcls", "dcls"});
  });
}

TEST(Session, FourFramesOfADividedPageEachTheLargestSquareOfItsQuarter) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedWorkstation();
    zep::sldiv("Y", 2, 2);
    // Quarters of 450 x 325, numbered along rows from the top left.
    const float squares[5][4] = {{62.5F, 387.5F, 325, 650},
                                 {512.5F, 837.5F, 325, 650},
                                 {62.5F, 387.5F, 0, 325},
                                 {512.5F, 837.5F, 0, 325},
                                 {62.5F, 387.5F, 325, 650}};
    for (int f = 0; f < 5; ++f) {
      driverLog().clear();
      zep::sgfrm();
      const std::vector<std::string> pages = pageCalls();
      const bool newPage = f == 0 || f == 4;
      if ((pages.empty() ? false : pages.back() == "popn") != newPage)
        return "frame " + std::to_string(f + 1) + ": page calls " + expectLines(pages, {});
      float r[4], w[4];
      int itr = 0;
      zep::stqwtr(r[0], r[1], r[2], r[3], w[0], w[1], w[2], w[3], itr);
      for (int k = 0; k < 4; ++k)
        if (std::string e = near(w[k], squares[f][k], "viewport in W"); !e.empty())
          return "frame " + std::to_string(f + 1) + ": " + e;
      float v[4];
      zep::sgqvpt(v[0], v[1], v[2], v[3]);
      if (v[0] != 0 || v[1] != 1 || v[2] != 0 || v[3] != 1) return std::string("viewport is not the unit square");
    }
    int page = 0, frame = 0;
    zep::sgiget("NPAGE", page);
    zep::sgiget("NFRAME", frame);
    if (page != 2 || frame != 5) return "NPAGE " + std::to_string(page) + ", NFRAME " + std::to_string(frame);
    return std::string();
  });
}

TEST(Session, FullWindowUsesTheWholeFrame) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedWorkstation();
    zep::slform(20.0F, 10.0F);  // 666.7 x 333.3 units, twice as wide as high
    zep::sglset("LFULL", true);
    zep::sgfrm();
    float v[4], u[4];
    zep::sgqvpt(v[0], v[1], v[2], v[3]);
    zep::sgqwnd(u[0], u[1], u[2], u[3]);
    const float want[4] = {0, 1, 0, 0.5F};
    for (int k = 0; k < 4; ++k) {
      if (std::string e = near(v[k], want[k], "viewport"); !e.empty()) return e;
      if (u[k] != v[k]) return std::string("window differs from the viewport");
    }
    // V (1, 0.5) is the upper right corner of the centred form.
    float wx = 0, wy = 0;
    zep::stfwtr(1.0F, 0.5F, wx, wy);
    if (std::string e = near(wx, 450 + 1000 / 3.0F, "wx"); !e.empty()) return e;
    return near(wy, 325 + 500 / 3.0F, "wy");
  });
}

TEST(Session, ASecondSessionContinuesTheCounters) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedWorkstation();
    zep::sgfrm();
    zep::sgfrm();
    zep::sgcls();
    driverLog().clear();
    zep::sginit();  // IWS is still 2
    zep::sgfrm();
    int page = 0, frame = 0;
    zep::sgiget("NPAGE", page);
    zep::sgiget("NFRAME", frame);
    if (page != 3 || frame != 3) return "NPAGE " + std::to_string(page) + ", NFRAME " + std::to_string(frame);
    return expectLines(pageCalls(), {"dopn", "popn"});
  });
}

TEST(SessionDeath, InvalidWorkstationNumbers) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string line = lineRegex(" ***** ERROR (SGINIT) ***  WORKSTATION NUMBER IS INVALID.");
  zep::workstation::setDriverPort(&zeptest::recordingPort());
  EXPECT_EXIT(zep::sgopn(0), testing::KilledBySignal(SIGABRT), line);
  EXPECT_EXIT(zep::sgopn(3), testing::KilledBySignal(SIGABRT), line);
  EXPECT_EXIT(zep::sgopn(-3), testing::KilledBySignal(SIGABRT), line);
  // A number whose magnitude has no int is refused like any other.
  EXPECT_EXIT(zep::sgopn(INT_MIN), testing::KilledBySignal(SIGABRT), line);
}

}  // namespace
