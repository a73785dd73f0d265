// Whole programs drawing into files and into a window: what lands where.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/page_pixels.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kWhite = 0xFFFFFF;

std::string runFigure(const zeptest::TempWorkDir& dir, const std::string& args, int* status = nullptr) {
  return zeptest::runCommand("cd '" + dir.path().string() + "' && " + ZEP_HELPER_zep_quad_figure + " " + args +
                                 " 2>&1",
                             status);
}

using zeptest::colourOf;

// Whether a pixel of colour `rgb` lies within `r` pixels of (x, y).
bool near(const zeptest::Png& png, double x, double y, std::uint32_t rgb, int r = 3) {
  const int cx = static_cast<int>(x + 0.5), cy = static_cast<int>(y + 0.5);
  return zeptest::countPixels(png, rgb, cx - r, cy - r, cx + r + 1, cy + r + 1) > 0;
}

// The page is 900 x 650 workstation units with a 2-pixel border on every side;
// workstation y runs upwards. A 2 x 2 division gives frames of 450 x 325 and
// each frame uses the largest centred square: 325 x 325.
struct Square {
  double x0, y0;  // lower left corner in workstation units
  double px(double v) const { return 2 + x0 + 325 * v; }
  double py(double v) const { return 2 + 650 - (y0 + 325 * v); }
};
constexpr Square kFrame[4] = {{62.5, 325}, {512.5, 325}, {62.5, 0}, {512.5, 0}};

std::string checkFirstPage(const zeptest::Png& page) {
  if (page.width() != 904 || page.height() != 654) return "page size";
  if (page.pixel(0, 0) != kWhite) return "background";
  for (double t = 0.1; t <= 0.9; t += 0.1) {
    // Frames 1 and 2: the diagonal, and nothing on the other diagonal.
    if (!near(page, kFrame[0].px(t), kFrame[0].py(t), colourOf(2))) return "frame 1 diagonal at " + std::to_string(t);
    const double logT = 0.2 + 0.6 * (t - 0.1) / 0.8;  // decades 0..3 of 5 from 0.1: V 0.2 to 0.8
    if (!near(page, kFrame[1].px(logT), kFrame[1].py(logT), colourOf(3)))
      return "frame 2 diagonal at " + std::to_string(logT);
    if (std::abs(t - 0.5) > 0.05 && near(page, kFrame[0].px(t), kFrame[0].py(1 - t), colourOf(2), 6))
      return "frame 1 off the diagonal";
  }
  // Frame 3: the circle of radius 0.5 around the centre.
  for (double a = 0; a < 6.28; a += 0.5)
    if (!near(page, kFrame[2].px(0.5 + 0.5 * std::cos(a)), kFrame[2].py(0.5 + 0.5 * std::sin(a)), colourOf(4)))
      return "frame 3 circle";
  // Frame 4: the clipped line ends at the viewport, the unclipped one at the frame.
  if (!near(page, kFrame[3].px(0.3), kFrame[3].py(0.5), colourOf(2))) return "frame 4 inside the viewport";
  if (near(page, kFrame[3].px(0.2), kFrame[3].py(0.5), colourOf(2), 2)) return "frame 4 not clipped";
  if (!near(page, kFrame[3].px(0.5), kFrame[3].py(0.02), colourOf(2))) return "frame 4 unclipped line cut";
  if (near(page, kFrame[3].px(0.5), 2 + 650 + 1, colourOf(2), 0)) return "frame 4 line beyond the frame";
  return "";
}

TEST(FirstPictures, PngPagesShowEachFrameWhereItBelongs) {
  zeptest::TempWorkDir dir;
  int status = -1;
  const std::string out = runFigure(dir, "-SW_IFL=1", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("GRPH1 : PAGE =   2 COMPLETED."), std::string::npos) << out;
  ASSERT_TRUE(fs::exists(dir.path() / "zep_0001.png"));
  ASSERT_TRUE(fs::exists(dir.path() / "zep_0002.png"));
  EXPECT_FALSE(fs::exists(dir.path() / "zep_0003.png"));
  const zeptest::Png first(dir.path() / "zep_0001.png");
  EXPECT_EQ(checkFirstPage(first), "");
  // Page 2 holds frame 5 alone, in the first quarter.
  const zeptest::Png second(dir.path() / "zep_0002.png");
  EXPECT_TRUE(near(second, kFrame[0].px(0.2), kFrame[0].py(0.8), colourOf(2)));
  EXPECT_EQ(zeptest::countPixels(second, colourOf(3), 0, 0, 904, 654), 0);
}

TEST(FirstPictures, EveryFileFormat) {
  zeptest::TempWorkDir dir;
  int status = -1;
  std::string out = runFigure(dir, "-SW_IFL=4", &status);
  ASSERT_EQ(status, 0) << out;
  const std::string info = zeptest::runCommand("pdfinfo '" + (dir.path() / "zep.pdf").string() + "'");
  EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
  EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;

  out = runFigure(dir, "-SW_IFL=4 -SW_LSEP=T", &status);
  EXPECT_TRUE(fs::exists(dir.path() / "zep_0001.pdf") && fs::exists(dir.path() / "zep_0002.pdf"));

  runFigure(dir, "-SW_IFL=2", &status);
  EXPECT_EQ(status, 0);
  for (const char* f : {"zep_0001.eps", "zep_0002.eps"})
    EXPECT_EQ(zeptest::readFile(dir.path() / f).rfind("%!PS-Adobe-3.0 EPSF-3.0", 0), 0U) << f;

  runFigure(dir, "-SW_IFL=3 -SW_FNAME=figure", &status);
  EXPECT_EQ(status, 0);
  for (const char* f : {"figure_0001.svg", "figure_0002.svg"})
    EXPECT_NE(zeptest::readFile(dir.path() / f).find("<svg"), std::string::npos) << f;
}

TEST(FirstPictures, WindowWorkstationWritesPagesWithoutAWindow) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X display";
  zeptest::TempWorkDir dir;
  int status = -1;
  const std::string out = runFigure(dir, "1 -SW_LWND=F", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("GRPH1 : STARTED / IWS =  1."), std::string::npos) << out;
  EXPECT_NE(out.find("GRPH1 : PAGE =   2 COMPLETED."), std::string::npos) << out;
  EXPECT_NE(out.find("GRPH1 : TERMINATED."), std::string::npos) << out;
  ASSERT_TRUE(fs::exists(dir.path() / "zep_0001.png")) << out;
  const zeptest::Png first(dir.path() / "zep_0001.png");
  EXPECT_EQ(checkFirstPage(first), "");
}

}  // namespace
