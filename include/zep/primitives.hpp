// Primitive rendering: the line pipeline and its stages, clipping, dashes,
// interpolation, labels, text and the stroke-font engine.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// Clipping
// ---------------------------------------------------------------------------
//
// Each clipper is a segment generator: prepare one segment (szpcll, szpcly,
// szpclx), then pull its visible points one at a time (szgcll, szgcly, szgclx)
// until `lcont` is false. A pull after that returns the last point again with
// `lcont` false (and `lmove` true, so that forwarding it draws nothing).

// Rectangle clipper; rectangle n is 0 (workstation window in R) or 1 (viewport in V).
void szscll(float xmin, float xmax, float ymin, float ymax, int n);
void szqcll(float& xmin, float& xmax, float& ymin, float& ymax, int n);
void szpcll(float x0, float y0, float x1, float y1, bool& lvalid, int n);
void szgcll(float& x, float& y, bool& lcont, bool& lmove, int n);

// Latitude clipper (T coordinates, radians); `lcont` true also marks the start
// of a piece.
void szscly(float ymin, float ymax);
void szqcly(float& ymin, float& ymax);
void szpcly(float x0, float y0, float x1, float y1, bool& lvalid, bool lstrict);
void szgcly(float& x, float& y, bool& lcont);

// Longitude clipper (T coordinates, radians).
void szsclx(float xmin, float xmax);
void szqclx(float& xmin, float& xmax);
void szpclx(float x0, float y0, float x1, float y1, bool& lvalid, bool lbound);
void szgclx(float& x, float& y, bool& lcont, bool& lmove);

// Longitude difference folded into (-pi, pi].
float szxmod(float d);

// The great circle through two points (T coordinates), shared with the
// great-circle interpolation.
void szsgcl(float x0, float y0, float x1, float y1);
void szqgcy(float x, float& y);
void szqgcx(float y, float& x);

}  // namespace zep
