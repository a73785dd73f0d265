// Dispatcher entries that only the library's own line stages call: the dash
// pattern handed to a driver that strokes dashes itself.
#pragma once

namespace zep {

// Whether the open workstation strokes dash patterns itself (vector pages).
void swqdsc(bool& capable);
// Dash pattern of the polylines that follow until the next line open: `n`
// lengths in W units, alternately drawn and skipped, entered `offset` into the
// pattern; n = 0 is solid.
void swsdsh(const float* lengths, int n, float offset);

}  // namespace zep
