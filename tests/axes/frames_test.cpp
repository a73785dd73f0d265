// Drawn frames on PNG pages: ticks, labels and titles of rectangular frames,
// logarithmic frames, map outlines, graticules and their labels, polar and grid
// frames, and legends.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/exact_page.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

const std::string kDeg = "\xC2\xB0";

// The page is 900 x 650 workstation units inside a 2-pixel border, y upwards;
// the single frame is the centred square 650 x 650 from x = 125.
int px(double vx) { return static_cast<int>(2 + 125 + 650 * vx + 0.5); }
int py(double vy) { return static_cast<int>(2 + 650 - 650 * vy + 0.5); }

bool ink(std::uint32_t p) { return p != 0xFFFFFF; }

// Ink anywhere within r pixels of a V point.
bool inkNear(const zeptest::Png& png, double vx, double vy, int r = 1) {
  for (int y = py(vy) - r; y <= py(vy) + r; ++y)
    for (int x = px(vx) - r; x <= px(vx) + r; ++x)
      if (x >= 0 && y >= 0 && x < png.width() && y < png.height() && ink(png.pixel(x, y))) return true;
  return false;
}

int inkIn(const zeptest::Png& png, double vx0, double vy0, double vx1, double vy1) {
  int n = 0;
  for (int y = py(vy1); y < py(vy0); ++y)
    for (int x = px(vx0); x < px(vx1); ++x)
      if (ink(png.pixel(x, y))) ++n;
  return n;
}

// Opens a PNG session, runs `draw` in its one frame and hands the page to `check`.
std::string page(const std::function<void()>& draw, const std::function<std::string(const zeptest::Png&)>& check) {
  zeptest::TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  const fs::path file = dir.path() / "zep_0001.png";
  if (!zeptest::isPng(file)) return "no PNG page";
  // ZEPTEST_KEEP_PAGES names a directory that keeps the pages for looking at.
  static int kept = 0;
  if (const char* keep = std::getenv("ZEPTEST_KEEP_PAGES"))
    fs::copy_file(file, fs::path(keep) / ("axes_" + std::to_string(::getpid()) + "_" + std::to_string(++kept) + ".png"),
                  fs::copy_options::overwrite_existing);
  const zeptest::Png png(file);
  if (png.width() != 904 || png.height() != 654) return "page size";
  return check(png);
}

void linearFrame() {
  zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
  zep::sgswnd(0, 1, 0, 1);
  zep::sgstrn(1);
  zep::sgstrf();
}

TEST(AxisFrames, RectangularFrameWithTicksLabelsAndTitles) {
  ZEP_EXPECT_ISOLATED([] {
    return page(
        [] {
          linearFrame();
          zep::axsttl("B", "DISTANCE");
          zep::axsttl("L", "HEIGHT");
          zep::axpfrm();
        },
        [](const zeptest::Png& png) {
          std::string f;
          // Four sides.
          for (double t : {0.3, 0.5, 0.7}) {
            if (!inkNear(png, t, 0.2) || !inkNear(png, t, 0.8)) f += "bottom or top line\n";
            if (!inkNear(png, 0.2, t) || !inkNear(png, 0.8, t)) f += "left or right line\n";
          }
          // Major ticks inside, every 0.2 of the window (0.12 of V); minor ticks shorter.
          for (int k = 1; k <= 4; ++k) {
            const double v = 0.2 + 0.12 * k;
            if (!inkNear(png, v, 0.209, 0) || !inkNear(png, v, 0.791, 0)) f += "major tick on B or T\n";
            if (!inkNear(png, 0.209, v, 0) || !inkNear(png, 0.791, v, 0)) f += "major tick on L or R\n";
            if (inkNear(png, v, 0.195, 0)) f += "tick outside\n";
          }
          if (!inkNear(png, 0.23, 0.203, 0)) f += "minor tick\n";
          if (inkNear(png, 0.23, 0.209, 0)) f += "minor tick as long as a major one\n";
          // Labels below each bottom tick and left of each left tick, none on the top and right.
          for (int k = 0; k <= 5; ++k) {
            const double v = 0.2 + 0.12 * k;
            if (inkIn(png, v - 0.03, 0.165, v + 0.03, 0.195) < 10) f += "bottom label " + std::to_string(k) + "\n";
            if (inkIn(png, 0.13, v - 0.012, 0.195, v + 0.012) < 10) f += "left label " + std::to_string(k) + "\n";
          }
          if (inkIn(png, 0.2, 0.805, 0.8, 0.85) > 0 || inkIn(png, 0.805, 0.2, 0.85, 0.8) > 0)
            f += "labels on the top or right side\n";
          // The x title below the labels; the y title left of them with white between.
          if (inkIn(png, 0.4, 0.12, 0.6, 0.16) < 40) f += "bottom title\n";
          // The y title left of the labels with white between: the first ink from
          // the left is the title (taller than a label), then at least 3 white columns.
          int x = px(0.0);
          const auto columnInk = [&](int cx, int& top, int& bottom) {
            top = 100000;
            bottom = -1;
            for (int y = py(0.75); y < py(0.25); ++y)
              if (ink(png.pixel(cx, y))) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
              }
            return bottom >= 0;
          };
          int top = 0, bottom = 0, tallest = 0;
          while (x < px(0.2) && !columnInk(x, top, bottom)) ++x;
          while (x < px(0.2) && columnInk(x, top, bottom)) {
            tallest = std::max(tallest, bottom - top);
            ++x;
          }
          int white = 0;
          while (x < px(0.2) && !columnInk(x, top, bottom)) {
            ++white;
            ++x;
          }
          if (tallest < 0.08 * 650) f += "left title missing or not leftmost\n";
          if (white < 3) f += "left title not clear of the labels\n";
          // Both labels at the lower left corner are drawn (the window ends) and
          // do not run into each other: where their columns meet, a row without
          // dark ink (antialiasing aside) lies between the one and the other.
          if (inkIn(png, 0.13, 0.19, 0.175, 0.21) == 0 || inkIn(png, 0.18, 0.165, 0.22, 0.19) == 0)
            f += "a corner label left out\n";
          std::vector<bool> inked;
          for (int y = py(0.215); y <= py(0.165); ++y) {
            bool any = false;
            for (int x = px(0.175); x <= px(0.197); ++x) any = any || (png.pixel(x, y) & 0xFF) < 0x80;
            inked.push_back(any);
          }
          const auto firstInk = std::find(inked.begin(), inked.end(), true);
          const auto lastInk = std::find(inked.rbegin(), inked.rend(), true).base();
          if (firstInk == inked.end() || std::find(firstInk, lastInk, false) == lastInk)
            f += "corner labels run into each other\n";
          return f;
        });
  });
}

TEST(AxisFrames, SideControlOutwardTicksAndLineIndex) {
  ZEP_EXPECT_ISOLATED([] {
    return page(
        [] {
          linearFrame();
          zep::axssid("T", false, false);
          zep::axssid("R", true, true);
          zep::axssid("L", true, false);
          zep::axstdr("B", 2);
          zep::axiset("INDEXA", 21);
          zep::axsatr("R", 0.04F, 41, 41);  // larger labels and another colour on the right
          // A program's clipping cuts neither outward ticks nor labels, and stays on.
          zep::sglset("LCLIP", true);
          zep::axpfrm();
          bool clip = false;
          zep::sglget("LCLIP", clip);
          if (!clip) zep::sgtxzv(0.5F, 0.5F, "CLIPPING LOST", 0.05F, 0, 0, 1);
        },
        [](const zeptest::Png& png) {
          std::string f;
          if (inkIn(png, 0.25, 0.79, 0.75, 0.82) > 0) f += "top side drawn\n";
          if (inkIn(png, 0.3, 0.4, 0.7, 0.6) > 0) f += "LCLIP not restored\n";
          if (inkIn(png, 0.4, 0.15, 0.48, 0.19) < 10) f += "bottom labels\n";
          if (!inkNear(png, 0.44, 0.192, 0) || inkNear(png, 0.44, 0.209, 0)) f += "bottom ticks not outside\n";
          if (!inkNear(png, 0.791, 0.44, 0)) f += "right ticks\n";
          if (inkIn(png, 0.81, 0.42, 0.87, 0.46) < 10) f += "right labels\n";
          // Right labels 0.04 high: ink reaches 0.015 above and below the tick's height.
          if (inkIn(png, 0.81, 0.454, 0.9, 0.458) == 0) f += "right labels not larger\n";
          const std::uint32_t r = png.pixel(px(0.8), py(0.5));
          if (!(((r >> 8) & 0xFF) > ((r >> 16) & 0xFF) + 60)) f += "right side not in colour 4\n";
          if (inkIn(png, 0.13, 0.25, 0.195, 0.75) > 0) f += "left labels drawn\n";
          const std::uint32_t c = png.pixel(px(0.5), py(0.2));
          if (!(((c >> 16) & 0xFF) > ((c >> 8) & 0xFF) + 100)) f += "frame not in colour 2\n";
          return f;
        });
  });
}

TEST(AxisFrames, LogLogFrame) {
  ZEP_EXPECT_ISOLATED([] {
    return page(
        [] {
          zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
          zep::sgswnd(1, 1000, 1, 1000);
          zep::sgstrn(4);
          zep::sgstrf();
          zep::axpfrm();
        },
        [](const zeptest::Png& png) {
          std::string f;
          const auto at = [](double u) { return 0.2 + 0.6 * std::log10(u) / 3; };
          for (double u : {10.0, 100.0})
            if (!inkNear(png, at(u), 0.209, 0) || !inkNear(png, 0.209, at(u), 0)) f += "decade tick\n";
          for (double u : {2.0, 5.0, 30.0, 700.0})
            if (!inkNear(png, at(u), 0.203, 0) || inkNear(png, at(u), 0.209, 0)) f += "minor tick\n";
          if (inkNear(png, at(1.5), 0.203, 0)) f += "tick between 1 and 2\n";
          // "10" with a raised exponent under each decade: the exponent's ink
          // reaches higher than the base's, right of it.
          for (double u : {1.0, 10.0, 100.0, 1000.0}) {
            const double v = at(u);
            if (inkIn(png, v - 0.03, 0.17, v + 0.005, 0.19) < 10) f += "base of decade label\n";
            if (inkIn(png, v + 0.005, 0.18, v + 0.03, 0.195) < 3) f += "exponent of decade label\n";
          }
          return f;
        });
  });
}

// The V boxes of the labels the last map frame placed.
using Box = zeptest::MapLabel;
std::vector<Box> mapBoxes() { return zeptest::mapLabels(); }

std::string overlaps(const std::vector<Box>& boxes) {
  std::string f;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const Box &a = boxes[i], &b = boxes[j];
      if (a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1) f += a.text + " overlaps " + b.text + "\n";
    }
  return f;
}

void mapFrame(int itr, float simfac, float vyoff, float tymin, float stlat1 = 0, float stlat2 = 0) {
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgrset("STLAT1", stlat1);
  zep::sgrset("STLAT2", stlat2);
  zep::sgssim(simfac, 0, vyoff);
  zep::sgstxy(-180, 180, tymin, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
  zep::axpfrm();
}

TEST(AxisFrames, CornerLabelsAreMovedRatherThanLost) {
  ZEP_EXPECT_ISOLATED([] {
    // "-1000", "0.0" under a common factor, and the decades 10^-3 (lower left)
    // and 10^1 (upper right) of a log-log frame labelled on all sides.
    std::string f;
    for (const auto& w : {std::array{1.0F, 0.0F, 1.0F, -1000.0F, 5000.0F},
                          {1, 0, 1, 0, 1.2e-4F}, {4, 1e-3F, 10, 1e-3F, 10}}) {
      // Named copies: lambdas may not capture structured bindings on every compiler.
      const float itr = w[0], u0 = w[1], u1 = w[2], v0 = w[3], v1 = w[4];
      f += page(
          [&] {
            zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
            zep::sgswnd(u0, u1, v0, v1);
            zep::sgstrn(static_cast<int>(itr));
            zep::sgstrf();
            for (const char* s : {"T", "R"}) zep::axssid(s, true, itr == 4);
            zep::axpfrm();
            zep::axinit();
          },
          [&](const zeptest::Png& png) {
            std::string g;
            if (inkIn(png, 0.12, 0.19, 0.17, 0.215) < 10) g += "lower left label lost\n";
            if (itr == 4 && inkIn(png, 0.83, 0.785, 0.88, 0.815) < 10) g += "upper right label lost\n";
            return g;
          });
    }
    return f;
  });
}

TEST(AxisFrames, CrowdedLabelsOfASideKeepAGapAndTheirTicks) {
  ZEP_EXPECT_ISOLATED([] {
    // Narrow frames whose every tick label would not fit: the bottom labels,
    // read as runs of inked columns split by white of nearly half a label
    // height, each sit centred on a major tick (two numbers that touch make one
    // run centred on none), and at least two are left.
    std::string f;
    std::array<float, 64> major{}, minor{};
    int nmajor = 0, nminor = 0;
    for (const auto& w : {std::array{0.45F, 0.0F, 360.0F}, {0.5F, -123456.0F, 987654.0F}, {0.4F, -1.0F, 1.0F}}) {
      const float vx1 = w[0], u0 = w[1], u1 = w[2];
      f += page(
          [&] {
            zep::sgsvpt(0.2F, vx1, 0.3F, 0.7F);
            zep::sgswnd(u0, u1, 0, 1);
            zep::sgstrn(1);
            zep::sgstrf();
            zep::axssid("L", true, false);
            zep::axpfrm();
            zep::axqtck("B", major.data(), nmajor, minor.data(), nminor, 64);
            zep::axinit();
          },
          [&](const zeptest::Png& png) {
            const double h = 650 * 0.02;  // AX RLABEL in pixels
            std::string g;
            int runs = 0, first = -1, last = -1;
            for (int x = px(0.1); x <= px(vx1 + 0.1) + h; ++x) {
              bool any = false;
              for (int y = py(0.295); y <= py(0.3) + 2 * h; ++y) any = any || (png.pixel(x, y) & 0xFF) < 0x80;
              if (any && first < 0) first = x;
              if (any) last = x;
              if (first < 0 || x - last - 1 <= 0.42 * h) continue;  // white within a label
              ++runs;
              bool onTick = false;
              for (int k = 0; k < nmajor; ++k)
                onTick = onTick || std::fabs(0.5 * (first + last) - px(0.2 + (vx1 - 0.2) * (major[k] - u0) / (u1 - u0))) < h / 4;
              if (!onTick) g += "label run at column " + std::to_string(first) + " off every tick\n";
              first = -1;
            }
            return runs < 2 ? g + "fewer than two labels\n" : g;
          });
    }
    return f;
  });
}

TEST(AxisFrames, PolarRadiusLabelsStayOffTheLines) {
  ZEP_EXPECT_ISOLATED([] {
    // A small polar frame, drawn without and then with its labels: the pixels
    // only the labels darken lie clear of every circle and spoke.
    std::vector<std::uint32_t> bare;
    const auto draw = [](int lindex) {
      return [lindex] {
        zep::sgsvpt(0.35F, 0.65F, 0.35F, 0.65F);
        zep::sgssim(0.3F, 0, 0);
        zep::sgstrn(5);
        zep::sgstrf();
        zep::axiset("INDEXL", lindex);
        zep::axpfrm();
      };
    };
    std::string f = page(draw(0), [&](const zeptest::Png& png) {
      for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) bare.push_back(png.pixel(x, y));
      return std::string();
    });
    f += page(draw(3), [&](const zeptest::Png& png) {
      std::string g;
      const auto blank = [&](int x, int y) { return bare[static_cast<std::size_t>(y * png.width() + x)] == 0xFFFFFF; };
      int labelInk = 0, onLines = 0, radiusInk = 0;
      for (int y = 1; y + 1 < png.height(); ++y)
        for (int x = 1; x + 1 < png.width(); ++x) {
          if ((png.pixel(x, y) & 0xFF) >= 0x80 || !blank(x, y)) continue;
          ++labelInk;
          // Under the 0 degree spoke and inside the outer circle: a radius label.
          if (y > py(0.5) && x > px(0.5) && x < px(0.65)) ++radiusInk;
          bool near = false;
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) near = near || !blank(x + dx, y + dy);
          if (near) ++onLines;
        }
      if (labelInk < 200) g += "no labels\n";
      if (radiusInk < 20) g += "no radius labels\n";
      if (onLines > 0) g += std::to_string(onLines) + " label pixels touch a circle or spoke\n";
      return g;
    });
    return f;
  });
}

TEST(AxisFrames, MollweideOutlineGraticuleAndLabels) {
  ZEP_EXPECT_ISOLATED([] {
    std::vector<Box> boxes;
    float west = 0, east = 0, mid = 0, north = 0, cell = 0, cellY = 0, cross = 0, crossY = 0;
    std::string f = page(
        [&] {
          mapFrame(12, 0.14F, 0, -90);
          boxes = mapBoxes();
          float y = 0;
          zep::stftrf(-180, 0, west, mid);
          zep::stftrf(180, 0, east, y);
          zep::stftrf(0, 90, y, north);
          zep::stftrf(15, 15, cell, cellY);
          zep::stftrf(30, 30, cross, crossY);
        },
        [&](const zeptest::Png& png) {
          std::string g;
          if (!inkNear(png, west, mid) || !inkNear(png, east, mid)) g += "ends of the ellipse\n";
          if (!inkNear(png, 0.5, north)) g += "top of the ellipse\n";
          if (!inkNear(png, cross, crossY)) g += "graticule crossing\n";
          if (inkNear(png, cell, cellY, 3)) g += "ink inside a graticule cell\n";
          if (inkIn(png, 0, 0.9, 0.2, 1.0) > 0) g += "ink in the corner off the map\n";
          for (const Box& b : boxes)
            if (inkIn(png, b.x0, b.y0, b.x1, b.y1) < 5) g += "no ink in the box of " + b.text + "\n";
          return g;
        });
    f += overlaps(boxes);
    std::set<std::string> texts;
    for (const Box& b : boxes) {
      texts.insert(b.text);
      // Outside the map: the inverse finds no point of the sphere at the box centre.
      float ux = 0, uy = 0;
      zep::stitrf((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, ux, uy);
      if (ux != -999.0F) f += b.text + " inside the map\n";
    }
    for (const std::string& want : {std::string("60") + kDeg + "N", std::string("30") + kDeg + "N", std::string("0") + kDeg + "", std::string("30") + kDeg + "S", std::string("60") + kDeg + "S", std::string("120") + kDeg + "W", std::string("60") + kDeg + "E"})
      if (!texts.count(want)) f += "missing label " + want + "\n";
    // Latitudes on both sides, longitudes below the map.
    int left = 0, right = 0, below = 0;
    for (const Box& b : boxes) {
      const char last = b.text.back();
      const bool latitude = last == 'N' || last == 'S' || (b.text == "0" + kDeg && (b.x1 < west + 0.05F || b.x0 > east - 0.05F));
      if (latitude && b.x1 < 0.5F) ++left;
      if (latitude && b.x0 > 0.5F) ++right;
      if (!latitude && b.y1 < mid - 0.14F * 1.4142F) ++below;
    }
    if (left < 5 || right < 5 || below < 5) f += "labels not around the map\n";
    return f;
  });
}

TEST(AxisFrames, MapLabelsNeverOverlap) {
  ZEP_EXPECT_ISOLATED([] {
    std::string f;
    struct Case {
      const char* name;
      int itr;
      float simfac, vyoff, tymin, st1, st2;
      std::size_t atLeast;
    };
    const Case cases[] = {{"Mollweide", 12, 0.14F, 0, -90, 0, 0, 14},
                          {"Robinson", 17, 0.13F, 0, -90, 0, 0, 14},
                          {"Hammer", 13, 0.14F, 0, -90, 0, 0, 14},
                          {"conformal conic", 22, 0.25F, 0.25F, 0, 30, 60, 10},
                          {"equidistant conic", 20, 0.15F, 0.15F, -30, 40, 0, 10},
                          {"orthographic", 30, 0.33F, 0, -90, 0, 0, 8}};
    for (const Case& c : cases) {
      std::vector<Box> boxes;
      f += page(
          [&] {
            if (c.itr == 30) zep::sgsmpl(20, 45, 0);
            mapFrame(c.itr, c.simfac, c.vyoff, c.tymin, c.st1, c.st2);
            boxes = mapBoxes();
          },
          [&](const zeptest::Png& png) {
            std::string g;
            for (const Box& b : boxes)
              if (inkIn(png, b.x0, b.y0, b.x1, b.y1) < 5) g += std::string(c.name) + ": empty box " + b.text + "\n";
            return g;
          });
      if (boxes.size() < c.atLeast) f += std::string(c.name) + ": only " + std::to_string(boxes.size()) + " labels\n";
      const std::string o = overlaps(boxes);
      if (!o.empty()) f += std::string(c.name) + ":\n" + o;
      bool lat = false, lon = false;
      for (const Box& b : boxes) {
        lat = lat || b.text.back() == 'N' || b.text.back() == 'S';
        lon = lon || b.text.back() == 'E' || b.text.back() == 'W';
      }
      if (!lat || !lon) f += std::string(c.name) + ": no latitude or no longitude labels\n";
    }
    return f;
  });
}

// Whether a V point shows the map: inside the viewport, and the inverse finds
// a point of the sphere within the latitude limit whose image is that point.
bool onMap(float vx, float vy, float tymin) {
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  zep::sgqvpt(x0, x1, y0, y1);
  if (vx <= x0 || vx >= x1 || vy <= y0 || vy >= y1) return false;
  float ux = 0, uy = 0, bx = 0, by = 0;
  zep::stitrf(vx, vy, ux, uy);
  if (ux == -999.0F || uy == -999.0F || uy < tymin - 1e-3F || uy > 90.001F || std::fabs(ux) > 180.001F) return false;
  zep::stftrf(ux, uy, bx, by);
  return std::hypot(bx - vx, by - vy) < 1e-3F;
}

TEST(AxisFrames, MapLabelsLieOffTheMapOnEveryProjection) {
  ZEP_EXPECT_ISOLATED([] {
    struct Case {
      int itr;
      float simfac, vyoff, tymin, st1, st2;
    };
    // The twenty projections as the gallery frames them, and an azimuthal
    // equal-area disc that the viewport cuts.
    const Case cases[] = {{10, 0.12F, 0, -90, 0, 0},   {11, 0.1F, 0, -75, 0, 0},     {12, 0.14F, 0, -90, 0, 0},
                          {13, 0.14F, 0, -90, 0, 0},   {14, 0.14F, 0, -90, 0, 0},    {15, 0.14F, 0, -90, 0, 0},
                          {16, 0.1F, 0, -90, 0, 0},    {17, 0.13F, 0, -90, 0, 0},    {18, 0.13F, 0, -90, 0, 0},
                          {19, 0.1F, 0, -90, 0, 0},    {20, 0.13F, 0.15F, 0, 40, 0}, {21, 0.14F, 0.1F, 0, 40, 0},
                          {22, 0.14F, 0.1F, 0, 30, 60}, {23, 0.08F, 0.06F, -90, 45, 0}, {24, 0.1F, 0, -90, 0, 0},
                          {30, 0.3F, 0, 0, 0, 0},      {31, 0.1F, 0, -30, 0, 0},     {32, 0.1F, 0, -90, 0, 0},
                          {33, 0.18F, 0, -90, 0, 0},   {34, 0.1F, 0, 20, 0, 0},      {33, 0.35F, 0, -90, 0, 0}};
    std::string f;
    f += page(
        [&] {
          for (const Case& c : cases) {
            zep::sgfrm();
            mapFrame(c.itr, c.simfac, c.vyoff, c.tymin, c.st1, c.st2);
            const std::string name = "ITR " + std::to_string(c.itr) + " x " + std::to_string(c.simfac) + ": ";
            const std::vector<Box> boxes = mapBoxes();
            if (boxes.size() < 6) f += name + "only " + std::to_string(boxes.size()) + " labels\n";
            f += overlaps(boxes);
            float north = 0, south = 0, x = 0;
            zep::stftrf(0, 60, x, north);
            zep::stftrf(0, -60, x, south);
            // A latitude circle that closes inside an azimuthal map is
            // labelled on the map, centred on the circle itself.
            const auto onItsCircle = [&](const Box& b) {
              const char last = b.text.back();
              if (c.itr < 30 || !(last == 'N' || last == 'S' || b.text == "0" + kDeg)) return false;
              const float lat = std::stof(b.text) * (last == 'S' ? -1.0F : 1.0F);
              float ux = 0, uy = 0;
              zep::stitrf((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, ux, uy);
              return std::fabs(uy - lat) < 0.5F;
            };
            for (const Box& b : boxes) {
              if (onItsCircle(b)) continue;
              for (int i = 0; i <= 16; ++i)
                for (int j = 0; j <= 8; ++j)
                  if (onMap(b.x0 + (b.x1 - b.x0) * i / 16, b.y0 + (b.y1 - b.y0) * j / 8, c.tymin)) {
                    f += name + b.text + " on the map\n";
                    i = j = 100;
                  }
              // On (pseudo)cylindrical maps that the viewport does not cut,
              // meridians are labelled above and below the map; beside it, level
              // with the mid-latitudes, a label reads as a latitude.
              const char last = b.text.back();
              const bool meridian = last == 'E' || last == 'W' || b.text == "180" + kDeg;
              if (c.itr <= 18 && meridian && (b.y0 + b.y1) / 2 < north && (b.y0 + b.y1) / 2 > south)
                f += name + b.text + " beside the map\n";
            }
          }
        },
        [](const zeptest::Png&) { return std::string(); });
    return f;
  });
}

TEST(AxisFrames, GivenGraticuleStepAndSwitches) {
  ZEP_EXPECT_ISOLATED([] {
    std::vector<Box> boxes;
    float cell = 0, cellY = 0, on = 0, onY = 0;
    std::string f = page(
        [&] {
          zep::axrset("DGLON", 45);
          zep::axrset("DGLAT", 20);
          zep::axlset("LOUTLN", false);
          mapFrame(10, 0.15F, 0, -90);
          boxes = mapBoxes();
          zep::stftrf(30, 30, cell, cellY);
          zep::stftrf(45, 10, on, onY);
        },
        [&](const zeptest::Png& png) {
          std::string g;
          if (inkNear(png, cell, cellY, 2)) g += "a meridian at 30 degrees\n";
          if (!inkNear(png, on, onY)) g += "no meridian at 45 degrees\n";
          return g;
        });
    std::set<std::string> texts;
    for (const Box& b : boxes) texts.insert(b.text);
    for (const std::string& want : {std::string("45") + kDeg + "E", std::string("135") + kDeg + "W", std::string("40") + kDeg + "N", std::string("80") + kDeg + "S"})
      if (!texts.count(want)) f += "missing label " + want + "\n";
    if (texts.count(std::string("30") + kDeg + "N")) f += "label of a parallel not drawn\n";
    return f + overlaps(boxes);
  });
}

TEST(AxisFrames, PolarAndGridFrames) {
  ZEP_EXPECT_ISOLATED([] {
    std::string f = page(
        [] {
          zep::sgsvpt(0, 1, 0, 1);
          zep::sgssim(0.1F, 0, 0);
          zep::sgstrn(5);
          zep::sgstrf();
          zep::axpfrm();
        },
        [](const zeptest::Png& png) {
          std::string g;
          // Circles of radius 1, 2, 3 about the centre, spokes every 30 degrees.
          for (double r : {1.0, 2.0, 3.0})
            if (!inkNear(png, 0.5 + 0.1 * r * std::cos(0.3), 0.5 + 0.1 * r * std::sin(0.3))) g += "circle\n";
          for (double a : {30.0, 120.0, 240.0}) {
            const double t = a * 3.14159265 / 180;
            if (!inkNear(png, 0.5 + 0.25 * std::cos(t), 0.5 + 0.25 * std::sin(t))) g += "spoke\n";
          }
          if (inkNear(png, 0.5 + 0.15 * std::cos(0.26), 0.5 + 0.15 * std::sin(0.26), 1)) g += "ink between spokes\n";
          // Angle labels outside the outer circle, radius labels along the first spoke.
          if (inkIn(png, 0.5 + 0.3 * 0.866 + 0.01, 0.5 + 0.3 * 0.5, 0.5 + 0.3 * 0.866 + 0.07, 0.5 + 0.3 * 0.5 + 0.04) < 10)
            g += "angle label 30\n";
          if (inkIn(png, 0.59, 0.46, 0.61, 0.49) < 5) g += "radius label 1\n";
          return g;
        });
    f += page(
        [] {
          // A sheared 3 x 3 grid: x of node (i, j) is i + j / 2, y is j.
          const float u[] = {0, 1, 2};
          float cx[9], cy[9];
          for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) {
              cx[i + 3 * j] = static_cast<float>(i) + 0.5F * static_cast<float>(j);
              cy[i + 3 * j] = static_cast<float>(j);
            }
          zep::g2sctr(3, 3, u, u, cx, cy);
          zep::sgsvpt(0, 1, 0, 1);
          zep::sgscwd(-0.5F, 3.5F, -1, 3);
          zep::sgstrn(51);
          zep::sgstrf();
          zep::axpfrm();
        },
        [](const zeptest::Png& png) {
          std::string g;
          const auto v = [](double x, double y, double& vx, double& vy) {
            vx = (x + 0.5) / 4;
            vy = (y + 1) / 4;
          };
          double vx = 0, vy = 0;
          // Middle of the line ux = 1 (from (1, 0) to (2, 2)) and of uy = 1.
          v(1.5, 1, vx, vy);
          if (!inkNear(png, vx, vy)) g += "grid line ux = 1\n";
          v(1.5, 1, vx, vy);
          v(0.75, 1, vx, vy);
          if (!inkNear(png, vx, vy)) g += "grid line uy = 1\n";
          v(0.75, 0.5, vx, vy);
          if (inkNear(png, vx, vy, 2)) g += "ink inside a cell\n";
          return g;
        });
    return f;
  });
}

TEST(AxisFrames, LegendEntriesInOrder) {
  ZEP_EXPECT_ISOLATED([] {
    return page(
        [] {
          linearFrame();
          zep::axlgcl();
          zep::axlgln(21, 1, "FIRST");
          zep::axlgln(41, 1, "SECOND");
          zep::axlgmk(10, 31, 0.03F, "MARKER");
          zep::axlgtn(3999, "TONE");
          zep::axlgtx("NOTE");
          zep::axlgpv("TR");
        },
        [](const zeptest::Png& png) {
          std::string g;
          // Rows from the top right corner down: red sample, then colour 4.
          int redRow = -1, otherRow = -1, redX = 10000;
          for (int y = py(0.8); y < py(0.6); ++y)
            for (int x = px(0.5); x < px(0.8); ++x) {
              const std::uint32_t c = png.pixel(x, y);
              const int r = (c >> 16) & 0xFF, gr = (c >> 8) & 0xFF, b = c & 0xFF;
              if (r > gr + 60 && r > b + 60) {
                if (redRow < 0) redRow = y;
                redX = std::min(redX, x);
              } else if ((gr > r + 60 || b > r + 60) && otherRow < 0) {
                otherRow = y;
              }
            }
          if (redRow < 0 || otherRow < 0) return std::string("line samples missing\n");
          if (!(redRow < otherRow)) g += "entries not in the order added\n";
          // Below them a filled marker (colour 3) and a tone sample (colour 3, solid),
          // the tone wider than the marker; both under the second line.
          std::vector<int> rowWidth;
          int firstRow = -1;
          for (int y = otherRow + 3; y < py(0.55); ++y) {
            int n = 0;
            for (int x = px(0.5); x < px(0.8); ++x) {
              const std::uint32_t c = png.pixel(x, y);
              const int r = (c >> 16) & 0xFF, gr = (c >> 8) & 0xFF, b = c & 0xFF;
              if (b > r + 60 && b > gr + 20) ++n;
            }
            if (n > 0 && firstRow < 0) firstRow = y;
            rowWidth.push_back(n);
          }
          const int widest = rowWidth.empty() ? 0 : *std::max_element(rowWidth.begin(), rowWidth.end());
          if (firstRow < 0) g += "no marker or tone sample\n";
          if (widest < 0.6 * 0.05 * 650) g += "tone sample not as long as the line samples\n";
          // Texts right of the samples; the box inside the viewport's corner.
          if (inkIn(png, 0.6, 0.6, 0.79, 0.79) < 100) g += "legend texts\n";
          if (inkIn(png, 0.2, 0.2, 0.5, 0.5) > 0) g += "ink away from the corner\n";
          if (px(0.8) - redX > 0.5 * 650 * 0.6) g += "legend too wide\n";
          return g;
        });
  });
}

}  // namespace
