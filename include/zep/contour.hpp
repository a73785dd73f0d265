// Contours of a field on a grid: levels, contour lines, filled bands between
// levels, cell shading and a colour bar, drawn through the kernel's primitives
// on any transformation.
//
// The field is row-major as a C++ caller holds it: z[j * nx + i] is the value at
// the grid point (x_i, y_j), i = 0 .. nx-1 fastest, j = 0 .. ny-1. A point whose
// value is NaN, or equals the GL real RMISS while the GL logical LMISS is true,
// is missing: the cells around it are left out. LMISS and RMISS are read when
// cnsfld takes the field; changing them later needs the field given again. A cell's four corners decide it;
// a saddle cell is resolved by the mean of its corners (a centre at or above the
// level joins the corners above it). A point at or above a level counts as above.
//
// Levels are numbered 1 .. n in increasing order; band b (0 .. n) holds the values
// from level b (inclusive) to level b+1 (exclusive): band 0 lies below level 1 and
// band n above level n. Lines are oriented with higher values on their left,
// rings of a band with the band on their left (outer rings counter-clockwise,
// holes clockwise, in U with x to the right and y up), whether the coordinate
// vectors increase or decrease. A closed line and every ring end on their first
// point: the last point repeats the first. Each hole knows the outer ring of its
// band that it lies in (cnqbdh).
//
// Global grids wrap round. When contours are computed on a map projection (ITR
// 10 .. 34) and the x coordinates are evenly spaced and span the whole circle
// less one step (longitudes 0 .. 357.5 by 2.5 in degrees, or in radians with SG
// LDEG off), column 0 counts again one circle on (at x0 + 360, or x0 - 360 for
// decreasing x), so that bands, lines and cells close across the seam. The
// queries then report that grid: rings run along x0 and x0 + 360 where they meet
// the seam, and a line that crosses it comes as two open lines meeting there.
// Other fields and transformations are contoured as given.
//
// The routines are single-threaded, as the whole library is: one thread draws.
//
// CN parameters (cniqnp ... cnistx, cnlqnp ... cnlstx, cnrqnp ... cnrstx):
//   integer NLEV   TARGET_LEVEL_COUNT     10    automatic levels aim at this count (1 .. MAXLEV)
//   integer MAXLEV MAX_LEVEL_COUNT        2000  more levels than this are an error
//   integer INDEX  CONTOUR_LINE_INDEX     1     line index of the levels
//   integer INDEXL LABELLED_LINE_INDEX    0     line index of labelled levels (0: INDEX)
//   integer ITYPE  CONTOUR_LINE_TYPE      1     line type of levels at or above zero
//   integer ITYPEN NEGATIVE_LINE_TYPE     2     line type of negative levels (dashed)
//   integer LABSTP LABEL_LEVEL_STEP       2     every LABSTP-th level is labelled (0: none)
//   integer NDIGIT LABEL_DECIMALS         -1    decimals of labels (-1: fewest that tell them apart)
//   integer ICOLMN FIRST_BAND_COLOR       2     colour index of band 0
//   integer ICOLMX LAST_BAND_COLOR        99    colour index of the last band
//   integer IPATRN BAND_PATTERN           999   last three digits of band tone numbers
//   integer IBARLI COLOR_BAR_LINE_INDEX   1     line index of the colour bar's outline
//   logical LLABEL ENABLE_CONTOUR_LABEL   true  label the levels chosen for labels
//   logical LBTRI  COLOR_BAR_TRIANGLES    false triangles for the open-ended bands
//   logical LIMAGE CELL_SHADING_BY_IMAGE  true  on linear axes, shade cells as one image
//   logical LCMAP  BANDS_BY_COLORMAP      true  bands, cells and bar in colours of the current colormap
//                                               (zep/colour.hpp), spread over it or placed by a normalisation
//                                               the caller set; off, or a band given a tone by cnsbdt: tones
//   real    RLABHT CONTOUR_LABEL_HEIGHT   0.015 label height, V units
//   real    BARWD  COLOR_BAR_WIDTH        0.03  thickness of the colour bar, V units
//   real    BARGAP COLOR_BAR_GAP          0.03  gap between viewport and colour bar, V units
//   real    BARLHT COLOR_BAR_LABEL_HEIGHT 0.016 height of the colour bar's labels, V units
// Level attributes are taken from the parameters when the levels are chosen.
#pragma once

#include <span>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

ZEP_DECLARE_VALUE_TABLE(cni, int)
ZEP_DECLARE_VALUE_TABLE(cnl, bool)
ZEP_DECLARE_VALUE_TABLE(cnr, float)

// ---------------------------------------------------------------------------
// Field and levels
// ---------------------------------------------------------------------------

// Takes a copy of the field z (nx by ny, row-major) with coordinate vectors x (nx) and y (ny) in U, both strictly monotonic; null x or y spans the U window (UXMIN..UXMAX, UYMIN..UYMAX) as it is when contours are computed.
void cnsfld(int nx, int ny, const float* z, const float* x, const float* y);
// cnsfld of a field z with its coordinate vectors x and y: nx and ny are their sizes, z must hold nx * ny values.
void cnsfld(std::span<const float> z, std::span<const float> x, std::span<const float> y);
// Automatic levels (the default): multiples of 1, 2 or 5 x 10^k strictly inside the field's range, their count nearest to CN NLEV.
void cnslva();
// Levels at zref + k dz strictly inside the field's range (dz > 0).
void cnslvi(float dz, float zref);
// Exactly these n levels, strictly increasing; n up to CN MAXLEV.
void cnslvl(int n, const float* levels);
// Number of levels chosen for the current field.
void cnqlvn(int& n);
// Value of level i (1 .. n).
void cnqlvl(int i, float& level);
// Line index, line type and label switch of level i.
void cnqlat(int i, int& index, int& itype, bool& label);
// Replaces the attributes of level i until the levels change.
void cnslat(int i, int index, int itype, bool label);
// Label text of level i, blank-padded.
void cnqlbl(int i, std::span<char> text);
// printf format of the level labels ("%.1f", "%.2E" ...), blank-padded.
void cnqlfm(std::span<char> format);

// ---------------------------------------------------------------------------
// Computed lines and bands (U coordinates), without drawing
// ---------------------------------------------------------------------------

// Computes the contour lines of all levels (done again only after a change).
void cnmkln();
// Number of contour polylines.
void cnqlnn(int& n);
// Level (1 .. n), point count and closure of polyline i (1 .. count); a closed one repeats its first point last.
void cnqlni(int i, int& level, int& np, bool& closed);
// Copies the np points of polyline i into x and y.
void cnqlnx(int i, float* x, float* y);
// Copies the points of polyline i into x and y; an error report when either holds fewer than np.
void cnqlnx(int i, std::span<float> x, std::span<float> y);
// Computes the rings of the filled bands (done again only after a change).
void cnmkbd();
// Number of band rings.
void cnqbdn(int& n);
// Band (0 .. number of levels) and point count of ring i (1 .. count); the last point repeats the first.
void cnqbdi(int i, int& band, int& np);
// Copies the np points of ring i into x and y.
void cnqbdx(int i, float* x, float* y);
// Copies the points of ring i into x and y; an error report when either holds fewer than np.
void cnqbdx(int i, std::span<float> x, std::span<float> y);
// For a hole (a clockwise ring), the number of the outer ring of its band that it lies in; 0 for an outer ring.
void cnqbdh(int i, int& outer);
// Tone pattern number of band b: colour index * 1000 + CN IPATRN, colours spread from ICOLMN to ICOLMX.
void cnqbdt(int band, int& itpat);
// Gives band b its own tone pattern number until the levels change (0: the band is not filled; negative: the automatic tone again).
void cnsbdt(int band, int itpat);
// Full colour 0xRRGGBB of band b (CN LCMAP: the colour package's current map), -1 when the band is filled by its tone.
void cnqbdc(int band, int& rgb);

// ---------------------------------------------------------------------------
// Drawing, in U through the current transformation
// ---------------------------------------------------------------------------

// Draws the contour lines of every level with its line index and type, labelled levels through the labelled-line pipeline (label height CN RLABHT, V units).
void cnlinu();
// Fills every band between consecutive levels (and the two open-ended ones) with its tone, holes and islands included (cnqbdt, cnsbdt).
void cnshdu();
// Fills each grid point's cell (halfway to its neighbours) with its band's tone; on linear axes one image through the workstation (CN LIMAGE).
void cncelu();
// Colour bar in the V rectangle (vertical when taller than wide): one box per band, the level values at the edges between boxes (long ones with a common factor x10^k past the bar's far end), triangles for the open ends with CN LBTRI.
void cnbarv(float vxmin, float vxmax, float vymin, float vymax);
// Colour bar beside the viewport on side "R", "L", "T" or "B", CN BARGAP away and CN BARWD thick (V units).
void cnbarp(std::string_view side);

}  // namespace zep
