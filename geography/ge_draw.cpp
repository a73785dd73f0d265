// Drawing the geography layers on the current map: lines through the line
// pipeline, areas through the filled-polygon primitive, all rings of one layer
// in one fill so that holes (lakes) stay open and islands in them are land again.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <zep/foundation.hpp>
#include <zep/geography.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "foundation/fixed_text.hpp"
#include "geography/ge_database.hpp"
#include "geography/ge_internal.hpp"

namespace zep {
namespace {

using geography::Dataset;
using geography::Kind;
using geography::Line;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
constexpr double kKmPerDegree = 111.195;  // on the sphere of 6371 km radius
constexpr float kSeparator = -9999.0F;    // between lines of one call; no coordinate of the database

// The finalized map, as the layers need it.
struct MapView {
  int itr = 0;
  float toU = 1.0F;  // degrees to U
  double txmin = 0, txmax = 0, tymin = 0, tymax = 0;  // T limits, radians
  bool rotated = false;   // the pole moved: U limits no longer follow from T limits
  double lonShift = 0;    // degrees T lies east of U when the map only turns about the axis
  float rundef = -999.0F;

  bool visible(const Line& line) const {
    if (rotated) return true;
    const double west = txmin / kDeg - lonShift, east = txmax / kDeg - lonShift, south = tymin / kDeg,
                 north = tymax / kDeg;
    double lineSouth = line.south, lineNorth = line.north;
    // A ring around a pole covers it, and every longitude.
    if (line.closed && line.east - line.west > 359.0F) {
      if (line.south < 0) lineSouth = -90;
      else lineNorth = 90;
      return lineSouth <= north && lineNorth >= south;
    }
    if (lineSouth > north || lineNorth < south) return false;
    if (east - west >= 359.999) return true;
    for (int k = -3; k <= 3; ++k)
      if (line.west + 360.0 * k <= east && line.east + 360.0 * k >= west) return true;
    return false;
  }
};

bool currentMap(std::string_view routine, MapView& map) {
  sgqtrn(map.itr);
  if (!((map.itr >= 10 && map.itr <= 34) || map.itr == 99)) {
    msgdmp("E", routine, "TRANSFORMATION IS NOT A MAP PROJECTION.");
    return false;
  }
  bool ldeg = true;
  sglget("LDEG", ldeg);
  map.toU = ldeg ? 1.0F : static_cast<float>(kDeg);
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  sgqtxy(x0, x1, y0, y1);
  const double toRad = ldeg ? kDeg : 1.0;
  map.txmin = x0 * toRad;
  map.txmax = x1 * toRad;
  map.tymin = y0 * toRad;
  map.tymax = y1 * toRad;
  if (map.itr == 30) {
    // Only the near hemisphere of the orthographic view.
    float rsat = 0;
    sgrget("RSAT", rsat);
    map.tymin = std::max(map.tymin, rsat > 1 ? std::asin(1.0 / rsat) : 0.0);
  }
  // Any turn of the pole: U limits no longer follow from T limits, so no
  // line is left out before the pipeline clips it.
  float plx = 0, ply = 90, plrot = 0;
  sgqmpl(plx, ply, plrot);
  const float north = ldeg ? 90.0F : static_cast<float>(kPi / 2);
  map.rotated = plx != 0.0F || plrot != 0.0F || std::fabs(ply - north) > 1e-5F * north;
  // A map that keeps the pole and only turns about the axis (a central
  // meridian away from 0) shifts longitudes: lines can still be culled by
  // the T limits, once that shift is known and checked.
  if (map.rotated && std::fabs(ply - north) <= 1e-5F * north) {
    float tx0 = 0, ty0 = 0, tx1 = 0, ty1 = 0;
    stfrot(0.0F, 0.0F, tx0, ty0);
    stfrot(1.0F, 0.5F, tx1, ty1);
    const double turn = std::remainder(static_cast<double>(tx1) - tx0 - 1.0, 2 * kPi);
    if (std::fabs(ty0) < 1e-5 && std::fabs(ty1 - 0.5) < 1e-5 && std::fabs(turn) < 1e-5) {
      map.rotated = false;
      map.lonShift = tx0 / kDeg;
    }
  }
  glrget("RUNDEF", map.rundef);
  return true;
}

// Degrees of the Earth that one V unit spans at the middle of the map.
double degreesPerV(const MapView& map) {
  const double tx = 0.5 * (map.txmin + map.txmax), ty = std::clamp(0.5 * (map.tymin + map.tymax), -1.4, 1.4);
  const double h = 0.5 * kDeg;
  float vx0 = 0, vy0 = 0, vx1 = 0, vy1 = 0, vx2 = 0, vy2 = 0;
  stftrn(static_cast<float>(tx), static_cast<float>(ty), vx0, vy0);
  stftrn(static_cast<float>(tx + h / std::cos(ty)), static_cast<float>(ty), vx1, vy1);
  stftrn(static_cast<float>(tx), static_cast<float>(ty + h), vx2, vy2);
  const double d = 0.5 * (std::hypot(vx1 - vx0, vy1 - vy0) + std::hypot(vx2 - vx0, vy2 - vy0));
  const bool ok = vx0 != map.rundef && vx1 != map.rundef && vx2 != map.rundef && std::isfinite(d) && d > 0;
  return ok ? 0.5 / d : 100.0;
}

constexpr char kResolutions[] = {'c', 'l', 'i', 'h', 'f'};

// The resolution to draw with: GE CRES, or from the scale; 0 after a report.
char resolution(std::string_view routine, const MapView& map) {
  std::string text = geography::geText("CRES");
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  if (text.size() == 1 && std::string_view("clihf").find(text[0]) != std::string_view::npos) return text[0];
  if (text != "auto") {
    msgdmp("E", routine, "GE RESOLUTION <" + geography::geText("CRES") + "> IS NOT AUTO, C, L, I, H OR F.");
    return 0;
  }
  // A shoreline point every few tenths of a millimetre at most on an A4 page.
  const double d = degreesPerV(map);
  const int wanted = d > 1000 ? 0 : d > 100 ? 1 : d > 15 ? 2 : d > 3 ? 3 : 4;
  // The finest installed resolution not finer than wanted; low is always
  // installed with the library, so it is the answer when nothing is found.
  for (int k = wanted; k >= 0; --k)
    if (geography::available(Kind::Shore, kResolutions[k])) return kResolutions[k];
  return 'l';
}

float minimumArea(const MapView& map) {
  const float set = geography::geReal("AREAMN");
  if (set >= 0) return set;
  // About a square of 1/1000 V: smaller features are specks at any page size.
  const double km = degreesPerV(map) * kKmPerDegree * 1e-3;
  return static_cast<float>(km * km);
}

// The levels (or classes) a list such as "1", "1-2", "0-4,8" names; false after a report.
bool levelList(std::string_view routine, std::string_view parameter, std::vector<bool>& on) {
  const std::string text = geography::geText(parameter);
  on.assign(32, false);
  std::size_t i = 0;
  const auto number = [&](int& v) {
    const std::size_t start = i;
    v = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - start < 3) v = v * 10 + (text[i++] - '0');
    return i > start;
  };
  bool good = true;
  while (good && i < text.size()) {
    if (text[i] == ' ' || text[i] == ',') {
      ++i;
      continue;
    }
    int lo = 0, hi = 0;
    good = number(lo);
    hi = lo;
    if (good && i < text.size() && text[i] == '-') {
      ++i;
      good = number(hi);
    }
    good = good && lo <= hi && hi <= 31 && (i == text.size() || text[i] == ',' || text[i] == ' ');
    for (int v = lo; good && v <= hi; ++v) on[static_cast<std::size_t>(v)] = true;
  }
  if (good) return true;
  msgdmp("E", routine, "GE " + std::string(parameter) + " <" + text + "> IS NOT A LIST OF LEVELS SUCH AS 1-2,4.");
  return false;
}

// Switches the kernel's missing-value handling to our separator for a while.
class Separated {
 public:
  Separated() {
    gllget("LMISS", lmiss_);
    glrget("RMISS", rmiss_);
    gllset("LMISS", true);
    glrset("RMISS", kSeparator);
  }
  ~Separated() {
    gllset("LMISS", lmiss_);
    glrset("RMISS", rmiss_);
  }
  Separated(const Separated&) = delete;
  Separated& operator=(const Separated&) = delete;

 private:
  bool lmiss_ = false;
  float rmiss_ = 0;
};

// Drops points closer to the last kept one than a small distance on the map
// (GE STEPMN, V): a shore at low resolution has several points to a pixel, and
// every one of them costs projecting, clipping, filling and writing. The map's
// scale comes from a grid of 5-degree cells, each with a bound of its V per
// degree along parallels and along meridians; cells the map does not show
// whole keep every point.
class Thinner {
 public:
  explicit Thinner(const MapView& map) {
    const float step = geography::geReal("STEPMN");
    if (!(step > 0) || !std::isfinite(step)) return;
    // Corners of the cells in V (undefined where off the map).
    std::vector<float> vx(kNodesX * kNodesY), vy(kNodesX * kNodesY);
    std::vector<char> ok(kNodesX * kNodesY);
    for (int j = 0; j < kNodesY; ++j)
      for (int i = 0; i < kNodesX; ++i) {
        const auto k = static_cast<std::size_t>(j * kNodesX + i);
        float tx = 0, ty = 0, x = 0, y = 0;
        stfrot(static_cast<float>((-180.0 + kCell * i) * kDeg), static_cast<float>((-90.0 + kCell * j) * kDeg), tx, ty);
        stftrn(tx, ty, x, y);
        vx[k] = x;
        vy[k] = y;
        ok[k] = x != map.rundef && y != map.rundef && std::isfinite(x) && std::isfinite(y);
      }
    const auto len = [&](std::size_t a, std::size_t b) { return std::hypot(vx[a] - vx[b], vy[a] - vy[b]); };
    cells_.assign(kCellsX * kCellsY, Cell{});
    for (int j = 0; j < kCellsY; ++j)
      for (int i = 0; i < kCellsX; ++i) {
        const auto sw = static_cast<std::size_t>(j * kNodesX + i), se = sw + 1, nw = sw + kNodesX, ne = nw + 1;
        if (!ok[sw] || !ok[se] || !ok[nw] || !ok[ne]) continue;
        // Steps in V per step in degrees, a quarter more for the change of
        // scale inside a cell. A cell cut by the map's seam looks huge
        // and keeps nearly all of its points.
        const double perLon = 1.25 * std::max(len(sw, se), len(nw, ne)) / kCell / step;
        const double perLat = 1.25 * std::max(len(sw, nw), len(se, ne)) / kCell / step;
        if (std::isfinite(perLon) && std::isfinite(perLat) && perLon + perLat > 0)
          cells_[static_cast<std::size_t>(j * kCellsX + i)] = {static_cast<float>(perLon), static_cast<float>(perLat)};
      }
  }

  bool active() const { return !cells_.empty(); }

  // Whether a step of (dlon, dlat) degrees from (lon, lat) is shorter than
  // GE STEPMN on the map.
  bool isShort(float lon, float lat, float dlon, float dlat) const {
    double x = std::fmod(lon + 180.0, 360.0);
    if (x < 0) x += 360;
    const int i = std::min(kCellsX - 1, static_cast<int>(x / kCell));
    const int j = std::clamp(static_cast<int>((lat + 90.0) / kCell), 0, kCellsY - 1);
    const Cell& c = cells_[static_cast<std::size_t>(j * kCellsX + i)];
    return c.perLon * std::fabs(dlon) + c.perLat * std::fabs(dlat) < 1.0F;
  }

 private:
  struct Cell {
    float perLon = 1e30F, perLat = 1e30F;  // multiples of the step per degree
  };
  static constexpr double kCell = 5.0;
  static constexpr int kCellsX = 72, kCellsY = 36, kNodesX = kCellsX + 1, kNodesY = kCellsY + 1;
  std::vector<Cell> cells_;
};

struct Batch {
  explicit Batch(const Thinner* thinner = nullptr) : thin(thinner) {}
  std::vector<float> x, y;
  const Thinner* thin;

  // Adds a line (closing a ring by its first point when `close`); a ring
  // that thins to fewer than three points is below the size drawn and left out.
  void add(const Line& line, float toU, bool close, bool ring = false) {
    const std::size_t n = line.lon.size();
    const std::size_t mark = x.size();
    if (!x.empty()) {
      x.push_back(kSeparator);
      y.push_back(kSeparator);
    }
    const auto put = [&](std::size_t i) {
      x.push_back(line.lon[i] * toU);
      y.push_back(line.lat[i] * toU);
    };
    std::size_t kept = 0;
    if (thin == nullptr || !thin->active()) {
      for (std::size_t i = 0; i < n; ++i) put(i);
      kept = n;
    } else {
      std::size_t last = 0;
      put(0);
      kept = 1;
      for (std::size_t i = 1; i < n; ++i) {
        // The last point always stays: an open line may meet another there,
        // and a ring round a pole ends a whole turn from where it starts.
        if (i + 1 < n && thin->isShort(line.lon[last], line.lat[last], line.lon[i] - line.lon[last],
                                      line.lat[i] - line.lat[last]))
          continue;
        put(i);
        ++kept;
        last = i;
      }
    }
    if (ring && kept < 3) {
      x.resize(mark);
      y.resize(mark);
      return;
    }
    if (close) put(0);
  }
  int size() const { return static_cast<int>(x.size()); }
};

bool antarcticChosen(const Line& line) {
  // Antarctica's shore comes twice (ice front, grounding line); other lines are plain.
  if (line.antarctic == 0) return true;
  return line.antarctic == geography::geInt("IANTAR");
}

const Dataset* shores(std::string_view routine, const MapView& map) {
  const char res = resolution(routine, map);
  if (res == 0) return nullptr;
  return geography::dataset(Kind::Shore, res, routine);
}

void drawShoreLines(const MapView& map, const Dataset& data) {
  const int maxLevel = geography::geInt("LEVELC");
  const float minArea = minimumArea(map);
  const Thinner thin(map);
  Batch coast(&thin), lakes(&thin);
  for (const Line& line : data.lines) {
    if (line.level > maxLevel || !antarcticChosen(line) || !map.visible(line)) continue;
    if (line.polygon >= 0 && data.polygonArea[static_cast<std::size_t>(line.polygon)] < minArea) continue;
    Batch& b = line.level == 1 ? coast : lakes;
    b.add(line, map.toU, line.closed);
  }
  Separated sep;
  if (coast.size() >= 2) sgplzu(coast.size(), coast.x.data(), coast.y.data(), geography::geInt("ITYPEC"), geography::geInt("INDEXC"));
  if (lakes.size() >= 2) sgplzu(lakes.size(), lakes.x.data(), lakes.y.data(), geography::geInt("ITYPEK"), geography::geInt("INDEXK"));
}

void fillLand(const MapView& map, const Dataset& data) {
  const int maxLevel = geography::geInt("LEVELC");
  const int landTone = geography::geInt("ITPLND"), lakeTone = geography::geInt("ITPLAK");
  const float minArea = minimumArea(map);
  const Thinner thin(map);
  Batch land(&thin), lakes(&thin);
  for (const Line& line : data.lines) {
    if (!line.closed || line.lon.size() < 3 || line.level > maxLevel || !antarcticChosen(line) || !map.visible(line))
      continue;
    if (data.polygonArea[static_cast<std::size_t>(line.polygon)] < minArea) continue;
    land.add(line, map.toU, false, true);
    if (line.level >= 2) lakes.add(line, map.toU, false, true);
  }
  Separated sep;
  if (landTone > 0 && land.size() >= 3) sgtnzu(land.size(), land.x.data(), land.y.data(), landTone);
  if (lakeTone > 0 && lakes.size() >= 3) sgtnzu(lakes.size(), lakes.x.data(), lakes.y.data(), lakeTone);
}

// The map's area in V: its limits in T traced round, as the map outline is.
void fillWater(const MapView& map) {
  const int tone = geography::geInt("ITPWTR");
  if (tone <= 0) return;
  std::vector<float> x, y;
  const auto add = [&](double tx, double ty) {
    float vx = 0, vy = 0;
    stftrn(static_cast<float>(tx), static_cast<float>(ty), vx, vy);
    if (vx == map.rundef || vy == map.rundef || !std::isfinite(vx) || !std::isfinite(vy)) return;
    x.push_back(vx);
    y.push_back(vy);
  };
  const int n = 720;
  const double txmin = std::max(map.txmin, -kPi), txmax = std::min(map.txmax, kPi);
  const double tymin = std::max(map.tymin, -kPi / 2), tymax = std::min(map.tymax, kPi / 2);
  // Just inside the seam: its two sides project to the two edges of the map.
  const double e = 1e-6;
  const double x0 = txmin + e, x1 = txmax - e;
  const double dx = (x1 - x0) / n, dy = (tymax - tymin) / n;
  for (int i = 0; i <= n; ++i) add(x0 + i * dx, tymin);
  for (int i = 1; i <= n; ++i) add(x1, tymin + i * dy);
  for (int i = 1; i <= n; ++i) add(x1 - i * dx, tymax);
  for (int i = 1; i < n; ++i) add(x0, tymax - i * dy);
  if (x.size() >= 3) sgtnzv(static_cast<int>(x.size()), x.data(), y.data(), tone);
}

void drawPlainLines(std::string_view routine, Kind kind) {
  MapView map;
  if (!currentMap(routine, map)) return;
  const char res = resolution(routine, map);
  if (res == 0) return;
  std::vector<bool> on;
  if (!levelList(routine, kind == Kind::Border ? "BORDER" : "RIVER", on)) return;
  const Dataset* data = geography::dataset(kind, res, routine);
  if (data == nullptr) return;
  const Thinner thin(map);
  Batch first(&thin), rest(&thin);
  for (const Line& line : data->lines) {
    if (line.level < 0 || line.level >= static_cast<int>(on.size()) || !on[static_cast<std::size_t>(line.level)] ||
        !map.visible(line))
      continue;
    Batch& b = kind == Kind::Border && line.level >= 2 ? rest : first;
    b.add(line, map.toU, line.closed);
  }
  Separated sep;
  if (kind == Kind::Border) {
    if (first.size() >= 2) sgplzu(first.size(), first.x.data(), first.y.data(), geography::geInt("ITYPEB"), geography::geInt("INDEXB"));
    if (rest.size() >= 2) sgplzu(rest.size(), rest.x.data(), rest.y.data(), geography::geInt("ITYPES"), geography::geInt("INDEXS"));
  } else if (first.size() >= 2) {
    sgplzu(first.size(), first.x.data(), first.y.data(), geography::geInt("ITYPER"), geography::geInt("INDEXR"));
  }
}

}  // namespace

void gebkgd() {
  MapView map;
  if (!currentMap("GEBKGD", map)) return;
  const bool water = geography::geLogical("LWATER"), land = geography::geLogical("LLAND"),
             coast = geography::geLogical("LCOAST");
  if (water) fillWater(map);
  if (!land && !coast) return;
  const Dataset* data = shores("GEBKGD", map);
  if (data == nullptr) return;
  if (land) fillLand(map, *data);
  if (coast) drawShoreLines(map, *data);
}

void gewatr() {
  MapView map;
  if (currentMap("GEWATR", map)) fillWater(map);
}

void geland() {
  MapView map;
  if (!currentMap("GELAND", map)) return;
  if (const Dataset* data = shores("GELAND", map)) fillLand(map, *data);
}

void gecost() {
  MapView map;
  if (!currentMap("GECOST", map)) return;
  if (const Dataset* data = shores("GECOST", map)) drawShoreLines(map, *data);
}

void gebrdr() { drawPlainLines("GEBRDR", Kind::Border); }
void gervrs() { drawPlainLines("GERVRS", Kind::River); }

void geqres(std::span<char> cres) {
  MapView map;
  if (!currentMap("GEQRES", map)) return;
  const char res = resolution("GEQRES", map);
  text::assign(cres, res == 0 ? std::string_view() : std::string_view(&res, 1));
}

void geqamn(float& area) {
  MapView map;
  area = 0;
  if (currentMap("GEQAMN", map)) area = minimumArea(map);
}

}  // namespace zep
