// The user projection of ITR 99: one of the projections 100-104 of the
// projection table, selected by number with stnusr and finalized like any map
// projection.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "graphics/maps/map_common.hpp"
#include "graphics/projection_table.hpp"

namespace zep {
namespace {

int jproj = -1;  // no selection yet

// Drawing through a projection that was never chosen cannot give a picture:
// the program stops with a notice of what to call.
[[noreturn]] void stopUnselected(const char* routine) {
  std::printf("CALL STNUSR(i) before calling %s\n", routine);
  std::fflush(nullptr);
  std::exit(16);
}

}  // namespace

namespace transform {

const Projection* selectedUserProjection() { return findUserProjection(jproj); }

}  // namespace transform

void stnusr(int n) { jproj = n; }

void stsusr() { transform::finalizeMap(99, "STSUSR"); }

void stfusr(float lon, float lat, float& x, float& y) {
  const transform::Projection* u = transform::selectedUserProjection();
  if (u == nullptr) stopUnselected("STFUSR");
  u->forward(lon, lat, x, y);
}

void stiusr(float x, float y, float& lon, float& lat) {
  const transform::Projection* u = transform::selectedUserProjection();
  if (u == nullptr) stopUnselected("STIUSR");
  u->inverse(x, y, lon, lat);
}

void stcusr(int n, std::span<char> name) {
  const transform::Projection* u = transform::findUserProjection(n);
  const std::string_view text = u == nullptr ? std::string_view(" ") : u->name;
  std::fill(name.begin(), name.end(), ' ');
  std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
}

}  // namespace zep
