// What the line stages ask of the transformations below them, without reports:
// whether the 2-D perspective view distorts lengths, and how long one R unit
// is on the workstation.
#pragma once

namespace zep::transform {

// True while the 2-D perspective view maps V to R (not suspended).
bool perspectiveViewOn();
// W units per R unit of the workstation transformation; false (scale 0) while
// it is not defined.
bool workstationScale(float& scale);
// Switches off (and back on) sgstrf's warning about a map that misses its
// viewport, for callers that finalize a map only to measure it.
void setMapCoverageCheck(bool on);

}  // namespace zep::transform
