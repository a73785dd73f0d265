// Line primitives seen from the workstation: the calls one segment makes, the
// line-index rules, index 0 and negative indices, dashes through the chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <csignal>
#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;
using zeptest::expectLines;

TEST(LinePrimitives, OneUserSegmentReachesTheWorkstationAsOnePolyline) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgswnd(0, 10, 0, 10);
    zep::sgstrf();
    zep::sgslni(25);
    zep::sglnu(0, 0, 10, 5);
    // The first line of the process asks once for the width and colour capabilities.
    return expectLines(driverLog(), {"oopn(SZLN,25)", "qwdc", "qclc", "swdi(5)", "scli(2)", "gopn", "gmov(125.0,0.0)",
                                     "gplt(775.0,325.0)", "gcls", "ocls(SZLN)"});
  });
}

TEST(LinePrimitives, VAndRLevelsAndClipping) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sglnv(0.5F, 0.5F, 2.0F, 0.5F);  // leaves the frame: cut at the workstation window
    zep::sglnr(-1.0F, 0.0F, 0.5F, 0.0F);
    zep::sgsvpt(0.25F, 0.75F, 0.25F, 0.75F);
    zep::sgstrf();
    zep::sglset("LCLIP", true);
    zep::sglnv(0.0F, 0.5F, 1.0F, 0.5F);  // cut at the viewport
    zep::sglnv(0.0F, 0.0F, 0.1F, 0.1F);  // wholly outside: only the brackets
    const std::vector<std::string> want = {
        "oopn(SZLN,1)", "qwdc", "qclc", "swdi(1)", "scli(1)", "gopn", "gmov(450.0,325.0)", "gplt(775.0,325.0)", "gcls", "ocls(SZLN)",
        "oopn(SZLN,1)", "swdi(1)", "scli(1)", "gopn", "gmov(125.0,0.0)", "gplt(450.0,0.0)", "gcls", "ocls(SZLN)",
        "oopn(SZLN,1)", "swdi(1)", "scli(1)", "gopn", "gmov(287.5,325.0)", "gplt(612.5,325.0)", "gcls", "ocls(SZLN)",
        "oopn(SZLN,1)", "swdi(1)", "scli(1)", "gopn", "gcls", "ocls(SZLN)"};
    return expectLines(driverLog(), want);
  });
}

TEST(LinePrimitives, NegativeWorkstationNumberTurnsThePage) {
  ZEP_EXPECT_ISOLATED([] {
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    zep::gliset("MSGLEV", 2);
    zep::sgopn(-2);
    if (std::find(driverLog().begin(), driverLog().end(), "srot(2)") == driverLog().end())
      return std::string("the driver was not told of the turned page");
    zep::sgfrm();
    driverLog().clear();
    // The layout sees the 900 x 650 workstation as 650 wide and 900 high: the
    // frame's square is 650 x 650, centred along the workstation's x axis, and
    // a horizontal line of the page runs along the workstation's y axis.
    zep::sglnv(0.0F, 0.5F, 1.0F, 0.5F);
    const auto gmov = std::find_if(driverLog().begin(), driverLog().end(),
                                   [](const std::string& s) { return s.rfind("gmov", 0) == 0; });
    if (gmov == driverLog().end() || gmov + 1 == driverLog().end()) return std::string("no polyline");
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    std::sscanf(gmov->c_str(), "gmov(%f,%f)", &x0, &y0);
    std::sscanf((gmov + 1)->c_str(), "gplt(%f,%f)", &x1, &y1);
    if (std::fabs(x0 - x1) > 0.01F || std::fabs(std::fabs(y1 - y0) - 650.0F) > 0.01F)
      return "turned line: " + *gmov + " " + *(gmov + 1);
    if (std::fabs(x0 - 450.0F) > 0.01F) return "not across the middle: " + *gmov;
    return std::string();
  });
}

std::vector<std::string> indexCalls(int index) {
  driverLog().clear();
  zep::szsidx(index);
  return driverLog();
}

TEST(LinePrimitives, IndexSplitsIntoWidthAndColour) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::szsidx(1);  // the capability queries of the first call are behind us
    std::string failure;
    auto check = [&](int index, std::vector<std::string> want) {
      const std::string f = expectLines(indexCalls(index), want);
      if (!f.empty()) failure += "index " + std::to_string(index) + ": " + f;
    };
    check(25, {"swdi(5)", "scli(2)"});
    check(1, {"swdi(1)", "scli(1)"});
    check(9990, {"swdi(0)", "scli(0)"});  // the background colour index 999
    check(12345, {"swdi(5)", "scli(34)"});
    check(1003, {"swdi(3)", "scli(1)"});  // colour 100 mod 100 is 0: colour 1
    zep::sgiset("IBGCLI", 0);
    check(3, {"swdi(3)", "scli(0)"});
    int index = 0;
    zep::szqidx(index);
    if (index != 3) failure += "szqidx";
    return failure;
  });
}

TEST(LinePrimitives, WorkstationWithoutColoursDrawsTheColourAsWidth) {
  ZEP_EXPECT_ISOLATED([] {
    static zep::workstation::DriverPort mono = zeptest::recordingPort();
    mono.qclc = [](bool& l) { l = false; };
    zep::workstation::setDriverPort(&mono);
    zep::gliset("MSGLEV", 2);
    zep::sgopn(2);
    zep::sgfrm();
    return expectLines(indexCalls(30), {"qwdc", "swdi(3)", "scli(3)"});
  });
}

TEST(LinePrimitives, IndexZeroDrawsNothingAndNegativeIsAnError) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedSession();
    zeptest::MessageFile messages(dir.path() / "m.txt");
    zep::gliset("MSGLEV", 0);
    zep::sgslni(0);
    zep::sglnu(0, 0, 1, 1);
    zep::sglnv(0, 0, 1, 1);
    zep::sglnr(0, 0, 1, 1);
    if (!driverLog().empty()) return std::string("index 0 drew");
    return expectLines(messages.lines(), {" *** MESSAGE (SGLNU ) ***  LINE INDEX IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGLNV ) ***  LINE INDEX IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGLNR ) ***  LINE INDEX IS 0 / DO NOTHING."});
  });
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgslni(-1);
        zep::sglnu(0, 0, 1, 1);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (SGLNU ) ***  LINE INDEX IS LESS THAN 0."));
}

TEST(LinePrimitives, DashedLinesThroughTheChain) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::szlnop(1);
    zep::szstyp(2);  // 12 on, 4 off; a bit is 0.003 in V
    zep::szopld();
    zep::szmvld(0.0F, 0.5F);
    zep::szplld(0.1F, 0.5F);
    zep::szclld();
    // V x to W x: 125 + 650 x.
    const std::vector<std::string> want = {"gopn", "gmov(125.0,325.0)", "gplt(148.4,325.0)", "gmov(156.2,325.0)",
                                           "gplt(179.6,325.0)", "gmov(187.4,325.0)", "gplt(190.0,325.0)", "gcls"};
    const auto gopn = std::find(driverLog().begin(), driverLog().end(), "gopn");
    const std::vector<std::string> got(gopn, driverLog().end());
    return expectLines(got, want);
  });
}

}  // namespace

namespace {

// The workstation calls of one dashed polyline in V, from its gopn on.
std::vector<std::string> dashedV(std::initializer_list<std::array<float, 2>> points) {
  driverLog().clear();
  zep::szopld();
  bool first = true;
  for (const auto& p : points) {
    first ? zep::szmvld(p[0], p[1]) : zep::szplld(p[0], p[1]);
    first = false;
  }
  zep::szclld();
  const auto gopn = std::find(driverLog().begin(), driverLog().end(), "gopn");
  return {gopn, driverLog().end()};
}

}  // namespace

// Draws far beyond the workstation window are dashed only where the window
// shows them, with the phase running on over the rest, so that a long line
// through a small window costs its visible dashes instead of millions.
TEST(LinePrimitives, DashesOfLongDrawsOnlyWhereTheWindowShows) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::szlnop(1);
    // 16 bits of 1/64 in V: a cycle of 0.25 in eight runs of 2 bits.
    zep::sgrset("BITLEN", 1.0F / 64.0F);
    zep::szstyp(3);
    std::string failure;
    const auto expect = [&failure](const std::string& what, const std::vector<std::string>& got,
                                   const std::vector<std::string>& want) {
      if (got != want) failure += what + ":\n" + expectLines(got, want) + "\n";
    };
    // A million cycles before the window: once drawn solid.
    const auto window = dashedV({{0.0F, 0.5F}, {1.0F, 0.5F}});
    if (window.size() != 36) failure += "the window's row has " + std::to_string(window.size()) + " calls\n";
    expect("from far left", dashedV({{-250000.0F, 0.5F}, {1.0F, 0.5F}}), window);
    // Leaving the window: the rest is a move, which the window drops.
    expect("to far right", dashedV({{0.0F, 0.5F}, {250000.0F, 0.5F}}), window);
    // A draw that misses the window, then one that comes in at its top: the
    // phase ran on over both, a whole number of cycles.
    expect("round the window", dashedV({{-249999.5F, 2.0F}, {0.5F, 2.0F}, {0.5F, 0.0F}}),
           dashedV({{0.5F, 1.0F}, {0.5F, 0.0F}}));
    // Ends whose distance overflows: drawn solid, and dashes go on after it.
    const auto huge = dashedV({{-3.0e38F, 0.5F}, {3.0e38F, 0.5F}, {0.5F, 0.5F}, {0.5F, 0.0F}});
    const std::vector<std::string> solid = {"gopn", "gmov(125.0,325.0)", "gplt(775.0,325.0)"};
    if (huge.size() < 10 || !std::equal(solid.begin(), solid.end(), huge.begin()))
      failure += "huge ends:\n" + expectLines(huge, solid) + "\n";
    // With the 2-D view on, R is not V: a row far outside the window in V,
    // brought into it by the view, is dashed all along.
    zep::stspr3(0, 0, 0, 0, 0, 0, 0.01F, 0, 0, -0.3F);
    zep::stspr2(1, 2, 0);
    const auto viewed = dashedV({{0.0F, 80.0F}, {100.0F, 80.0F}});
    if (viewed.size() < 3200 || viewed[1] != "gmov(125.0,325.0)" || viewed[viewed.size() - 2] != "gplt(775.0,325.0)")
      failure += "the viewed row has " + std::to_string(viewed.size()) + " calls\n";
    return failure;
  });
}
