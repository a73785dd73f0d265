// The Earth on maps, checked by pixels: continents are land and oceans water on
// every kind of projection and pole, lakes are water inside land, the land
// area measured on an equal-area map is the Earth's, and fills show no seam
// where the database's bins meet (PNG and PDF).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "geography/ge_database.hpp"
#include "support/page_pixels.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::Png;

constexpr int kLand = 4999, kWater = 3999;  // green and blue, solid

struct Place {
  const char* name;
  float lon, lat;
  bool land;
};

const Place kPlaces[] = {
    {"AFRICA", 20, 0, true},           {"ASIA", 100, 40, true},           {"NORTH AMERICA", -100, 45, true},
    {"AUSTRALIA", 133, -20, true},     {"ANTARCTICA", 0, -80, true},      {"SOUTH POLE", 45, -89.5F, true},
    {"SOUTH AMERICA", -60, -10, true}, {"GREENLAND", -40, 72, true},      {"PACIFIC", -160, 0, false},
    {"NORTH ATLANTIC", -40, 30, false}, {"SOUTH ATLANTIC", -15, -30, false}, {"INDIAN OCEAN", 80, -20, false},
    {"ARCTIC OCEAN", 0, 88, false},    {"LAKE VICTORIA", 33, -1, false},   {"CASPIAN SEA", 51.5F, 39, false},
};

struct MapPage {
  const char* name;
  int itr;
  float simfac, plx, ply, tymin;
  float txhalf = 180, tymax = 90;  // a window of T: longitudes -txhalf..txhalf
};

void setMap(const MapPage& m) {
  zep::sgsvpt(0.02F, 0.98F, 0.02F, 0.98F);
  zep::sgssim(m.simfac, 0, 0);
  zep::sgsmpl(m.plx, m.ply, 0);
  zep::sgstxy(-m.txhalf, m.txhalf, m.tymin, m.tymax);
  zep::sgstrn(m.itr);
  zep::sgstrf();
}

// Whether a place lies on the drawn part of the map: in the viewport and
// within the latitudes of T (the far side of an orthographic view, the other
// hemisphere of a polar view, are not drawn).
bool onMap(const MapPage& m, const Place& p, zeptest::PagePixel& at) {
  at = zeptest::pixelOfU(p.lon, p.lat);
  float ux = 0, uy = 0, tx = 0, ty = 0;
  zep::stfrad(p.lon, p.lat, ux, uy);
  zep::stfrot(ux, uy, tx, ty);
  return at.onMap && ty * 180 / 3.14159265F > m.tymin + 5;
}

// Draws the background with land and water tones on one page per map and
// returns what disagrees with the places' kind.
std::string checkPlaces(const std::vector<MapPage>& maps, int& probed, std::span<const Place> places = kPlaces) {
  zeptest::TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::geiset("ITPLND", kLand);
  zep::geiset("ITPWTR", kWater);
  zep::gelset("LCOAST", false);
  zep::sgopn(2);
  std::vector<std::vector<std::pair<const Place*, zeptest::PagePixel>>> probes;
  for (const MapPage& m : maps) {
    zep::sgfrm();
    setMap(m);
    zep::gebkgd();
    probes.emplace_back();
    for (const Place& p : places) {
      zeptest::PagePixel at;
      if (onMap(m, p, at)) probes.back().emplace_back(&p, at);
    }
  }
  zep::sgcls();
  const std::uint32_t land = zeptest::colourOf(4), water = zeptest::colourOf(3);
  std::string failure;
  probed = 0;
  for (std::size_t k = 0; k < maps.size(); ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "zep_%04zu.png", k + 1);
    const Png png(dir.path() / name);
    if (!png.ok()) return std::string("no page ") + name;
    for (const auto& [place, at] : probes[k]) {
      ++probed;
      const std::uint32_t c = png.pixel(at.x, at.y);
      if (c != (place->land ? land : water))
        failure += std::string(maps[k].name) + ": " + place->name + (c == land ? " is land; " : c == water ? " is water; " : " is neither; ");
    }
  }
  return failure;
}

TEST(GeographyMaps, ContinentsAreLandAndOceansWaterOnEveryKindOfMap) {
  ZEP_EXPECT_ISOLATED([] {
    const std::vector<MapPage> maps = {
        {"MOLLWEIDE", 12, 0.17F, 0, 90, -90},
        {"ROBINSON", 17, 0.175F, 0, 90, -90},
        {"ORTHOGRAPHIC", 30, 0.45F, 60, 20, 0},
        {"NORTH POLAR STEREOGRAPHIC", 31, 0.23F, 0, 90, 0},
        {"SOUTH POLAR STEREOGRAPHIC", 31, 0.23F, 0, -90, 0},
        {"SOUTH POLE ORTHOGRAPHIC", 30, 0.45F, 0, -90, 0},
        {"ROTATED POLE MOLLWEIDE", 12, 0.17F, -30, 50, -90},
    };
    int probed = 0;
    std::string failure = checkPlaces(maps, probed);
    // Every place is looked at on several maps (15 places, 7 maps).
    if (probed < 60) failure += "only " + std::to_string(probed) + " places on the maps";
    return failure;
  });
}

// A window of a map centred away from 0 degrees takes only the lines it
// shows: those picked by the wrong longitudes would leave its land as water.
TEST(GeographyMaps, WindowsOfMapsCentredEastAndWestShowTheirLand) {
  ZEP_EXPECT_ISOLATED([] {
    // 30 degrees either side of 135 E and of 100 W, from 10 to 60 N.
    const Place east[] = {{"HONSHU", 138.5F, 36.2F, true},     {"KOREA", 127.5F, 37, true},
                          {"MONGOLIA", 110, 45, true},         {"SEA OF JAPAN", 134, 40, false},
                          {"PACIFIC", 150, 25, false},         {"PHILIPPINE SEA", 130, 20, false}};
    const Place west[] = {{"KANSAS", -100, 38.5F, true},  {"GEORGIA", -83.5F, 32.5F, true}, {"MEXICO", -102, 22, true},
                          {"PACIFIC", -125, 30, false},   {"ATLANTIC", -72, 32, false},     {"GULF OF MEXICO", -90, 25, false}};
    std::string failure;
    for (const auto& [plx, places] : {std::pair{135.0F, std::span<const Place>(east)}, std::pair{-100.0F, std::span<const Place>(west)}}) {
      int probed = 0;
      failure += checkPlaces({{"WINDOW", 12, 0.55F, plx, 90, 10, 30, 60}}, probed, places);
      if (probed != 6) failure += "only " + std::to_string(probed) + " places on the map centred at " + std::to_string(plx) + "; ";
    }
    return failure;
  });
}

// Points closer than GE STEPMN on the map are dropped: at the default step
// the page is the one every point gives, but for the shading of a few edge
// pixels; a step of several pixels shows.
TEST(GeographyMaps, DroppingPointsCloserThanAStepKeepsThePicture) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::geiset("ITPLND", kLand);
    zep::geiset("ITPWTR", kWater);
    zep::sgopn(2);
    for (const float step : {0.0F, 5e-4F, 5e-3F}) {
      zep::gerset("STEPMN", step);
      zep::sgfrm();
      setMap({"MOLLWEIDE", 12, 0.17F, 0, 90, -90});
      zep::gebkgd();
    }
    zep::sgcls();
    const Png all(dir.path() / "zep_0001.png"), thinned(dir.path() / "zep_0002.png"), coarse(dir.path() / "zep_0003.png");
    if (!all.ok() || !thinned.ok() || !coarse.ok()) return std::string("no pages");
    const auto differing = [&](const Png& other) {
      int n = 0;
      for (int y = 0; y < all.height(); ++y)
        for (int x = 0; x < all.width(); ++x) {
          const std::uint32_t a = all.pixel(x, y), b = other.pixel(x, y);
          int most = 0;
          for (int shift : {0, 8, 16}) most = std::max(most, std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)));
          n += most > 96;
        }
      return n;
    };
    // V spans at most the page's 904 pixels: the default step is under half
    // a pixel and changes hardly a pixel by more than a shade; 5e-3 V moves
    // shores by pixels.
    const int fine = differing(thinned), rough = differing(coarse);
    if (rough < 200) return "a step of five pixels changed only " + std::to_string(rough) + " pixels";
    if (fine * 20 > rough) return std::to_string(fine) + " pixels changed at the default step (" + std::to_string(rough) + " at 5e-3 V)";
    return std::string();
  });
}

// Area of a ring on the sphere of 6371 km (longitudes followed the shorter
// way): the sum of the trapezoids between each edge and the pole.
double ringArea(const zep::geography::Line& l) {
  const double r = 6371.0, d = 3.14159265358979323846 / 180;
  double a = 0;
  for (std::size_t i = 0, n = l.lon.size(); i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    const double dl = std::remainder(static_cast<double>(l.lon[j]) - l.lon[i], 360.0);
    a += dl * d * (2 + std::sin(l.lat[i] * d) + std::sin(l.lat[j] * d));
  }
  return std::fabs(a) / 2 * r * r;
}

TEST(GeographyMaps, BinPiecesJoinIntoRingsThatEncloseTheEarthsLand) {
  for (char res : {'c', 'l', 'i'}) {
    zep::geography::Dataset d;
    std::string problem;
    const std::string path = "/usr/share/gmt-gshhg/" + zep::geography::fileName(zep::geography::Kind::Shore, res);
    ASSERT_TRUE(zep::geography::readDataset(path, zep::geography::Kind::Shore, d, problem)) << problem;
    EXPECT_EQ(d.openRings, 0) << res;
    EXPECT_EQ(d.lines.size(), d.polygonArea.size()) << res;  // one ring per polygon of the file
    double land = 0, withoutLakes = 0;
    for (const auto& l : d.lines) {
      if (l.antarctic == 2) continue;  // the grounding-line Antarctica
      const double a = ringArea(l);
      if (l.level == 1) land += a;
      withoutLakes += l.level % 2 == 1 ? a : -a;
      // The file's own figure for the polygon, for the big ones.
      if (d.polygonArea[static_cast<std::size_t>(l.polygon)] > 1e6) {
        EXPECT_NEAR(a / d.polygonArea[static_cast<std::size_t>(l.polygon)], 1.0, res == 'c' ? 0.04 : 0.012) << res << " " << l.polygon;
      }
    }
    // The Earth's land, 1.49e8 km2 with Antarctica (1.486e8 at low resolution).
    EXPECT_NEAR(land / 1.49e8, 1.0, 0.01) << res;
    EXPECT_NEAR(withoutLakes / land, 0.987, 0.004) << res;  // lakes take some 1.3 percent
  }
}

TEST(GeographyMaps, LandAreaOnAnEqualAreaMapIsTheEarths) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::geiset("ITPLND", kLand);
    zep::geiset("ITPWTR", kWater);
    zep::geiset("LEVELC", 1);
    zep::gerset("AREAMN", 0);
    zep::gelset("LCOAST", false);
    zep::sgopn(2);
    zep::sgfrm();
    setMap({"MOLLWEIDE", 12, 0.17F, 0, 90, -90});
    zep::gebkgd();
    zep::sgcls();
    const Png png(dir.path() / "zep_0001.png");
    if (!png.ok()) return std::string("no page");
    const std::uint32_t land = zeptest::colourOf(4), water = zeptest::colourOf(3);
    double nLand = 0, nWater = 0, nEdge = 0;
    for (int y = 0; y < png.height(); ++y)
      for (int x = 0; x < png.width(); ++x) {
        const std::uint32_t c = png.pixel(x, y);
        if (c == land) ++nLand;
        else if (c == water) ++nWater;
        else if (c != 0xffffff) ++nEdge;  // antialiased shore: half and half
      }
    const double earth = 4 * 3.14159265358979323846 * 6371.0 * 6371.0;
    const double area = (nLand + nEdge / 2) / (nLand + nWater + nEdge) * earth;
    if (std::fabs(area / 1.486e8 - 1) > 0.015) return "land covers " + std::to_string(area) + " km2";
    return std::string();
  });
}

// Every pixel inside a viewport that shows only land has the land colour: no
// lighter line where bins meet (20 E and 10 N are edges of the low-resolution bins).
std::string seamless(const Png& png, std::uint32_t land) {
  int x0 = png.width(), x1 = -1, y0 = png.height(), y1 = -1;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if (png.pixel(x, y) == land) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  if (x1 - x0 < 100 || y1 - y0 < 100) return "no land area";
  int other = 0;
  for (int y = y0 + 2; y <= y1 - 2; ++y)
    for (int x = x0 + 2; x <= x1 - 2; ++x) other += png.pixel(x, y) != land;
  return other == 0 ? std::string() : std::to_string(other) + " pixels that are not land";
}

TEST(GeographyMaps, LandAcrossBinEdgesHasNoSeamOnPngOrPdf) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    std::string failure;
    for (int ifl : {1, 4}) {
      zep::swiset("IFL", ifl);
      zep::geiset("ITPLND", kLand);
      zep::gelset("LCOAST", false);
      zep::geiset("LEVELC", 1);  // no lakes: land only in the window
      zep::gecset("CRES", "l");
      zep::sgopn(2);
      zep::sgfrm();
      // Sudan, Chad and the Central African Republic: land only.
      const float d = 3.14159265F / 180;
      zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
      zep::sgscwd(18 * d, 28 * d, 5 * d, 15 * d);
      zep::sgsmpl(0, 90, 0);
      zep::sgstxy(-180, 180, -90, 90);
      zep::sgstrn(10);
      zep::sgstrf();
      zep::sglset("LCLIP", true);
      zep::gebkgd();
      zep::sgcls();
      if (ifl == 1) {
        const Png png(dir.path() / "zep_0001.png");
        if (const std::string s = seamless(png, zeptest::colourOf(4)); !s.empty()) failure += "PNG: " + s + "; ";
      } else {
        if (std::system("pdftoppm -r 600 -png -singlefile zep.pdf page600 2>/dev/null") != 0) return std::string("pdftoppm failed");
        const Png png(dir.path() / "page600.png");
        if (const std::string s = seamless(png, zeptest::colourOf(4)); !s.empty()) failure += "PDF at 600 dpi: " + s;
      }
    }
    return failure;
  });
}

}  // namespace
