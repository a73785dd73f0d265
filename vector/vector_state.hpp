// State shared by the vector routines: the field as given, where its points lie
// in V, and how a vector at a point turns into a direction in V.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zep::vector {

struct Field {
  bool set = false;
  bool grid = false;  // a grid (nx by ny) or scattered points (nx points, ny 1)
  int nx = 0, ny = 0;
  std::vector<float> x, y;   // grid: the given coordinate vectors (empty: the U window); points: per point
  std::vector<float> u, v;   // NaN where missing
  std::uint64_t generation = 0;  // grows with every new field, to know when computed things are stale
};

Field& field();

// Checks that a field is set (error report otherwise).
bool requireField(const char* routine);

// What the frame and the points need of the transformation, read once per
// drawing routine (refresh) rather than once per arrow.
struct Setup {
  bool map = false, ludir = false;
  int itr = 1;
  float wx0 = 0, wx1 = 1, wy0 = 0, wy1 = 1;  // the U window
  float radx = 1, rady = 1;                  // radians per U unit
};
const Setup& setup();
void refreshSetup();

// The U coordinates of point k (grid: k = j * nx + i).
void pointU(int k, float& ux, float& uy);
std::size_t pointCount();

// Whether the current transformation is a map projection.
bool onMap();

// Unit directions in V of east and north (maps) or of the U axes / the screen
// (elsewhere) at the U point (ux, uy); false where they cannot be measured.
// The vector (u, v) points along u * e + v * n.
bool localFrame(float ux, float uy, float& ex, float& ey, float& nx, float& ny);

// Direction in V (unit length) of the vector (u, v) at (ux, uy); false when
// undefined (missing, zero or outside the map).
bool directionV(float ux, float uy, float u, float v, float& dx, float& dy);

// Where the points lie in V and which of them are drawn after thinning to the
// spacing (VC SPACE, or automatic on maps); the spacing of the kept arrows.
struct Placement {
  std::vector<int> kept;          // point numbers, in order
  std::vector<float> vx, vy;      // V position of every kept point
  float spacing = 0;              // typical V distance between neighbouring arrows
  float maxMagnitude = 0;         // among kept, valid points
};
Placement place(const char* routine);

// The scale (V units per data unit): VC SCALE or the automatic one; 0 after an error report.
float arrowScale(const Placement& p, const char* routine);

// Pen of a magnitude: VC INDEX, or with VC LCOLOR the colour of the colour
// package's current colormap and normalisation (bounds not set: the
// magnitudes' range), quantised to CM NBIN colours so that runs of one colour
// go out together. A key names a pen; keys order pens for batching.
class MagnitudeColours {
 public:
  MagnitudeColours(float maxMagnitude, float minMagnitude);
  int keyOf(float magnitude) const;
  // Line index of a key (0: not drawn) and its full colour (-1: the index's own).
  int lineIndex(int key) const;
  int rgb(int key) const;
 private:
  int base_ = 1;
  bool on_ = false;
  int bins_ = 256;
};

// Full-colour mode for lines and fills while it lives, when rgb >= 0.
class FullColourPen {
 public:
  explicit FullColourPen(int rgb);
  ~FullColourPen();
  FullColourPen(const FullColourPen&) = delete;
  FullColourPen& operator=(const FullColourPen&) = delete;
  void refresh() const;  // sets the colour again (before fills)
 private:
  int rgb_;
};

// Colour index of a fill that matches lines of this line index.
int fillColour(int lineIndex);

// The map's outline in V, read from the current map (limits in T, viewport):
// arrows and barbs are cut where they leave it, as lines drawn in U are. Off
// maps it is inactive and cuts nothing.
class MapOutline {
 public:
  MapOutline();
  bool active() const { return active_; }
  // Whether a V point shows the map: in the viewport, and the image of a point
  // within the limits (the inverse alone also answers beyond the outline).
  bool covers(float vx, float vy) const;
  // The parts of a segment on the map, as x1 y1 x2 y2 appended to `out`.
  void cut(float x1, float y1, float x2, float y2, std::vector<float>& out) const;
  // A closed polygon cut to the map: its parts outside replaced by chords
  // between the points where it leaves and re-enters (small shapes such as
  // heads and pennants, for which a chord of the edge is the edge).
  void cutRing(const std::vector<float>& xy, std::vector<float>& out) const;
  // Fills the polygon of n points (x y pairs, V) with a tone, cut as above.
  void fill(const float* xy, int n, int tone) const;

 private:
  // Where the outline lies between a point on the map and one off it.
  void crossing(float ix, float iy, float ox, float oy, float& x, float& y) const;
  bool active_ = false;
  bool fullCircle_ = true;
  float txmin_ = 0, txmax_ = 0, tymin_ = 0, tymax_ = 0;  // radians
  float vx0_ = 0, vx1_ = 1, vy0_ = 0, vy1_ = 1;
  float rundef_ = -999;
  mutable std::vector<float> ring_, cut_, x_, y_;  // reused by fill
};

// Arrow shafts and heads of one line index: segments go through one open line
// primitive; filled heads (SG LATONE) are collected and filled when it closes.
// Heads follow SG ANGLE (half-angle), LPROP, AFACT and CONST.
class ArrowBatch {
 public:
  // rgb >= 0 draws in that full colour, the line index giving the width;
  // onMap cuts everything at the outline of the current map (if any).
  explicit ArrowBatch(int lineIndex, int rgb = -1, bool onMap = false);
  ~ArrowBatch();
  ArrowBatch(const ArrowBatch&) = delete;
  ArrowBatch& operator=(const ArrowBatch&) = delete;
  void segment(float x1, float y1, float x2, float y2);
  // Head at the tip (tx, ty) of a line arriving along the unit direction (dx, dy),
  // for an arrow of the given length (heads in proportion) in V.
  void head(float tx, float ty, float dx, float dy, float arrowLength);
  // Head of a fixed length in V.
  void headOfLength(float tx, float ty, float dx, float dy, float len);
  float headLength(float arrowLength) const { return proportional_ ? factor_ * arrowLength : fixed_; }

 private:
  float cosa_ = 0, sina_ = 0, factor_ = 0.33F, fixed_ = 0.01F;
  float minSpread_ = 0;  // V; on raster pages, heads narrower than this vanish under the shaft
  bool proportional_ = true, fill_ = false;
  int tone_ = 0;
  FullColourPen pen_;
  MapOutline outline_;
  bool cut_ = false;
  std::vector<float> pieces_;
  std::vector<float> triangles_;  // x0 y0 x1 y1 x2 y2 per filled head
};

}  // namespace zep::vector
