// The projection step of the normalization transformation as one table: every
// transformation number (ITR) owns a forward/inverse pair that maps a point of
// U (or, for maps, of T) onto the projection plane and back, and its set-up,
// which runs when the transformation is finalized (sgstrf). The user
// projections selected with stnusr for ITR 99 are rows of the same table.
//
// Adding a map projection: write its forward, inverse and (if it has
// parameters) set routine in one file under graphics/maps/, declare them in
// include/zep/graphics.hpp, and add its row to projection_table.cpp, naming the
// set routine in the row. Nothing else changes: sgstrf, stsusr, stftrn and
// stitrn work from the table.
#pragma once

#include <string>
#include <string_view>

namespace zep::transform {

// (x, y) in, (xx, yy) out; RUNDEF in both outputs for a point without image.
using PointMapping = void (*)(float x, float y, float& xx, float& yy);

// How sgstrf finalizes a transformation number.
enum class Kind {
  Axes,        // 1-4: window onto viewport, linear or logarithmic per axis
  Similarity,  // 5, 6: polar and bipolar, scaled by SIMFAC about the viewport centre
  Map,         // 10-34, 99: degrees, rotation to the map pole, T clipping, similarity
  Grid,        // 51: projection-plane window CXMIN..CYMAX onto the viewport
};

// What a projection may need to know or change when it is finalized.
struct Setup {
  float stlat1 = 0.0F;  // standard latitudes, radians
  float stlat2 = 0.0F;
  float rsat = 0.0F;    // viewpoint distance of the orthographic projection
  // Projection-plane window (Grid): the hook may replace an undefined window
  // (both ends RUNDEF) by the extent of the grid.
  float cxmin = 0.0F;
  float cxmax = 0.0F;
  float cymin = 0.0F;
  float cymax = 0.0F;
  float rundef = 0.0F;
  std::string_view routine;  // name under which the hook reports
};

// Returns false after an error report when the transformation cannot be used.
using Prepare = bool (*)(Setup& setup);

// The set routines of map projections with parameters: one standard latitude
// or two, in radians.
using SetLatitude = void (*)(float lat1);
using SetLatitudes = void (*)(float lat1, float lat2);

struct Projection {
  int number;
  std::string_view name;  // used in reports, e.g. "MERCATOR PROJECTION"
  Kind kind;
  PointMapping forward;   // nullptr: not available in this library
  PointMapping inverse;   // nullptr: the transformation has no inverse
  Prepare prepare = nullptr;            // grid: checks and window; nullptr: nothing
  SetLatitude setLatitude = nullptr;    // maps with one standard latitude
  SetLatitudes setLatitudes = nullptr;  // maps with two
  bool userProjection = false;          // reached only through ITR 99 (stnusr)
};

// The row of transformation number `itr`, or nullptr when the number is invalid.
const Projection* findProjection(int itr);

// The row of user projection `n` (100-104), or nullptr.
const Projection* findUserProjection(int n);

// The user projection chosen with stnusr, or nullptr (user_projection.cpp).
const Projection* selectedUserProjection();

// Set-up of every map finalization: the viewpoint distance of the orthographic
// projection, then the projection's own parameters (for ITR 99 those of the
// selected user projection). True when it warned that the map is degenerate.
bool setUpMap(const Projection& p, const Setup& setup);

// Report text for a valid number whose projection is not available.
std::string unavailableText(const Projection& p);

// Projection steps of the axes, polar and bipolar transformations (the
// logarithmic ones use the window signs captured by ststri).
void linearStep(float x, float y, float& xx, float& yy);
void logYStep(float x, float y, float& xx, float& yy);
void logXStep(float x, float y, float& xx, float& yy);
void logXYStep(float x, float y, float& xx, float& yy);
void logYInverse(float xx, float yy, float& x, float& y);
void logXInverse(float xx, float yy, float& x, float& y);
void logXYInverse(float xx, float yy, float& x, float& y);

// The map part of sgstrf, for numbers of kind Map; also what the user
// projection's stsusr does for ITR 99. `routine` names the reporting routine.
// True when the map was found degenerate (and that was reported).
bool finalizeMap(int itr, std::string_view routine);

}  // namespace zep::transform
