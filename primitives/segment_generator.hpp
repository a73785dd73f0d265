// The common shape of the segment generators of the line pipeline: clippers and
// interpolators are prepared with one segment and then hand out its points one
// at a time. Wrapping each in a small object with prepare()/next() lets a stage
// chain them without caring which routine family is behind it:
//
//   detail::RectangleClipper clip(1);
//   detail::forEachPoint(clip, x0, y0, x1, y1, [](const detail::SegmentPoint& p) {
//     p.move ? moveTo(p.x, p.y) : drawTo(p.x, p.y);
//   });
//
// The objects are handles onto the routine families' shared state (limits and
// the generator itself), so they are cheap to create and two handles onto the
// same family share one generator.
#pragma once

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

// Rectangle clipper on rectangle 0 (R level) or 1 (V level).
class RectangleClipper {
 public:
  explicit RectangleClipper(int n) : n_(n) {}
  bool prepare(float x0, float y0, float x1, float y1) {
    szpcll(x0, y0, x1, y1, more_, n_);
    return more_;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    szgcll(p.x, p.y, more_, p.move, n_);
    return true;
  }

 private:
  int n_;
  bool more_ = false;
};

// Latitude clipper; the first point of a piece is a move.
class LatitudeClipper {
 public:
  explicit LatitudeClipper(bool strict = true) : strict_(strict) {}
  bool prepare(float x0, float y0, float x1, float y1) {
    szpcly(x0, y0, x1, y1, more_, strict_);
    return more_;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    szgcly(p.x, p.y, more_);
    p.move = more_;
    return true;
  }

 private:
  bool strict_;
  bool more_ = false;
};

// Longitude clipper; `bound` treats points on a range boundary as the pipeline's
// T stage does.
class LongitudeClipper {
 public:
  explicit LongitudeClipper(bool bound = true) : bound_(bound) {}
  bool prepare(float x0, float y0, float x1, float y1) {
    szpclx(x0, y0, x1, y1, more_, bound_);
    return more_;
  }
  bool next(SegmentPoint& p) {
    if (!more_) return false;
    szgclx(p.x, p.y, more_, p.move);
    return true;
  }

 private:
  bool bound_;
  bool more_ = false;
};

}  // namespace zep::detail
