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

// ---------------------------------------------------------------------------
// Workstation listing
// ---------------------------------------------------------------------------

// Writes the available workstations as one line (" 1:DISP, 2:FILES ;") to the
// message unit.
void sgpwsn();

}  // namespace zep
