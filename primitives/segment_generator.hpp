// The segment generators of the line pipeline: clippers and interpolators are
// prepared with one segment and then hand out its points one at a time. Each is
// a value that owns its segment and pending points, so every stage holds its
// own and two generators never disturb each other, even when one is prepared
// while the other is still handing out points (a label drawn in the middle of a
// clipped line, say). Limits such as the clipping rectangles are settings shared
// by all generators of a kind; they are read when a segment is prepared.
//
//   detail::RectangleClipper clip(1);
//   detail::forEachPoint(clip, x0, y0, x1, y1, [](const detail::SegmentPoint& p) {
//     p.move ? moveTo(p.x, p.y) : drawTo(p.x, p.y);
//   });
//
// The routine families (szpcll/szgcll, szpcly/szgcly, szpclx/szgclx,
// szpipl/szgipl, szpipt/szgipt, szsgcl/szqgcy/szqgcx) work over generators of
// their own, through start() and pull(), which keep the families' protocol.
#pragma once

#include <array>
#include <concepts>

#include <zep/primitives.hpp>

namespace zep::detail {

// One point handed out; `move` starts a new piece, otherwise draw to the point.
struct SegmentPoint {
  float x = 0.0F;
  float y = 0.0F;
  bool move = false;
};

// prepare() takes one segment and tells whether anything of it is handed out;
// next() fills the next point and returns false, leaving the point untouched,
// once the segment is exhausted.
template <class G>
concept SegmentGenerator = requires(G& g, float v, SegmentPoint& p) {
  { g.prepare(v, v, v, v) } -> std::same_as<bool>;
  { g.next(p) } -> std::same_as<bool>;
};

// Prepares `g` with the segment and passes every point it hands out to `sink`.
template <SegmentGenerator G, class Sink>
void forEachPoint(G& g, float x0, float y0, float x1, float y1, Sink&& sink) {
  if (!g.prepare(x0, y0, x1, y1)) return;
  SegmentPoint p;
  while (g.next(p)) sink(p);
}

struct PlanePoint {
  float x = 0.0F;
  float y = 0.0F;
};

// The great circle through two points on the sphere (T coordinates, radians).
// Away from the poles it is tan(latitude) = a cos(longitude - L) with node
// longitude L; through a pole it is a meridian.
class GreatCircle {
 public:
  void set(float x0, float y0, float x1, float y1);
  float latitudeAt(float x) const;
  float longitudeAt(float y) const;

 private:
  float x0_ = 0.0F;           // first point's longitude
  float node_ = 0.0F;         // L
  float slope_ = 0.0F;        // a
  float side_ = 0.0F;         // where the segment's midpoint lies relative to L
  bool meridian_ = false;     // one end at a pole
  float meridianLon_ = 0.0F;  // longitude of that meridian
  float poleLat_ = 0.0F;      // latitude value returned on a meridian
};

// Rectangle clipper on rectangle 0 (R level) or 1 (V level). Hands out up to
// two points: the entry point as a move, then the exit or end point as a draw.
class RectangleClipper {
 public:
  explicit RectangleClipper(int n) : n_(n) {}
  bool prepare(float x0, float y0, float x1, float y1) {
    more_ = start(x0, y0, x1, y1);
    return more_;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    pull(p.x, p.y, more_, p.move);
    return true;
  }
  // The family's protocol: whether anything is visible, then the points; once
  // exhausted, the last point again with `lcont` false and `lmove` true.
  bool start(float x0, float y0, float x1, float y1);
  void pull(float& x, float& y, bool& lcont, bool& lmove);

 private:
  struct Rect {
    float xmin, xmax, ymin, ymax;
  };
  void bothInside(float x1, float y1);
  void oneInside(const Rect& r, float x0, float y0, float x1, float y1, int kx0, int ky0, int kx1, int ky1, bool in1);
  bool bothOutside(const Rect& r, float x0, float y0, float x1, float y1, int kx0, int ky0, int kx1, int ky1);

  int n_;
  bool more_ = false;
  std::array<PlanePoint, 2> pending_{};
  int next_ = 3;  // index (1 or 2) of the next pending point; 3 when exhausted
  PlanePoint last_{};
};

// Latitude clipper; the first point of a piece is a move.
class LatitudeClipper {
 public:
  explicit LatitudeClipper(bool strict = true) : strict_(strict) {}
  bool prepare(float x0, float y0, float x1, float y1) {
    more_ = start(x0, y0, x1, y1, strict_);
    return more_;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    pull(p.x, p.y, more_);
    p.move = more_;
    return true;
  }
  bool start(float x0, float y0, float x1, float y1, bool strict);
  void pull(float& x, float& y, bool& lcont);

 private:
  bool strict_;
  bool more_ = false;
  GreatCircle circle_;
  std::array<PlanePoint, 2> pending_{};
  int next_ = 3;
  PlanePoint last_{};
};

// Longitude clipper; `bound` treats points on a range boundary as the
// pipeline's T stage does. A segment may leave the range at one boundary and
// come back at the other (when it crosses the seam), so it is handed out in up
// to three steps: 1 the exit point, 2 the re-entry point (a move), 3 the end.
class LongitudeClipper {
 public:
  explicit LongitudeClipper(bool bound = true) : bound_(bound) {}
  bool prepare(float x0, float y0, float x1, float y1) {
    more_ = start(x0, y0, x1, y1, bound_);
    return more_;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    pull(p.x, p.y, more_, p.move);
    return true;
  }
  bool start(float x0, float y0, float x1, float y1, bool bound);
  void pull(float& x, float& y, bool& lcont, bool& lmove);

 private:
  enum class Where { outside, inside, boundary };
  Where classify(float x, bool bound) const;
  bool onBoundary(float x) const;
  void boundaryPoint(int step, float& x, float& y);

  bool bound_;
  bool more_ = false;
  GreatCircle circle_;
  float xmin_ = 0.0F, xmax_ = 0.0F;
  float x0_ = 0.0F, y0_ = 0.0F, x1_ = 0.0F, y1_ = 0.0F;
  float d_ = 0.0F;   // shortest longitude difference
  float xu_ = 0.0F;  // end unfolded from the start
  int step_ = 4;     // current step; beyond `lastStep_` when exhausted
  int lastStep_ = 3;
  PlanePoint last_{};
};

// The generator protocol of an interpolator, over its own start (prepare one
// segment in a mode) and pull (the next point, and whether more follow): every
// point is a draw, the last one the segment's end.
template <typename Interpolator>
class InterpolatorGenerator {
 public:
  bool prepare(float x0, float y0, float x1, float y1) {
    self().start(x0, y0, x1, y1, 0);
    more_ = true;
    return true;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    self().pull(p.x, p.y, more_);
    p.move = false;
    return true;
  }

 private:
  Interpolator& self() { return static_cast<Interpolator&>(*this); }
  bool more_ = false;
};

// Linear interpolation in U: the points of a segment cut into steps of the
// line state's RDX and RDY, all of them draws, the last the segment's end.
class LinearInterpolator : public InterpolatorGenerator<LinearInterpolator> {
 public:
  void start(float x0, float y0, float x1, float y1, int mode);
  void pull(float& x, float& y, bool& lcont);

 private:
  float x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0, dx_ = 0, dy_ = 0;
  int n_ = 1, k_ = 1;
  bool lastDecision_ = false;  // what an unknown mode keeps
};

// Interpolation along the great circle in T, in steps of the line state's RDX
// (RDY along meridians); all draws, the last the segment's end.
class GreatCircleInterpolator : public InterpolatorGenerator<GreatCircleInterpolator> {
 public:
  void start(float x0, float y0, float x1, float y1, int mode);
  void pull(float& x, float& y, bool& lcont);

 private:
  GreatCircle circle_;
  float x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0, increment_ = 0;
  int n_ = 1, k_ = 1;
  bool alongX_ = true;
  bool fixedLatitude_ = false;   // hold the latitude instead of following the circle
  bool fixedLongitude_ = false;  // hold the longitude
  float fixedValue_ = 0;
  bool lastDecision_ = false;
};

}  // namespace zep::detail
