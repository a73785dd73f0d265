// The curvilinear grid's part in finalizing transformation 51.
#pragma once

#include <vector>

#include "graphics/projection_table.hpp"

namespace zep::transform {

// Refuses an undefined grid (report under setup.routine) and replaces an
// undefined projection-plane window by the extent of the grid.
bool prepareGrid(Setup& setup);

// The grid's axes in increasing order, for frames that draw its index lines;
// false before the grid is defined.
bool gridAxes(std::vector<float>& ux, std::vector<float>& uy);

}  // namespace zep::transform
