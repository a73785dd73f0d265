// Map frames (outline, graticule and labels where graticule lines leave the map
// or the viewport), polar frames and the index lines of the curvilinear grid.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <zep/axes.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "axes/ax_internal.hpp"
#include "foundation/fixed_text.hpp"
#include "graphics/grid/curvilinear_grid.hpp"

namespace zep {
namespace {

using axes::axInt;
using axes::axLogical;
using axes::axReal;

constexpr double kPi = 3.14159265358979323846;


// The finalized map as the frame sees it.
struct Map {
  int itr = 10;
  float toU = 1;  // degrees to U units
  float txmin = 0, txmax = 0, tymin = 0, tymax = 0;  // T limits in radians
  float vx0 = 0, vx1 = 1, vy0 = 0, vy1 = 1;
  float rundef = -999;
  bool seamIsEdge = true;  // the cut at TXMIN/TXMAX is part of the outline

  Map() {
    sgqtrn(itr);
    bool ldeg = true;
    sglget("LDEG", ldeg);
    toU = ldeg ? 1.0F : static_cast<float>(kPi / 180);
    const float toRad = ldeg ? static_cast<float>(kPi / 180) : 1.0F;
    sgqtxy(txmin, txmax, tymin, tymax);
    txmin *= toRad;
    txmax *= toRad;
    tymin *= toRad;
    tymax *= toRad;
    if (itr == 30) {
      // Only the near hemisphere: the far one is drawn over it.
      float rsat = 0;
      sgrget("RSAT", rsat);
      tymin = std::max(tymin, rsat > 1 ? std::asin(1 / rsat) : 0.0F);
    }
    seamIsEdge = !(itr >= 30 && itr <= 34);
    sgqvpt(vx0, vx1, vy0, vy1);
    glrget("RUNDEF", rundef);
  }

  struct Point {
    float tx, ty, vx, vy;
    bool visible;
  };

  Point atT(float tx, float ty) const {
    Point p{tx, ty, 0, 0, false};
    stftrn(tx, ty, p.vx, p.vy);
    // Generous in T, so that a line along a limit (a parallel on the lowest
    // latitude) counts as inside all along instead of flickering.
    const float t = 1e-4F, e = 1e-5F;
    p.visible = p.vx != rundef && p.vy != rundef && std::isfinite(p.vx) && std::isfinite(p.vy) &&
                tx >= txmin - t && tx <= txmax + t && ty >= tymin - t && ty <= tymax + t && p.vx >= vx0 - e &&
                p.vx <= vx1 + e && p.vy >= vy0 - e && p.vy <= vy1 + e;
    return p;
  }

  // A graticule point in degrees.
  Point at(double lon, double lat) const {
    float xr = 0, yr = 0, tx = 0, ty = 0;
    stfrad(static_cast<float>(lon) * toU, static_cast<float>(lat) * toU, xr, yr);
    stfrot(xr, yr, tx, ty);
    return atT(xmplon(tx), ty);
  }

  // Whether the end of a graticule line lies on the outline: a parallel ends at
  // the cut of the map, a meridian at a limit of latitude.
  bool endsOnEdge(const Point& p, bool parallel) const {
    const float e = 2e-3F;
    if (parallel) return seamIsEdge && (std::fabs(p.tx - txmin) < e || std::fabs(p.tx - txmax) < e);
    return (std::fabs(p.ty - tymin) < e || std::fabs(p.ty - tymax) < e) && !pointedPole(p);
  }

  // The outward normal of the map's edge at a point on it: the viewport's side,
  // or the parallel or cut of T that bounds the map there. False when the point
  // is on no edge or the edge has no direction (a pointed pole).
  bool outward(const Point& p, float& dx, float& dy) const {
    const float ev = 1e-4F * (vx1 - vx0);
    float nx = 0, ny = 0;
    if (std::fabs(p.vx - vx0) < ev) nx -= 1;
    if (std::fabs(p.vx - vx1) < ev) nx += 1;
    if (std::fabs(p.vy - vy0) < ev) ny -= 1;
    if (std::fabs(p.vy - vy1) < ev) ny += 1;
    if (nx == 0 && ny == 0) {
      const float e = 2e-3F, d = 1e-3F;
      Point a{}, b{}, inner{};
      if (std::fabs(p.ty - tymin) < e || std::fabs(p.ty - tymax) < e) {
        a = atT(p.tx - d, p.ty);
        b = atT(p.tx + d, p.ty);
        inner = atT(p.tx, p.ty + (std::fabs(p.ty - tymin) < e ? d : -d));
      } else if (seamIsEdge && (std::fabs(p.tx - txmin) < e || std::fabs(p.tx - txmax) < e)) {
        a = atT(p.tx, p.ty - d);
        b = atT(p.tx, p.ty + d);
        inner = atT(p.tx + (std::fabs(p.tx - txmin) < e ? d : -d), p.ty);
      } else {
        return false;
      }
      nx = -(b.vy - a.vy);
      ny = b.vx - a.vx;
      if (nx * (p.vx - inner.vx) + ny * (p.vy - inner.vy) < 0) {
        nx = -nx;
        ny = -ny;
      }
    }
    const float len = std::hypot(nx, ny);
    if (!(len > 1e-6F * (vx1 - vx0))) return false;
    dx = nx / len;
    dy = ny / len;
    return true;
  }

  // Whether a V point shows the map: inside the viewport and the image of a
  // point of the sphere within the limits (the inverse alone would also answer
  // beyond the outline, where it wraps or extrapolates).
  bool covers(float vx, float vy) const {
    if (!(vx > vx0 && vx < vx1 && vy > vy0 && vy < vy1)) return false;
    float ux = 0, uy = 0;
    stitrf(vx, vy, ux, uy);
    if (ux == rundef || uy == rundef || !std::isfinite(ux) || !std::isfinite(uy)) return false;
    const Point p = at(ux / toU, uy / toU);
    return p.visible && std::hypot(p.vx - vx, p.vy - vy) < 1e-3F * (vx1 - vx0);
  }

  // Whether any of a grid of points over a box shows the map.
  bool coversAnyOf(const axes::LabelBox& b) const {
    constexpr int nx = 12, ny = 6;
    for (int i = 0; i <= nx; ++i)
      for (int j = 0; j <= ny; ++j)
        if (covers(b.x0 + (b.x1 - b.x0) * static_cast<float>(i) / nx, b.y0 + (b.y1 - b.y0) * static_cast<float>(j) / ny))
          return true;
    return false;
  }

  // A pole of T that the projection draws as a single point.
  bool pointedPole(const Point& p) const {
    if (std::fabs(std::fabs(p.ty) - static_cast<float>(kPi / 2)) > 1e-3F) return false;
    const Point a = atT(p.tx - 0.3F, p.ty), b = atT(p.tx + 0.3F, p.ty);
    return std::hypot(a.vx - b.vx, a.vy - b.vy) < 1e-4F * (vx1 - vx0);
  }
};

struct Anchor {
  float vx, vy, dx, dy;
};

// Where a graticule line, given as a function of its parameter s in [s0, s1],
// leaves the map or the viewport, with the outward direction of the line there;
// `endsOnly` keeps the places where it ends at a limit of latitude.
std::vector<Anchor> anchors(const Map& map, const std::function<Map::Point(double)>& line, double s0, double s1,
                            int n, bool parallel, bool endsOnly = false) {
  std::vector<Anchor> out;
  const double ds = (s1 - s0) / n;
  const auto make = [&](const Map::Point& edge, double sEdge, double inward) {
    const Map::Point inner = line(sEdge + inward * ds * 0.25);
    float dx = edge.vx - inner.vx, dy = edge.vy - inner.vy;
    const float len = std::hypot(dx, dy);
    if (!(len > 0) || !inner.visible) return;
    dx /= len;
    dy /= len;
    // Straight out of the map, so that a line that meets the edge at a
    // shallow angle does not put its label on the edge.
    map.outward(edge, dx, dy);
    out.push_back({edge.vx, edge.vy, dx, dy});
  };
  std::vector<Map::Point> p;
  p.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) p.push_back(line(s0 + i * ds));
  if (p.front().visible && map.endsOnEdge(p.front(), parallel)) make(p.front(), s0, 1);
  for (int i = 1; i <= n; ++i) {
    const Map::Point& a = p[static_cast<std::size_t>(i - 1)];
    const Map::Point& b = p[static_cast<std::size_t>(i)];
    const double sa = s0 + (i - 1) * ds;
    if (a.visible != b.visible) {
      // Bisect to the edge, keeping the visible end.
      double lo = sa, hi = sa + ds;  // lo on a's side
      for (int k = 0; k < 30; ++k) {
        const double mid = (lo + hi) / 2;
        if (line(mid).visible == a.visible) lo = mid;
        else hi = mid;
      }
      const double sv = a.visible ? lo : hi;
      const Map::Point edge = line(sv);
      if (!endsOnly || std::fabs(edge.ty - map.tymin) < 2e-3F || std::fabs(edge.ty - map.tymax) < 2e-3F)
        make(edge, sv, a.visible ? -1 : 1);
    } else if (!endsOnly && a.visible && map.seamIsEdge && std::fabs(a.tx - b.tx) > kPi &&
               !(std::fabs(a.tx) > kPi - 1e-3 && std::fabs(b.tx) > kPi - 1e-3)) {
      // (A meridian along the cut flips between its two sides: no crossing.)
      // Across the cut of the map: both sides end at the outline.
      double lo = sa, hi = sa + ds;
      for (int k = 0; k < 30; ++k) {
        const double mid = (lo + hi) / 2;
        if ((line(mid).tx > 0) == (a.tx > 0)) lo = mid;
        else hi = mid;
      }
      make(line(lo), lo, -1);
      make(line(hi), hi, 1);
    }
  }
  if (p.back().visible && map.endsOnEdge(p.back(), parallel)) make(p.back(), s1, -1);
  return out;
}

// Whether two label boxes stand too close to read apart: side by side less
// than half a height between them (drawn strokes reach a little beyond the
// measured width, and two numbers that touch read as one), stacked less than
// a fifth of one, as on the sides of a frame.
bool crowds(const axes::LabelBox& a, const axes::LabelBox& b, float h) {
  const float across = std::max(b.x0 - a.x1, a.x0 - b.x1), upDown = std::max(b.y0 - a.y1, a.y0 - b.y1);
  return across < 0.5F * h && upDown < 0.2F * h;
}

// Places a label beyond an anchor along its direction, clear of the map (where
// the edge bends, a corner or a notch, it goes further out), unless it would
// overlap a label already placed or leave the workstation window. False when
// it found no place.
enum class Placement { Placed, Crowded, OnMap };

Placement placeLabel(const Map& map, const Anchor& a, const std::string& label, float h, float gap, int index) {
  const float w = axes::textWidth(label, h);
  const float bh = 1.1F * h;
  const float reach = gap + std::fabs(a.dx) * w / 2 + std::fabs(a.dy) * bh / 2;
  float rx0 = 0, rx1 = 0, ry0 = 0, ry1 = 0, wx0 = 0, wx1 = 0, wy0 = 0, wy1 = 0;
  int iwtrf = 0;
  stqwtr(rx0, rx1, ry0, ry1, wx0, wx1, wy0, wy1, iwtrf);
  for (float extra = 0; extra <= 3 * h + 1e-6F; extra += h / 4) {
    const float cx = a.vx + a.dx * (reach + extra), cy = a.vy + a.dy * (reach + extra);
    axes::LabelBox box{cx - w / 2, cx + w / 2, cy - bh / 2, cy + bh / 2, label};
    // A label beyond the workstation window would be cut off: leave it out.
    float bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
    stfpr2(box.x0, box.y0, bx0, by0);
    stfpr2(box.x1, box.y1, bx1, by1);
    if (std::min(bx0, bx1) < rx0 || std::max(bx0, bx1) > rx1 || std::min(by0, by1) < ry0 || std::max(by0, by1) > ry1)
      return Placement::Crowded;
    if (map.coversAnyOf(box)) continue;
    for (const axes::LabelBox& o : axes::mapLabels())
      if (crowds(box, o, h)) return Placement::Crowded;
    axes::mapLabels().push_back(box);
    axes::text(cx, cy, label, h, 0, 0, index);
    return Placement::Placed;
  }
  return Placement::OnMap;
}

// Latitude circles that close inside the map (the parallels of a polar map)
// meet no edge to be labelled at. Their labels go inside the map, each centred
// on its circle where a meridian midway between two graticule meridians (or,
// failing those, a graticule meridian) crosses it, the one nearest the bottom
// of the map first and the same for all circles where it can, clear of the
// other circles, the pole, the edge and the other labels; the graticule is
// broken under them. Circles closer than a label's height go unlabelled.
std::vector<axes::LabelBox> innerLatitudeLabels(const Map& map, const std::vector<double>& lats, double dlon,
                                                float h, float gap, const std::string& degree) {
  std::vector<axes::LabelBox> out;
  const float e = 2e-3F, ev = 1e-3F * (map.vx1 - map.vx0);
  struct Circle {
    double lat;
    std::vector<Map::Point> points;
    bool inner;
  };
  std::vector<Circle> circles;
  for (double lat : lats) {
    Circle c{lat, {}, true};
    for (int i = 0; i < 360; ++i) {
      const Map::Point p = map.at(-180 + i, lat);
      c.points.push_back(p);
      // (A parallel that reaches the cut of a map ends on its edge.)
      c.inner = c.inner && p.visible && !map.seamIsEdge && p.ty > map.tymin + e && p.ty < map.tymax - e &&
                p.vx > map.vx0 + ev && p.vx < map.vx1 - ev && p.vy > map.vy0 + ev && p.vy < map.vy1 - ev;
    }
    circles.push_back(std::move(c));
  }
  // The poles where the meridians meet, when they show.
  std::vector<Map::Point> poles;
  for (double lat : {-90.0, 90.0}) {
    const Map::Point p = map.at(0, lat);
    if (p.visible) poles.push_back(p);
  }
  const float pad = gap / 2;
  const auto inBox = [&](const axes::LabelBox& b, float x, float y) {
    return x > b.x0 - pad && x < b.x1 + pad && y > b.y0 - pad && y < b.y1 + pad;
  };
  const auto coversAll = [&](const axes::LabelBox& b) {
    constexpr int nx = 8, ny = 3;
    for (int i = 0; i <= nx; ++i)
      for (int j = 0; j <= ny; ++j)
        if (!map.covers(b.x0 - pad + (b.x1 - b.x0 + 2 * pad) * static_cast<float>(i) / nx,
                        b.y0 - pad + (b.y1 - b.y0 + 2 * pad) * static_cast<float>(j) / ny))
          return false;
    return true;
  };
  // Midway between graticule meridians first; on a meridian (broken under the
  // label like the circle) where circles stand too close for that.
  std::vector<double> candidates, onMeridians;
  for (double lon = -180 + dlon / 2; lon < 180; lon += dlon) {
    candidates.push_back(lon);
    onMeridians.push_back(lon - dlon / 2);
  }
  bool ordered = false;
  for (const Circle& c : circles) {
    if (!c.inner) continue;
    if (!ordered) {
      // Straight down from the circle's middle first, then round both ways.
      float mx = 0, my = 0;
      for (const Map::Point& p : c.points) {
        mx += p.vx / static_cast<float>(c.points.size());
        my += p.vy / static_cast<float>(c.points.size());
      }
      const auto away = [&](double lon) {
        const Map::Point p = map.at(lon, c.lat);
        return std::fabs(std::remainder(std::atan2(p.vy - my, p.vx - mx) + kPi / 2 - 0.01, 2 * kPi));
      };
      const auto nearer = [&](double a, double b) { return away(a) < away(b); };
      std::stable_sort(candidates.begin(), candidates.end(), nearer);
      std::stable_sort(onMeridians.begin(), onMeridians.end(), nearer);
      candidates.insert(candidates.end(), onMeridians.begin(), onMeridians.end());
      ordered = true;
    }
    const std::string label = axes::latitudeLabel(c.lat, degree);
    const float w = axes::textWidth(label, h), bh = 1.1F * h;
    for (double lon : candidates) {
      const Map::Point p = map.at(lon, c.lat);
      const axes::LabelBox box{p.vx - w / 2, p.vx + w / 2, p.vy - bh / 2, p.vy + bh / 2, label};
      bool clear = coversAll(box);
      for (const Circle& o : circles)
        for (std::size_t i = 0; clear && o.lat != c.lat && i < o.points.size(); ++i)
          clear = !(o.points[i].visible && inBox(box, o.points[i].vx, o.points[i].vy));
      for (const Map::Point& q : poles) clear = clear && !inBox(box, q.vx, q.vy);
      for (const axes::LabelBox& o : out) clear = clear && !crowds(box, o, h);
      if (!clear) continue;
      out.push_back(box);
      break;
    }
  }
  return out;
}

// Draws a graticule line given in U, left out where it passes under a label.
void brokenPolyline(const Map& map, const std::vector<float>& x, const std::vector<float>& y,
                    const std::vector<axes::LabelBox>& labels, float pad, int index, int itype) {
  if (labels.empty()) {
    axes::polyline('U', x, y, index, itype);
    return;
  }
  std::vector<float> px, py;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const Map::Point p = map.at(x[i] / map.toU, y[i] / map.toU);
    bool under = false;
    for (const axes::LabelBox& b : labels)
      under = under || (p.vx > b.x0 - pad && p.vx < b.x1 + pad && p.vy > b.y0 - pad && p.vy < b.y1 + pad);
    if (under) {
      if (px.size() > 1) axes::polyline('U', px, py, index, itype);
      px.clear();
      py.clear();
      continue;
    }
    px.push_back(x[i]);
    py.push_back(y[i]);
  }
  if (px.size() > 1) axes::polyline('U', px, py, index, itype);
}

std::vector<double> multiples(double lo, double hi, double step, bool closed) {
  std::vector<double> v;
  for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + 1e-9 && v.size() < 2000; ++k) {
    const double x = k * step;
    if (closed || (x > lo + 1e-9 && x < hi - 1e-9)) v.push_back(x);
  }
  return v;
}

// Spans in degrees of longitude and latitude that the viewport shows.
void visibleSpans(const Map& map, double& lonSpan, double& latSpan) {
  std::vector<double> lons;
  double latMin = 90, latMax = -90;
  const float toDeg = 1 / map.toU;
  for (int i = 0; i <= 24; ++i)
    for (int j = 0; j <= 24; ++j) {
      const float vx = map.vx0 + (map.vx1 - map.vx0) * static_cast<float>(i) / 24;
      const float vy = map.vy0 + (map.vy1 - map.vy0) * static_cast<float>(j) / 24;
      float ux = 0, uy = 0;
      stitrf(vx, vy, ux, uy);
      if (ux == map.rundef || uy == map.rundef || !std::isfinite(ux) || !std::isfinite(uy)) continue;
      if (!map.at(ux * toDeg, uy * toDeg).visible) continue;
      lons.push_back(std::remainder(static_cast<double>(ux * toDeg), 360.0));
      latMin = std::min(latMin, static_cast<double>(uy * toDeg));
      latMax = std::max(latMax, static_cast<double>(uy * toDeg));
    }
  if (lons.size() < 10) {
    lonSpan = 360;
    latSpan = 180;
    return;
  }
  std::sort(lons.begin(), lons.end());
  double gap = lons.front() + 360 - lons.back();
  for (std::size_t i = 1; i < lons.size(); ++i) gap = std::max(gap, lons[i] - lons[i - 1]);
  lonSpan = std::clamp(360 - gap, 1.0, 360.0);
  latSpan = std::clamp(latMax - latMin, 1.0, 180.0);
}

void drawOutline(const Map& map) {
  std::vector<float> x, y;
  const auto add = [&](float tx, float ty) {
    const Map::Point p = map.atT(tx, ty);
    if (p.vx == map.rundef || !std::isfinite(p.vx) || !std::isfinite(p.vy)) return;
    // A map that fills its viewport (cylindrical maps) has its edges on the
    // viewport's, where rounding leaves them a hair outside and the clip
    // would take them all: onto the viewport with them.
    const float ex = 1e-4F * (map.vx1 - map.vx0), ey = 1e-4F * (map.vy1 - map.vy0);
    const auto snap = [](float v, float lo, float hi, float e) {
      return v < lo && v > lo - e ? lo : v > hi && v < hi + e ? hi : v;
    };
    x.push_back(snap(p.vx, map.vx0, map.vx1, ex));
    y.push_back(snap(p.vy, map.vy0, map.vy1, ey));
  };
  const int n = 360;
  const float dx = (map.txmax - map.txmin) / n, dy = (map.tymax - map.tymin) / n;
  const float e = 1e-6F;
  if (map.seamIsEdge) {
    for (int i = 0; i <= n; ++i) add(map.txmin + i * dx, map.tymin);
    for (int i = 1; i <= n; ++i) add(map.txmax, map.tymin + i * dy);
    for (int i = 1; i <= n; ++i) add(map.txmax - i * dx, map.tymax);
    for (int i = 1; i <= n; ++i) add(map.txmin, map.tymax - i * dy);
  } else {
    // Azimuthal maps: the edge is the lowest parallel of T, a circle about the centre.
    for (int i = 0; i <= n; ++i) add(map.txmin + e + i * (dx - 2 * e / n), map.tymin);
    if (map.txmax - map.txmin < 2 * kPi - 1e-3) {
      for (int i = 1; i <= n; ++i) add(map.txmax, map.tymin + i * dy);
      for (int i = 1; i <= n; ++i) add(map.txmax - i * dx, map.tymax);
      for (int i = 1; i <= n; ++i) add(map.txmin, map.tymax - i * dy);
    } else if (!x.empty()) {
      x.push_back(x.front());
      y.push_back(y.front());
    }
  }
  axes::ViewportClip clip;
  axes::polyline('V', x, y, axInt("INDEXO"), 1);
}

}  // namespace

void axpmap() {
  int itr = 0;
  sgqtrn(itr);
  if (!((itr >= 10 && itr <= 34) || itr == 99)) {
    msgdmp("E", "AXPMAP", "TRANSFORMATION IS NOT A MAP PROJECTION.");
    return;
  }
  const Map map;
  axes::mapLabels().clear();
  if (axLogical("LOUTLN")) drawOutline(map);

  double dlon = axReal("DGLON"), dlat = axReal("DGLAT");
  if (!(dlon > 0) || !(dlat > 0)) {
    double lonSpan = 360, latSpan = 180;
    visibleSpans(map, lonSpan, latSpan);
    const double step = axes::graticuleStep(std::max(lonSpan / 2, latSpan), axInt("NGRAT"));
    if (!(dlon > 0)) dlon = step;
    if (!(dlat > 0)) dlat = step;
  }
  const std::vector<double> lons = multiples(-180, 180, dlon, true);
  const std::vector<double> lats = multiples(-90, 90, dlat, false);
  const float u = map.toU;
  const bool labels = axLogical("LGRLBL");
  const float h = axReal("RLABEL"), gap = axReal("RGAP");
  const std::string degree = axes::textParameter("CDEG");
  const std::vector<axes::LabelBox> inner =
      labels ? innerLatitudeLabels(map, lats, dlon, h, gap, degree) : std::vector<axes::LabelBox>{};

  if (axLogical("LGRAT")) {
    axes::ViewportClip clip;
    // The far hemisphere of the orthographic map would be drawn over the near one.
    float ymin = 0, ymax = 0;
    szqcly(ymin, ymax);
    szscly(std::max(ymin, map.tymin), ymax);
    const int index = axInt("INDEXG"), itype = axInt("ITYPEG");
    for (double lon : lons) {
      std::vector<float> x, y;
      for (int i = 0; i <= 180; ++i) {
        x.push_back(static_cast<float>(lon) * u);
        y.push_back(static_cast<float>(-90 + i) * u);
      }
      brokenPolyline(map, x, y, inner, gap / 3, index, itype);
    }
    for (double lat : lats) {
      std::vector<float> x, y;
      for (int i = 0; i <= 360; ++i) {
        x.push_back(static_cast<float>(-180 + i) * u);
        y.push_back(static_cast<float>(lat) * u);
      }
      brokenPolyline(map, x, y, inner, gap / 3, index, itype);
    }
    szscly(ymin, ymax);
  }

  if (!labels) return;
  const int index = axInt("INDEXL");
  for (const axes::LabelBox& b : inner) {
    axes::mapLabels().push_back(b);
    axes::text((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, b.text, h, 0, 0, index);
  }
  // Round values first, so that where labels crowd (pole lines, the apex of a
  // cone, the sides of a small map) the ones kept are 0, 90, 180 ... or 30,
  // 40, 50 rather than 30, 35, 45, and the choice is symmetric.
  const auto byRank = [](std::vector<double> values, double step) {
    const auto rank = [step](double v) {
      const long k = std::lround(v / step);
      if (k == 0) return 100;
      int r = 0;
      for (long m = k; m % 2 == 0 && r < 30; m /= 2) ++r;
      return r;
    };
    std::stable_sort(values.begin(), values.end(), [&](double a, double b) {
      const int ra = rank(a), rb = rank(b);
      return ra != rb ? ra > rb : std::fabs(a) < std::fabs(b);
    });
    return values;
  };
  // Latitudes first: on pseudocylindrical maps they are the labels of the sides.
  for (double lat : byRank(lats, dlat)) {
    const auto line = [&](double s) { return map.at(s, lat); };
    for (const Anchor& a : anchors(map, line, -180, 180, 360, true)) placeLabel(map, a, axes::latitudeLabel(lat, degree), h, gap, index);
  }
  // The bottom of the map, for meridians that only meet at pointed poles: the
  // lowest point of the lowest parallel and of the cut.
  float bottom = map.vy1;
  for (int i = 0; i <= 360; ++i) {
    const float f = static_cast<float>(i) / 360;
    for (const Map::Point& p : {map.atT(map.txmin + (map.txmax - map.txmin) * f, map.tymin),
                                map.atT(map.txmin, map.tymin + (map.tymax - map.tymin) * f),
                                map.atT(map.txmax, map.tymin + (map.tymax - map.tymin) * f)})
      if (p.visible && (map.seamIsEdge || p.ty == map.tymin)) bottom = std::min(bottom, p.vy);
  }
  for (double lon : byRank(lons, dlon)) {
    if (lon >= 180 - 1e-9 && lons.front() <= -180 + 1e-9) continue;  // the same meridian as -180
    const auto line = [&](double s) { return map.at(lon, s); };
    // The meridian of the cut runs along the map's edge: where it seems to
    // leave the map there, a label would read as a latitude. It is labelled at
    // its ends only.
    const bool alongCut = map.seamIsEdge && std::fabs(std::fabs(line(0).tx) - static_cast<float>(kPi)) < 1e-3F;
    std::vector<Anchor> found = anchors(map, line, -90, 90, 360, false, alongCut);
    // Meridians that run from pole point to pole point, or whose ends lie where
    // no label gets clear of the map (the poles of a polyconic map): below the
    // map, where the meridian crosses a low parallel.
    bool elsewhere = found.empty() || !alongCut;
    for (const Anchor& a : found)
      if (placeLabel(map, a, axes::longitudeLabel(lon, degree), h, gap, index) != Placement::OnMap) elsewhere = false;
    if (elsewhere) {
      // Taken no lower than 45 degrees south, where meridians still stand apart.
      double low = -45;
      for (double lat : lats)
        if (lat >= -45) {
          low = lat;
          break;
        }
      const Map::Point p = map.at(lon, low);
      if (p.visible) placeLabel(map, {p.vx, bottom, 0, -1}, axes::longitudeLabel(lon, degree), h, gap, index);
    }
  }
}

void axqmln(int& n) { n = static_cast<int>(axes::mapLabels().size()); }

void axqmlb(int i, float& vxmin, float& vxmax, float& vymin, float& vymax, std::span<char> label) {
  const auto& labels = axes::mapLabels();
  if (i < 1 || i > static_cast<int>(labels.size())) {
    msgdmp("E", "AXQMLB", "LABEL NUMBER IS OUT OF RANGE.");
    return;
  }
  const axes::LabelBox& b = labels[static_cast<std::size_t>(i - 1)];
  vxmin = b.x0;
  vxmax = b.x1;
  vymin = b.y0;
  vymax = b.y1;
  text::assign(label, b.text);
}

void axppol() {
  int itr = 0;
  sgqtrn(itr);
  if (itr != 5) {
    msgdmp("E", "AXPPOL", "TRANSFORMATION IS NOT POLAR (ITR=5).");
    return;
  }
  float vx0 = 0, vx1 = 0, vy0 = 0, vy1 = 0, simfac = 0, xoff = 0, yoff = 0;
  sgqvpt(vx0, vx1, vy0, vy1);
  sgqsim(simfac, xoff, yoff);
  if (!(simfac > 0)) {
    msgdmp("E", "AXPPOL", "SIMILARITY FACTOR MUST BE POSITIVE.");
    return;
  }
  bool ldeg = true;
  sglget("LDEG", ldeg);
  const float toU = ldeg ? 1.0F : static_cast<float>(kPi / 180);
  float ox = 0, oy = 0;
  stftrf(0, 0, ox, oy);
  const bool inside = ox > vx0 && ox < vx1 && oy > vy0 && oy < vy1;
  const float nearest = std::min({ox - vx0, vx1 - ox, oy - vy0, vy1 - oy});
  const float farthest = std::max({std::hypot(vx0 - ox, vy0 - oy), std::hypot(vx1 - ox, vy0 - oy),
                                   std::hypot(vx0 - ox, vy1 - oy), std::hypot(vx1 - ox, vy1 - oy)});
  // Room outside the outer circle for the angle labels.
  const float room = axReal("RGAP") + axes::textWidth("000" + axes::textParameter("CDEG"), axReal("RLABEL"));
  const double rmax = (inside ? std::max(nearest - room, 0.5F * nearest) : farthest) / simfac;
  float dth = axReal("DPOLAR");
  if (!(dth > 0) || dth > 360) dth = 30;
  const float h = axReal("RLABEL"), gap = axReal("RGAP");
  const std::string degree = axes::textParameter("CDEG");
  const axes::Ticks t = axes::linearTicks(0, rmax, 0, 0, axInt("NTICK"), axInt("LBLMAX"), axes::textParameter("CTIMES"));
  double router = 0;
  for (double r : t.major) router = std::max(router, r);
  if (!(router > 0)) return;

  // Radius labels sit under the 0 degree spoke, centred on their circles, which
  // are broken under them. A label must stay clear of the next spoke below, of
  // the 0 degree label outside the outer circle and of its neighbours: where
  // they crowd, every k-th circle (counted from the outer one) is labelled.
  const float depth = 1.5F * gap + h;  // below the spoke, a margin included
  const float spokeClear = dth < 89 ? depth / std::tan(dth * static_cast<float>(kPi) / 180) : 0;
  const float zeroLeft = static_cast<float>(router) * simfac + gap;  // where the 0 degree label starts
  std::vector<axes::LabelBox> candidates;  // one per circle, from the outer one inwards
  for (std::size_t i = t.major.size(); i-- > 0;) {
    const float r = static_cast<float>(t.major[i]) * simfac;
    const float w = axes::textWidth(t.labels[i], h);
    axes::LabelBox b{ox + r - w / 2, ox + r + w / 2, oy - gap - h, oy - gap, t.labels[i]};
    const bool clear = t.major[i] > 0 && b.x0 - ox >= spokeClear &&
                       !(b.x1 + gap / 2 > ox + zeroLeft && b.y1 > oy - 0.6F * h);
    candidates.push_back(clear ? b : axes::LabelBox{0, 0, 0, 0, {}});
  }
  std::vector<axes::LabelBox> radiusLabels;
  for (std::size_t every = 1; inside && every <= candidates.size(); ++every) {
    radiusLabels.clear();
    bool apart = true;
    for (std::size_t k = 0; k < candidates.size(); k += every) {
      if (candidates[k].text.empty()) continue;
      if (!radiusLabels.empty() && radiusLabels.back().x0 < candidates[k].x1 + gap) apart = false;
      radiusLabels.push_back(candidates[k]);
    }
    if (apart) break;
  }

  axes::ViewportClip clip;
  const int gindex = axInt("INDEXG"), gtype = axInt("ITYPEG");
  const auto underLabel = [&](float vx, float vy) {
    for (const axes::LabelBox& b : radiusLabels)
      if (vx > b.x0 - gap / 3 && vx < b.x1 + gap / 3 && vy > b.y0 - gap / 3 && vy < b.y1 + gap / 3) return true;
    return false;
  };
  for (double r : t.major) {
    if (!(r > 0)) continue;
    const int index = r == router ? axInt("INDEXA") : gindex, itype = r == router ? 1 : gtype;
    std::vector<float> x, y;
    for (int i = 0; i <= 720; ++i) {
      const double a = i * kPi / 360;
      if (underLabel(ox + static_cast<float>(r * simfac * std::cos(a)), oy + static_cast<float>(r * simfac * std::sin(a)))) {
        axes::polyline('U', x, y, index, itype);
        x.clear();
        y.clear();
        continue;
      }
      x.push_back(static_cast<float>(r));
      y.push_back(static_cast<float>(i) / 2 * toU);
    }
    axes::polyline('U', x, y, index, itype);
  }
  const int lindex = axInt("INDEXL");
  std::vector<double> spokes = multiples(0, 360, dth, true);
  if (!spokes.empty() && spokes.back() >= 360 - 1e-6) spokes.pop_back();
  std::vector<axes::LabelBox> angleLabels;
  for (double th : spokes) {
    const std::vector<float> x{0, static_cast<float>(router)}, y{static_cast<float>(th) * toU, static_cast<float>(th) * toU};
    axes::polyline('U', x, y, gindex, gtype);
    if (!inside) continue;
    const std::string label = axes::formatNumber(th, axes::labelDecimals(th > 0 ? th : 1)) + degree;
    const float c = static_cast<float>(std::cos(th * kPi / 180)), s = static_cast<float>(std::sin(th * kPi / 180));
    const float w = axes::textWidth(label, h);
    const float reach = static_cast<float>(router) * simfac + gap + std::fabs(c) * w / 2 + std::fabs(s) * 0.7F * h;
    const float cx = ox + c * reach, cy = oy + s * reach;
    angleLabels.push_back({cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2, label});
  }
  // On a small circle the labels about 90 and 270 degrees run into each
  // other: every k-th spoke is labelled, the fewest k that keeps them apart.
  const auto apartEvery = [&](std::size_t every) {
    const float m = gap / 4;
    for (std::size_t i = 0; i < angleLabels.size(); i += every)
      for (std::size_t j = i + every; j < angleLabels.size(); j += every) {
        const axes::LabelBox &a = angleLabels[i], &b = angleLabels[j];
        if (a.x0 < b.x1 + m && b.x0 < a.x1 + m && a.y0 < b.y1 + m && b.y0 < a.y1 + m) return false;
      }
    return true;
  };
  std::size_t every = 1;
  while (every < angleLabels.size() && (angleLabels.size() % every != 0 || !apartEvery(every))) ++every;
  for (std::size_t i = 0; i < angleLabels.size(); i += every) {
    const axes::LabelBox& b = angleLabels[i];
    axes::text((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, b.text, h, 0, 0, lindex);
  }
  for (const axes::LabelBox& b : radiusLabels) axes::text((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, b.text, h, 0, 0, lindex);
}

void axpgrd() {
  std::vector<float> ux, uy;
  if (!transform::gridAxes(ux, uy)) {
    msgdmp("E", "AXPGRD", "GRID IS NOT DEFINED. CALL G2SCTR.");
    return;
  }
  const auto stride = [](std::size_t n) { return std::max<std::size_t>(1, (n + 19) / 20); };
  const int gindex = axInt("INDEXG"), gtype = axInt("ITYPEG"), oindex = axInt("INDEXO");
  const std::size_t sx = stride(ux.size()), sy = stride(uy.size());
  // Along constant ux the bilinear cells map to straight pieces between nodes.
  for (std::size_t i = 0; i < ux.size(); ++i) {
    const bool edge = i == 0 || i + 1 == ux.size();
    if (!edge && i % sx != 0) continue;
    const std::vector<float> x(uy.size(), ux[i]);
    axes::polyline('U', x, uy, edge ? oindex : gindex, edge ? 1 : gtype);
  }
  for (std::size_t j = 0; j < uy.size(); ++j) {
    const bool edge = j == 0 || j + 1 == uy.size();
    if (!edge && j % sy != 0) continue;
    const std::vector<float> y(ux.size(), uy[j]);
    axes::polyline('U', ux, y, edge ? oindex : gindex, edge ? 1 : gtype);
  }
}

}  // namespace zep
