// Display and file output driver: window and file surfaces, drawing primitives,
// system-font text and the font catalogue. Routines whose arguments are toolkit or
// cairo types live in driver/zgpack_internal.hpp.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// Device lifecycle, pages, window and parameter slots
// ---------------------------------------------------------------------------

// Open device |iws| (1 window, 2 files in format ifl: 1 PNG, 2 EPS, 3 SVG, 4 PDF).
void zgdopn(int iws, int iwidth, int iheight, int iposx, int iposy, int idmpdgt, int ibgpage,
            float rlwfact, bool lwait, bool lwait0, bool lwait1, bool lalt, bool lstdot, bool lkey,
            bool ldump, bool lwnd, bool lfgbg, bool lsep, int ifl, std::string_view cimgfmt,
            float rimgcmp, std::string_view clrmap, std::string_view bitmap, std::string_view fname,
            std::string_view title);
// Page of an exact size for the next file open: width and height in cm (0 and 0:
// the A4 layout and the IWIDTH x IHEIGHT image with its border) and the pixels per
// inch of PNG pages. PDF, EPS and SVG pages are then that size, upright; a PNG page
// is exactly round(cm / 2.54 x dpi) pixels each way, with no border.
void zgspag(double width_cm, double height_cm, double dpi);
// Close the device: the last wait (window) and the completed PDF file.
void zgdcls();
// Open a page: a fresh surface painted with the background colour.
void zgpopn();
// Close the page: page-end wait (window) or its file written.
void zgpcls();
// Show everything drawn so far in the window.
void zgflash();
// First output file not written since the last query, with the reason in upper case; failed false when none.
void zgqfer(std::span<char> file, std::span<char> cause, bool& failed);
// Open a named object (grouping only; no visible effect).
void zgoopn(std::string_view object, std::string_view comment);
// Close a named object; updates the window's dirty rectangle unless LALT.
void zgocls(std::string_view object);

// Window update of the dirty rectangle (flag 0: everything when nothing is
// marked) and growth of that rectangle by a surface point.
void zgupdate(int flag);
// Grow the dirty rectangle by the surface point (x, y).
void zguprect(int x, int y);

// Parameter slots: logical "lfprop", "lcntl"; integer "isup", "isub", "irst";
// real "small", "shift". The name is the first `length` characters of `name`.
void zglset(std::string_view name, int length, bool value);
// Store integer slot `name` ("isup", "isub", "irst").
void zgiset(std::string_view name, int length, int value);
// Store real slot `name` ("small", "shift").
void zgrset(std::string_view name, int length, double value);
// Value of logical slot `name`.
bool getlparm(std::string_view name);
// Value of integer slot `name`.
int getiparm(std::string_view name);
// Value of real slot `name`.
double getrparm(std::string_view name);
// Slot index of `name` for kind 0 (logical), 1 (integer), 2 (real); -1 otherwise.
int getparmnumber(std::string_view name, int kind);

// ---------------------------------------------------------------------------
// Drawing primitives (workstation coordinates unless said otherwise)
// ---------------------------------------------------------------------------

// Line-width index 1 to 9 (i mod 10; 0 becomes 1).
void zgswdi(int i);
// Colour index of the colour table (ignored in full-colour mode).
void zgscli(int i);
// Full colour 0xRRGGBB for lines.
void zgslcl(int rgb);
// Full colour 0xRRGGBB for tones.
void zgstcl(int rgb);
// Full-colour mode on or off (reset by zggcls); while on, colour indices of lines and tones are ignored.
void zgsfcm(bool l);
// Begin a polyline with the current width and colour.
void zggopn();
// Move to (x, y) in W.
void zggmov(double x, double y);
// Line to (x, y) in W.
void zggplt(double x, double y);
// Stroke the polyline.
void zggcls();
// Paints a stroke-font glyph whole on a raster page, in the current colour and width: npts[i] points of line i, taken in turn from u and v (glyph units), lie at (x + a u + b v, y + c u + d v) in W; shape names the outline for the page's mask cache; false (nothing drawn) where strokes are needed.
bool zgglyph(long long shape, double x, double y, double a, double b, double c, double d, int nline,
             const int* npts, const float* u, const float* v);
// Places a marker drawn as zgglyph draws a glyph, on a PDF page, as a shape the file holds once; with filled, line 0 is an outline that is also filled (non-zero); false (nothing drawn) where it must be filled and stroked instead.
bool zgmark(long long shape, double x, double y, double a, double b, double c, double d, int nline,
            const int* npts, const float* u, const float* v, bool filled);
// Fill the polygon of n points in W with colour itpat / 1000 (999xxx: background).
void zggton(int n, const float* xs, const float* ys, int itpat);
// Fills nring rings in one go by the even-odd rule (holes stay open); ring i has
// npts[i] points, taken in turn from xs and ys; colour from itpat as for zggton.
void zggtnm(int nring, const int* npts, const float* xs, const float* ys, int itpat);
// Images: origin and size in surface coordinates; pixels in row order, top row first.
void zgiopn(int ix, int iy, int iw, int ih);
// Next n image pixels as colour indices.
void zgidat(const int* v, int n);
// Next n image pixels as full colours 0xRRGGBB.
void zgiclr(const int* v, int n);
// Paint the image onto the page.
void zgicls();
// Clip to the rectangle x0..x1, y0..y1 in W.
void zgclip(double x0, double x1, double y0, double y1);
// Remove the clip.
void zgrclp();
// Reload the colour table from another colormap file (lfgbg swaps colours 0 and 1).
void zgclini(std::string_view file, bool lfgbg);
// Whether line widths are supported (true).
void zgqwdc(bool& l);
// Whether colours are supported.
void zgqclc(bool& l);
// Whether tones are supported (true).
void zgqtnc(bool& l);
// Whether images are supported (true).
void zgqimc(bool& l);
// Whether pointer input is supported (false).
void zgqptc(bool& l);
// Pointer query: no effect, outputs untouched.
void zgqpnt(float& x, float& y, int& button);
// The workstation rectangle in W and its factor (cm per W unit, 0.03).
void zgqrct(float& xmin, float& xmax, float& ymin, float& ymax, float& fact);
// Rotation flag of the workstation transformation (1 or 2); kept only.
void zgsrot(int i);
// W to integer surface coordinates (origin top left).
void zgfint(double x, double y, int& ix, int& iy);
// Integer surface coordinates to W.
void zgiint(int ix, int iy, float& x, float& y);
// W to real surface coordinates.
void zgfrel(double x, double y, float& xs, float& ys);

// ---------------------------------------------------------------------------
// System-font text
// ---------------------------------------------------------------------------

// Draws the first n bytes of text with the current system font: (x, y) in
// workstation coordinates is the vertical middle of the line and its start
// (icent -1), centre (0) or end (1); angle in radians, counter-clockwise.
void zgtxt(double x, double y, double size, std::string_view text, int n, double angle, int icent);
// Width and height of the first n bytes of text for a font of one point.
void zgqtxw(std::string_view text, int n, float& wx, float& wy);
// Current font from a Pango font name such as "Serif Bold 12" (trailing blanks ignored).
void zgftfc(std::string_view name);
// Weight of the current font: 100 x i, plus 200 on outputs with full line widths.
void zgsfw(int i);
// The library's escapes, symbol and marker codes of the first n bytes of text as
// Pango markup for a font of fsize Pango units (1024 per point); NUL-terminated
// and NUL-padded in out, cut to its size.
void zeptext2pangomarkup(std::string_view text, int n, std::span<char> out, double fsize);
// Logical width and ink height (Pango units) of the first n bytes of plain text in
// the current font; n = -1 takes the text up to a NUL or its end.
int char_width(std::string_view text, int n);
// Ink height (Pango units) of the first n bytes of plain text in the current font.
int char_height(std::string_view text, int n);
// Bytes of the UTF-8 sequence that begins the text, 0 when it begins none.
int utf8_char_byte(std::string_view p);

// ---------------------------------------------------------------------------
// Font catalogue and selection dialog
// ---------------------------------------------------------------------------

// Number of font families known to the font engine.
void zgnumfonts(int& n);
// Name of family i (from 0), NUL-padded, at most 80 characters; n the number of
// families. Prints "Family i: name". Outside 0 .. n-1 the name is empty.
void zgfontname(int i, std::span<char> name, int& n);
// Prints all families and their faces to standard output.
void zglistfonts();
// Runs the font selection dialog; font receives the chosen font name, NUL-padded.
void zgselectfont(std::span<char> font);

}  // namespace zep
