// Helpers shared by the contour drawing routines.
#pragma once

#include <vector>

namespace zep::contour {

// Midpoints between neighbouring coordinates, increasing; `reversed` tells
// whether the coordinates decrease.
std::vector<float> midpoints(const std::vector<float>& v, bool& reversed);
// Index (in increasing order) of the grid point whose cell holds u.
int nearestPoint(const std::vector<float>& edges, float u);
// Colour index of band b.
int pointColour(int band);
// Full colour 0xRRGGBB of band b from the colour package's current map, or -1
// when the band is filled with a tone (CN LCMAP off, or a tone set by cnsbdt).
int bandColourOf(int band);
// Fills n points (U) of band b: in its full colour, else with its tone (none for tone 0).
void fillBand(int band, int n, const float* x, const float* y);
// Shades the point cells as one image when the transformation allows it
// (linear axes, no perspective view, a workstation with images); false otherwise.
bool shadeCellsAsImage();
// Room a colour bar on `side` ("R", "L", "T", "B") `length` long (V) takes,
// for a layout to leave before the bar is drawn: `depth` out from its inner
// edge (its width, its labels which way the bar will place them, their common
// factor and its title) and `pastEnd` beyond its far end (right of a
// horizontal bar, above a vertical one), where the labels' factor stands.
struct BarRoom {
  float depth = 0, pastEnd = 0;
};
BarRoom barRoom(char side, float length);

}  // namespace zep::contour
