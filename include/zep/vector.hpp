// Vector fields: arrows with a reference key, wind barbs and evenly spaced
// streamlines, drawn through the kernel's primitives on any transformation.
//
// The field is row-major as for the contour package: u[j * nx + i], v[j * nx + i]
// is the vector at the grid point (x_i, y_j). A component that is not finite, or
// equals the GL real RMISS while GL LMISS is true, makes its point missing: no
// arrow or barb is drawn there and streamlines stop before it.
//
// On maps, u is eastward and v northward (any unit); each vector is turned into
// the map's local frame at its point, the directions of east and north measured
// on the projection itself (the map's rotated pole included), so that an eastward
// arrow runs along the drawn parallel. On other transformations u and v are
// screen directions (x to the right, y up), or with VC LUDIR directions in U, so
// that the arrow follows the data's own axes (log and polar axes included).
// Arrows are proportional to magnitude: VC SCALE V units per data unit, or with
// SCALE 0 an automatic scale that makes the longest arrow one arrow spacing.
//
// VC parameters (vciqnp ... vcistx, vclqnp ... vclstx, vcrqnp ... vcrstx):
//   integer INDEX  VECTOR_LINE_INDEX        1     line index of arrows, barbs and streamlines
//   integer MAXPT  MAX_STREAMLINE_POINTS    20000 points of one streamline at most
//   logical LUDIR  DIRECTION_IN_USER_UNITS  false off maps: u, v along the U axes, not the screen
//   logical LCOLOR COLOR_BY_MAGNITUDE       false full colour of the magnitude on the current colormap
//   logical LKEYIN KEY_INSIDE_VIEWPORT      true  a key in a corner sits inside the viewport
//   logical LBFLIP FLIP_BARBS               false barbs on the other side than the hemisphere's
//   logical LSTARW STREAMLINE_ARROWS        true  arrowheads along streamlines
//   real    SCALE  VECTOR_SCALE             0     V units per data unit (0: automatic)
//   real    SPACE  ARROW_SPACING            0     least V distance between arrows and barbs (0: automatic for grids on maps, none elsewhere)
//   real    BARBLN BARB_LENGTH              0.035 shaft of a barb, V units
//   real    BARBU  BARB_UNIT                5     speed of a half barb (a full barb is 2, a pennant 10 of them)
//   real    KEYHT  KEY_LABEL_HEIGHT         0.015 label height of the key, V units
//   real    DSEP   STREAMLINE_SEPARATION    0.03  distance between neighbouring streamlines, V units
//   real    DTEST  STREAMLINE_TEST_DISTANCE 0.015 a streamline stops this close to another one, V units
//   real    STEP   STREAMLINE_STEP          0.003 integration step (fourth-order Runge-Kutta), V units
//   real    ARRSP  STREAMLINE_ARROW_SPACING 0.2   arc length between arrowheads along a streamline, V units
// Arrowheads take the SG parameters ANGLE (half-angle, degrees), LPROP (in
// proportion to the arrow: AFACT of its length; otherwise CONST V units), LATONE
// (filled) and IATONE (last three digits of the fill's tone pattern).
//
// Colour by magnitude (VC LCOLOR) uses the colour package: the current
// colormap (cmsmap) and normalisation (cmsnr*; bounds not set come from the
// magnitudes' range and stay, so that cmbarp explains the colours), quantised to
// CM NBIN colours. Each arrow, barb or run of a streamline is drawn in full
// colour with the width digit of VC INDEX.
#pragma once

#include <span>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

ZEP_DECLARE_VALUE_TABLE(vci, int)
ZEP_DECLARE_VALUE_TABLE(vcl, bool)
ZEP_DECLARE_VALUE_TABLE(vcr, float)

// Takes a copy of the field (u, v) on an nx by ny grid (row-major) with coordinate vectors x (nx) and y (ny) in U, strictly monotonic; null x or y spans the U window.
void vcsfld(int nx, int ny, const float* u, const float* v, const float* x, const float* y);
// vcsfld of the components u and v with their coordinate vectors x and y: nx and ny are their sizes, u and v must hold nx * ny values each.
void vcsfld(std::span<const float> u, std::span<const float> v, std::span<const float> x, std::span<const float> y);
// Takes a copy of n vectors (u, v) at scattered points (x, y) in U.
void vcspnt(int n, const float* x, const float* y, const float* u, const float* v);
// Draws an arrow at every vector (tail at its point), thinned to VC SPACE in V.
void vcarwu();
// Scale of the arrows (V units per data unit): VC SCALE or the automatic one for the current field.
void vcqscl(float& scale);
// Key: an arrow of magnitude `mag` centred at (vx, vy) in V, its label to the right (height VC KEYHT).
void vckeyv(float vx, float vy, float mag, std::string_view label);
// Key in a corner of the viewport: "TR", "TL", "BR" or "BL"; inside it (on a patch of the background colour
// that hides the arrows under it) or, with VC LKEYIN off, just outside.
void vckeyp(std::string_view corner, float mag, std::string_view label);
// Wind barbs at every vector: half barb, barb and pennant for 1, 2 and 10 VC BARBU; a circle for calm.
void vcbrbu();
// Pennants, full barbs and half barbs of a wind speed (rounded to the nearest VC BARBU).
void vcqbrb(float speed, int& npennant, int& nbarb, int& nhalf);
// Computes evenly spaced streamlines of the field over the viewport (done again after a change).
void vcmkst();
// Draws the streamlines, each as one polyline, with arrowheads every VC ARRSP.
void vcstmu();
// Number of streamlines computed.
void vcqstn(int& n);
// Point count and closure of streamline i (1 .. count); a closed one repeats its first point last.
void vcqsti(int i, int& np, bool& closed);
// Copies the np points of streamline i, in V, into vx and vy.
void vcqstx(int i, float* vx, float* vy);

}  // namespace zep
