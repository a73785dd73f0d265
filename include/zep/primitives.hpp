// Primitive rendering: the line pipeline and its stages, clipping, dashes,
// interpolation, labels, text and the stroke-font engine.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

}  // namespace zep
