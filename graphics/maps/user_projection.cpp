// The user projection of ITR 99: one of the projections 100-104, selected by
// number with stnusr and finalized like any map projection.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "graphics/maps/map_common.hpp"
#include "graphics/projection_table.hpp"

namespace zep {
namespace {

struct UserProjection {
  int number;
  std::string_view name;
  MapForwardFunction forward;
  MapForwardFunction inverse;
};

constexpr std::array kUserProjections = {
    UserProjection{100, "CENTRAL CYLINDRICAL", mpfcyc, mpicyc},
    UserProjection{101, "EQ.-AREA CYLINDRICAL", mpfcya, mpicya},
    UserProjection{102, "BRAUN CYLINDRICAL", mpfcyb, mpicyb},
    UserProjection{103, "BACON'S GLOBULAR", mpfglb, mpiglb},
    UserProjection{104, "CENTRAL CONICAL", mpfcct, mpicct},
};

int jproj = -1;  // no selection yet

const UserProjection* find(int n) {
  const auto* it = std::find_if(kUserProjections.begin(), kUserProjections.end(),
                                [n](const UserProjection& u) { return u.number == n; });
  return it == kUserProjections.end() ? nullptr : &*it;
}

// Drawing through a projection that was never chosen cannot give a picture:
// the program stops with a notice of what to call.
[[noreturn]] void stopUnselected(const char* routine) {
  std::printf("CALL STNUSR(i) before calling %s\n", routine);
  std::fflush(nullptr);
  std::exit(16);
}

}  // namespace

namespace transform {

bool prepareUserProjection(Setup& setup) {
  mpsotg(setup.rsat);
  if (jproj == 102) mpscyb(setup.stlat1);
  if (jproj == 104) mpscct(setup.stlat1);
  return true;
}

}  // namespace transform

void stnusr(int n) { jproj = n; }

void stsusr() { transform::finalizeMap(99, "STSUSR"); }

void stfusr(float lon, float lat, float& x, float& y) {
  const UserProjection* u = find(jproj);
  if (u == nullptr) stopUnselected("STFUSR");
  u->forward(lon, lat, x, y);
}

void stiusr(float x, float y, float& lon, float& lat) {
  const UserProjection* u = find(jproj);
  if (u == nullptr) stopUnselected("STIUSR");
  u->inverse(x, y, lon, lat);
}

void stcusr(int n, std::span<char> name) {
  const UserProjection* u = find(n);
  const std::string_view text = u == nullptr ? std::string_view(" ") : u->name;
  std::fill(name.begin(), name.end(), ' ');
  std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
}

}  // namespace zep
