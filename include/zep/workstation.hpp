// Workstation interface: SW parameter tables, the dispatcher between the graphics
// kernel and the output driver, data-file names and the workstation listing.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// SW parameters: swiqnp ... swistx, swlqnp ... swlstx, swrqnp ... swrstx,
// swcqnp ... swcstx (see parameters.hpp)
// ---------------------------------------------------------------------------

ZEP_DECLARE_PARAMETER_PACKAGE(sw)

// ---------------------------------------------------------------------------
// Data-file names and the colormap list
// ---------------------------------------------------------------------------

// Path of the data file named by the SW character parameter `name` (FONT1, FONT2,
// CL2TN, CMAPLIST, CLRMAP, BITMAP), searched in the working directory, DUPATH and
// DSPATH, with the ".x11"/".psx" suffixes for colormaps and bitmaps; blank when
// the file exists nowhere.
void swqfnm(std::string_view name, std::span<char> file);

// Loads the colormap list (only the first call reads it) and answers queries on it.
void swcmll();
// Number of colormaps in the list.
void swqcmn(int& n);
// File name of colormap i of the list (from 1).
void swqcmf(int i, std::span<char> file);
// Description of colormap i of the list.
void swqcmd(int i, std::span<char> text);

// ---------------------------------------------------------------------------
// The dispatcher: the graphics kernel's one gate to the output driver.
// Coordinates are workstation coordinates (device units, origin lower left).
// ---------------------------------------------------------------------------

// Open the workstation SW IWS: progress message, driver parameters, colormap and patterns.
void swdopn();
// Close the workstation ("GRPH1 : TERMINATED.").
void swdcls();
// Open a new page.
void swpopn();
// Close the page ("GRPH1 : PAGE = ### COMPLETED.").
void swpcls();
// Show everything drawn so far.
void swflsh();
// Open a named object with a comment (grouping; no visible effect).
void swoopn(std::string_view object, std::string_view comment);
// Close a named object.
void swocls(std::string_view object);
// Whether full colours are supported (true).
void swqfcc(bool& lfcmod);
// Full-colour mode on or off for the next polyline (tones filled before it keep the full colour too).
void swsfcm(bool lfcmod);
// Line-width index (1 to 9).
void swswdi(int iwdidx);
// Colour index of the colormap.
void swscli(int iclidx);
// Full colour 0xRRGGBB for lines.
void swslcl(int rgb);
// Begin a polyline.
void swgopn();
// Move to (x, y) in W.
void swgmov(float x, float y);
// Line to (x, y) in W.
void swgplt(float x, float y);
// End the polyline and stroke it.
void swgcls();
// Full colour 0xRRGGBB for tones.
void swstcl(int rgb);
// Paints a stroke-font glyph whole where the driver can (see zgglyph; (x, y) in W); false when it must be stroked.
bool swglyph(long long shape, float x, float y, double a, double b, double c, double d, int nline, const int* npts,
             const float* u, const float* v);
// Places a marker whole where the driver can (see zgmark; (x, y) in W); false when it must be filled and stroked.
bool swmark(long long shape, float x, float y, double a, double b, double c, double d, int nline, const int* npts,
            const float* u, const float* v, bool filled);
// Fill the polygon of np points (W) with tone pattern itpat (colour index x 1000 + pattern).
void swgton(int np, const float* wpx, const float* wpy, int itpat);
// Tone of several rings at once, even-odd: ring i has npts[i] points of wpx, wpy in turn.
void swgtnm(int nring, const int* npts, const float* wpx, const float* wpy, int itpat);
// Begin an image of imw x imh pixels at (iwx, iwy) in surface coordinates (origin top left).
void swiopn(int iwx, int iwy, int imw, int imh);
// Next nlen image pixels as colour indices, row by row from the top.
void swidat(const int* image, int nlen);
// Next nlen image pixels as full colours 0xRRGGBB.
void swiclr(const int* image, int nlen);
// Paint the image.
void swicls();
// Whether a workstation is open with a page begun (by sgfrm) and not yet ended.
void swqpag(bool& lpage);
// Point clicked in the window, in W, and its button.
void swqpnt(float& wx, float& wy, int& mb);
// W to integer surface coordinates.
void swfint(float wx, float wy, int& iwx, int& iwy);
// Integer surface coordinates to W.
void swiint(int iwx, int iwy, float& wx, float& wy);
// Whether line widths are supported.
void swqwdc(bool& lwdatr);
// Whether colours are supported.
void swqclc(bool& lclatr);
// Whether tones are supported.
void swqtnc(bool& ltnatr);
// Whether images are supported.
void swqimc(bool& limc);
// Whether pointer input is supported.
void swqptc(bool& lptc);
// The workstation rectangle in W and its factor (cm per W unit).
void swqrct(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx, float& fact);
// Rotation flag of the workstation transformation (1 upright, 2 turned).
void swsrot(int iwtrot);
// Switch to colormap SW ICLRMAP of the colormap list while open.
void swclch();
// System-font text: (x, y) workstation coordinates, angle in radians, centring
// -1, 0 or 1; the text is clipped to the viewport when the SG parameter LCLIP is on.
void swtxt(float x, float y, float height, std::string_view text, int n, float angle, int icent);
// Width and height of the first n bytes of text for a font of one point.
void swqtxw(std::string_view text, int n, float& wx, float& wy);
// Current system font by name, and its weight index.
void swftfc(std::string_view font);
// Weight index of the system font (100 x iweight).
void swsfw(int iweight);
// Font catalogue: number of families, name of family i (from 0; NUL-padded),
// listing of all families on standard output.
void swftnm(int& n);
// Name of font family i (from 0), NUL-padded; n the number of families.
void swgtft(int i, std::span<char> name, int& n);
// List all font families and their faces on standard output.
void swlsft();
// Font selection dialog (window only); font receives the chosen name.
void swslft(std::span<char> font);

// ---------------------------------------------------------------------------
// Workstation listing
// ---------------------------------------------------------------------------

// Writes the available workstations as one line (" 1:DISP, 2:FILES ;") to the
// message unit.
void sgpwsn();

}  // namespace zep
