// Colour that carries data: continuous colormaps in full colour (0xRRGGBB),
// independent of the indexed colormap that line and text indices use;
// normalisations from data values to positions on a colormap; markers and
// polylines coloured by a value per point; colour bars.
//
// Colormaps (names compare without case; "_R" after a name reverses it):
//   VIRIDIS, PLASMA, INFERNO, MAGMA  perceptually uniform sequential (256 colours)
//   DIVERGING  blue to a neutral grey at the middle to red (255 colours, the middle one neutral)
//   CYCLIC     for angles: ends in the same colour (256 colours)
//   GREY       black to white (256 colours)
//   and user maps defined by cmdfmp (a list of colours) or cmrcpt (a CPT file).
// A table of N colours gives position t the colour min(floor(t N), N - 1);
// a user map interpolates linearly between its colours.
//
// Normalisations turn a value into a position t; 0 <= t <= 1 lies on the map,
// t < 0 is "under" and t > 1 "over" (drawn in CM IUNDER / IOVER, or the map's
// own under / over colours from a CPT file, or else the map's end colours); NaN
// values (and RMISS while GL LMISS is on) are missing and not drawn. A bound
// given as NaN is taken from the data of the next drawing (or cmsdat). The
// default is linear between the data's bounds.
//
// CM parameters (cmiqnp ... cmistx, cmlqnp ... cmlstx, cmrqnp ... cmrstx):
//   integer NBIN   COLOR_BINS             256   colours of a scatter or coloured line (1 .. 4096)
//   integer IUNDER UNDER_COLOR            -1    0xRRGGBB of values under the range (-1: map's)
//   integer IOVER  OVER_COLOR             -1    0xRRGGBB of values over the range (-1: map's)
//   integer IBARLI COLOR_BAR_LINE_INDEX   1     line index of the colour bar's outline and ticks
//   logical LBTRI  COLOR_BAR_TRIANGLES    false triangles at the bar's ends in the under / over colours
//   real    BARWD  COLOR_BAR_WIDTH        0.03  thickness of the colour bar, V units
//   real    BARGAP COLOR_BAR_GAP          0.03  gap between viewport and colour bar, V units
//   real    BARLHT COLOR_BAR_LABEL_HEIGHT 0.016 height of the colour bar's labels and title, V units
//
// The library is single-threaded: call it from one thread only.
#pragma once

#include <span>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

ZEP_DECLARE_VALUE_TABLE(cmi, int)
ZEP_DECLARE_VALUE_TABLE(cml, bool)
ZEP_DECLARE_VALUE_TABLE(cmr, float)

// ---------------------------------------------------------------------------
// Colormaps
// ---------------------------------------------------------------------------

// Makes the named colormap the current one (VIRIDIS initially).
void cmsmap(std::string_view name);
// Name of the current colormap, blank-padded.
void cmqmap(std::span<char> name);
// Defines (or replaces) the user map `name` from n >= 2 colours 0xRRGGBB, evenly spaced from t = 0 to 1.
void cmdfmp(std::string_view name, int n, const int* rgb);
// Defines the user map `name` from a GMT-style CPT file ("z0 colour z1 colour" lines, B / F / N lines, # comments).
void cmrcpt(std::string_view name, std::string_view file);
// Colour 0xRRGGBB of position t of the current map (t clamped to 0 .. 1; NaN gives -1).
void cmqrgb(float t, int& rgb);

// ---------------------------------------------------------------------------
// Normalisation
// ---------------------------------------------------------------------------

// Linear between vmin and vmax (vmin < vmax; NaN: the data's bound).
void cmsnrl(float vmin, float vmax);
// Logarithmic between vmin and vmax (0 < vmin < vmax; NaN: the data's positive bound); values <= 0 are under.
void cmsnrg(float vmin, float vmax);
// Two slopes centred on vcentre: vmin .. vcentre to 0 .. 0.5, vcentre .. vmax to 0.5 .. 1 (NaN: the data's bound).
void cmsnrc(float vmin, float vcentre, float vmax);
// Discrete: n >= 2 increasing bounds make n-1 bands, band k (values from bound k up to bound k+1) at t = k / (n-2).
void cmsnrd(int n, const float* bounds);
// Takes the bounds given as NaN from the n values (finite ones; positive ones for a log normalisation).
void cmsdat(int n, const float* values);
// The bounds in use (after cmsdat or a drawing); NaN while a bound is still to come from data.
void cmqnrb(float& vmin, float& vmax);
// Position t of a value under the current normalisation (NaN when missing or the bounds are not known).
void cmqnrm(float value, float& t);
// Colour 0xRRGGBB of a value: map, normalisation, under and over colours; -1 for a missing value.
void cmqvrg(float value, int& rgb);

// ---------------------------------------------------------------------------
// Drawing in full colour, in U through the current transformation
// ---------------------------------------------------------------------------

// Fills the polygon of n points (U) in the colour rgb (0xRRGGBB); RMISS points separate rings while GL LMISS is on.
void cmtnzu(int n, const float* x, const float* y, int rgb);
// Fills the polygon of n points (V) in the colour rgb.
void cmtnzv(int n, const float* x, const float* y, int rgb);
// Markers of type itype and size (V) at the n points, each in the colour of its value v[i] (a scatter).
void cmpmzu(int n, const float* x, const float* y, const float* v, int itype, float size);
// The same with a size (V) per point; a size of 0 or less leaves the point out.
void cmpmsu(int n, const float* x, const float* y, const float* v, const float* size, int itype);
// Polyline of n points coloured along its length: segment i to i+1 in the colour of (v[i] + v[i+1]) / 2; line index gives the width.
void cmplzu(int n, const float* x, const float* y, const float* v, int index);

// ---------------------------------------------------------------------------
// Colour bars
// ---------------------------------------------------------------------------

// Colour bar of the current map and normalisation in the V rectangle (vertical when taller than wide).
void cmbarv(float vxmin, float vxmax, float vymin, float vymax);
// Colour bar beside the viewport on side "R", "L", "T" or "B", CM BARGAP away and CM BARWD thick.
void cmbarp(std::string_view side);
// Title and units written along every colour bar (this package's and the contour package's), beyond its
// labels, with the figure layer's markup; shrunk (to 0.6 of the label height at least) where longer than
// the bar; blank: none.
void cmsbtl(std::string_view title, std::string_view units);

}  // namespace zep
