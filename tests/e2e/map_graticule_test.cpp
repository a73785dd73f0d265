// Map graticules drawn through the whole line pipeline into PNG pages: every
// intersection of a meridian and a parallel lands where the textbook formula
// of its projection puts it, the insides of the graticule's cells stay empty,
// and nothing is drawn off the map or beyond the clipping range of T.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "support/page_pixels.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

using zeptest::colourOf;

// One frame on a 900 x 650 page (2-pixel border): the largest centred square,
// 650 x 650, with workstation y upwards.
double px(double vx) { return 2 + 125 + 650 * vx; }
double py(double vy) { return 2 + 650 - 650 * vy; }

// Thin lines are antialiased: a line pixel is any pixel that is not the white
// background; it is red or a blend of red into white.
bool isInk(std::uint32_t rgb) { return rgb != 0xFFFFFF; }

bool isRedTint(std::uint32_t rgb, std::uint32_t red) {
  const auto ch = [](std::uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFF); };
  // Blending keeps the order of the channels: red's own order, within rounding.
  const int r = ch(rgb, 16), g = ch(rgb, 8), b = ch(rgb, 0);
  return (ch(red, 16) >= ch(red, 8)) == (r + 1 >= g) && (ch(red, 16) >= ch(red, 0)) == (r + 1 >= b);
}

int pixelsNear(const zeptest::Png& png, double vx, double vy, int r) {
  const int cx = static_cast<int>(px(vx) + 0.5), cy = static_cast<int>(py(vy) + 0.5);
  int n = 0;
  for (int y = std::max(cy - r, 0); y <= cy + r && y < png.height(); ++y)
    for (int x = std::max(cx - r, 0); x <= cx + r && x < png.width(); ++x)
      if (isInk(png.pixel(x, y))) ++n;
  return n;
}

struct V {
  double x, y;
};

// Plane position of (lon, lat) in degrees, or nothing where the page must
// show no line (hidden or clipped away).
using Projection = std::function<std::optional<V>(double lon, double lat)>;

V scaled(double simfac, double x, double y, double yoff = 0) { return {0.5 + simfac * x, 0.5 + yoff + simfac * y}; }

double mollweideTheta(double lat) {
  double lo = -kPi / 2, hi = kPi / 2;
  for (int i = 0; i < 100; ++i) {
    const double mid = (lo + hi) / 2;
    (2 * mid + std::sin(2 * mid) < kPi * std::sin(lat) ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

struct Page {
  const char* name;
  Projection project;
  double innerStep;  // cell centres closer than this (in V) to a line are not checked
};

const Page kPages[] = {
    {"Mercator",
     [](double lon, double lat) -> std::optional<V> {
       return scaled(0.15, lon * kDeg, std::asinh(std::tan(lat * kDeg)));
     },
     0.02},
    {"Mollweide",
     [](double lon, double lat) -> std::optional<V> {
       const double t = mollweideTheta(lat * kDeg);
       return scaled(0.17, 2 * std::sqrt(2.0) / kPi * lon * kDeg * std::cos(t), std::sqrt(2.0) * std::sin(t));
     },
     0.02},
    {"orthographic, centred on (0, 45), far side hidden",
     [](double lon, double lat) -> std::optional<V> {
       // Snyder's oblique orthographic about (0, 45).
       const double l = lon * kDeg, b = lat * kDeg, b1 = 45 * kDeg;
       const double cosc = std::sin(b1) * std::sin(b) + std::cos(b1) * std::cos(b) * std::cos(l);
       if (cosc < 0.05) return std::nullopt;
       return scaled(0.45, std::cos(b) * std::sin(l), std::cos(b1) * std::sin(b) - std::sin(b1) * std::cos(b) * std::cos(l));
     },
     0.04},
    {"polar stereographic down to -30",
     [](double lon, double lat) -> std::optional<V> {
       if (lat < -30) return std::nullopt;
       const double r = 2 * std::tan((kPi / 2 - lat * kDeg) / 2);
       return scaled(0.13, r * std::sin(lon * kDeg), -r * std::cos(lon * kDeg));
     },
     0.03},
    {"conformal conic on 30 and 60, northern hemisphere",
     [](double lon, double lat) -> std::optional<V> {
       if (lat < 0) return std::nullopt;
       const double p1 = 30 * kDeg, p2 = 60 * kDeg;
       const double n = std::log(std::cos(p1) / std::cos(p2)) /
                        std::log(std::tan(kPi / 4 + p2 / 2) / std::tan(kPi / 4 + p1 / 2));
       const double f = std::cos(p1) * std::pow(std::tan(kPi / 4 + p1 / 2), n) / n;
       const double rho = f / std::pow(std::tan(kPi / 4 + lat * kDeg / 2), n);
       return scaled(0.3, rho * std::sin(n * lon * kDeg), -rho * std::cos(n * lon * kDeg), 0.4);
     },
     0.03},
};

bool insideViewport(const V& v) { return v.x > 0.01 && v.x < 0.99 && v.y > 0.01 && v.y < 0.99; }

std::string checkPage(const zeptest::Png& png, const Page& page, std::uint32_t red) {
  if (png.width() != 904 || png.height() != 654) return "page size";
  int intersections = 0, cells = 0, hidden = 0;
  // The page holds nothing but the graticule: every pixel is white or red ink.
  for (int y = 0; y < png.height(); y += 7)
    for (int x = 0; x < png.width(); x += 7)
      if (isInk(png.pixel(x, y)) && !isRedTint(png.pixel(x, y), red))
        return "a pixel of another colour at " + std::to_string(x) + ", " + std::to_string(y);
  for (int lon = -180; lon <= 180; lon += 30) {
    for (int lat = -60; lat <= 60; lat += 30) {
      const auto v = page.project(lon, lat);
      if (!v || !insideViewport(*v)) continue;
      if (pixelsNear(png, v->x, v->y, 3) == 0)
        return "no line at the intersection " + std::to_string(lon) + ", " + std::to_string(lat);
      ++intersections;
    }
  }
  // Cell centres: empty, where the cell is wide enough on the page.
  for (int lon = -165; lon <= 165; lon += 30) {
    for (int lat = -45; lat <= 45; lat += 30) {
      const auto c = page.project(lon, lat);
      const auto a = page.project(lon - 15, lat), b = page.project(lon, lat - 15);
      if (!c || !a || !b || !insideViewport(*c)) continue;
      if (std::hypot(c->x - a->x, c->y - a->y) < page.innerStep || std::hypot(c->x - b->x, c->y - b->y) < page.innerStep)
        continue;
      if (pixelsNear(png, c->x, c->y, 2) != 0)
        return "a line inside the cell at " + std::to_string(lon) + ", " + std::to_string(lat);
      ++cells;
    }
  }
  // Nothing where the projection puts no visible point of the sphere: sample
  // the viewport and keep the points farther than 0.03 from every visible
  // point of a fine grid over the globe.
  for (double vx = 0.03; vx < 0.99; vx += 0.06) {
    for (double vy = 0.03; vy < 0.99; vy += 0.06) {
      bool nearMap = false;
      for (int lon = -180; lon <= 180 && !nearMap; lon += 3)
        for (int lat = -90; lat <= 90 && !nearMap; lat += 3) {
          const auto v = page.project(lon, lat);
          nearMap = v && std::hypot(v->x - vx, v->y - vy) < 0.03;
        }
      if (nearMap) continue;
      if (pixelsNear(png, vx, vy, 3) != 0)
        return "a line off the map at V " + std::to_string(vx) + ", " + std::to_string(vy);
      ++hidden;
    }
  }
  if (intersections < 10 || cells < 4) return "too few points checked";
  std::printf("%s: %d intersections, %d cells, %d points off the map\n", page.name, intersections, cells, hidden);
  return "";
}

TEST(MapGraticules, FiveProjectionsOnPngPages) {
  zeptest::TempWorkDir dir;
  int status = -1;
  const std::string out = zeptest::runCommand(
      "cd '" + dir.path().string() + "' && " + ZEP_HELPER_zep_map_graticule + " -SW_IFL=1 2>&1", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
  const std::uint32_t red = colourOf(2);
  for (int i = 0; i < 5; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "zep_%04d.png", i + 1);
    ASSERT_TRUE(fs::exists(dir.path() / name)) << name;
    const zeptest::Png png(dir.path() / name);
    ASSERT_TRUE(png.ok()) << name;
    EXPECT_EQ(checkPage(png, kPages[i], red), "") << kPages[i].name;
    // Keep the pictures for a look when asked to.
    if (const char* keep = std::getenv("ZEP_KEEP_PICTURES")) fs::copy_file(dir.path() / name, fs::path(keep) / name, fs::copy_options::overwrite_existing);
  }
  EXPECT_FALSE(fs::exists(dir.path() / "zep_0006.png"));
}

}  // namespace
