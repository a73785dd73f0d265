// Output driver: the named slots through which the dispatcher hands the
// text-control parameters to the driver.
#include <algorithm>
#include <array>
#include <string_view>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"

namespace zep {

namespace {

constexpr std::array<std::string_view, 2> zglpmname{"lfprop", "lcntl"};
constexpr std::array<std::string_view, 3> zgipmname{"isup", "isub", "irst"};
constexpr std::array<std::string_view, 2> zgrpmname{"small", "shift"};

std::string_view slot_name(std::string_view name, int length) {
  if (length < 0) length = 0;
  name = name.substr(0, std::min(static_cast<std::size_t>(length), name.size()));
  if (auto nul = name.find('\0'); nul != std::string_view::npos) name = name.substr(0, nul);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

template <std::size_t N>
int find_slot(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

int getparmnumber(std::string_view name, int kind) {
  name = slot_name(name, static_cast<int>(name.size()));
  switch (kind) {
    case 0: return find_slot(zglpmname, name);
    case 1: return find_slot(zgipmname, name);
    case 2: return find_slot(zgrpmname, name);
    default: return -1;
  }
}

// Unknown names are not valid requests: they store nothing and read as zero.
void zglset(std::string_view name, int length, bool value) {
  if (int i = getparmnumber(slot_name(name, length), 0); i >= 0) zgstate().zglparm[i] = value;
}

void zgiset(std::string_view name, int length, int value) {
  if (int i = getparmnumber(slot_name(name, length), 1); i >= 0) zgstate().zgiparm[i] = value;
}

void zgrset(std::string_view name, int length, double value) {
  if (int i = getparmnumber(slot_name(name, length), 2); i >= 0) zgstate().zgrparm[i] = value;
}

bool getlparm(std::string_view name) {
  int i = getparmnumber(name, 0);
  return i >= 0 && zgstate().zglparm[i];
}

int getiparm(std::string_view name) {
  int i = getparmnumber(name, 1);
  return i >= 0 ? zgstate().zgiparm[i] : 0;
}

double getrparm(std::string_view name) {
  int i = getparmnumber(name, 2);
  return i >= 0 ? zgstate().zgrparm[i] : 0.0;
}

}  // namespace zep
