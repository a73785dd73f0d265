// What the line pipeline needs to know of the 2-D perspective view.
#pragma once

namespace zep::transform {

// Whether the 2-D view maps V onto R; while it is off, R equals V.
bool viewOn();

}  // namespace zep::transform
