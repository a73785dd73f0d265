// Drawing contours: labels on the chosen levels, dashed negative levels, and
// the caller's label settings left as they were.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;

// A cone around the middle of the unit window, from -0.35 to 0.35.
std::vector<float> cone(int n) {
  std::vector<float> z;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const float x = static_cast<float>(i) / static_cast<float>(n - 1) - 0.5F;
      const float y = static_cast<float>(j) / static_cast<float>(n - 1) - 0.5F;
      z.push_back(std::hypot(x, y) - 0.35F);
    }
  return z;
}

// Texts that reached the system-font entry, in order.
std::vector<std::string> drawnTexts() { return zeptest::systemFontTexts(); }

TEST(ContourDrawing, LabelsSitOnTheChosenLevelsOnly) {
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::swlset("SYSFONT", true);
        zep::sgrset("CWL", 8.0F);
        const std::vector<float> z = cone(41);
        zep::cnsfld(41, 41, z.data(), nullptr, nullptr);
        zep::cnslvi(0.1F, 0.0F);  // -0.3 .. 0.3; labelled: -0.2, 0.0, 0.2
        driverLog().clear();
        zep::cnlinu();
        const std::vector<std::string> texts = drawnTexts();
        std::set<std::string> seen(texts.begin(), texts.end());
        bool lchar = true;
        zep::sglget("LCHAR", lchar);
        std::string problem;
        if (seen != std::set<std::string>{"-0.2", "0.0", "0.2"}) {
          problem += "labels:";
          for (const std::string& t : seen) problem += " " + t;
        }
        if (lchar) problem += " LCHAR left on";
        // Labelling off draws the same lines without a text.
        zep::cnlset("LLABEL", false);
        zep::cnslvi(0.1F, 0.0F);
        driverLog().clear();
        zep::cnlinu();
        if (!drawnTexts().empty()) problem += " labels with LLABEL off";
        std::fputs(problem.c_str(), stderr);
        std::exit(problem.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(ContourDrawing, NegativeLevelsAreDashedAndIndexZeroDrawsNothing) {
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::cnlset("LLABEL", false);
        const std::vector<float> z = cone(41);
        zep::cnsfld(41, 41, z.data(), nullptr, nullptr);
        const float one[] = {-0.2F};
        const float other[] = {0.1F};
        auto moves = [] {
          int m = 0;
          for (const std::string& s : driverLog()) m += s.rfind("gmov", 0) == 0;
          return m;
        };
        std::string problem;
        zep::cnslvl(1, one);
        driverLog().clear();
        zep::cnlinu();
        const int dashedMoves = moves();
        zep::cnslvl(1, other);
        driverLog().clear();
        zep::cnlinu();
        const int solidMoves = moves();
        // A dashed circle is many pieces; a solid one a single stroke.
        if (solidMoves != 1 || dashedMoves < 10)
          problem += "moves " + std::to_string(solidMoves) + " / " + std::to_string(dashedMoves);
        zep::cnslat(1, 0, 1, false);
        driverLog().clear();
        zep::cnlinu();
        if (moves() != 0) problem += " index 0 drew";
        std::fputs(problem.c_str(), stderr);
        std::exit(problem.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace

namespace {

namespace fs = std::filesystem;

// One frame on a 900 x 650 page (2-pixel border): the centred square 650 x 650.
double pixelX(double vx) { return 2 + 125 + 650 * vx; }
double pixelY(double vy) { return 2 + 650 - 650 * vy; }

// Draws one page with `draw` into a PNG in the sequential colormap (no white in
// it) and counts the white pixels whose centres `inside` accepts.
int whiteInside(const std::function<void()>& draw, const std::function<bool(double, double)>& inside, int* covered) {
  zeptest::TempWorkDir dir;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::swiset("ICLRMAP", 5);
  zep::sgopn(2);
  zep::sgfrm();
  draw();
  zep::sgcls();
  zep::swiset("ICLRMAP", 1);
  const zeptest::Png png(dir.path() / "zep_0001.png");
  if (!png.ok()) return -1;
  int white = 0, in = 0;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x) {
      if (!inside(x + 0.5, y + 0.5)) continue;
      ++in;
      if (png.pixel(x, y) == 0xffffffu) ++white;
    }
  if (covered != nullptr) *covered = in;
  return white;
}

// The whole globe on a Mollweide map centred on 0 degrees, at scale s.
void globalMollweide(double s) {
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgssim(static_cast<float>(s), 0, 0);
  zep::sgsmpl(0, 90, 0);
  zep::sgstxy(-180, 180, -90, 90);
  zep::sgstrn(12);
  zep::sgstrf();
}

std::vector<float> randomField(int nx, int ny, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> u(-1, 1);
  std::vector<float> z;
  for (int k = 0; k < nx * ny; ++k) z.push_back(u(rng));
  return z;
}

TEST(ContourPictures, BandsOfARandomFieldLeaveNoPixelUncovered) {
  // Linear axes: the grid fills the viewport [0.1, 0.9]^2.
  const std::vector<float> z = randomField(31, 23, 7);
  auto inViewport = [](double x, double y) {
    return x > pixelX(0.1) + 2 && x < pixelX(0.9) - 2 && y > pixelY(0.9) + 2 && y < pixelY(0.1) - 2;
  };
  for (int mode = 0; mode < 2; ++mode) {
    int covered = 0;
    const int white = whiteInside(
        [&] {
          zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
          zep::sgswnd(0, 1, 0, 1);
          zep::sgstrn(1);
          zep::sgstrf();
          zep::cnsfld(31, 23, z.data(), nullptr, nullptr);
          zep::cnslva();
          if (mode == 0) zep::cnshdu(); else zep::cncelu();
        },
        inViewport, &covered);
    EXPECT_GT(covered, 250000);
    EXPECT_EQ(white, 0) << (mode == 0 ? "bands" : "cells as an image");
  }
  // The same on the whole globe in the Mollweide projection: bands cross the
  // seam and close at the poles.
  std::vector<float> lon, lat;
  for (int i = 0; i < 31; ++i) lon.push_back(-180.0F + 12.0F * static_cast<float>(i));
  for (int j = 0; j < 23; ++j) lat.push_back(-90.0F + 180.0F / 22.0F * static_cast<float>(j));
  const double s = 0.15, cx = 0.5, cy = 0.5;
  auto inEllipse = [&](double x, double y) {
    const double a = 2 * std::sqrt(2.0) * s * 650 - 3, b = std::sqrt(2.0) * s * 650 - 3;
    const double dx = (x - pixelX(cx)) / a, dy = (y - pixelY(cy)) / b;
    return dx * dx + dy * dy < 1;
  };
  for (int mode = 0; mode < 2; ++mode) {
    int covered = 0;
    const int white = whiteInside(
        [&] {
          globalMollweide(s);
          zep::cnsfld(31, 23, z.data(), lon.data(), lat.data());
          zep::cnslva();
          if (mode == 0) zep::cnshdu(); else zep::cncelu();
        },
        inEllipse, &covered);
    EXPECT_GT(covered, 50000);
    EXPECT_EQ(white, 0) << (mode == 0 ? "bands on the map" : "cells on the map");
  }
}

// A global model grid (0 .. 357.5 by 2.5) in bands and in cells on a
// Mollweide map centred on 0 degrees: the strip along the zero meridian shows
// band colours only, while a grid that stops 10 degrees short leaves its gap.
TEST(ContourPictures, GlobalGridsLeaveNoSeamAtZeroDegrees) {
  const double s = 0.15, b = std::sqrt(2.0) * s * 650;  // the map's half height in pixels
  auto nearMeridian = [&](double x, double y) {
    const double dy = (y - pixelY(0.5)) / (b - 3);
    return std::fabs(x - pixelX(0.5)) < 4 && dy * dy < 1;
  };
  for (const float last : {357.5F, 350.0F}) {
    const int nx = static_cast<int>(last / 2.5F) + 1;
    const std::vector<float> lon = zep::fglins(0, last, nx), lat = zep::fglins(-90, 90, 73);
    const std::vector<float> z = zep::fgmesh(lon, lat, [](float x, float y) {
      return std::cos(x * 0.0174533F) * std::cos(y * 0.0174533F) + 0.3F * std::sin(y * 0.0174533F);
    });
    for (int mode = 0; mode < 2; ++mode) {
      int covered = 0;
      const int white = whiteInside(
          [&] {
            globalMollweide(s);
            zep::cnsfld(z, lon, lat);
            zep::cnslvi(0.2F, 0);
            if (mode == 0) zep::cnshdu(); else zep::cncelu();
          },
          nearMeridian, &covered);
      EXPECT_GT(covered, 1500);
      if (last == 357.5F) EXPECT_EQ(white, 0) << (mode == 0 ? "bands" : "cells");
      else EXPECT_GT(white, 300) << (mode == 0 ? "bands" : "cells");
    }
  }
}

}  // namespace

namespace {

// Tone numbers of the fills in the log, and the point count of each fill's first ring.
std::vector<std::pair<int, int>> fills() {
  std::vector<std::pair<int, int>> out;
  for (const std::string& s : zeptest::driverLog()) {
    int rings = 0, tone = 0;
    if (std::sscanf(s.c_str(), "gtnm(%d,%d)", &rings, &tone) == 2) out.emplace_back(tone, 0);
  }
  return out;
}

std::string bandsAndBar() {
  zeptest::openRecordedSession();
  zep::swlset("SYSFONT", true);
  zep::sgsvpt(0.1F, 0.7F, 0.1F, 0.9F);
  zep::sgstrf();
  const std::vector<float> z = cone(21);
  zep::cnsfld(21, 21, z.data(), nullptr, nullptr);
  const float levels[] = {-0.2F, -0.1F, 0.0F, 0.1F};
  zep::cnslvl(4, levels);
  std::string problem;
  // Five bands, each one area in its own tone (the indexed colours, asked for
  // by turning the colormap off); band 2 left out on request.
  zep::cnlset("LCMAP", false);
  zep::cnsbdt(2, 0);
  zeptest::driverLog().clear();
  zep::cnshdu();
  std::vector<int> tones;
  for (const auto& f : fills()) tones.push_back(f.first);
  int t0 = 0, t1 = 0, t3 = 0, t4 = 0;
  zep::cnqbdt(0, t0);
  zep::cnqbdt(1, t1);
  zep::cnqbdt(3, t3);
  zep::cnqbdt(4, t4);
  if (tones != std::vector<int>{t0, t1, t3, t4}) problem += "band fills wrong;";
  zep::cnsbdt(2, -1);
  // The bar: five boxes, triangles at the ends when asked, the four levels written.
  zep::cnlset("LBTRI", true);
  zeptest::driverLog().clear();
  zep::cnbarp("R");
  if (fills().size() != 5) problem += " bar fills " + std::to_string(fills().size()) + ";";
  if (zeptest::lastTone().rings.size() != 1 || zeptest::lastTone().rings[0].size() != 3)
    problem += " no triangle at the top;";
  const std::vector<std::string> texts = drawnTexts();
  if (texts != std::vector<std::string>{"-0.2", "-0.1", "0.0", "0.1"}) {
    problem += " bar labels:";
    for (const auto& t : texts) problem += " " + t;
  }
  // Uneven levels are written at their edges all the same.
  const float uneven[] = {-0.3F, -0.25F, 0.1F};
  zep::cnslvl(3, uneven);
  zeptest::driverLog().clear();
  zep::cnbarv(0.1F, 0.9F, 0.02F, 0.06F);
  if (drawnTexts() != std::vector<std::string>{"-0.30", "-0.25", "0.10"}) problem += " uneven bar labels;";
  // A title the caller gave the side is its frame's: the bar draws only its
  // labels and leaves the title as it was.
  zep::cnslvl(4, levels);
  zep::axsttl("R", "DEPTH (M)");
  zeptest::driverLog().clear();
  zep::cnbarp("R");
  if (drawnTexts() != std::vector<std::string>{"-0.2", "-0.1", "0.0", "0.1"}) problem += " side title on the bar;";
  char title[32] = {};
  zep::axqttl("R", title);
  if (std::string(title, sizeof title).rfind("DEPTH (M)", 0) != 0) problem += " side title lost;";
  zep::axsttl("R", "");
  // The viewport and transformation come back as they were.
  float vx0, vx1, vy0, vy1;
  zep::sgqvpt(vx0, vx1, vy0, vy1);
  if (vx0 != 0.1F || vx1 != 0.7F) problem += " viewport changed;";
  return problem;
}

void badSide() {
  const float z[] = {0, 1, 2, 3};
  zep::cnsfld(2, 2, z, nullptr, nullptr);
  zep::cnbarp("X");
}

void emptyBar() {
  const float z[] = {0, 1, 2, 3};
  zep::cnsfld(2, 2, z, nullptr, nullptr);
  zep::cnbarv(0.5F, 0.5F, 0.1F, 0.9F);
}

TEST(ContourDrawing, BandsAndColourBarFillOneAreaPerBand) {
  EXPECT_EXIT(
      {
        const std::string problem = bandsAndBar();
        std::fputs(problem.c_str(), stderr);
        std::exit(problem.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  auto line = [](const char* routine, const char* text) {
    return zeptest::lineRegex(std::string(" ***** ERROR (") + routine + ") ***  " + text);
  };
  EXPECT_EXIT(badSide(),
      testing::KilledBySignal(SIGABRT), line("CNBARP", "SIDE MUST BE R, L, T OR B."));
  EXPECT_EXIT(emptyBar(),
      testing::KilledBySignal(SIGABRT), line("CNBARV", "THE RECTANGLE IS EMPTY."));
}

}  // namespace
