// Pieces of a colour bar shared by this package's bar and the contour
// package's: the geometry along and across the bar, labels thinned by the
// space they need, and the title.
#pragma once

#include <string>
#include <vector>

namespace zep::colour {

// A bar in the V rectangle x0..x1, y0..y1 with its labels on side `outer`
// ("R" or "L" for a vertical bar, "T" or "B" for a horizontal one).
struct BarFrame {
  float x0, x1, y0, y1;
  char outer;
  bool vertical() const { return outer == 'R' || outer == 'L'; }
  float a0() const { return vertical() ? y0 : x0; }  // along the bar
  float a1() const { return vertical() ? y1 : x1; }
  float c0() const { return vertical() ? x0 : y0; }  // across it
  float c1() const { return vertical() ? x1 : y1; }
  // The V point at `a` along and `c` across.
  void put(float a, float c, float& x, float& y) const {
    x = vertical() ? c : a;
    y = vertical() ? a : c;
  }
};

// Pixels (or device points) per V unit on the current workstation.
float devicePerV();
// Width of a text of the given height in V (stroke-font measure).
float textWidth(const std::string& text, float height);
// Room a label needs along the bar: its height on a vertical bar, its width
// and a gap on a horizontal one.
float labelRoom(const BarFrame& f, const std::string& text, float height);
// Text of a tick value, with as many decimals as the step between ticks needs;
// exponent form for very large or small magnitudes.
std::string tickText(double value, double step, double magnitude);
// Draws the labels (texts at positions along the bar, V) with their ticks,
// skipping any that would overlap a label already drawn; returns how far the
// labels' far edge lies out from the bar (V).
float drawLabels(const BarFrame& f, const std::vector<float>& at, const std::vector<std::string>& texts,
                 float height, int index);
// The title and units (cmsbtl) beyond labels whose far edge lies `reach` out
// from the bar; nothing when there are none. Drawn with the figure layer's
// markup, shrunk (to no less than 0.6 of `height`) where it is longer than the bar.
void drawTitle(const BarFrame& f, float reach, float height);
// Gap between the labels and the title's line, in label heights, and the
// line's depth in title heights (brackets reach well past the height).
constexpr float kTitleGap = 0.5F;
constexpr float kTitleLine = 1.7F;
// Height the title is drawn at on a bar (0: no title).
float titleHeight(const BarFrame& f, float height);
// Room the title takes beyond the labels' far edge (0: no title).
float titleRoom(const BarFrame& f, float height);
// How far a bar `length` long (V) on `side` ("R", "L", "T", "B") reaches out
// from its inner edge: its width, labels of the current normalisation and
// title, for a layout to leave room for before the bar is drawn.
float barDepth(char side, float length);
// Box edges are drawn only when boxes are at least this many device units long.
constexpr float kEdgeSpacing = 4.0F;

}  // namespace zep::colour
