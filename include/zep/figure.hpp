// Figures in few lines (package FG): pages of a size, frames laid out in a grid
// with room for what they draw around them, maps that fill their frame, titles
// that fit, and free text that never ends the program.
//
// A figure of two frames, side by side, as a PDF page of 18 x 8 cm:
//
//   zep::fgpage(18, 8, "CM");          // before sgopn
//   zep::sgopn(2);
//   zep::fggrid(1, 2);
//   zep::fgfrm();                      // frame 1: window, titles, then fgstrf
//   zep::sgswnd(0, 10, -1, 1);
//   zep::axsttl("B", "t (s)");
//   zep::fgttl("SIGNAL");
//   zep::fgstrf();                     // viewport placed in the cell
//   zep::sgplu(n, x, y);
//   zep::fgpfrm();                     // frame, ticks, labels, title
//   zep::fgfrm();                      // frame 2: a Mollweide globe
//   zep::fgsmap(12, -180, 180, -90, 90);
//   zep::fgstrf();
//   ...
//   zep::sgcls();
//
// Coordinates: a grid divides the whole page, whatever its shape: V runs over
// [0, 1] along the page's longer side (SG LFULL for the frames of the grid).
// Text of the figure layer (fgtxzv, titles, and the axis package's labels,
// titles and legends) takes the backslash markup: \^{..} and \_{..} scripts,
// \\ a backslash, and the named symbols listed in docs/text-markup.md
// (\alpha ... \Omega, \pm, \times, \cdot, \deg, \infty, \leq, \geq, \partial,
// \nabla, \int, \sum, arrows ...). An unknown name is drawn as written with a
// warning; "_", "|" and '"' are drawn as themselves; no length limit.
//
// FG parameters (fgrqnp ... fgrstx; runtime overrides -FG_RPAD=0.02 ...):
//   real RPAD   CELL_PADDING        0.012  room kept free inside a cell's edges (V)
//   real RTITLE FRAME_TITLE_HEIGHT  0.03   height of frame titles (V), shrunk to fit
//   real RFTTL  FIGURE_TITLE_HEIGHT 0.036  height of the figure title (V), shrunk to fit
//   real RSHRNK MIN_TITLE_SHRINK    0.6    a title shrinks down to this share of its
//                                          height, then wraps onto more lines
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include <zep/parameters.hpp>

namespace zep {

ZEP_DECLARE_VALUE_TABLE(fgr, float)

// ---------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------

// Page size of workstation 2 for the next sgopn, in cunit "CM", "MM" or "IN":
// PDF, EPS and SVG pages of exactly that size, upright; PNG pages of that size
// at SW DPI pixels per inch (100: a 9 x 6 inch page is 900 x 600 pixels).
void fgpage(float width, float height, std::string_view cunit);
// Opens workstation 2 for a figure: output files named cfname (blank: SW
// FNAME) on pages of width x height in cunit; the format is SW IFL (4 PDF by
// default, -SW_IFL=1 on the command line for PNG).
void fgopn(std::string_view cfname, float width, float height, std::string_view cunit);
// fgopn, then fggrid(nrow, ncol). After fgopn the first frame starts by itself
// when a routine of a frame (fgsmap, fgsmpc, fgttl, fgsttl, fgsbar, fgsasp,
// fgplzu, fgscat, fgstrf, fgpfrm) comes before any fgfrm, keeping the transformation (sgstrn,
// ITR 1-6), window (sgswnd) and axis titles (axsttl) set since fgopn.
void fgopn(std::string_view cfname, float width, float height, std::string_view cunit, int nrow, int ncol);
// Draws a frame still waiting for fgpfrm and closes the workstation (sgcls).
void fgcls();
// PNG resolution in pixels per inch for the next sgopn (SW DPI).
void fgsdpi(float dpi);

// ---------------------------------------------------------------------------
// Layout
// ---------------------------------------------------------------------------

// Divides each page into nrow x ncol cells for the frames that follow, filled
// along rows from the top left; a page is started when the cells run out.
void fggrid(int nrow, int ncol);
// Title of the figure, drawn above the grid of every page that follows (blank: none).
void fgfttl(std::string_view title);
// Starts the next frame in the next cell: window, viewport and transformation
// back to their start (ITR 1, no similarity, map pole and limits of the whole
// globe), axis titles cleared, no frame title, no map. A previous frame not yet
// drawn by fgpfrm is drawn first.
void fgfrm();
// Keeps the next fgstrf's viewport at height / width = ratio (0: fill the cell).
void fgsasp(float ratio);
// Title of the current frame, above it, shrunk or wrapped to the cell's width.
void fgttl(std::string_view title);
// The current frame's titles at once: bottom axis (axsttl "B"), left axis ("L"), frame (fgttl); blank leaves one as it is.
void fgsttl(std::string_view xtitle, std::string_view ytitle, std::string_view title);
// Leaves room for a colour bar on side "R", "L", "T" or "B" of the current
// frame (blank: none), with its labels and its title (cmsbtl), drawn by fgpfrm
// (a bar on top under the frame title); the contour field must be given
// (cnsfld) before fgstrf measures its labels. Without contour levels (no
// cnsfld, no cnslvl) it is the colour package's bar (cmbarp) of the colours
// that fgscat and cmpmzu give.
void fgsbar(std::string_view side);
// Finalizes the transformation of the current frame with its viewport placed in
// the cell so that its tick labels, axis titles, frame title and colour bar fit
// (measured from the texts the frame will draw), or its map filling the cell; a
// polar frame (ITR 5) left without a similarity gets one that fits its data.
// A window left as fgfrm set it becomes the extent of the kept data (fgplzu,
// fgscat, charts) or, with none kept, of the contour field's grid (cnsfld) or
// the vector field's points (vcsfld, vcspnt) given in U. Each labelled side
// takes as many major ticks (up to AX NTICK, at least 3 where the window has
// them) as keep its labels a label height apart (along x: their widths and a
// label height), unless the caller set NTICK or the side's interval (axsstp).
void fgstrf();
// Draws the current frame's kept data, its frame (axpfrm), title and colour
// bar, placing the frame first (fgstrf) when that was not done, or again when
// charts came after an fgstrf that left the window unset.
void fgpfrm();
// The V rectangle of the current cell.
void fgqcel(float& vxmin, float& vxmax, float& vymin, float& vymax);

// ---------------------------------------------------------------------------
// Data kept for the frame
// ---------------------------------------------------------------------------

// A polyline of n points in U (line type, line index) for the current frame,
// drawn by fgpfrm; a window left as fgfrm set it ([0, 1] x [0, 1]) becomes
// the extent of the frame's data (5% of room above and below).
void fgplzu(int n, const float* x, const float* y, int itype, int index);
// Charts (chhist, chbars, chebry ... of zep/charts.hpp) called in a frame not
// yet placed, or placed with its window unset, are kept the same way, with
// the CH settings of their call: their extent makes the window as matplotlib's
// hist and bar do (bars and histograms from 0, a histogram from its first
// edge to its last, 5% past the data elsewhere; a line's ends as fgplzu's).
// fgplzu of two arrays of the same length (a shorter one sets the count).
void fgplzu(std::span<const float> x, std::span<const float> y, int itype, int index);
// n markers of type itype and size (V) at (x, y) in U, each in the colour of
// the band of its value v among the contour levels (cnslvl ...), as a colour
// bar shows them (without levels: cmpmzu's colours of the value); drawn by
// fgpfrm, their extent a window as for fgplzu.
void fgscat(int n, const float* x, const float* y, const float* v, int itype, float size);
// fgscat of three arrays of the same length (the shortest sets the count).
void fgscat(std::span<const float> x, std::span<const float> y, std::span<const float> v, int itype, float size);

// Arrows of the vectors (u, v) at the n points (x, y) in U, drawn now through
// the finalized transformation: u along growing x (east on a map), v along
// growing y (north), vscale V units per unit of speed, line index index; drawn
// by vcarwu (heads, VC LCOLOR), the vector field set before kept.
void fgvecu(int n, const float* x, const float* y, const float* u, const float* v, float vscale, int index);

// ---------------------------------------------------------------------------
// Maps
// ---------------------------------------------------------------------------

// A map for the next fgstrf: projection itr (10-24, 30-34) over the lon/lat box
// in degrees (lonmin -180, lonmax 180, latmin -90, latmax 90: the globe). The
// centre and standard parallels are chosen from the box (fgsmpc overrides),
// and the map is scaled and placed to fill the frame with its own aspect.
void fgsmap(int itr, float lonmin, float lonmax, float latmin, float latmax);
// Overrides the centre (plx, ply) and standard parallels of the next fgsmap
// map; 999 leaves a value to be chosen from the box.
void fgsmpc(float plx, float ply, float stlat1, float stlat2);

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

// Free text at (vx, vy) in V: height in V, angle in degrees, centring -1 (left
// end at the point), 0 (middle), 1 (right end), text index. Never clipped.
void fgtxzv(float vx, float vy, std::string_view text, float height, int angle, int centring, int index);
// Free text at (ux, uy) in U with the text attributes of sgtxv (sgstxs ...).
void fgtxu(float ux, float uy, std::string_view text);
// Width in V of a text of the figure layer at a height.
void fgqtxw(std::string_view text, float height, float& width);

// ---------------------------------------------------------------------------
// Data for a figure, as numpy makes it (templates, no state)
// ---------------------------------------------------------------------------

// n values evenly spaced from a to b, both included (n = 1: a).
std::vector<float> fglins(float a, float b, int n);
// n values f(i) for i = 0 .. n-1, or f() called n times (a generator taken by reference: its state advances).
template <class F> std::vector<float> fgarry(int n, F&& f) {
  std::vector<float> out(n > 0 ? static_cast<std::size_t>(n) : 0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if constexpr (std::is_invocable_v<F, int>) out[i] = static_cast<float>(f(static_cast<int>(i)));
    else out[i] = static_cast<float>(f());
  }
  return out;
}
// f(x[i]) for every value of x.
template <class F> std::vector<float> fgeval(std::span<const float> x, F&& f) {
  std::vector<float> out(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) out[i] = static_cast<float>(f(x[i]));
  return out;
}
// f(x[i], y[i]) for the pairs of x and y (the shorter sets the count).
template <class F> std::vector<float> fgeval(std::span<const float> x, std::span<const float> y, F&& f) {
  std::vector<float> out(x.size() < y.size() ? x.size() : y.size());
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<float>(f(x[i], y[i]));
  return out;
}
// The field f(x[i], y[j]) on the grid of x (nx) by y (ny), row-major as cnsfld
// and vcsfld take it: element j * nx + i.
template <class F> std::vector<float> fgmesh(std::span<const float> x, std::span<const float> y, F&& f) {
  std::vector<float> out(x.size() * y.size());
  for (std::size_t j = 0; j < y.size(); ++j)
    for (std::size_t i = 0; i < x.size(); ++i) out[j * x.size() + i] = static_cast<float>(f(x[i], y[j]));
  return out;
}

}  // namespace zep
