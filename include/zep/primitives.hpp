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
// Clipping rectangle n.
void szqcll(float& xmin, float& xmax, float& ymin, float& ymax, int n);
// Prepare the segment (x0, y0)-(x1, y1) for clipping on rectangle n; lvalid when any part is inside.
void szpcll(float x0, float y0, float x1, float y1, bool& lvalid, int n);
// Next visible point of the prepared segment.
void szgcll(float& x, float& y, bool& lcont, bool& lmove, int n);

// Latitude clipper (T coordinates, radians); `lcont` true also marks the start
// of a piece.
void szscly(float ymin, float ymax);
// Latitude band of the latitude clipper (radians).
void szqcly(float& ymin, float& ymax);
// Prepare a segment (T) for the latitude clipper; with lstrict a point on a band edge counts as inside.
void szpcly(float x0, float y0, float x1, float y1, bool& lvalid, bool lstrict);
// Next point of the prepared segment within the latitude band.
void szgcly(float& x, float& y, bool& lcont);

// Longitude clipper (T coordinates, radians).
void szsclx(float xmin, float xmax);
// Longitude range of the longitude clipper (radians).
void szqclx(float& xmin, float& xmax);
// Prepare a segment (T) for the longitude clipper; with lbound a point on a range end counts as on it, not outside.
void szpclx(float x0, float y0, float x1, float y1, bool& lvalid, bool lbound);
// Next point of the prepared segment within the longitude range.
void szgclx(float& x, float& y, bool& lcont, bool& lmove);

// Longitude difference folded into (-pi, pi].
float szxmod(float d);

// The great circle through two points (T coordinates), shared with the
// great-circle interpolation.
void szsgcl(float x0, float y0, float x1, float y1);
// Latitude of the set great circle at longitude x (radians).
void szqgcy(float x, float& y);
// Longitude of the set great circle at latitude y (radians).
void szqgcx(float y, float& x);


// ---------------------------------------------------------------------------
// Line primitives and line attributes
// ---------------------------------------------------------------------------

// One segment in user (U), normalized (V) or normalized device (R) coordinates,
// drawn with the current line index (last digit: width, digits above: colour).
void sglnu(float ux1, float uy1, float ux2, float uy2);
// One segment in V with the current line index.
void sglnv(float vx1, float vy1, float vx2, float vy2);
// One segment in R with the current line index.
void sglnr(float rx1, float ry1, float rx2, float ry2);
// Line index of sglnu/sglnv/sglnr (10 x colour + width).
void sgslni(int index);
// Line index of sglnu/sglnv/sglnr.
void sgqlni(int& index);

// Polylines of n points in U, V or R with the current polyline type and index;
// with GL LMISS a point equal to RMISS in either coordinate lifts the pen.
void sgplu(int n, const float* upx, const float* upy);
// Polyline of n points in V.
void sgplv(int n, const float* vpx, const float* vpy);
// Polyline of n points in R.
void sgplr(int n, const float* rpx, const float* rpy);
// The same with type and index as arguments, leaving the current ones alone.
void sgplzu(int n, const float* upx, const float* upy, int itype, int index);
// Polyline of n points in V with type and index as arguments.
void sgplzv(int n, const float* vpx, const float* vpy, int itype, int index);
// Polyline of n points in R with type and index as arguments.
void sgplzr(int n, const float* rpx, const float* rpy, int itype, int index);
// Polyline type (a line type of the dash stage, initially 1, solid).
void sgsplt(int itype);
// Polyline type.
void sgqplt(int& itype);
// Polyline index (colour and width as a line index, initially 1).
void sgspli(int index);
// Polyline index.
void sgqpli(int& index);

// The line-primitive bracket and one segment at a level.
void szlnop(int index);
// Close the line primitive (workstation object "SZLN").
void szlncl();
// One segment in U inside an open line primitive.
void szlnzu(float x1, float y1, float x2, float y2);
// One segment in V inside an open line primitive.
void szlnzv(float x1, float y1, float x2, float y2);
// One segment in R inside an open line primitive.
void szlnzr(float x1, float y1, float x2, float y2);
// Line type and index of the open line primitive; reads the per-line SG parameters.
void szslti(int itype, int index);
// Send line index `index` to the workstation as width and colour.
void szsidx(int index);
// Line index last sent to the workstation.
void szqidx(int& index);

// The stages of the line pipeline: open, move to, draw to, close.
void szoplu();
// Move to (x, y) in the U stage (user coordinates).
void szmvlu(float x, float y);
// Draw to (x, y) in the U stage (user coordinates).
void szpllu(float x, float y);
// Close the U stage (user coordinates).
void szcllu();
// Open the T stage (rotated map coordinates).
void szoplt();
// Move to (x, y) in the T stage (rotated map coordinates).
void szmvlt(float x, float y);
// Draw to (x, y) in the T stage (rotated map coordinates).
void szpllt(float x, float y);
// Close the T stage (rotated map coordinates).
void szcllt();
// Open the V stage (viewport clipping).
void szoplv();
// Move to (x, y) in the V stage (viewport clipping).
void szmvlv(float x, float y);
// Draw to (x, y) in the V stage (viewport clipping).
void szpllv(float x, float y);
// Close the V stage (viewport clipping).
void szcllv();
// Open the label stage (V).
void szoplc();
// Move to (x, y) in the label stage (V).
void szmvlc(float x, float y);
// Draw to (x, y) in the label stage (V).
void szpllc(float x, float y);
// Close the label stage (V).
void szcllc();
// Open the dash stage (V).
void szopld();
// Move to (x, y) in the dash stage (V).
void szmvld(float x, float y);
// Draw to (x, y) in the dash stage (V).
void szplld(float x, float y);
// Close the dash stage (V).
void szclld();
// Open the perspective stage (V to R).
void szoplp();
// Move to (x, y) in the perspective stage (V to R).
void szmvlp(float x, float y);
// Draw to (x, y) in the perspective stage (V to R).
void szpllp(float x, float y);
// Close the perspective stage (V to R).
void szcllp();
// Open the R stage (workstation-window clipping).
void szoplr();
// Move to (x, y) in the R stage (workstation-window clipping).
void szmvlr(float x, float y);
// Draw to (x, y) in the R stage (workstation-window clipping).
void szpllr(float x, float y);
// Close the R stage (workstation-window clipping).
void szcllr();
// Open the workstation stage (R to W).
void szoplz();
// Move to (x, y) in the workstation stage (R to W).
void szmvlz(float x, float y);
// Draw to (x, y) in the workstation stage (R to W).
void szpllz(float x, float y);
// Close the workstation stage (R to W).
void szcllz();
// Strokes of stroke-font text, entering at V and bypassing labels and dashes.
void szopsv();
// Move to (x, y) in V for text strokes.
void szmvsv(float x, float y);
// Draw to (x, y) in V for text strokes.
void szplsv(float x, float y);
// Close the text-stroke entry.
void szclsv();

// ---------------------------------------------------------------------------
// Markers
// ---------------------------------------------------------------------------

// A marker at each of n points in U, V or R with the current type, index and
// size; missing and undefined points, and with LCLIP points outside the
// viewport, get none.
void sgpmu(int n, const float* upx, const float* upy);
// Markers at n points in V.
void sgpmv(int n, const float* vpx, const float* vpy);
// Markers at n points in R.
void sgpmr(int n, const float* rpx, const float* rpy);
// The same with type, index and size as arguments, leaving the current ones alone.
void sgpmzu(int n, const float* upx, const float* upy, int itype, int index, float size);
// Markers in V with type, index and size as arguments.
void sgpmzv(int n, const float* vpx, const float* vpy, int itype, int index, float size);
// Markers in R with type, index and size as arguments.
void sgpmzr(int n, const float* rpx, const float* rpy, int itype, int index, float size);
// Marker type (initially 1): 1 dot, 2 plus, 3 asterisk, 4 circle, 5 cross, 6 square,
// 7 triangle, 8 diamond, 9 star, 10 filled circle, 11 filled square, 12-15 filled
// triangles up, left, down, right, 16 filled star, 17 flag, 18 filled diamond.
void sgspmt(int itype);
// Marker type.
void sgqpmt(int& itype);
// Marker index (colour and width as a line index, initially 1).
void sgspmi(int index);
// Marker index.
void sgqpmi(int& index);
// Marker size: the height, in V units, of the text cell the marker glyph fills
// (initially 0.01).
void sgspms(float size);
// Marker size (V).
void sgqpms(float& size);

// ---------------------------------------------------------------------------
// Line types and dash patterns
// ---------------------------------------------------------------------------

// Types 1 (solid) to 4 are built in; any other value is a 32-bit pattern itself.
void szstyp(int itype);
// Line type.
void szqtyp(int& itype);
// Dash pattern as 32 bits (NBITS used, BITLEN long each).
void szstyz(int pattern);
// Dash pattern.
void szqtyz(int& pattern);

// ---------------------------------------------------------------------------
// Interpolated lines: linear in U, along great circles in T
// ---------------------------------------------------------------------------

// Prepare linear interpolation in U of a segment (mode 0 per line settings).
void szpipl(float x0, float y0, float x1, float y1, int mode);
// Next point of the linear interpolation; lcont false at the last.
void szgipl(float& x, float& y, bool& lcont);
// Prepare great-circle interpolation in T of a segment.
void szpipt(float x0, float y0, float x1, float y1, int mode);
// Next point of the great-circle interpolation; lcont false at the last.
void szgipt(float& x, float& y, bool& lcont);

// ---------------------------------------------------------------------------
// Text primitives and text attributes
// ---------------------------------------------------------------------------

// One string at a point in U, V or R, with the user-level attributes below.
void sgtxu(float ux, float uy, std::string_view text);
// A text at (vx, vy) in V with the user-level attributes.
void sgtxv(float vx, float vy, std::string_view text);
// A text at (rx, ry) in R with the user-level attributes.
void sgtxr(float rx, float ry, std::string_view text);
// The same in V or R with the attributes as arguments: height in V units, angle
// in degrees, centring -1 (left end at the point), 0 (middle), 1 (right end),
// text index (colour and width, as a line index).
void sgtxzv(float vx, float vy, std::string_view text, float height, int angle, int centring, int index);
// A text in R with height, angle (degrees), centring and index as arguments.
void sgtxzr(float rx, float ry, std::string_view text, float height, int angle, int centring, int index);
// User-level attributes (stored without checks): height, angle, centring, index.
void sgstxs(float height);
// Text height (V).
void sgqtxs(float& height);
// Text angle in degrees.
void sgstxr(int angle);
// Text angle in degrees.
void sgqtxr(int& angle);
// Text centring: -1 left end, 0 middle, 1 right end at the point.
void sgstxc(int centring);
// Text centring.
void sgqtxc(int& centring);
// Text index (10 x colour + width).
void sgstxi(int index);
// Text index.
void sgqtxi(int& index);
// The text-primitive bracket (workstation object "SZTX") and strings inside it.
void sztxop(float height, int angle, int centring, int index);
// Close the text primitive.
void sztxcl();
// A text at (ux, uy) in U inside an open text primitive.
void sztxzu(float ux, float uy, std::string_view text);
// A text at (vx, vy) in V inside an open text primitive.
void sztxzv(float vx, float vy, std::string_view text);
// A text at (rx, ry) in R inside an open text primitive.
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
// Left and right extents of the 256 glyphs of the loaded stroke font.
void szqfnw(float* wx1, float* wx2);

// ---------------------------------------------------------------------------
// Labelled lines: with SG LCHAR, lines carry this text in gaps along them
// ---------------------------------------------------------------------------

// Label text and its height (V) for labelled lines.
void szschz(std::string_view text, float height);
// Label text and its height.
void szqchz(std::span<char> text, float& height);
// Forget the label text: lines carry no labels until the next szschz.
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
