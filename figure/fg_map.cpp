// Maps that fit: a projection and a lon/lat box (or the globe) become the map
// pole, the longitude and latitude limits, the standard parallels and the
// similarity that make the map fill its viewport with its own aspect. The
// extent of the projected map is measured by projecting the box, so every
// projection of the table fits the same way.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include <zep/zep.hpp>

#include "figure/fg_internal.hpp"
#include "graphics/transform_queries.hpp"
#include "primitives/figure_text.hpp"

namespace zep {
namespace figure {
namespace {

constexpr float kChoose = 999.0F;

bool cylindricalFamily(int itr) { return (itr >= 10 && itr <= 19) || itr == 24; }
bool conic(int itr) { return itr >= 20 && itr <= 23; }
bool azimuthal(int itr) { return itr >= 30 && itr <= 34; }
bool mapNumber(int itr) { return cylindricalFamily(itr) || conic(itr) || azimuthal(itr); }

// Angular distance in degrees between two points given in degrees.
double distance(double lon1, double lat1, double lon2, double lat2) {
  constexpr double d = std::numbers::pi / 180.0;
  const double c = std::sin(lat1 * d) * std::sin(lat2 * d) + std::cos(lat1 * d) * std::cos(lat2 * d) * std::cos((lon1 - lon2) * d);
  return std::acos(std::clamp(c, -1.0, 1.0)) / d;
}

struct Setup {
  float plx = 0, ply = 90, stlat1 = 0, stlat2 = 0;
  float txmin = -180, txmax = 180, tymin = -90, tymax = 90;
};

Setup chooseSetup(const MapRequest& m) {
  Setup s;
  const bool allLongitudes = m.lonmax - m.lonmin >= 359.99F;
  const bool globe = allLongitudes && m.latmin <= -89.99F && m.latmax >= 89.99F;
  const float clon = globe ? 0.0F : (m.lonmin + m.lonmax) / 2, clat = (m.latmin + m.latmax) / 2;
  s.plx = clon;
  if (!azimuthal(m.itr)) {
    s.ply = 90;
    s.txmin = allLongitudes ? -180.0F : m.lonmin - clon;
    s.txmax = allLongitudes ? 180.0F : m.lonmax - clon;
    s.tymin = m.latmin;
    s.tymax = m.latmax;
    if (m.itr == 11) {  // Mercator reaches the poles only at infinity
      s.tymin = std::max(s.tymin, -85.0F);
      s.tymax = std::min(s.tymax, 85.0F);
    }
    if (conic(m.itr)) {
      // One standard parallel in the middle of the box, or two at a sixth of
      // its height from its edges; never the degenerate equator.
      const float span = m.latmax - m.latmin;
      const float mid = globe ? 45.0F : clat;
      const float one = std::abs(mid) < 10.0F ? std::copysign(10.0F, mid == 0 ? 1.0F : mid) : mid;
      s.stlat1 = one;
      s.stlat2 = one;
      if (m.itr == 22) {
        s.stlat1 = globe ? 30.0F : m.latmin + span / 6;
        s.stlat2 = globe ? 60.0F : m.latmax - span / 6;
        if (std::abs(s.stlat1 + s.stlat2) < 1.0F) s.stlat1 = s.stlat2 = one;
      }
    }
  } else {
    // Azimuthal maps centre on the box (or on the pole it touches); their
    // limit is a cap around the centre that holds the box.
    const bool north = m.latmax >= 89.99F, south = m.latmin <= -89.99F;
    if (globe) {
      s.ply = m.itr == 30 ? 0.0F : 90.0F;
    } else if (north != south) {
      s.ply = north ? 90.0F : -90.0F;
    } else {
      s.ply = clat;
    }
    double reach = 0;
    if (!globe) {
      for (int i = 0; i <= 36; ++i) {
        const double lon = m.lonmin + (m.lonmax - m.lonmin) * i / 36.0;
        const double lat = m.latmin + (m.latmax - m.latmin) * i / 36.0;
        reach = std::max({reach, distance(s.plx, s.ply, lon, m.latmin), distance(s.plx, s.ply, lon, m.latmax),
                          distance(s.plx, s.ply, m.lonmin, lat), distance(s.plx, s.ply, m.lonmax, lat)});
      }
    } else {
      reach = 180;
    }
    // The farthest each projection shows: a hemisphere (orthographic, polar
    // stereographic), 60 degrees (gnomonic), the whole sphere less its antipode.
    const double limit = m.itr == 30 || m.itr == 31 ? 90.0 : m.itr == 34 ? 60.0 : 179.0;
    s.tymin = static_cast<float>(90.0 - std::min(reach, limit));
  }
  if (m.plx != kChoose) s.plx = m.plx;
  if (m.ply != kChoose) s.ply = m.ply;
  if (m.stlat1 != kChoose) s.stlat1 = m.stlat1;
  if (m.stlat2 != kChoose) s.stlat2 = m.stlat2;
  return s;
}

struct Extent {
  double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
  bool empty() const { return !(x1 > x0 && y1 > y0); }
};

// The extent in V of the map area (T limits) under the finalized transformation.
Extent measure(const Setup& s) {
  float rundef = 0;
  glrget("RUNDEF", rundef);
  constexpr double d = std::numbers::pi / 180.0;
  Extent e;
  const auto add = [&](double tx, double ty) {
    float vx = 0, vy = 0;
    stftrn(static_cast<float>(tx * d), static_cast<float>(ty * d), vx, vy);
    if (vx == rundef || vy == rundef || !std::isfinite(vx) || !std::isfinite(vy)) return;
    e.x0 = std::min(e.x0, static_cast<double>(vx));
    e.x1 = std::max(e.x1, static_cast<double>(vx));
    e.y0 = std::min(e.y0, static_cast<double>(vy));
    e.y1 = std::max(e.y1, static_cast<double>(vy));
  };
  // Edges finely, the inside coarsely: outlines bulge anywhere along an edge.
  constexpr int kEdge = 720, kInside = 48;
  // Limits just inside the edges, where the projections are still regular.
  const double tx0 = s.txmin + 1e-4, tx1 = s.txmax - 1e-4, ty0 = s.tymin + 1e-4, ty1 = s.tymax - 1e-4;
  for (int i = 0; i <= kEdge; ++i) {
    const double f = static_cast<double>(i) / kEdge;
    add(tx0 + (tx1 - tx0) * f, ty0);
    add(tx0 + (tx1 - tx0) * f, ty1);
    add(tx0, ty0 + (ty1 - ty0) * f);
    add(tx1, ty0 + (ty1 - ty0) * f);
  }
  for (int i = 0; i <= kInside; ++i)
    for (int j = 0; j <= kInside; ++j)
      add(tx0 + (tx1 - tx0) * i / kInside, ty0 + (ty1 - ty0) * j / kInside);
  return e;
}

}  // namespace

FrameRoom mapRoom() {
  float h = 0.02F, gap = 0.008F;
  axrget("RLABEL", h);
  axrget("RGAP", gap);
  bool labels = true;
  axlget("LGRLBL", labels);
  if (!labels) return {gap, gap, gap, gap};
  std::string degree(16, ' ');
  axcget("CDEG", degree);
  while (!degree.empty() && degree.back() == ' ') degree.pop_back();
  const float side = 2 * gap + figure_text::width("180" + degree + "W", h, "FGSTRF");
  const float below = 2 * gap + 1.4F * h;
  return {side, side, below, below};
}

void placeMap(const Rect& region) {
  State& st = state();
  const MapRequest& m = st.map;
  const Setup s = chooseSetup(m);
  // First the map at unit scale around the region's centre, to measure it.
  sgstrn(m.itr);
  sgsvpt(region.x0, region.x1, region.y0, region.y1);
  sgsmpl(s.plx, s.ply, 0);
  sgstxy(s.txmin, s.txmax, s.tymin, s.tymax);
  sgrset("STLAT1", s.stlat1);
  sgrset("STLAT2", s.stlat2);
  sgssim(1, 0, 0);
  // At unit scale the map may well miss the region: that is what is measured.
  transform::setMapCoverageCheck(false);
  sgstrf();
  transform::setMapCoverageCheck(true);
  const Extent e = measure(s);
  if (e.empty()) {
    msgdmp("W", "FGSTRF", "THE MAP OF ITR = " + std::to_string(m.itr) + " HAS NO AREA OVER ITS BOX; NOT SCALED.");
    return;
  }
  // Then scaled to fill the region with its own aspect, centred.
  const double w = e.x1 - e.x0, h = e.y1 - e.y0;
  const double scale = std::min(region.width() / w, region.height() / h);
  const double vw = w * scale, vh = h * scale;
  const double cx = (region.x0 + region.x1) / 2.0, cy = (region.y0 + region.y1) / 2.0;
  const Rect vp{static_cast<float>(cx - vw / 2), static_cast<float>(cx + vw / 2), static_cast<float>(cy - vh / 2),
                static_cast<float>(cy + vh / 2)};
  // At unit scale V = centre of the region + projected point: the middle of
  // the extent goes to the middle of the new viewport.
  const double mx = (e.x0 + e.x1) / 2 - cx, my = (e.y0 + e.y1) / 2 - cy;
  sgsvpt(vp.x0, vp.x1, vp.y0, vp.y1);
  sgssim(static_cast<float>(scale), static_cast<float>(-mx * scale), static_cast<float>(-my * scale));
  sgstrf();
}

}  // namespace figure

void fgsmap(int itr, float lonmin, float lonmax, float latmin, float latmax) {
  figure::ensureFrame();
  figure::State& s = figure::state();
  if (!figure::mapNumber(itr)) {
    msgdmp("E", "FGSMAP", "ITR = " + std::to_string(itr) + " IS NOT A MAP PROJECTION (10-24, 30-34).");
    return;
  }
  const bool finite = std::isfinite(lonmin) && std::isfinite(lonmax) && std::isfinite(latmin) && std::isfinite(latmax);
  if (!finite || !(lonmax > lonmin) || lonmax - lonmin > 360.0F || !(latmax > latmin) || latmin < -90.0F ||
      latmax > 90.0F) {
    msgdmp("E", "FGSMAP", "THE LON/LAT BOX IS INVALID (LONMIN < LONMAX WITHIN 360, -90 <= LATMIN < LATMAX <= 90).");
    return;
  }
  const figure::MapRequest keep = s.override;
  s.map = keep;
  s.map.set = true;
  s.map.itr = itr;
  s.map.lonmin = lonmin;
  s.map.lonmax = lonmax;
  s.map.latmin = latmin;
  s.map.latmax = latmax;
}

void fgsmpc(float plx, float ply, float stlat1, float stlat2) {
  figure::ensureFrame();
  figure::State& s = figure::state();
  s.override.plx = plx;
  s.override.ply = ply;
  s.override.stlat1 = stlat1;
  s.override.stlat2 = stlat2;
  // Also for a map already asked for in this frame.
  s.map.plx = plx;
  s.map.ply = ply;
  s.map.stlat1 = stlat1;
  s.map.stlat2 = stlat2;
}

}  // namespace zep
