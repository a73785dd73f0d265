// Charts (package CH): error bars, markers on chosen points, step lines, areas
// between curves, histograms and bar charts, drawn in U through the kernel's
// line, marker and tone primitives, so they follow any linear or logarithmic
// transformation and are clipped to the viewport with SG LCLIP like the rest.
//
// A value that is NaN, or equals the GL real RMISS while the GL logical LMISS is
// true, is missing: the point, bar or bar end that needs it is left out (areas and
// step lines break there). On a logarithmic axis, a bar base, an error-bar end or
// an area edge at or beyond zero is drawn at the window's end nearest zero.
// Tone numbers are colour index x 1000 + pattern (0: no fill); a line index of 0
// draws no outline. Index arrays count from 1.
//
// In a figure's frame (zep/figure.hpp) not yet placed by fgstrf, or placed
// with its window unset, a chart is kept and drawn by fgpfrm, its extent
// giving the window; errors in its arguments are still reported at the call.
//
// CH parameters (chiqnp ... chistx, chlqnp ... chlstx, chrqnp ... chrstx):
//   integer NBINMX MAX_BIN_COUNT          10000 histograms of more bins are an error
//   logical LDENS  HISTOGRAM_DENSITY      false histograms show density (area 1) instead of counts
//   real    RCAP   ERROR_BAR_CAP_WIDTH    0.01  width of error-bar caps, V units (0: no caps)
//   real    RGROUP BAR_GROUP_FILL         0.8   share of a group's width that grouped bars fill
//
// Like the rest of the library, single-threaded: call it from one thread.
#pragma once

#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

ZEP_DECLARE_VALUE_TABLE(chi, int)
ZEP_DECLARE_VALUE_TABLE(chl, bool)
ZEP_DECLARE_VALUE_TABLE(chr, float)

// ---------------------------------------------------------------------------
// Error bars, markers on chosen points, step lines, filled areas
// ---------------------------------------------------------------------------

// Vertical error bars at n points: from uy - elo to uy + ehi (ehi null: symmetric), with caps of CH RCAP.
void chebry(int n, const float* ux, const float* uy, const float* elo, const float* ehi, int index);
// Horizontal error bars at n points: from ux - elo to ux + ehi (ehi null: symmetric), with caps of CH RCAP.
void chebrx(int n, const float* ux, const float* uy, const float* elo, const float* ehi, int index);
// Markers on every nevery-th point starting at point nfirst (1 .. n): type, line index, size in V.
void chmkev(int n, const float* ux, const float* uy, int nevery, int nfirst, int itype, int index, float size);
// Markers on the nidx points listed in idx (1 .. n): type, line index, size in V.
void chmkix(int n, const float* ux, const float* uy, int nidx, const int* idx, int itype, int index, float size);
// Step line through n points: "PRE" steps before each point, "POST" after, "MID" halfway between.
void chstep(int n, const float* ux, const float* uy, std::string_view cwhere, int itype, int index);
// Fills the area between the curves (ux, uy1) and (ux, uy2) with tone itpat.
void chfilb(int n, const float* ux, const float* uy1, const float* uy2, int itpat);
// Fills the area between the curve (ux, uy) and the level uref with tone itpat.
void chfilv(int n, const float* ux, const float* uy, float uref, int itpat);

// ---------------------------------------------------------------------------
// Histograms. Bin k holds edges[k] <= x < edges[k+1]; the last bin also holds
// its right edge; values outside the edges are not counted.
// ---------------------------------------------------------------------------

// A bin count for n values: the larger of Sturges' and Freedman-Diaconis' (as numpy's "auto").
void chqnbn(int n, const float* x, int& nbin);
// nbin + 1 edges of equal bins from the smallest to the largest of n values.
void chqbin(int n, const float* x, int nbin, float* edges);
// Counts of n values in nbin bins (density with CH LDENS) into counts (nbin values).
void chqhst(int n, const float* x, int nbin, const float* edges, float* counts);
// Histogram of n values as bars filled with tone itpat, outlined with line index;
// edges null: nbin equal bins over the values (nbin 0 chooses the count).
void chhist(int n, const float* x, int nbin, const float* edges, int itpat, int index);
// Stacked histogram of nset samples: nval[s] values each, one after another in x;
// sample s filled with tone itpat[s] on top of the samples before it (with CH
// LDENS the top of the stack encloses area 1).
void chhsst(int nset, const int* nval, const float* x, int nbin, const float* edges, const int* itpat, int index);

// ---------------------------------------------------------------------------
// Bar charts. cdir "V" draws vertical bars at positions u with heights v, "H"
// horizontal bars at positions u (along y) with lengths v (along x). Widths in U.
// ---------------------------------------------------------------------------

// n bars from base (null: 0) to v, centred on u, of width `width`.
void chbars(std::string_view cdir, int n, const float* u, const float* v, const float* base, float width, int itpat,
            int index);
// Grouped bars: ngroup groups at u, nset bars side by side in each filling CH RGROUP of
// `width`; v[s * ngroup + g] is set s in group g, filled with tone itpat[s].
void chbrgp(std::string_view cdir, int ngroup, int nset, const float* u, const float* v, float width, const int* itpat,
            int index);
// Stacked bars: set s of group g, v[s * ngroup + g], on top of the sets before it.
void chbrsk(std::string_view cdir, int ngroup, int nset, const float* u, const float* v, float width, const int* itpat,
            int index);

}  // namespace zep
