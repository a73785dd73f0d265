// Graphics control and coordinate systems: SG parameter tables, sessions and
// frames, page layout, titles, the workstation and normalization transformations,
// map projections, the curvilinear grid and the perspective view.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// SG parameters: sgiqnp ... sgistx, sglqnp ... sglstx, sgrqnp ... sgrstx
// (see parameters.hpp), and the generic table over all three types
// ---------------------------------------------------------------------------

ZEP_DECLARE_VALUE_TABLE(sgi, int)
ZEP_DECLARE_VALUE_TABLE(sgl, bool)
ZEP_DECLARE_VALUE_TABLE(sgr, float)

// The generic table lists every SG parameter once, in its own order; a value
// operation forwards to the typed table of the entry. The caller's variable must
// have the parameter's type (sgpqit: 1 integer, 2 logical, 3 real; 0 for an
// entry that the generic value operations leave alone).
void sgpqnp(int& n);
void sgpqid(std::string_view name, int& id);
void sgpqcp(int id, std::span<char> name);
void sgpqcl(int id, std::span<char> name);
void sgpqit(int id, int& type);
void sgpqvl(int id, int& value);
void sgpqvl(int id, bool& value);
void sgpqvl(int id, float& value);
void sgpsvl(int id, int value);
void sgpsvl(int id, bool value);
void sgpsvl(int id, float value);
void sgpqin(std::string_view name, int& id);
void sgpget(std::string_view name, int& value);
void sgpget(std::string_view name, bool& value);
void sgpget(std::string_view name, float& value);
void sgpset(std::string_view name, int value);
void sgpset(std::string_view name, bool value);
void sgpset(std::string_view name, float value);
void sgpstx(std::string_view name, int value);
void sgpstx(std::string_view name, bool value);
void sgpstx(std::string_view name, float value);

// ---------------------------------------------------------------------------
// Workstation transformation: R (normalized device) to W (workstation)
// ---------------------------------------------------------------------------

// Window in R, requested viewport in W, function number (1 upright, 2 turned by
// 90 degrees). The viewport is shrunk to the window's aspect ratio and centred.
void stswtr(float rxmin, float rxmax, float rymin, float rymax, float wxmin, float wxmax, float wymin,
            float wymax, int iwtrf);
void stqwtr(float& rxmin, float& rxmax, float& rymin, float& rymax, float& wxmin, float& wxmax, float& wymin,
            float& wymax, int& iwtrf);
// The workstation's drawable rectangle in W.
void stswrc(float wsxmn, float wsxmx, float wsymn, float wsymx);
void stqwrc(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx);
void stfwtr(float rx, float ry, float& wx, float& wy);
void stiwtr(float wx, float wy, float& rx, float& ry);

}  // namespace zep
