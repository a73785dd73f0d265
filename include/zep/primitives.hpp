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


// ---------------------------------------------------------------------------
// Line primitives and line attributes
// ---------------------------------------------------------------------------

// One segment in user (U), normalized (V) or normalized device (R) coordinates,
// drawn with the current line index (last digit: width, digits above: colour).
void sglnu(float ux1, float uy1, float ux2, float uy2);
void sglnv(float vx1, float vy1, float vx2, float vy2);
void sglnr(float rx1, float ry1, float rx2, float ry2);
void sgslni(int index);
void sgqlni(int& index);

// Polylines of n points in U, V or R with the current polyline type and index;
// with GL LMISS a point equal to RMISS in either coordinate lifts the pen.
void sgplu(int n, const float* upx, const float* upy);
void sgplv(int n, const float* vpx, const float* vpy);
void sgplr(int n, const float* rpx, const float* rpy);
// The same with type and index as arguments, leaving the current ones alone.
void sgplzu(int n, const float* upx, const float* upy, int itype, int index);
void sgplzv(int n, const float* vpx, const float* vpy, int itype, int index);
void sgplzr(int n, const float* rpx, const float* rpy, int itype, int index);
// Polyline type (a line type of the dash stage, initially 1, solid).
void sgsplt(int itype);
void sgqplt(int& itype);
// Polyline index (colour and width as a line index, initially 1).
void sgspli(int index);
void sgqpli(int& index);

// The line-primitive bracket and one segment at a level.
void szlnop(int index);
void szlncl();
void szlnzu(float x1, float y1, float x2, float y2);
void szlnzv(float x1, float y1, float x2, float y2);
void szlnzr(float x1, float y1, float x2, float y2);
void szslti(int itype, int index);
void szsidx(int index);
void szqidx(int& index);

// The stages of the line pipeline: open, move to, draw to, close.
void szoplu();
void szmvlu(float x, float y);
void szpllu(float x, float y);
void szcllu();
void szoplt();
void szmvlt(float x, float y);
void szpllt(float x, float y);
void szcllt();
void szoplv();
void szmvlv(float x, float y);
void szpllv(float x, float y);
void szcllv();
void szoplc();
void szmvlc(float x, float y);
void szpllc(float x, float y);
void szcllc();
void szopld();
void szmvld(float x, float y);
void szplld(float x, float y);
void szclld();
void szoplp();
void szmvlp(float x, float y);
void szpllp(float x, float y);
void szcllp();
void szoplr();
void szmvlr(float x, float y);
void szpllr(float x, float y);
void szcllr();
void szoplz();
void szmvlz(float x, float y);
void szpllz(float x, float y);
void szcllz();
// Strokes of stroke-font text, entering at V and bypassing labels and dashes.
void szopsv();
void szmvsv(float x, float y);
void szplsv(float x, float y);
void szclsv();

// ---------------------------------------------------------------------------
// Markers
// ---------------------------------------------------------------------------

// A marker at each of n points in U, V or R with the current type, index and
// size; missing and undefined points, and with LCLIP points outside the
// viewport, get none.
void sgpmu(int n, const float* upx, const float* upy);
void sgpmv(int n, const float* vpx, const float* vpy);
void sgpmr(int n, const float* rpx, const float* rpy);
// The same with type, index and size as arguments, leaving the current ones alone.
void sgpmzu(int n, const float* upx, const float* upy, int itype, int index, float size);
void sgpmzv(int n, const float* vpx, const float* vpy, int itype, int index, float size);
void sgpmzr(int n, const float* rpx, const float* rpy, int itype, int index, float size);
// Marker type (initially 1): 1 dot, 2 plus, 3 asterisk, 4 circle, 5 cross, 6 square,
// 7 triangle, 8 diamond, 9 star, 10 filled circle, 11 filled square, 12-15 filled
// triangles up, left, down, right, 16 filled star, 17 flag, 18 filled diamond.
void sgspmt(int itype);
void sgqpmt(int& itype);
// Marker index (colour and width as a line index, initially 1).
void sgspmi(int index);
void sgqpmi(int& index);
// Marker size: the height, in V units, of the text cell the marker glyph fills
// (initially 0.01).
void sgspms(float size);
void sgqpms(float& size);

// ---------------------------------------------------------------------------
// Line types and dash patterns
// ---------------------------------------------------------------------------

// Types 1 (solid) to 4 are built in; any other value is a 32-bit pattern itself.
void szstyp(int itype);
void szqtyp(int& itype);
void szstyz(int pattern);
void szqtyz(int& pattern);

// ---------------------------------------------------------------------------
// Interpolated lines: linear in U, along great circles in T
// ---------------------------------------------------------------------------

void szpipl(float x0, float y0, float x1, float y1, int mode);
void szgipl(float& x, float& y, bool& lcont);
void szpipt(float x0, float y0, float x1, float y1, int mode);
void szgipt(float& x, float& y, bool& lcont);

// ---------------------------------------------------------------------------
// Text primitives and text attributes
// ---------------------------------------------------------------------------

// One string at a point in U, V or R, with the user-level attributes below.
void sgtxu(float ux, float uy, std::string_view text);
void sgtxv(float vx, float vy, std::string_view text);
void sgtxr(float rx, float ry, std::string_view text);
// The same in V or R with the attributes as arguments: height in V units, angle
// in degrees, centring -1 (left end at the point), 0 (middle), 1 (right end),
// text index (colour and width, as a line index).
void sgtxzv(float vx, float vy, std::string_view text, float height, int angle, int centring, int index);
void sgtxzr(float rx, float ry, std::string_view text, float height, int angle, int centring, int index);
// User-level attributes (stored without checks): height, angle, centring, index.
void sgstxs(float height);
void sgqtxs(float& height);
void sgstxr(int angle);
void sgqtxr(int& angle);
void sgstxc(int centring);
void sgqtxc(int& centring);
void sgstxi(int index);
void sgqtxi(int& index);
// The text-primitive bracket (workstation object "SZTX") and strings inside it.
void sztxop(float height, int angle, int centring, int index);
void sztxcl();
void sztxzu(float ux, float uy, std::string_view text);
void sztxzv(float vx, float vy, std::string_view text);
void sztxzr(float rx, float ry, std::string_view text);

// ---------------------------------------------------------------------------
// Stroke-font text engine
// ---------------------------------------------------------------------------

// Draws a string at (vx, vy) in V inside an open text primitive: with the system
// font when the SW parameter SYSFONT is on, otherwise with the stroke font
// selected by IFONT (markup: \^ superscript, \_ subscript, \\ backslash).
void sztxwv(float vx, float vy, std::string_view text);
// Width of a text in units of its height, and its height factor; nc becomes 0
// when control characters are enabled.
void szqtxw(std::string_view text, int& nc, float& wxch, float& wych);
// Loads the stroke font IFONT (1 or 2) when needed and returns the load
// counter, which grows whenever the tables or the extents change.
void szfint(int& ncnt);
// Copies of the loaded tables: the glyph index (256 integers) and the x and y
// coordinate arrays (6000 bytes each); the left and right extents (256 each).
void szqfnt(int* iposx, std::span<char> ckx, std::span<char> cky);
void szqfnw(float* wx1, float* wx2);

// ---------------------------------------------------------------------------
// Labelled lines: with SG LCHAR, lines carry this text in gaps along them
// ---------------------------------------------------------------------------

void szschz(std::string_view text, float height);
void szqchz(std::span<char> text, float& height);
void szcrst();

// ---------------------------------------------------------------------------
// Filled polygons (tones)
// ---------------------------------------------------------------------------

// A polygon is one or more rings: with GL LMISS an RMISS point separates them,
// and all rings fill together by the even-odd rule, so a ring inside another is
// a hole. The area is clipped to the map's latitudes and longitudes (cut at the
// seam, closed at a pole it goes around), to the viewport with SG LCLIP and to
// the workstation window. A tone number is colour index x 1000 + pattern number.

// Fills n points in U with the current tone; on maps edges follow great circles (SG LGCINT).
void sgtnu(int n, const float* upx, const float* upy);
// Fills n points in V with the current tone.
void sgtnv(int n, const float* vpx, const float* vpy);
// Fills n points in R with the current tone.
void sgtnr(int n, const float* rpx, const float* rpy);
// Fills n points in U with tone itpat, leaving the current tone alone.
void sgtnzu(int n, const float* upx, const float* upy, int itpat);
// Fills n points in V with tone itpat, leaving the current tone alone.
void sgtnzv(int n, const float* vpx, const float* vpy, int itpat);
// Fills n points in R with tone itpat, leaving the current tone alone.
void sgtnzr(int n, const float* rpx, const float* rpy, int itpat);
// Sets the current tone number (initially 1999: colour 1, solid; 0 fills nothing).
void sgstnp(int itpat);
// Returns the current tone number.
void sgqtnp(int& itpat);

}  // namespace zep
