// The curvilinear grid's part in finalizing transformation 51.
#pragma once

#include "graphics/projection_table.hpp"

namespace zep::transform {

// Refuses an undefined grid (report under setup.routine) and replaces an
// undefined projection-plane window by the extent of the grid.
bool prepareGrid(Setup& setup);

}  // namespace zep::transform
