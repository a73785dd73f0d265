// Workstation interface: SW parameter tables, the dispatcher between the graphics
// kernel and the output driver, data-file names and the workstation listing.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

}  // namespace zep
