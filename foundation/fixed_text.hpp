// Small helpers for the library's fixed-length, blank-padded texts.
#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

namespace zep::text {

// Copies `src` into `dst`, cut to its length and padded with blanks.
inline void assign(std::span<char> dst, std::string_view src) {
  const std::size_t n = std::min(dst.size(), src.size());
  std::copy_n(src.data(), n, dst.data());
  std::fill(dst.begin() + static_cast<std::ptrdiff_t>(n), dst.end(), ' ');
}

// `s` without trailing blanks and NULs (possibly empty).
inline std::string_view trimmed(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\0')) --n;
  return s.substr(0, n);
}

// A directory name ready to have a file name appended: a non-blank name that
// does not end in "/" gets one (GL_DSPATH=/data means /data/).
inline std::string asDirectory(std::string_view dir) {
  std::string d(trimmed(dir));
  if (!d.empty() && d.back() != '/') d += '/';
  return d;
}

// `s` cut or blank-padded to exactly `width` characters.
inline std::string padded(std::string_view s, std::size_t width) {
  std::string out(width, ' ');
  std::copy_n(s.data(), std::min(width, s.size()), out.data());
  return out;
}

inline std::string_view view(std::span<const char> s) { return {s.data(), s.size()}; }
inline std::string_view view(std::span<char> s) { return {s.data(), s.size()}; }

}  // namespace zep::text
