// Axes, frames, map graticules and legends (package AX): ticks and labels chosen
// for the current window and transformation, drawn through the line and text
// primitives, so they appear on every workstation and under the perspective view.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// AX parameters: axiqnp ... axistx, axlqnp ... axlstx, axrqnp ... axrstx,
// axcqnp ... axcstx (see parameters.hpp). Runtime overrides use the package
// letters "AX": -AX_NTICK=8 on the command line, AX_NTICK in the environment,
// "AX_NTICK 8" in the configuration file, or the long names.
//
// integer  NTICK   MAJOR_TICK_TARGET      6    number of major ticks aimed at per axis
//          ITICK   TICK_DIRECTION         1    1 inside, 2 outside, 3 both
//          LBLMAX  MAX_LABEL_LENGTH       6    longer labels take a common factor x10^k
//          INDEXA  AXIS_LINE_INDEX        3    frame lines and ticks
//          INDEXL  LABEL_TEXT_INDEX       3    tick labels
//          INDEXT  TITLE_TEXT_INDEX       3    axis titles
//          INDEXG  GRATICULE_LINE_INDEX   1    graticules, circles, spokes, grid lines
//          ITYPEG  GRATICULE_LINE_TYPE    1    line type of those lines
//          INDEXO  OUTLINE_LINE_INDEX     3    map outline
//          NGRAT   GRATICULE_LINE_TARGET  6    graticule lines aimed at across the map
//          INDEXB  LEGEND_BOX_INDEX       1    legend frame
//          ITLGBG  LEGEND_BACKGROUND_TONE 999  tone of the legend's background (999: colour 0, solid)
// logical  LMINOR  DRAW_MINOR_TICKS       T
//          LOUTLN  DRAW_MAP_OUTLINE       T
//          LGRAT   DRAW_GRATICULE         T
//          LGRLBL  LABEL_GRATICULE        T
//          LLGBOX  DRAW_LEGEND_BOX        T
//          LLGBG   DRAW_LEGEND_BACKGROUND T    legend on an opaque background
// real     RTICK   MAJOR_TICK_LENGTH      0.012  (V)
//          RMINOR  MINOR_TICK_LENGTH      0.006  (V)
//          RLABEL  LABEL_HEIGHT           0.02   (V)
//          RTITLE  AXIS_TITLE_HEIGHT      0.024  (V)
//          RGAP    LABEL_GAP              0.008  (V) between ticks, labels and titles
//          DGLON   GRATICULE_LONGITUDE_STEP 0    degrees; 0 chooses one
//          DGLAT   GRATICULE_LATITUDE_STEP  0    degrees; 0 chooses one
//          DPOLAR  POLAR_SPOKE_STEP       30     degrees between spokes
//          RLEGND  LEGEND_TEXT_HEIGHT     0.018  (V)
//          RLGLEN  LEGEND_SAMPLE_LENGTH   0.05   (V)
// char     CDEG    DEGREE_SIGN            U+00B0 in UTF-8, appended to map and polar labels
//          CTIMES  MULTIPLY_SIGN          U+00D7 in UTF-8, in the common factor
// ---------------------------------------------------------------------------
ZEP_DECLARE_PARAMETER_PACKAGE(ax)

// ---------------------------------------------------------------------------
// Frames. Sides are named "B" (bottom), "T" (top), "L" (left), "R" (right).
// ---------------------------------------------------------------------------

// Frames the current viewport for the finalized transformation: ticked sides for
// ITR 1-4, circles and spokes for 5, index lines for 51, outline, graticule and
// labels for the map projections (10-34, 99).
void axpfrm();
// Draws one side of the rectangular frame now, with that side's settings.
void axpsid(std::string_view cside);
// Whether a side is drawn and whether it carries labels (initially all drawn,
// B and L labelled).
void axssid(std::string_view cside, bool ldraw, bool llabel);
// The drawing and labelling switches of a side.
void axqsid(std::string_view cside, bool& ldraw, bool& llabel);
// Tick direction of a side: 1 inside, 2 outside, 3 both, 0 the AX parameter ITICK.
void axstdr(std::string_view cside, int itick);
// The tick direction of a side (0: the AX parameter ITICK).
void axqtdr(std::string_view cside, int& itick);
// Axis title of a side (backslash markup allowed); L and R titles are turned by 90 degrees.
void axsttl(std::string_view cside, std::string_view ctitle);
// The axis title of a side, blank-padded.
void axqttl(std::string_view cside, std::span<char> ctitle);
// Major tick interval in U (0 chooses one) and minor intervals per major (-1 chooses, 0 none).
void axsstp(std::string_view cside, float dmajor, int nminor);
// The major interval and minor intervals of a side (0 and -1: chosen).
void axqstp(std::string_view cside, float& dmajor, int& nminor);
// Time axis: U of the side counts days ("D"), hours ("H") or seconds ("S") from
// 0 h of date iy-im-id; labels show dates and times at calendar steps. A blank
// unit makes the side numeric again.
void axstim(std::string_view cside, int iy, int im, int id, std::string_view cunit);
// The date and unit of a time axis (blank unit: numeric).
void axqtim(std::string_view cside, int& iy, int& im, int& id, std::span<char> cunit);
// Label height in V (0: AX RLABEL), line index of axis and ticks (-1: INDEXA)
// and text index of labels and title (-1: INDEXL, INDEXT) of a side; index 0 hides them.
void axsatr(std::string_view cside, float height, int lindex, int tindex);
// The label height and indices of a side (0 and -1: the AX parameters).
void axqatr(std::string_view cside, float& height, int& lindex, int& tindex);
// Every side back to its initial settings.
void axinit();

// ---------------------------------------------------------------------------
// Ticks and labels as numbers and texts, for the current window and transformation
// ---------------------------------------------------------------------------

// A 1, 2 or 5 x 10^k interval for the window [umin, umax] (either order) aiming
// at ntarget ticks, and the minor intervals per major interval.
void axqnic(float umin, float umax, int ntarget, float& dmajor, int& nminor);
// Major and minor tick positions of a side in U, in window order (up to nmax each).
void axqtck(std::string_view cside, float* major, int& nmajor, float* minor, int& nminor, int nmax);
// Label of major tick i (1 to nmajor) of a side, in backslash markup; blank when unlabelled.
void axqlbl(std::string_view cside, int i, std::span<char> label);
// The common factor of a side's labels ("x10\^{k}" with the multiply sign), blank when none.
void axqfct(std::string_view cside, std::span<char> factor);

// ---------------------------------------------------------------------------
// Polar, grid and map frames
// ---------------------------------------------------------------------------

// Polar frame (ITR 5): circles of constant radius and spokes every DPOLAR degrees, labelled.
void axppol();
// Curvilinear grid (ITR 51): the grid's own index lines, at most about 20 per direction.
void axpgrd();
// Map frame (ITR 10-34, 99): outline as one closed line, graticule every DGLON
// and DGLAT degrees, and labels where graticule lines leave the map or the viewport;
// latitude circles closed inside the map (polar maps) labelled inside it, on them
// where they have room, the graticule broken under their labels.
void axpmap();
// Number of map labels placed by the last axpmap of this session (0 after sgopn).
void axqmln(int& n);
// The V box and text of map label i (1 to the number axqmln gives).
void axqmlb(int i, float& vxmin, float& vxmax, float& vymin, float& vymax, std::span<char> label);

// ---------------------------------------------------------------------------
// Legends: entries in the order added, drawn in a box on an opaque background
// and sized by the font that draws their texts. Entries belong to one session:
// sgopn forgets those of the session before.
// ---------------------------------------------------------------------------

// Removes every legend entry.
void axlgcl();
// Adds an entry with a line sample of line index and line type.
void axlgln(int index, int itype, std::string_view text);
// Adds an entry with a marker sample: marker type, line index, marker size in V.
void axlgmk(int itype, int index, float size, std::string_view text);
// Adds an entry with a line sample (line index, line type) and a marker on it (marker type, index, size in V).
void axlglm(int index, int itype, int mtype, int mindex, float size, std::string_view text);
// Adds an entry with a sample of n full colours 0xRRGGBB side by side (a colormap's gradient).
void axlgcm(int n, const int* colours, std::string_view text);
// Adds an entry with a tone sample of tone pattern number itpat.
void axlgtn(int itpat, std::string_view text);
// Adds an entry of text only.
void axlgtx(std::string_view text);
// Draws the legend inside a corner of the viewport: "TR", "TL", "BR", "BL".
void axlgpv(std::string_view ccorner);
// Draws the legend with its upper left corner at (vx, vy) in V.
void axlgzv(float vx, float vy);
// Number of legend entries.
void axqlgn(int& n);
// The V box that axlgpv would draw in a corner for the current entries and viewport.
void axqlgb(std::string_view ccorner, float& vxmin, float& vxmax, float& vymin, float& vymax);

}  // namespace zep
