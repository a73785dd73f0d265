// Lines on maps whose ends reach a pole: the pole has no longitude of its own,
// so a meridian that ends at the pole opposite the map's centre must stay on
// its meridian rather than run along the circle that pole becomes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Drawn {
  bool move;
  double x, y;
};

// The pen's path on the workstation, from the recording driver's log.
std::vector<Drawn> path() {
  std::vector<Drawn> out;
  for (const std::string& call : zeptest::driverLog()) {
    double x = 0, y = 0;
    if (std::sscanf(call.c_str(), "gmov(%lf,%lf)", &x, &y) == 2) out.push_back({true, x, y});
    else if (std::sscanf(call.c_str(), "gplt(%lf,%lf)", &x, &y) == 2) out.push_back({false, x, y});
  }
  return out;
}

// Where a U point lands on the workstation.
void onWorkstation(float ux, float uy, double& wx, double& wy) {
  float vx = 0, vy = 0, x = 0, y = 0;
  zep::stftrf(ux, uy, vx, vy);
  zep::stfwtr(vx, vy, x, y);
  wx = x;
  wy = y;
}

// The direction of a workstation point seen from the map's centre, in degrees.
double bearing(double cx, double cy, double x, double y) { return std::atan2(y - cy, x - cx) * 180 / kPi; }

TEST(MapLines, MeridiansToTheOppositePoleStayOnTheirMeridians) {
  // Azimuthal maps on the south pole showing the whole globe (the north pole
  // is their outer circle) and the orthographic map, where it is the centre.
  for (int itr : {31, 32, 33, 34, 30}) {
    SCOPED_TRACE(itr);
    ZEP_EXPECT_ISOLATED([itr] {
      zeptest::openRecordedSession();
      zep::sgssim(itr == 31 ? 0.05F : 0.1F, 0, 0);
      zep::sgsmpl(0, -90, 0);
      zep::sgstxy(-180, 180, itr == 34 ? 10 : -90, 90);
      zep::sgstrn(itr);
      zep::sgstrf();
      zep::sglset("LCLIP", true);
      double cx = 0, cy = 0;
      onWorkstation(0, -90, cx, cy);
      std::string failure;
      for (int l = -150; l <= 180; l += 30) {
        // Up to the pole, down from it, and a polyline over it.
        for (int way = 0; way < 3; ++way) {
          zeptest::driverLog().clear();
          const auto lon = static_cast<float>(l);
          if (way == 0) zep::sglnu(lon, -60, lon, 90);
          if (way == 1) zep::sglnu(lon, 90, lon, -60);
          const float px[] = {lon, lon, lon + 90};
          const float py[] = {-60, 90, -60};
          if (way == 2) zep::sgplu(3, px, py);
          double ex = 0, ey = 0, fx = 0, fy = 0;
          onWorkstation(lon, 0, ex, ey);
          onWorkstation(lon + 90, 0, fx, fy);
          const double want = bearing(cx, cy, ex, ey), other = bearing(cx, cy, fx, fy);
          const std::vector<Drawn> pen = path();
          for (std::size_t i = 0; i < pen.size(); ++i) {
            // Only the ends of what is drawn count; a move that another move
            // follows leaves no ink.
            const Drawn& d = pen[i];
            if (d.move && (i + 1 == pen.size() || pen[i + 1].move)) continue;
            if (std::hypot(d.x - cx, d.y - cy) < 3) continue;
            const double b = bearing(cx, cy, d.x, d.y);
            auto off = [b](double w) { return std::fabs(std::remainder(b - w, 360.0)); };
            if (off(want) > 1 && (way < 2 || off(other) > 1)) {
              char text[160];
              std::snprintf(text, sizeof text, "way %d at %d: point (%.1f, %.1f) bears %.1f, not %.1f\n", way, l, d.x,
                            d.y, b, want);
              failure += text;
              break;
            }
          }
        }
      }
      zep::sgcls();
      return failure;
    });
  }
}

TEST(MapLines, PoleToPoleSegmentsFollowTheirMeridianWhenThePoleIsMoved) {
  // Cylindrical maps turned upside down and tilted: a meridian from pole to
  // pole in one segment lies on the meridian it was given, which passes the
  // equator where the transformation puts (lon, 0).
  for (float ply : {-90.0F, 40.0F}) {
    SCOPED_TRACE(ply);
    ZEP_EXPECT_ISOLATED([ply] {
      zeptest::openRecordedSession();
      zep::sgssim(0.12F, 0, 0);
      zep::sgsmpl(0, ply, 0);
      zep::sgstrn(10);
      zep::sgstrf();
      std::string failure;
      for (int l = -150; l <= 150; l += 60) {
        zeptest::driverLog().clear();
        const auto lon = static_cast<float>(l);
        zep::sglnu(lon, -90, lon, 90);
        // The meridian's points, to compare the drawn ends with.
        std::vector<std::array<double, 2>> line;
        for (int lat = -90; lat <= 90; ++lat) {
          double wx = 0, wy = 0;
          onWorkstation(lon, static_cast<float>(lat), wx, wy);
          line.push_back({wx, wy});
        }
        for (const Drawn& d : path()) {
          if (d.move) continue;
          double best = 1e9;
          for (const auto& q : line) best = std::min(best, std::hypot(d.x - q[0], d.y - q[1]));
          if (best > 4) {
            failure += "meridian " + std::to_string(l) + ": a point " + std::to_string(best) + " away\n";
            break;
          }
        }
      }
      zep::sgcls();
      return failure;
    });
  }
}

}  // namespace
