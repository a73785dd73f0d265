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
// How far a colour bar on `side` ("R", "L", "T", "B") reaches out from its
// inner edge: its width, its labels (which way the bar will place them) and
// its title, for a layout to leave room for before the bar is drawn.
float barDepth(char side);

}  // namespace zep::contour
