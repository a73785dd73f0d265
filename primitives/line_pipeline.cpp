// The stages of the line pipeline and the chain that joins them.
#include "primitives/line_pipeline.hpp"

#include <zep/zep.hpp>

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

// Forwards everything unchanged; stages that change only some calls build on it.
class PassStage : public LineStage {
 public:
  explicit PassStage(LineStage& next) : next_(next) {}
  void open() override { next_.open(); }
  void moveTo(float x, float y) override { next_.moveTo(x, y); }
  void drawTo(float x, float y) override { next_.drawTo(x, y); }
  void close() override { next_.close(); }

 protected:
  LineStage& next_;
};

// Clips against rectangle `rect` (1 the viewport in V, 0 the workstation window
// in R) while `active` says so; otherwise passes points on.
class ClipStage : public LineStage {
 public:
  ClipStage(int rect, bool (*active)(), LineStage& next) : rect_(rect), active_(active), next_(next) {}
  void open() override { next_.open(); }
  void moveTo(float x, float y) override {
    current_ = {x, y};
    if (!active_()) {
      next_.moveTo(x, y);
      return;
    }
    bool inside = false;
    szpcll(x, y, x, y, inside, rect_);
    if (inside) next_.moveTo(x, y);
  }
  void drawTo(float x, float y) override {
    if (!active_()) {
      next_.drawTo(x, y);
    } else {
      detail::RectangleClipper clipper(rect_);
      detail::forEachPoint(clipper, current_.x, current_.y, x, y, [this](const detail::SegmentPoint& p) {
        p.move ? next_.moveTo(p.x, p.y) : next_.drawTo(p.x, p.y);
      });
    }
    current_ = {x, y};
  }
  void close() override { next_.close(); }

 private:
  int rect_;
  bool (*active_)();
  LineStage& next_;
  Point current_;
};

// V to R. The 2-D perspective view, when it is switched on, maps here; with it
// off (the default) R equals V. A straight segment stays straight under the
// view, so mapping its ends is enough. A point without an image (in the plane
// of the eye) lifts the pen: the next point starts a new piece. Points that
// arrive undefined pass as they are, as with the view off.
class PerspectiveStage : public PassStage {
 public:
  using PassStage::PassStage;
  void open() override {
    glrget("RUNDEF", rundef_);
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
    if (penUp_) {
      next_.moveTo(rx, ry);
      penUp_ = false;
    } else {
      next_.drawTo(rx, ry);
    }
  }

 private:
  // Whether the view had no image for a point that had one in V.
  bool lost(float x, float y, float rx, float ry) const {
    return rx == rundef_ && ry == rundef_ && !(x == rundef_ && y == rundef_);
  }
  float rundef_ = -999.0F;
  bool penUp_ = false;
};

// R to W, and on to the workstation.
class WorkstationStage : public LineStage {
 public:
  void open() override { swgopn(); }
  void moveTo(float x, float y) override {
    float wx = 0, wy = 0;
    stfwtr(x, y, wx, wy);
    swgmov(wx, wy);
  }
  void drawTo(float x, float y) override {
    float wx = 0, wy = 0;
    stfwtr(x, y, wx, wy);
    swgplt(wx, wy);
  }
  void close() override { swgcls(); }
};

// T: rotated map coordinates (radians). Folds longitudes, follows great circles
// and clips to the latitude band and longitude range before projecting to V.
class MapStage : public LineStage {
 public:
  explicit MapStage(LineStage& next) : next_(next) {}
  void open() override { next_.open(); }
  void moveTo(float x, float y) override {
    x = xmplon(x);
    firstPoint_ = true;
    bool inLatitude = false, inLongitude = false;
    szpcly(x, y, x, y, inLatitude, true);
    szpclx(x, y, x, y, inLongitude, true);
    if (inLatitude && inLongitude) {
      forward(x, y, true);
      firstPoint_ = false;
    }
    current_ = {x, y};
  }
  void drawTo(float x, float y) override {
    x = xmplon(x);
    if (!firstPoint_ && lreqa(x, current_.x, 1.0E-5F) && lreqa(y, current_.y, 1.0E-5F)) return;
    szpipt(current_.x, current_.y, x, y, 0);
    Point previousInterpolated = current_;
    Point previousLatitude = current_;
    for (bool more = true; more;) {
      Point p;
      szgipt(p.x, p.y, more);
      detail::LatitudeClipper latitude(true);
      detail::forEachPoint(latitude, previousInterpolated.x, previousInterpolated.y, p.x, p.y,
                           [&](const detail::SegmentPoint& q) {
                             const float qx = xmplon(q.x);
                             const bool pieceStart = q.move;
                             detail::LongitudeClipper longitude(true);
                             detail::forEachPoint(longitude, previousLatitude.x, previousLatitude.y, qx, q.y,
                                                  [&](const detail::SegmentPoint& r) {
                                                    const bool move = r.move || pieceStart || firstPoint_;
                                                    firstPoint_ = false;
                                                    forward(r.x, r.y, move);
                                                  });
                             previousLatitude = {qx, q.y};
                           });
      previousInterpolated = p;
    }
    current_ = {x, y};
  }
  void close() override { next_.close(); }

 private:
  void forward(float x, float y, bool move) {
    float vx = 0, vy = 0;
    stftrn(x, y, vx, vy);
    move ? next_.moveTo(vx, vy) : next_.drawTo(vx, vy);
  }

  LineStage& next_;
  Point current_;
  bool firstPoint_ = true;
};

// U: user coordinates. Converts degrees to radians, interpolates in U, then
// rotates to T for map projections or transforms straight to V.
class UserStage : public LineStage {
 public:
  UserStage(LineStage& map, LineStage& normalized) : map_(map), normalized_(normalized) {}
  void open() override {
    stqtrf(isMap_);
    next().open();
  }
  void moveTo(float x, float y) override {
    stfrad(x, y, previous_.x, previous_.y);
    forward(previous_, true);
  }
  void drawTo(float x, float y) override {
    Point to;
    stfrad(x, y, to.x, to.y);
    szpipl(previous_.x, previous_.y, to.x, to.y, 0);
    for (bool more = true; more;) {
      Point p;
      szgipl(p.x, p.y, more);
      forward(p, false);
    }
    previous_ = to;
  }
  void close() override { next().close(); }

 private:
  LineStage& next() { return isMap_ ? map_ : normalized_; }
  void forward(Point p, bool move) {
    Point q;
    if (isMap_) stfrot(p.x, p.y, q.x, q.y);
    else stftrn(p.x, p.y, q.x, q.y);
    move ? next().moveTo(q.x, q.y) : next().drawTo(q.x, q.y);
  }

  LineStage& map_;
  LineStage& normalized_;
  Point previous_;
  bool isMap_ = false;
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
