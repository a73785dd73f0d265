// Shared pieces of the geography package: parameter values by name.
#pragma once

#include <string>
#include <string_view>

#include <zep/geography.hpp>

#include "foundation/fixed_text.hpp"

namespace zep::geography {

inline int geInt(std::string_view name) {
  int v = 0;
  geiget(name, v);
  return v;
}
inline float geReal(std::string_view name) {
  float v = 0;
  gerget(name, v);
  return v;
}
inline bool geLogical(std::string_view name) {
  bool v = false;
  gelget(name, v);
  return v;
}
// A character value without its trailing blanks.
inline std::string geText(std::string_view name) {
  std::string v(80, ' ');
  gecget(name, v);
  const auto end = v.find_last_not_of(' ');
  v.resize(end == std::string::npos ? 0 : end + 1);
  return v;
}

}  // namespace zep::geography
