// Frames of a figure fitted to their data and their size: tick labels that
// stand apart in cells of any size, and charts that give an untouched window
// its extent as matplotlib's hist and bar do.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <zep/zep.hpp>

#include "support/exact_page.hpp"

namespace {

using zeptest::PagePixels;
using zeptest::Png;
using zeptest::TempWorkDir;

// Runs of a profile at most `join` entries apart are one text (the
// characters of one label).
std::vector<std::pair<int, int>> texts(const std::vector<int>& profile, int join) {
  std::vector<std::pair<int, int>> runs;
  for (const auto& r : zeptest::inkRuns(profile)) {
    if (!runs.empty() && r.first - runs.back().second <= join) runs.back().second = r.second;
    else runs.push_back(r);
  }
  return runs;
}

struct Frame {
  std::array<float, 4> vp{};
  float h = 0, gap = 0, lastEnd = 0;  // label height, label gap, right end of the last bottom label (V)
  float widest = 0;                   // of the left labels (V)
  int left = 0, bottom = 0;           // major ticks
};

// Frames with short windows as a user makes them (axis titles and a frame
// title shorten them): on a 20 x 12 cm page of 1, 4 and 9 cells, the labels
// of each side keep a label height between their ink, and at least 3 stay.
TEST(FrameFit, TickLabelsStandApartInCellsOfEverySize) {
  for (const int n : {1, 2, 3})
    for (const float ytop : {1.2F, 1e4F}) {
      TempWorkDir dir;
      std::vector<Frame> frames;
      zeptest::drawExactPage(1, 20, 12, [&] {
        zep::fggrid(n, n);
        for (int k = 0; k < n * n; ++k) {
          zep::fgfrm();
          zep::sgswnd(0, 1e6F, 0, ytop);
          zep::fgsttl("DISTANCE (m)", "AMPLITUDE", "A FRAME TITLE");
          zep::fgstrf();
          Frame f;
          zep::sgqvpt(f.vp[0], f.vp[1], f.vp[2], f.vp[3]);
          int lindex = 0, tindex = 0;
          zep::axqatr("B", f.h, lindex, tindex);
          if (f.h <= 0) zep::axrget("RLABEL", f.h);
          zep::axrget("RGAP", f.gap);
          std::array<float, 50> major{}, minor{};
          int nminor = 0;
          zep::axqtck("L", major.data(), f.left, minor.data(), nminor, 50);
          for (int i = 1; i <= f.left; ++i) {
            std::string label(20, ' ');
            float w = 0;
            zep::axqlbl("L", i, label);
            zep::fgqtxw(label.substr(0, label.find(' ')), f.h, w);
            f.widest = std::max(f.widest, w);
          }
          zep::axqtck("B", major.data(), f.bottom, minor.data(), nminor, 50);
          std::string label(20, ' ');
          zep::axqlbl("B", f.bottom, label);
          float w = 0, vx = 0, vy = 0;
          zep::fgqtxw(label.substr(0, label.find(' ')), f.h, w);
          zep::stftrf(major[static_cast<std::size_t>(f.bottom - 1)], 0, vx, vy);
          f.lastEnd = vx + w / 2;
          frames.push_back(f);
          zep::fgpfrm();
        }
      });
      const Png png(dir.path() / "zep_0001.png");
      const PagePixels p{png};
      const std::string where = std::to_string(n) + " x " + std::to_string(n) + ", y to " + std::to_string(ytop);
      for (const Frame& f : frames) {
        EXPECT_GE(f.left, 3) << where;
        EXPECT_GE(f.bottom, 3) << where;
        const int h = static_cast<int>(f.h * p.scale());
        // Left labels: their column along the frame (cutting labels at its
        // ends, clear of the labels below and the title above).
        std::vector<int> rows;
        for (int y = p.y(f.vp[3]); y <= p.y(f.vp[2]); ++y)
          rows.push_back(p.inkIn(p.x(f.vp[0] - f.gap - f.widest) + 1, p.x(f.vp[0] - f.gap), y, y));
        const auto left = texts(rows, h / 3);
        EXPECT_EQ(static_cast<int>(left.size()), f.left) << where << ": labels run together on the left";
        for (std::size_t k = 1; k < left.size(); ++k)
          EXPECT_GE(left[k].first - left[k - 1].second - 1, h) << where << ": left labels " << k << " and " << k + 1;
        // Bottom labels: the band of their boxes, from the frame's left
        // end (cutting the first label) to the last label's end.
        std::vector<int> columns;
        for (int x = p.x(f.vp[0]); x <= p.x(f.lastEnd); ++x)
          columns.push_back(p.inkIn(x, x, p.y(f.vp[2] - f.gap) + 1, p.y(f.vp[2] - f.gap - f.h) - 1));
        const auto bottom = texts(columns, 3 * h / 5);
        EXPECT_EQ(static_cast<int>(bottom.size()), f.bottom) << where << ": labels run together below";
        for (std::size_t k = 1; k < bottom.size(); ++k)
          EXPECT_GE(bottom[k].first - bottom[k - 1].second - 1, h - 1) << where << ": bottom labels " << k << " and " << k + 1;
      }
    }
}

// A number of ticks that the caller chose stays: an interval, or NTICK.
TEST(FrameFit, TicksTheCallerChoseStay) {
  std::array<int, 3> counts{};
  zeptest::drawExactPage(1, 20, 12, [&] {
    zep::fggrid(3, 3);
    for (int& count : counts) {
      zep::fgfrm();
      zep::sgswnd(0, 1, 0, 1.2F);
      if (&count == &counts[0]) zep::axsstp("L", 0.2F, 1);
      if (&count == &counts[2]) zep::axiset("NTICK", 6);
      zep::fgstrf();
      std::array<float, 50> major{}, minor{};
      int nminor = 0;
      zep::axqtck("L", major.data(), count, minor.data(), nminor, 50);
    }
  });
  EXPECT_EQ(counts[0], 7) << "interval 0.2 set";
  EXPECT_LT(counts[1], 7) << "chosen from the cell";
  EXPECT_EQ(counts[2], 7) << "NTICK 6 stored by the caller";
}

// Windows worked by hand from the data, as matplotlib's hist and bar set
// their limits: bars from 0 to 5% above the highest, a histogram from its
// first to its last edge; charts kept before fgstrf, after it (the window
// still untouched) and before fgpfrm alone; a window the caller set stays.
TEST(FrameFit, ChartsGiveAnUntouchedWindowTheirExtent) {
  TempWorkDir dir;
  std::array<std::array<float, 4>, 5> windows{};
  std::array<std::array<float, 2>, 3> probes{};  // V of U points in the bars' frame
  const float edges[] = {0, 1, 2, 3}, values[] = {0.5F, 1.5F, 1.5F, 2.5F, 2.5F, 2.5F};
  const float u[] = {1, 2, 3}, v[] = {2, 4, 3};
  const auto window = [](std::array<float, 4>& w) { zep::sgqwnd(w[0], w[1], w[2], w[3]); };
  zeptest::drawExactPage(1, 30, 10, [&] {
    zep::fggrid(1, 5);
    zep::fgfrm();
    zep::chhist(6, values, 3, edges, 1999, 1);
    zep::fgstrf();
    window(windows[0]);
    zep::fgpfrm();
    zep::fgfrm();
    zep::chlset("LDENS", true);  // kept with the call
    zep::chhist(6, values, 3, edges, 1999, 1);
    zep::chlset("LDENS", false);
    zep::fgpfrm();
    window(windows[1]);
    zep::fgfrm();
    zep::fgstrf();
    zep::chbars("V", 3, u, v, nullptr, 0.8F, 1999, 1);
    zep::fgpfrm();
    window(windows[2]);
    const float probeU[3][2] = {{2, 3.6F}, {2.1F, 4.1F}, {1.5F, 1}};
    for (std::size_t k = 0; k < 3; ++k) zep::stftrf(probeU[k][0], probeU[k][1], probes[k][0], probes[k][1]);
    zep::fgfrm();
    const float ex[] = {1, 2}, ey[] = {10, 20}, err[] = {1, 2};
    zep::chebry(2, ex, ey, err, nullptr, 1);
    zep::chbrsk("H", 3, 1, u, v, 0.5F, std::array<int, 1>{1999}.data(), 1);
    zep::fgstrf();
    window(windows[3]);
    zep::fgpfrm();
    zep::fgfrm();
    zep::sgswnd(5, 6, 7, 8);
    zep::chbars("V", 3, u, v, nullptr, 0.8F, 1999, 1);
    zep::fgstrf();
    window(windows[4]);
    zep::fgpfrm();
  });
  const std::array<std::array<float, 4>, 5> want = {{
      {0, 3, 0, 3.15F},                  // counts 1, 2, 3
      {0, 3, 0, 0.525F},                 // densities 1/6, 2/6, 3/6
      {0.46F, 3.54F, 0, 4.2F},           // bars 0.6 .. 3.4, 0 .. 4
      // x: bars' lengths 0 .. 4 from 0, 5% beyond; y: bars' rows 0.75 .. 3.25
      // and error bars 9 .. 22, 5% each way
      {0, 4.2F, -0.3125F, 23.0625F},
      {5, 6, 7, 8},
  }};
  for (std::size_t k = 0; k < 5; ++k)
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(windows[k][i], want[k][i], 1e-5F) << "frame " << k + 1 << " end " << i;
  // The bars are drawn in the frame as placed: the middle bar filled up to 4
  // (of 4.2), nothing above it nor between the bars.
  const Png png(dir.path() / "zep_0001.png");
  const PagePixels p{png};
  const auto ink = [&](std::size_t k) {
    const int x = p.x(probes[k][0]), y = p.y(probes[k][1]);
    return p.inkIn(x - 1, x + 1, y - 1, y + 1);
  };
  EXPECT_EQ(ink(0), 9) << "inside the middle bar";
  EXPECT_EQ(ink(1), 0) << "above the middle bar";
  EXPECT_EQ(ink(2), 0) << "between the bars";
}

// A caller who takes a cell from fgfrm, sets his own viewport and window and
// closes with sgcls gets his chart drawn where he put it, with no frame.
TEST(FrameFit, ChartsOfAFrameClosedBySgclsAreDrawn) {
  TempWorkDir dir;
  const float u[] = {0.5F}, v[] = {0.5F};
  zeptest::drawExactPage(1, 10, 10, [&] {
    zep::fgfrm();
    zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
    zep::sgswnd(0, 1, 0, 1);
    zep::sgstrf();
    zep::chbars("V", 1, u, v, nullptr, 0.5F, 1999, 1);
  });
  const Png png(dir.path() / "zep_0001.png");
  const PagePixels p{png};
  EXPECT_GT(p.inkIn(p.x(0.45F), p.x(0.55F), p.y(0.4F), p.y(0.3F)), 0) << "the bar";
  EXPECT_EQ(p.inkIn(p.x(0.45F), p.x(0.55F), p.y(0.6F), p.y(0.55F)), 0) << "above the bar";
  EXPECT_EQ(p.inkIn(p.x(0.1F), p.x(0.19F), p.y(0.9F), p.y(0.1F)), 0) << "no frame, no labels";
}

}  // namespace
