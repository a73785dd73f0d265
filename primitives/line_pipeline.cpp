// The stages of the line pipeline and the chain that joins them.
#include "primitives/line_pipeline.hpp"

#include <cmath>
#include <numbers>

#include <zep/zep.hpp>

#include "foundation/parameter_handle.hpp"
#include "primitives/dash_stage.hpp"
#include "primitives/label_stage.hpp"
#include "primitives/segment_generator.hpp"

namespace zep::pipeline {

LineState& lineState() {
  static LineState state;
  return state;
}

namespace {

struct Point {
  float x = 0.0F;
  float y = 0.0F;
};

// What the transformations return for a point they cannot map.
float undefinedValue() {
  static ParameterHandle<float, glrqid, glrqvl> rundef("RUNDEF");
  return rundef.get();
}

bool defined(float x, float y, float rundef) { return finite(x, y) && !(x == rundef && y == rundef); }

// Clips against rectangle `rect` (1 the viewport in V, 0 the workstation window
// in R) while `active` says so; otherwise passes points on.
class ClipStage : public PassStage {
 public:
  ClipStage(int rect, bool (*active)(), LineStage& next) : PassStage(next), active_(active), clipper_(rect) {}
  void open() override {
    pen_.reset();
    next_.open();
  }
  void moveTo(float x, float y) override {
    if (pen_.drops(x, y)) return;
    pen_.reset();
    current_ = {x, y};
    if (!active_()) {
      next_.moveTo(x, y);
      return;
    }
    if (clipper_.start(x, y, x, y)) next_.moveTo(x, y);
  }
  void drawTo(float x, float y) override {
    if (pen_.drops(x, y)) return;
    if (pen_.resumes()) {
      moveTo(x, y);
      return;
    }
    if (!active_()) {
      next_.drawTo(x, y);
    } else {
      detail::forEachPoint(clipper_, current_.x, current_.y, x, y,
                           [this](const detail::SegmentPoint& p) { forward(p.x, p.y, p.move); });
    }
    current_ = {x, y};
  }

 private:
  bool (*active_)();
  detail::RectangleClipper clipper_;
  Point current_;
  PenLift pen_;
};

// V to R. The 2-D perspective view, when it is switched on, maps here; with it
// off (the default) R equals V. A straight segment stays straight under the
// view, so mapping its ends is enough. A point without an image (in the plane
// of the eye), or one that is not finite, lifts the pen: the next point starts
// a new piece. Points that arrive undefined pass as they are, as with the view
// off.
class PerspectiveStage : public PassStage {
 public:
  using PassStage::PassStage;
  void open() override {
    rundef_ = undefinedValue();
    penUp_ = false;
    next_.open();
  }
  void moveTo(float x, float y) override {
    float rx = 0.0F, ry = 0.0F;
    stfpr2(x, y, rx, ry);
    penUp_ = lost(x, y, rx, ry);
    if (!penUp_) next_.moveTo(rx, ry);
  }
  void drawTo(float x, float y) override {
    float rx = 0.0F, ry = 0.0F;
    stfpr2(x, y, rx, ry);
    if (lost(x, y, rx, ry)) {
      penUp_ = true;
      return;
    }
    forward(rx, ry, penUp_);
    penUp_ = false;
  }

 private:
  // Whether the view had no image for a point that had one in V.
  bool lost(float x, float y, float rx, float ry) const {
    return !finite(rx, ry) || (rx == rundef_ && ry == rundef_ && !(x == rundef_ && y == rundef_));
  }
  float rundef_ = -999.0F;
  bool penUp_ = false;
};

// R to W, and on to the workstation: the end of the chain, with no next stage.
// Only finite points reach the workstation.
class WorkstationStage : public LineStage {
 public:
  void open() override {
    pen_.reset();
    swgopn();
  }
  void moveTo(float x, float y) override {
    float wx = 0, wy = 0;
    stfwtr(x, y, wx, wy);
    if (pen_.drops(wx, wy)) return;
    pen_.reset();
    swgmov(wx, wy);
  }
  void drawTo(float x, float y) override {
    float wx = 0, wy = 0;
    stfwtr(x, y, wx, wy);
    if (pen_.drops(wx, wy)) return;
    pen_.resumes() ? swgmov(wx, wy) : swgplt(wx, wy);
  }
  void close() override { swgcls(); }

 private:
  PenLift pen_;
};

// T: rotated map coordinates (radians). Folds longitudes, follows great circles
// and clips to the latitude band and longitude range before projecting to V.
// A draw goes through three generators in turn: the great-circle interpolation
// hands its points to the latitude clipper, whose points (folded again) go to
// the longitude clipper, whose points are projected.
class MapStage : public PassStage {
 public:
  using PassStage::PassStage;
  void open() override {
    pen_.reset();
    unmapped_.reset();
    rundef_ = undefinedValue();
    next_.open();
  }
  void moveTo(float x, float y) override {
    if (pen_.drops(x, y)) return;
    pen_.reset();
    x = xmplon(x);
    firstPoint_ = true;
    if (latitude_.start(x, y, x, y, true) && longitude_.start(x, y, x, y, true)) {
      project(x, y, true);
      firstPoint_ = false;
    }
    current_ = {x, y};
  }
  void drawTo(float x, float y) override {
    if (pen_.drops(x, y)) return;
    if (pen_.resumes()) {
      moveTo(x, y);
      return;
    }
    x = xmplon(x);
    // A pole has no longitude of its own (the rotation gives the pole opposite
    // the map's any longitude at all): a segment with one end there runs along
    // the meridian of its other end. Where the projection spreads that pole
    // over a line or a circle, leaving it on another meridian is a move.
    const bool startAtPole = atPole(current_.y), endAtPole = atPole(y);
    if (endAtPole && !startAtPole) {
      x = current_.x;
    } else if (startAtPole && !endAtPole && !lreqa(x, current_.x, 1.0E-5F)) {
      float v0x = 0, v0y = 0, v1x = 0, v1y = 0;
      stftrn(current_.x, current_.y, v0x, v0y);
      stftrn(x, current_.y, v1x, v1y);
      if (lreqa(v0x, v1x, 1.0E-5F) && lreqa(v0y, v1y, 1.0E-5F)) current_.x = x;
      else moveTo(x, current_.y);
    }
    if (!firstPoint_ && lreqa(x, current_.x, 1.0E-5F) && lreqa(y, current_.y, 1.0E-5F)) return;
    Point interpolated = current_;
    latitudeEnd_ = current_;
    detail::forEachPoint(greatCircle_, current_.x, current_.y, x, y, [&](const detail::SegmentPoint& p) {
      clipLatitude(interpolated, {p.x, p.y});
      interpolated = {p.x, p.y};
    });
    current_ = {x, y};
  }

 private:
  static bool atPole(float y) { return lreqa(std::fabs(y), std::numbers::pi_v<float> / 2, 1.0E-5F); }
  // One interpolated piece cut to the latitude band; each piece that comes out
  // is folded and cut to the longitude range.
  void clipLatitude(Point from, Point to) {
    detail::forEachPoint(latitude_, from.x, from.y, to.x, to.y, [&](const detail::SegmentPoint& q) {
      const Point folded{xmplon(q.x), q.y};
      clipLongitude(latitudeEnd_, folded, q.move);
      latitudeEnd_ = folded;
    });
  }
  // A piece cut to the longitude range; `pieceStart` says the latitude
  // clipper began a new piece at its end.
  void clipLongitude(Point from, Point to, bool pieceStart) {
    detail::forEachPoint(longitude_, from.x, from.y, to.x, to.y, [&](const detail::SegmentPoint& r) {
      const bool move = r.move || pieceStart || firstPoint_;
      firstPoint_ = false;
      project(r.x, r.y, move);
    });
  }
  // A point the projection cannot map lifts the pen.
  void project(float x, float y, bool move) {
    float vx = 0, vy = 0;
    stftrn(x, y, vx, vy);
    if (!defined(vx, vy, rundef_)) {
      unmapped_.lift();
      return;
    }
    forward(vx, vy, unmapped_.resumes() || move);
  }

  detail::GreatCircleInterpolator greatCircle_;
  detail::LatitudeClipper latitude_{true};
  detail::LongitudeClipper longitude_{true};
  Point current_;
  Point latitudeEnd_;  // the last point the latitude clipper handed out
  bool firstPoint_ = true;
  PenLift pen_;       // for points that arrive not finite
  PenLift unmapped_;  // for points the projection cannot map
  float rundef_ = -999.0F;
};

// The interpolation budget of one user segment, from its start to its end.
struct SegmentBudget {
  SegmentBudget() { lineState().pieceBudget = kPiecesPerUserSegment; }
  ~SegmentBudget() { lineState().pieceBudget = -1; }
  SegmentBudget(const SegmentBudget&) = delete;
  SegmentBudget& operator=(const SegmentBudget&) = delete;
};

// U: user coordinates. Converts degrees to radians, interpolates in U, then
// rotates to T for map projections or transforms straight to V. The next stage
// is the V stage; for map projections, from open to close, the T stage.
class UserStage : public PassStage {
 public:
  UserStage(LineStage& map, LineStage& normalized) : PassStage(normalized), map_(map) {}
  void open() override {
    stqtrf(isMap_);
    pen_.reset();
    unmapped_.reset();
    rundef_ = undefinedValue();
    next().open();
  }
  void moveTo(float x, float y) override {
    if (pen_.drops(x, y)) return;
    pen_.reset();
    stfrad(x, y, previous_.x, previous_.y);
    transform(previous_, true);
  }
  void drawTo(float x, float y) override {
    if (pen_.drops(x, y)) return;
    if (pen_.resumes()) {
      moveTo(x, y);
      return;
    }
    const SegmentBudget budget;
    Point to;
    stfrad(x, y, to.x, to.y);
    if (isMap_ && oppositePoles(previous_.y, to.y) && polesMove()) {
      // From pole to pole every meridian will do, and once the rotation has
      // moved the poles neither end keeps the caller's longitude: go by the
      // end's meridian through the equator.
      const Point equator{to.x, 0.0F};
      detail::forEachPoint(interpolator_, previous_.x, previous_.y, equator.x, equator.y,
                           [this](const detail::SegmentPoint& p) { transform({p.x, p.y}, false); });
      previous_ = equator;
    }
    detail::forEachPoint(interpolator_, previous_.x, previous_.y, to.x, to.y,
                         [this](const detail::SegmentPoint& p) { transform({p.x, p.y}, false); });
    previous_ = to;
  }
  void close() override { next().close(); }

 private:
  LineStage& next() { return isMap_ ? map_ : next_; }
  // Whether the rotation to T moves the poles (else it only shifts longitudes).
  static bool polesMove() {
    float tx = 0, ty = 0;
    stfrot(0.0F, std::numbers::pi_v<float> / 2, tx, ty);
    return !lreqa(ty, std::numbers::pi_v<float> / 2, 1.0E-5F);
  }
  static bool oppositePoles(float y0, float y1) {
    constexpr float kHalfPi = std::numbers::pi_v<float> / 2;
    return (lreqa(y0, kHalfPi, 1.0E-5F) && lreqa(y1, -kHalfPi, 1.0E-5F)) ||
           (lreqa(y0, -kHalfPi, 1.0E-5F) && lreqa(y1, kHalfPi, 1.0E-5F));
  }
  // A point the transformation cannot map lifts the pen.
  void transform(Point p, bool move) {
    Point q;
    if (isMap_) stfrot(p.x, p.y, q.x, q.y);
    else stftrn(p.x, p.y, q.x, q.y);
    if (!defined(q.x, q.y, rundef_)) {
      unmapped_.lift();
      return;
    }
    move = unmapped_.resumes() || move;
    move ? next().moveTo(q.x, q.y) : next().drawTo(q.x, q.y);
  }

  LineStage& map_;
  detail::LinearInterpolator interpolator_;
  Point previous_;
  bool isMap_ = false;
  PenLift pen_;       // for points that arrive not finite
  PenLift unmapped_;  // for points the transformation cannot map
  float rundef_ = -999.0F;
};

bool clipsToViewport() { return lineState().clipToViewport; }
bool clipsText() { return lineState().clipText; }
bool always() { return true; }

// The chain, bottom up.
struct Chain {
  WorkstationStage z;
  ClipStage r{0, &always, z};
  PerspectiveStage p{r};
  DashStage dash{p};
  LabelStage label{dash};
  ClipStage v{1, &clipsToViewport, label};
  MapStage t{v};
  UserStage u{t, v};
  ClipStage textStroke{1, &clipsText, p};
};

Chain& chain() {
  static Chain c;
  return c;
}

}  // namespace

LineStage& userStage() { return chain().u; }
LineStage& mapStage() { return chain().t; }
LineStage& viewportStage() { return chain().v; }
LineStage& labelStage() { return chain().label; }
LineStage& dashStage() { return chain().dash; }
LineStage& perspectiveStage() { return chain().p; }
LineStage& deviceStage() { return chain().r; }
LineStage& workstationStage() { return chain().z; }
LineStage& textStrokeStage() { return chain().textStroke; }
DashStage& dashPattern() { return chain().dash; }

}  // namespace zep::pipeline

// The stages' entries, one family per stage.
#define ZEP_STAGE_ENTRIES(suffix, stage)                                               \
  void szopl##suffix() { zep::pipeline::stage().open(); }                              \
  void szmvl##suffix(float x, float y) { zep::pipeline::stage().moveTo(x, y); }        \
  void szpll##suffix(float x, float y) { zep::pipeline::stage().drawTo(x, y); }        \
  void szcll##suffix() { zep::pipeline::stage().close(); }

namespace zep {
ZEP_STAGE_ENTRIES(u, userStage)
ZEP_STAGE_ENTRIES(t, mapStage)
ZEP_STAGE_ENTRIES(v, viewportStage)
ZEP_STAGE_ENTRIES(c, labelStage)
ZEP_STAGE_ENTRIES(d, dashStage)
ZEP_STAGE_ENTRIES(p, perspectiveStage)
ZEP_STAGE_ENTRIES(r, deviceStage)
ZEP_STAGE_ENTRIES(z, workstationStage)

void szopsv() { pipeline::textStrokeStage().open(); }
void szmvsv(float x, float y) { pipeline::textStrokeStage().moveTo(x, y); }
void szplsv(float x, float y) { pipeline::textStrokeStage().drawTo(x, y); }
void szclsv() { pipeline::textStrokeStage().close(); }
}  // namespace zep
