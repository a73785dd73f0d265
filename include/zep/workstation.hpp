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
void swqcmn(int& n);
void swqcmf(int i, std::span<char> file);
void swqcmd(int i, std::span<char> text);

// ---------------------------------------------------------------------------
// The dispatcher: the graphics kernel's one gate to the output driver.
// Coordinates are workstation coordinates (device units, origin lower left).
// ---------------------------------------------------------------------------

void swdopn();
void swdcls();
void swpopn();
void swpcls();
void swflsh();
void swoopn(std::string_view object, std::string_view comment);
void swocls(std::string_view object);
void swqfcc(bool& lfcmod);
void swsfcm(bool lfcmod);
void swswdi(int iwdidx);
void swscli(int iclidx);
void swslcl(int rgb);
void swgopn();
void swgmov(float x, float y);
void swgplt(float x, float y);
void swgcls();
void swstcl(int rgb);
void swgton(int np, const float* wpx, const float* wpy, int itpat);
// Tone of several rings at once, even-odd: ring i has npts[i] points of wpx, wpy in turn.
void swgtnm(int nring, const int* npts, const float* wpx, const float* wpy, int itpat);
void swiopn(int iwx, int iwy, int imw, int imh);
void swidat(const int* image, int nlen);
void swiclr(const int* image, int nlen);
void swicls();
void swqpnt(float& wx, float& wy, int& mb);
void swfint(float wx, float wy, int& iwx, int& iwy);
void swiint(int iwx, int iwy, float& wx, float& wy);
void swqwdc(bool& lwdatr);
void swqclc(bool& lclatr);
void swqtnc(bool& ltnatr);
void swqimc(bool& limc);
void swqptc(bool& lptc);
void swqrct(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx, float& fact);
void swsrot(int iwtrot);
void swclch();
// System-font text: (x, y) workstation coordinates, angle in radians, centring
// -1, 0 or 1; the text is clipped to the viewport when the SG parameter LCLIP is on.
void swtxt(float x, float y, float height, std::string_view text, int n, float angle, int icent);
// Width and height of the first n bytes of text for a font of one point.
void swqtxw(std::string_view text, int n, float& wx, float& wy);
// Current system font by name, and its weight index.
void swftfc(std::string_view font);
void swsfw(int iweight);
// Font catalogue: number of families, name of family i (from 0; NUL-padded),
// listing of all families on standard output.
void swftnm(int& n);
void swgtft(int i, std::span<char> name, int& n);
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
