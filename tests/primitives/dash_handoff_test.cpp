// Dashed lines on vector pages: the pattern goes to the page with the phase at
// the start of every polyline, and the page shows the dashes the stage would
// have cut itself.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"
#include "workstation/driver_port.hpp"

namespace {

namespace fs = std::filesystem;

// The real driver, but one that claims to stroke no dashes: the stage cuts
// them as on a raster page.
const zep::workstation::DriverPort& cuttingPort() {
  static const zep::workstation::DriverPort port = [] {
    zep::workstation::DriverPort p = zep::workstation::realDriverPort();
    p.qdsc = [](bool& capable) { capable = false; };
    p.glyph = nullptr;
    return p;
  }();
  return port;
}

// The real driver with the label's glyphs stroked too, so that the sizes of
// the two pages compare their lines alone (a PDF page's font would not).
const zep::workstation::DriverPort& handingPort() {
  static const zep::workstation::DriverPort port = [] {
    zep::workstation::DriverPort p = zep::workstation::realDriverPort();
    p.glyph = nullptr;
    return p;
  }();
  return port;
}

// Polylines of three line types with corners, one with a missing value in it,
// one cut by the viewport, one with labels and one leaving the workstation
// window, each with MOVE = `move`.
void dashedScene(int ifl, int move) {
  zep::gliset("MSGLEV", 3);
  zep::swiset("IFL", ifl);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sgiset("MOVE", move);
  zep::gllset("LMISS", true);
  float x[40], y[40];
  for (int t = 2; t <= 4; ++t) {
    for (int i = 0; i < 40; ++i) {
      x[i] = 0.05F + static_cast<float>(i) * 0.023F;
      y[i] = 0.25F * static_cast<float>(t - 1) + 0.08F * std::sin(static_cast<float>(i) * 0.7F) - 0.1F;
    }
    if (t == 3) x[15] = y[15] = 999.0F;  // a gap: the phase runs on across it
    zep::sgsplt(t);
    zep::sgspli(t == 3 ? 3 : 1);
    zep::sgplu(40, x, y);
  }
  // Cut by the viewport into pieces.
  zep::sglset("LCLIP", true);
  for (int i = 0; i < 40; ++i) {
    x[i] = -0.1F + static_cast<float>(i) * 0.03F;
    y[i] = 0.85F + 0.2F * std::sin(static_cast<float>(i) * 0.5F);
  }
  zep::sgsplt(2);
  zep::sgplu(40, x, y);
  // Labelled: the label's strokes go between two pieces of the line.
  zep::sglset("LCHAR", true);
  zep::szschz("AB", 0.02F);
  for (int i = 0; i < 40; ++i) {
    x[i] = 0.05F + static_cast<float>(i) * 0.023F;
    y[i] = 0.7F + 0.05F * std::cos(static_cast<float>(i) * 0.4F);
  }
  zep::sgsplt(4);
  zep::sgplu(40, x, y);
  zep::sglset("LCHAR", false);
  // Beyond the frame, where the workstation window cuts it.
  zep::sglset("LCLIP", false);
  const float xo[4] = {0.2F, 0.5F, 1.6F, 0.6F}, yo[4] = {0.05F, -0.05F, 0.5F, 0.12F};
  zep::sgsplt(4);
  zep::sgplu(4, xo, yo);
  zep::sgcls();
}

// Pixels that differ by more than `tolerance` in a channel.
int differingPixels(const zeptest::Png& a, const zeptest::Png& b, int tolerance) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const std::uint32_t p = a.pixel(x, y), q = b.pixel(x, y);
      for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF)) > tolerance) {
          ++n;
          break;
        }
      }
    }
  return n;
}

int inkPixels(const zeptest::Png& a) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != 0xFFFFFFu) ++n;
  return n;
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The PDF page with the handed-over pattern looks like the one with the
// stage's own dashes, for every MOVE, with far fewer bytes.
TEST(DashHandoff, PdfLooksAsWithTheStagesOwnDashes) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string failure;
    for (int move : {1, 0, -1}) {
      const std::string tag = "MOVE " + std::to_string(move) + ": ";
      zep::workstation::setDriverPort(&cuttingPort());
      dashedScene(4, move);
      fs::rename("zep.pdf", "cut.pdf");
      zep::workstation::setDriverPort(&handingPort());
      dashedScene(4, move);
      zep::workstation::setDriverPort(nullptr);
      if (zeptest::runCommand("pdftoppm -r 150 -singlefile -png cut.pdf cut && "
                              "pdftoppm -r 150 -singlefile -png zep.pdf handed; echo $?") != "0\n")
        return std::string("pdftoppm failed");
      const zeptest::Png cut("cut.png"), handed("handed.png");
      if (!cut.ok() || !handed.ok() || cut.width() != handed.width() || cut.height() != handed.height())
        return tag + "pages differ in size";
      const int ink = inkPixels(cut), differ = differingPixels(cut, handed, 64);
      if (ink < 5000) failure += tag + "little ink: " + std::to_string(ink) + "\n";
      // Rounding at dash ends moves a handful of pixels.
      if (differ > ink / 200) failure += tag + std::to_string(differ) + " of " + std::to_string(ink) + " ink pixels differ\n";
      if (fs::file_size("zep.pdf") * 2 > fs::file_size("cut.pdf")) failure += tag + "the page is not smaller\n";
    }
    return failure;
  });
}

// On SVG every polyline inside the window is one path with the pattern; the
// phase at its start is its offset. A segment the window cuts is cut into
// dashes by the stage and drawn solid.
TEST(DashHandoff, SvgHasOnePathPerPolyline) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    dashedScene(3, 1);
    const std::string svg = zeptest::readFile("zep_0001.svg");
    std::string failure;
    // Type 2 (12 on, 4 off in bits of 0.003 on a frame of 650), type 3 (2 on,
    // 2 off, handed over as its shortest repeat) and type 4 (9 on, 3 off, 1
    // on, 3 off). Type 2: the first line and the pieces the viewport leaves of
    // the cut one; type 3: the line with the gap, one path each side of it.
    const int type2 = count(svg, "stroke-dasharray:23.4"), type3 = count(svg, "stroke-dasharray:3.9,3.9;");
    const int type4 = count(svg, "stroke-dasharray:17.55");
    if (type2 < 2 || type2 > 6) failure += "type 2 paths: " + std::to_string(type2) + "\n";
    if (type3 != 2) failure += "type 3 paths (one each side of the gap): " + std::to_string(type3) + "\n";
    if (type4 < 1) failure += "type 4 paths: " + std::to_string(type4) + "\n";
    // The phase runs on: the piece after the gap starts inside the pattern.
    if (count(svg, "stroke-dashoffset:") < 2) failure += "no offsets\n";
    // Far fewer paths than dashes: the whole page is some tens of paths.
    const int paths = count(svg, "<path");
    if (paths > 40) failure += "paths: " + std::to_string(paths) + "\n";
    // The line leaving the window: its cut segments are drawn solid.
    if (count(svg, "stroke-dasharray") == paths) failure += "no solid path for the cut segments\n";
    return failure;
  });
}

// What the dispatcher hands a driver that strokes dashes: the pattern in W
// units (type 2: 12 bits on, 4 off, of 0.003 on a frame of 650), then whole
// segments; after a gap the phase that MOVE 1 runs on over it as the offset.
TEST(DashHandoff, PatternAndPhaseReachTheWorkstation) {
  static const zep::workstation::DriverPort port = [] {
    zep::workstation::DriverPort p = zeptest::recordingPort();
    p.qdsc = [](bool& capable) { capable = true; };
    p.sdsh = [](const float* lengths, int n, float offset) {
      char buf[96];
      std::snprintf(buf, sizeof buf, "sdsh(%d:%.2f,%.2f;%.2f)", n, n > 0 ? lengths[0] : 0.0, n > 1 ? lengths[1] : 0.0,
                    offset);
      zeptest::logCall(buf);
    };
    return p;
  }();
  zep::workstation::setDriverPort(&port);
  zep::gliset("MSGLEV", 2);
  zep::sgopn(2);
  zep::sgfrm();
  zep::gllset("LMISS", true);
  zeptest::driverLog().clear();
  const float x[5] = {0.1F, 0.2F, 999.0F, 0.4F, 0.5F}, y[5] = {0.5F, 0.5F, 999.0F, 0.5F, 0.5F};
  zep::sgplv(5, x, y);  // type 1: solid, nothing handed over
  zep::sgsplt(2);
  zep::sgplv(5, x, y);
  zep::sgcls();
  zep::workstation::setDriverPort(nullptr);
  std::vector<std::string> calls;
  for (const std::string& c : zeptest::driverLog())
    if (c.rfind("sdsh", 0) == 0 || c.rfind("gmov", 0) == 0 || c.rfind("gplt", 0) == 0) calls.push_back(c);
  // 0.1 drawn leaves the phase at 0.004; the gap of 0.2 adds 0.2: 0.012 of the
  // 0.048 cycle, 7.8 in W.
  const std::vector<std::string> expected{
      "gmov(190.0,325.0)",       "gplt(255.0,325.0)", "gmov(385.0,325.0)", "gplt(450.0,325.0)",
      "sdsh(2:23.40,7.80;0.00)", "gmov(190.0,325.0)", "gplt(255.0,325.0)",
      "sdsh(2:23.40,7.80;7.80)", "gmov(385.0,325.0)", "gplt(450.0,325.0)"};
  EXPECT_EQ(calls, expected);
}

// The pattern follows BITLEN and NBITS from one primitive to the next, also
// when the line type stays the same.
TEST(DashHandoff, PatternFollowsItsParameters) {
  zep::workstation::setDriverPort(&zeptest::recordingPort());
  zep::gliset("MSGLEV", 2);
  zep::sgopn(2);
  zep::sgfrm();
  auto draws = [] {
    zeptest::driverLog().clear();
    const float x[2] = {0.1F, 0.6F}, y[2] = {0.5F, 0.5F};
    zep::sgplv(2, x, y);
    int n = 0;
    for (const std::string& c : zeptest::driverLog()) n += c.rfind("gplt", 0) == 0 ? 1 : 0;
    return n;
  };
  zep::sgsplt(2);
  const int standard = draws();
  zep::sgrset("BITLEN", 0.006F);
  const int longer = draws();
  zep::sgiset("NBITS", 8);  // "11110000" of 0.006: the cycle of 16 bits of 0.003 again
  const int eightBits = draws();
  zep::sgrset("BITLEN", 0.003F);
  zep::sgiset("NBITS", 16);
  const int again = draws();
  zep::sgcls();
  zep::workstation::setDriverPort(nullptr);
  // 0.5 over a cycle of 0.048 gives 11 dashes, over 0.096 6.
  EXPECT_EQ(standard, 11);
  EXPECT_EQ(longer, 6);
  EXPECT_EQ(eightBits, 11);
  EXPECT_EQ(again, standard);
}

}  // namespace
