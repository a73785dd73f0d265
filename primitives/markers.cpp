// Markers: a symbol at each data point, placed where the transformation puts
// the point and drawn upright at a fixed size in V, whatever the projection.
// The symbols are the marker glyphs of the stroke fonts (codes 1 to 17), or the
// system font's when SYSFONT is on; type 18, the filled diamond, is the filled
// square turned by 45 degrees.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "foundation/parameter_handle.hpp"

#include "primitives/line_pipeline.hpp"
#include "primitives/segment_generator.hpp"
#include "primitives/stroke_font.hpp"

namespace zep {
namespace {

constexpr int kFilledDiamond = 18;
constexpr int kFilledSquare = 11;

int currentMarkerType = 1;
int currentMarkerIndex = 1;
float currentMarkerSize = 0.01F;

struct Glyph {
  unsigned char code = 1;
  int angle = 0;  // degrees
};

Glyph glyphOf(int type) { return type == kFilledDiamond ? Glyph{kFilledSquare, 45} : Glyph{static_cast<unsigned char>(type), 0}; }

bool drawable(std::string_view routine, int n, int type, int index, float size) {
  if (n < 0) {
    msgdmp("E", routine, "NUMBER OF POINTS IS LESS THAN 0.");
    return false;
  }
  if (type < 1 || type > kFilledDiamond) {
    msgdmp("E", routine, "MARKER TYPE IS INVALID.");
    return false;
  }
  if (index == 0) {
    msgdmp("M", routine, "MARKER INDEX IS 0 / DO NOTHING.");
    return false;
  }
  if (index < 0) {
    msgdmp("E", routine, "MARKER INDEX IS LESS THAN 0.");
    return false;
  }
  if (size == 0.0F) {
    msgdmp("M", routine, "MARKER SIZE IS 0 / DO NOTHING.");
    return false;
  }
  if (!std::isfinite(size)) {
    msgdmp("E", routine, "MARKER SIZE IS NOT FINITE.");
    return false;
  }
  if (size < 0.0F) {
    msgdmp("E", routine, "MARKER SIZE IS LESS THAN 0.");
    return false;
  }
  return n > 0;
}

enum class Level { user, normalized, device };

// What stays the same for every point of one call.
struct Placement {
  Level level = Level::user;
  bool missingOn = false;
  float missing = 0.0F;
  float rundef = 0.0F;
  bool map = false;
  bool clip = false;
  float xmin = 0, xmax = 1, ymin = 0, ymax = 1;  // viewport
  // The map's band and range, tested as the line stages test a point.
  mutable detail::LatitudeClipper latitude;
  mutable detail::LongitudeClipper longitude;

  explicit Placement(Level l) : level(l) {
    static ParameterHandle<bool, gllqid, gllqvl> missingSwitch("LMISS");
    static ParameterHandle<float, glrqid, glrqvl> missingValue("RMISS"), undefined("RUNDEF");
    static ParameterHandle<bool, sglqid, sglqvl> clipping("LCLIP");
    missingOn = missingSwitch.get();
    missing = missingValue.get();
    rundef = undefined.get();
    stqtrf(map);
    clip = clipping.get();
    clip = clip && level != Level::device;
    szqcll(xmin, xmax, ymin, ymax, 1);
  }

  bool defined(float x, float y) const {
    return std::isfinite(x) && std::isfinite(y) && !(x == rundef && y == rundef);
  }

  // U to V, through the map's band and range as the lines see them.
  bool toNormalized(float ux, float uy, float& vx, float& vy) const {
    float x = 0, y = 0;
    stfrad(ux, uy, x, y);
    if (map) {
      float tx = 0, ty = 0;
      stfrot(x, y, tx, ty);
      if (!defined(tx, ty)) return false;
      tx = xmplon(tx);
      if (!latitude.start(tx, ty, tx, ty, true) || !longitude.start(tx, ty, tx, ty, true)) return false;
      x = tx;
      y = ty;
    }
    stftrn(x, y, vx, vy);
    return true;
  }

  // Where on the page (R) the marker for point (x, y) goes, if anywhere. The
  // point goes through the perspective view; the marker is then drawn past it
  // (stepr2), so that it stays upright and of one size.
  bool locate(float x, float y, float& rx, float& ry) const {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (missingOn && (x == missing || y == missing)) return false;
    if (level == Level::device) {
      rx = x;
      ry = y;
      return true;
    }
    float vx = x, vy = y;
    if (level == Level::user && !toNormalized(x, y, vx, vy)) return false;
    if (!defined(vx, vy)) return false;
    if (clip && (vx < xmin || vx > xmax || vy < ymin || vy > ymax)) return false;
    stfpr2(vx, vy, rx, ry);
    return defined(rx, ry);
  }
};

// The stroke-font glyph of one marker type at one size, ready to be put at any
// number of points. Its strokes go through the text-stroke entry unclipped by
// the viewport: a marker is drawn whole or not at all. A filled glyph (a closed
// outline hatched inside) is filled as a tone where the workstation has tones
// and the marker lies inside its window, and then only its outline is stroked:
// solid at any size, and far cheaper than the hatching. Where the workstation
// takes a marker whole (PDF pages), the shape is handed over once per point
// and the page holds it once: filling and stroking every marker on its own
// costs a vector page memory and time without bound.
class StrokeMarker {
 public:
  StrokeMarker(const Glyph& g, float size) : code_(g.code) {
    const stroke_font::Tables& t = stroke_font::tables();
    const float scale = size / 24.0F;
    const float a = static_cast<float>(g.angle) * std::numbers::pi_v<float> / 180.0F;
    const float cs = g.angle == 0 ? scale : std::cos(a) * scale;
    const float sn = g.angle == 0 ? 0.0F : std::sin(a) * scale;
    bool penUp = true;
    std::size_t firstStrokeEnd = 0;
    for (auto j = static_cast<std::size_t>(t.index[g.code]); j < t.x.size(); ++j) {
      const int bx = t.x[j], by = t.y[j];
      if (bx == 0 && by == 0) break;
      if (bx == 0) {
        penUp = true;
        continue;
      }
      if (penUp && !strokes_.empty() && firstStrokeEnd == 0) firstStrokeEnd = strokes_.size();
      const auto u = static_cast<float>(bx - stroke_font::kBias);
      const auto v = -static_cast<float>(by - stroke_font::kBias);
      strokes_.push_back({cs * u - sn * v, sn * u + cs * v, penUp});
      units_.push_back({u, v, penUp});
      penUp = false;
    }
    // Glyph units to R, for the workstation's shapes.
    cs_ = cs;
    sn_ = sn;
    if (firstStrokeEnd == 0) firstStrokeEnd = strokes_.size();
    const bool closed = firstStrokeEnd >= 4 && strokes_[0].x == strokes_[firstStrokeEnd - 1].x &&
                        strokes_[0].y == strokes_[firstStrokeEnd - 1].y;
    bool tones = false;
    swqtnc(tones);
    const bool filledGlyph = g.code == kDot || (g.code >= kFirstFilled && g.code <= kLastFilled);
    if (filledGlyph && closed && tones)
      outline_.assign(strokes_.begin(), strokes_.begin() + static_cast<std::ptrdiff_t>(firstStrokeEnd));
    szqcll(wxmin_, wxmax_, wymin_, wymax_, 0);
    prepareWhole(firstStrokeEnd);
  }

  // Hands the whole marker at (rx, ry) in R to the workstation; false when
  // it must be filled and stroked here (no such workstation, or the marker
  // reaches beyond the window, where the strokes are cut).
  bool place(float rx, float ry) const {
    if (!whole_ || wholeCounts_.empty()) return false;
    if (!(rx + xlo_ >= wxmin_ && rx + xhi_ <= wxmax_ && ry + ylo_ >= wymin_ && ry + yhi_ <= wymax_)) return false;
    float wx = 0, wy = 0;
    stfwtr(rx, ry, wx, wy);
    return swmark(shape_, wx, wy, a_, b_, c_, d_, static_cast<int>(wholeCounts_.size()), wholeCounts_.data(),
                  wholeU_.data(), wholeV_.data(), !outline_.empty());
  }

  // Fills the marker at (rx, ry) in R when it can; false when its strokes
  // must do all the work.
  bool fill(float rx, float ry, int tone) {
    if (outline_.empty()) return false;
    wx_.clear();
    wy_.clear();
    for (const Offset& o : outline_) {
      const float x = rx + o.x, y = ry + o.y;
      if (!(x >= wxmin_ && x <= wxmax_ && y >= wymin_ && y <= wymax_)) return false;
      float wx = 0, wy = 0;
      stfwtr(x, y, wx, wy);
      wx_.push_back(wx);
      wy_.push_back(wy);
    }
    swgton(static_cast<int>(wx_.size()), wx_.data(), wy_.data(), tone);
    return true;
  }

  // Strokes the marker at (rx, ry) in R: the outline only when it was filled.
  void stroke(float rx, float ry, bool filled) const {
    const std::vector<Offset>& points = filled ? outline_ : strokes_;
    szopsv();
    for (const Offset& o : points) o.move ? szmvsv(rx + o.x, ry + o.y) : szplsv(rx + o.x, ry + o.y);
    szclsv();
  }

 private:
  static constexpr int kDot = 1;
  static constexpr int kFirstFilled = 10;
  static constexpr int kLastFilled = 16;
  struct Offset {
    float x, y;
    bool move;
  };
  // The lines handed over whole, in glyph units (the outline alone when it is
  // filled), their extent in R, and glyph units to W.
  void prepareWhole(std::size_t outlineEnd) {
    const std::size_t n = outline_.empty() ? units_.size() : outlineEnd;
    for (std::size_t i = 0; i < n; ++i) {
      const Offset& o = units_[i];
      if (o.move || wholeCounts_.empty()) wholeCounts_.push_back(0);
      ++wholeCounts_.back();
      wholeU_.push_back(o.x);
      wholeV_.push_back(o.y);
      const Offset& r = strokes_[i];
      xlo_ = std::min(xlo_, r.x);
      xhi_ = std::max(xhi_, r.x);
      ylo_ = std::min(ylo_, r.y);
      yhi_ = std::max(yhi_, r.y);
    }
    float rxmin = 0, rxmax = 0, rymin = 0, rymax = 0, wxmin = 0, wxmax = 0, wymin = 0, wymax = 0;
    int iwtrf = 1;
    stqwtr(rxmin, rxmax, rymin, rymax, wxmin, wxmax, wymin, wymax, iwtrf);
    const double cx = (wxmax - wxmin) / (rxmax - rxmin), cy = (wymax - wymin) / (rymax - rymin);
    // R to W is a scale, turned by 90 degrees for turned output.
    const double wxx = iwtrf == 1 ? cx : 0.0, wxy = iwtrf == 1 ? 0.0 : cy;
    const double wyx = iwtrf == 1 ? 0.0 : -cx, wyy = iwtrf == 1 ? cy : 0.0;
    a_ = wxx * cs_ + wxy * sn_;
    b_ = -wxx * sn_ + wxy * cs_;
    c_ = wyx * cs_ + wyy * sn_;
    d_ = -wyx * sn_ + wyy * cs_;
    whole_ = std::isfinite(cx) && std::isfinite(cy);
    // Negative: apart from the text's glyph shapes; the rotation and size
    // are the driver's matrix.
    shape_ = -(static_cast<long long>(stroke_font::generation()) * 4 * stroke_font::kGlyphs + 2 * code_ +
               (outline_.empty() ? 0 : 1) + 1);
  }

  std::vector<Offset> strokes_;
  std::vector<Offset> units_;
  std::vector<Offset> outline_;
  unsigned char code_ = 1;
  float cs_ = 1, sn_ = 0;
  std::vector<int> wholeCounts_;
  std::vector<float> wholeU_, wholeV_;
  float xlo_ = 0, xhi_ = 0, ylo_ = 0, yhi_ = 0;
  double a_ = 0, b_ = 0, c_ = 0, d_ = 0;
  bool whole_ = false;
  long long shape_ = 0;
  std::vector<float> wx_, wy_;
  float wxmin_ = 0, wxmax_ = 1, wymin_ = 0, wymax_ = 1;
};

// The tone that fills in the colour a line of `index` is drawn in.
int toneOf(int index) {
  int background = 999;
  sgiget("IBGCLI", background);
  const int q = index / 10;
  int colour = 0;
  if (q != background) {
    colour = q % 100;
    if (colour == 0) colour = 1;
  }
  return colour * 1000 + 999;
}

void systemFontMarkers(const Placement& place, const Glyph& glyph, int n, const float* x, const float* y, int index,
                       float size) {
  // The text engine decides between the system font's marker glyphs and the
  // stroke font's, as it does for marker codes in any text.
  const std::string text(1, static_cast<char>(glyph.code));
  sztxop(size, glyph.angle, 0, index);
  pipeline::lineState().clipText = false;
  for (int i = 0; i < n; ++i) {
    float rx = 0, ry = 0;
    if (!place.locate(x[i], y[i], rx, ry)) continue;
    stepr2();
    sztxwv(rx, ry, text);
    strpr2();
  }
  sztxcl();
}

void strokeFontMarkers(const Placement& place, const Glyph& glyph, int n, const float* x, const float* y, int index,
                       float size) {
  if (!stroke_font::ensureLoaded()) return;
  std::vector<float> rx, ry;
  for (int i = 0; i < n; ++i) {
    float px = 0, py = 0;
    if (!place.locate(x[i], y[i], px, py)) continue;
    rx.push_back(px);
    ry.push_back(py);
  }
  StrokeMarker marker(glyph, size);
  int saved = 0;
  szqidx(saved);
  // Whole markers first, in the line index's colour and width.
  szsidx(index);
  std::vector<bool> placed(rx.size());
  std::size_t left = 0;
  for (std::size_t i = 0; i < rx.size(); ++i) {
    placed[i] = marker.place(rx[i], ry[i]);
    left += !placed[i];
  }
  if (left > 0) {
    // All fills first: a tone leaves its colour as the drawing colour, so the
    // line index is set once after them.
    const int tone = toneOf(index);
    std::vector<bool> filled(rx.size());
    for (std::size_t i = 0; i < rx.size(); ++i)
      if (!placed[i]) filled[i] = marker.fill(rx[i], ry[i], tone);
    szsidx(index);
    pipeline::lineState().clipText = false;
    stepr2();
    for (std::size_t i = 0; i < rx.size(); ++i)
      if (!placed[i]) marker.stroke(rx[i], ry[i], filled[i]);
    strpr2();
  }
  szsidx(saved);
}

void markers(std::string_view routine, Level level, int n, const float* x, const float* y, int type, int index,
             float size) {
  if (!drawable(routine, n, type, index, size)) return;
  const Placement place(level);
  const Glyph glyph = glyphOf(type);
  bool sysfont = false;
  swlget("SYSFONT", sysfont);
  std::string description = std::to_string(type) + " " + std::to_string(index);
  description.resize(80, ' ');
  swoopn("SZPM", description);
  bool& clipText = pipeline::lineState().clipText;
  const bool savedClip = clipText;
  if (sysfont) systemFontMarkers(place, glyph, n, x, y, index, size);
  else strokeFontMarkers(place, glyph, n, x, y, index, size);
  clipText = savedClip;
  swocls("SZPM");
}

}  // namespace

void sgspmt(int itype) { currentMarkerType = itype; }
void sgqpmt(int& itype) { itype = currentMarkerType; }
void sgspmi(int index) { currentMarkerIndex = index; }
void sgqpmi(int& index) { index = currentMarkerIndex; }
void sgspms(float size) { currentMarkerSize = size; }
void sgqpms(float& size) { size = currentMarkerSize; }

void sgpmu(int n, const float* upx, const float* upy) {
  markers("SGPMU", Level::user, n, upx, upy, currentMarkerType, currentMarkerIndex, currentMarkerSize);
}
void sgpmv(int n, const float* vpx, const float* vpy) {
  markers("SGPMV", Level::normalized, n, vpx, vpy, currentMarkerType, currentMarkerIndex, currentMarkerSize);
}
void sgpmr(int n, const float* rpx, const float* rpy) {
  markers("SGPMR", Level::device, n, rpx, rpy, currentMarkerType, currentMarkerIndex, currentMarkerSize);
}
void sgpmzu(int n, const float* upx, const float* upy, int itype, int index, float size) {
  markers("SGPMZU", Level::user, n, upx, upy, itype, index, size);
}
void sgpmzv(int n, const float* vpx, const float* vpy, int itype, int index, float size) {
  markers("SGPMZV", Level::normalized, n, vpx, vpy, itype, index, size);
}
void sgpmzr(int n, const float* rpx, const float* rpy, int itype, int index, float size) {
  markers("SGPMZR", Level::device, n, rpx, rpy, itype, index, size);
}

}  // namespace zep
