// State shared by the contour routines: the field, its levels, and the lines and
// bands computed from them. One instance per process, like every package table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zep::contour {

// Class of a grid point: the number of levels at or below its value; missing
// points carry kMissingClass.
using PointClass = std::uint16_t;
constexpr PointClass kMissingClass = 0xFFFF;
constexpr int kLevelLimit = 0xFFFE;

struct Level {
  float value = 0;
  int index = 1;   // line index
  int type = 1;    // line type
  bool label = false;
  std::string text;  // label text
};

// Polylines (lines) or rings (bands) in flat arrays: item k owns the points
// start[k] .. start[k+1]-1.
struct Paths {
  std::vector<float> x, y;
  std::vector<std::size_t> start{0};
  std::vector<int> tag;         // level (lines, from 0) or band (rings, from 0)
  std::vector<std::uint8_t> closed;
  std::size_t count() const { return tag.size(); }
  void clear() {
    x.clear();
    y.clear();
    start.assign(1, 0);
    tag.clear();
    closed.clear();
  }
};

enum class LevelMode { Automatic, Interval, List };

struct State {
  // Field: z[j * nx + i] is the point (x_i, y_j); missing points are NaN.
  int nx = 0, ny = 0;
  std::vector<float> z;
  std::vector<float> xgiven, ygiven;  // empty: the U window at computation time
  bool fieldSet = false;
  float zmin = 0, zmax = 0;
  bool anyValid = false;

  LevelMode mode = LevelMode::Automatic;
  float interval = 0, reference = 0;
  std::vector<float> listed;

  bool levelsReady = false;
  std::vector<Level> levels;
  std::string format;  // printf format of the labels

  // Derived for the computations. On a map, a grid that spans the whole circle
  // less one step in x (0 .. 357.5 by 2.5) is periodic: the computation grid
  // repeats column 0 one circle on, as column nx, so that nothing is missing
  // between the last column and the first.
  bool wrapped = false;
  int cols = 0;                        // columns of the computation grid: nx, or nx + 1 when wrapped
  std::vector<float> zwrapped;         // the field with column 0 repeated (wrapped only)
  std::vector<float> xs, ys;           // coordinates of the grid points (cols and ny of them)
  std::vector<PointClass> classes;     // per point of the computation grid
  bool classesReady = false;
  Paths lines;
  bool linesReady = false;
  Paths rings;
  std::vector<std::size_t> bandStart;  // rings of band b: bandStart[b] .. bandStart[b+1]-1
  bool ringsReady = false;
  std::vector<int> ringParent;  // per ring: the outer ring (from 1) a hole lies in, 0 for outer rings
  bool parentsReady = false;

  std::vector<int> bandTone;  // per band; negative: the automatic colour
};

State& state();

// Checks that a field is set (error report otherwise); false when none is.
bool requireField(const char* routine);
// Chooses the levels when they are not chosen yet; a problem with the level
// parameters is reported under `routine`, the routine that needed the levels.
void ensureLevels(const char* routine = "CNQLVN");
// Throws away everything derived from the levels (after a change of levels).
void levelsChanged();
// Grid coordinates and point classes, computed when missing.
void ensureClasses();
// Coordinates of the grid points (xs, ys), read again for the U window and the
// transformation (which decides whether the grid wraps round in x).
void ensureCoordinates();
// The field on the computation grid (cols by ny).
inline const float* computedField(const State& s) { return s.wrapped ? s.zwrapped.data() : s.z.data(); }
void ensureLines();
void ensureRings();
void ensureRingParents();

// Tone pattern number of band b (0 .. number of levels).
int bandToneOf(int band);

}  // namespace zep::contour
