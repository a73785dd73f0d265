// Display and file output driver: window and file surfaces, drawing primitives,
// system-font text and the font catalogue. Routines whose arguments are toolkit or
// cairo types live in driver/zgpack_internal.hpp.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

}  // namespace zep
