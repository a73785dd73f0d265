// Page titles: keyword expansion, registration checks, placement reports; and
// the corner marks, seen as workstation calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::expectLines;
using zeptest::lineRegex;

std::string expand(const std::string& title) {
  std::string out(100, '?');
  int lc = -1;
  zep::sltlcv(title, out, lc);
  return out.substr(0, static_cast<std::size_t>(lc));
}

TEST(Titles, KeywordsAreReplaced) {
  ZEP_EXPECT_ISOLATED([] {
    zep::sgiset("NPAGE", 3);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[48];
    std::snprintf(date, sizeof date, "%2d/%2d/%2d", local.tm_year % 100, local.tm_mon + 1, local.tm_mday);
    const std::string got = expand("PAGE #PAGE, #date");
    if (got != std::string("PAGE  3, ") + date) return "page and date: [" + got + "]";
    if (expand("#FOO and ##PAGE") != "#FOO and # 3") return "unknown keyword: [" + expand("#FOO and ##PAGE") + "]";
    ::unsetenv("USER");
    if (expand("by #USER.") != "by .") return "missing user: [" + expand("by #USER.") + "]";
    ::setenv("USER", "ada", 1);
    if (expand("by #user") != "by ada") return std::string("user");
    // The program's name without its directories.
    if (expand("[#PROG]") != "[test_graphics]") return "program: " + expand("[#PROG]");
    const std::string t = expand("#TIME");
    if (t.size() != 8 || t[2] != ':' || t[5] != ':') return "time: [" + t + "]";
    // An expansion longer than the title buffer is cut, never overrun.
    std::string many;
    for (int i = 0; i < 20; ++i) many += "#DATE";  // 100 characters grow to 160
    if (expand(many).size() != 100) return "long expansion: " + std::to_string(expand(many).size());
    return std::string();
  });
}

TEST(Titles, RegistrationIsChecked) {
  EXPECT_EXIT(zep::slsttl("X", "L", 0, 0, 0.02F, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLSTTL) ***  SIDE PARAMETER IS INVALID."));
  EXPECT_EXIT(zep::slsttl("X", "t", 1.5F, 0, 0.02F, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLSTTL) ***  POSITION PARAMETER IS INVALID."));
  EXPECT_EXIT(zep::slsttl("X", "b", 0, 0, -0.02F, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLSTTL) ***  TEXT HEIGHT IS LESS THAN ZERO."));
  EXPECT_EXIT(zep::slsttl("X", "T", 0, 0, 0.02F, 6), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLSTTL) ***  TITLE NUMBER IS OUT OF RANGE."));
  EXPECT_EXIT(zep::sldttl(0), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLDTTL) ***  TITLE NUMBER IS OUT OF RANGE."));
}

TEST(CornerMarks, FourMarksAtTheWorkstationCorners) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedWorkstation();
    zep::sglset("LCORNER", true);
    zep::sgrset("CORNER", 0.02F);
    zep::slsize("A5");  // a layout smaller than the workstation: the marks stay at its corners
    zep::sglset("LTITLE", false);
    zeptest::driverLog().clear();
    zep::sgfrm();
    std::vector<std::string> lines;
    for (const auto& s : zeptest::driverLog())
      if (s.rfind("gmov", 0) == 0 || s.rfind("gplt", 0) == 0) lines.push_back(s);
    // The marks sit at the corners of the whole 900 x 650 workstation; their arm is
    // 0.02 in the page's R window, which spans the A5 layout (21 cm at 0.03 cm a
    // unit: 700 units), so 14 workstation units.
    return expectLines(lines, {"gmov(0.0,14.0)", "gplt(0.0,0.0)", "gplt(14.0,0.0)",
                               "gmov(886.0,0.0)", "gplt(900.0,0.0)", "gplt(900.0,14.0)",
                               "gmov(900.0,636.0)", "gplt(900.0,650.0)", "gplt(886.0,650.0)",
                               "gmov(14.0,650.0)", "gplt(0.0,650.0)", "gplt(0.0,636.0)"});
  });
  EXPECT_EXIT(zep::slpwvc(-1, 0.01F), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLPWVC) ***  LINE INDEX IS LESS THAN ZERO."));
  EXPECT_EXIT(zep::slpwvc(1, -0.01F), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SLPWVC) ***  LENGTH OF CORNER MARKS IS LESS THAN ZERO."));
}

TEST(Titles, DrawnOnEveryPageUnlessSwitchedOff) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedWorkstation();
    zeptest::MessageFile messages(dir.path() / "m.txt");
    zep::gliset("MSGLEV", 1);
    zep::sglset("LTITLE", false);
    zep::slsttl("A TITLE", "T", 0, 0, 0.02F, 1);
    zep::sgiset("NPAGE", 0);
    zep::sgfrm();
    auto titleLines = [&] {
      std::vector<std::string> out;
      for (const auto& l : messages.lines())
        if (l.find("SLZTTL") != std::string::npos || l.find("-CNT.-") != std::string::npos) out.push_back(l);
      return out;
    };
    zep::slsttl(std::string(60, 'W'), "T", 0, 0, 0.02F, 3);  // would warn if it were drawn
    zep::sgfrm();
    if (!titleLines().empty()) return std::string("drawn while switched off");
    zep::sldttl(3);
    zep::sglset("LTITLE", true);
    zep::slsttl(std::string(60, 'W'), "B", 1, 0, 0.02F, 2);  // needs 1.22 in a band of width 1
    zep::gliset("MSGLEV", 0);
    zep::sgfrm();
    // The layout fills the workstation, so the bands above and below the page have
    // no height: every title is centred vertically with a warning; the long one
    // is centred horizontally as well.
    return expectLines(titleLines(), {" *** WARNING (SLZTTL) ***  SPACE FOR TITLE IS NOT ENOUGH.",
                                      " *** MESSAGE (-CNT.-) ***  PY = 0.0 IS ASSUMED.",
                                      " *** WARNING (SLZTTL) ***  SPACE FOR TITLE IS NOT ENOUGH.",
                                      " *** MESSAGE (-CNT.-) ***  PX = 0.0 IS ASSUMED.",
                                      " *** WARNING (SLZTTL) ***  SPACE FOR TITLE IS NOT ENOUGH.",
                                      " *** MESSAGE (-CNT.-) ***  PY = 0.0 IS ASSUMED."});
  });
}

}  // namespace
