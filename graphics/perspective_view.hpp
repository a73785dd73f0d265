// Whether the 2-D perspective view maps V to R, for the text engine: a glyph
// that the view bends cannot be painted from a flat copy.
#pragma once

namespace zep::perspective {

bool viewOn();

}  // namespace zep::perspective
