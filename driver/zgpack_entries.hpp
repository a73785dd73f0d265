// Driver entries that only the dispatcher calls: the dash pattern that vector
// pages stroke themselves instead of receiving every dash as its own line.
#pragma once

namespace zep {

// True when the current format strokes dash patterns itself (vector pages).
void zgqdsc(bool& capable);
// Dash pattern in workstation units for the polylines that follow until the
// next zggopn; n = 0 is solid.
void zgsdsh(const float* lengths, int n, float offset);

}  // namespace zep
