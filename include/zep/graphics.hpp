// Graphics control and coordinate systems: SG parameter tables, sessions and
// frames, page layout, titles, the workstation and normalization transformations,
// map projections, the curvilinear grid and the perspective view.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

}  // namespace zep
