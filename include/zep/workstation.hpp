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
// Workstation listing
// ---------------------------------------------------------------------------

// Writes the available workstations as one line (" 1:DISP, 2:FILES ;") to the
// message unit.
void sgpwsn();

}  // namespace zep
