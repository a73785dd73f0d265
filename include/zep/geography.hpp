// The Earth on a map (package GE): coastlines, lake shores, national and state
// borders and rivers as lines, land, water and lakes as filled areas, from the
// binned GSHHG shoreline database that Debian installs under /usr/share/gmt-gshhg
// (package gmt-gshhg-low for the crude, low and intermediate resolutions;
// gmt-gshhg-high and gmt-gshhg-full add the high and full ones).
//
// Everything is drawn on the current map (sgstrf finalized a map projection,
// ITR 10-34 or 99) through the kernel's primitives: lines through the line
// pipeline (rotated pole, map limits, viewport clip, perspective), areas through
// the filled-polygon primitive (edges on great circles with SG LGCINT, cut at the
// seam, closed at the poles), so every workstation and file format shows them.
// Draw fills first and lines, contours and the graticule after them.
//
// Each database file is read once per process, at first use, and kept; every
// count and offset in it is checked before use. A missing or refused file is
// reported ("E") once, naming the directories searched, the file and the Debian
// package that provides it; with an error callback installed the layer is
// simply left out.
//
// GE parameters: geiqnp ... geistx, gelqnp ... gelstx, gerqnp ... gerstx,
// gecqnp ... gecstx (see parameters.hpp); runtime overrides use the letters "GE".
//
// integer  INDEXC  COASTLINE_LINE_INDEX     1      land shores (level 1)
//          ITYPEC  COASTLINE_LINE_TYPE      1
//          INDEXK  LAKE_LINE_INDEX          1      lake shores and the shores inside them (levels 2-4)
//          ITYPEK  LAKE_LINE_TYPE           1
//          INDEXB  BORDER_LINE_INDEX        1      national borders (level 1)
//          ITYPEB  BORDER_LINE_TYPE         1
//          INDEXS  STATE_BORDER_LINE_INDEX  1      state and marine borders (levels 2, 3)
//          ITYPES  STATE_BORDER_LINE_TYPE   3
//          INDEXR  RIVER_LINE_INDEX         31     rivers (colour 3: blue in the default colormap)
//          ITYPER  RIVER_LINE_TYPE          1
//          LEVELC  SHORE_LEVELS             2      1 land, 2 and lakes, 3 and islands in lakes, 4 and ponds on them
//          ITPLND  LAND_TONE                10999  tone of land (colour x 1000 + pattern)
//          ITPWTR  WATER_TONE               0      tone of the sea; 0 leaves the paper showing
//          ITPLAK  LAKE_TONE                -1     tone of lakes; -1 as the sea
//          IANTAR  ANTARCTIC_SHORE          1      1 the ice front, 2 the grounding line of Antarctica
// logical  LWATER  FILL_WATER               T      gebkgd fills the sea
//          LLAND   FILL_LAND                T      gebkgd fills land (lakes as water)
//          LCOAST  DRAW_COASTLINE           T      gebkgd draws the shores
// real     AREAMN  MIN_FEATURE_AREA         -1     km2; smaller islands and lakes are left out;
//                                                  negative: chosen from the map's scale, 0: none
//          STEPMN  MIN_POINT_SPACING        5e-4   V; points closer to the last one kept are dropped
//                                                  (half a pixel where V spans 1000 pixels), 0: none
// char     CRES    RESOLUTION               AUTO   AUTO (from the map's scale) or c, l, i, h, f
//          BORDER  BORDER_LEVELS            1      levels of borders drawn: "1", "1-2", "1,3" ...
//          RIVER   RIVER_CLASSES            0-4    classes of rivers drawn (0 river lakes, 1-4
//                                                  permanent rivers, 5-7 intermittent, 8-10 canals)
//          DSDIR   DATA_DIRECTORIES         /usr/share/gmt-gshhg:... directories searched, ":" between
// ---------------------------------------------------------------------------
#pragma once

#include <span>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

ZEP_DECLARE_PARAMETER_PACKAGE(ge)

// The usual map background: the sea (GE LWATER), land with lakes (GE LLAND) and the shores (GE LCOAST).
void gebkgd();
// National borders, and state or marine borders, as GE BORDER chooses.
void gebrdr();
// Rivers and canals of the classes GE RIVER names.
void gervrs();
// Shores as lines up to level GE LEVELC: land, lakes, islands in lakes, ponds.
void gecost();
// Land filled with GE ITPLND, lakes with GE ITPLAK (or left as the sea), up to level GE LEVELC.
void geland();
// The whole map area filled with GE ITPWTR (nothing when it is 0).
void gewatr();
// The resolution ("c", "l", "i", "h" or "f") the current map is drawn with.
void geqres(std::span<char> cres);
// The smallest feature area in km2 drawn on the current map (GE AREAMN or the one chosen from its scale).
void geqamn(float& area);

}  // namespace zep
