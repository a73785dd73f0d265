// Measuring, comparing, searching, adjusting and coding fixed-length texts.
#include <algorithm>
#include <cstring>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

bool isBlankOrNul(char c) { return c == ' ' || c == '\0'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Element i (1-based) of an array of texts laid out in `cx` with stride `jd`,
// taken with `len` characters and cut at the end of `cx`.
std::string_view element(std::string_view cx, int i, int jd, std::size_t len) {
  const long long start = static_cast<long long>(i - 1) * jd;
  if (start < 0 || start >= static_cast<long long>(cx.size())) return {};
  return cx.substr(static_cast<std::size_t>(start), len);
}

template <typename Match>
int firstIndex(int n, Match match) {
  for (int i = 1; i <= n; ++i)
    if (match(i)) return i;
  return 0;
}

}  // namespace

int lenz(std::string_view c) { return static_cast<int>(text::trimmed(c).size()); }

int lenc(std::string_view c) {
  if (c.empty()) return 0;
  return std::max(lenz(c), 1);
}

int leny(std::string_view c) {
  int n = 0;
  while (n < static_cast<int>(c.size()) && isBlankOrNul(c[static_cast<std::size_t>(n)])) ++n;
  return n;
}

int lenb(std::string_view c) {
  if (c.empty()) return 0;
  return std::min(leny(c), static_cast<int>(c.size()) - 1);
}

bool lchreq(std::string_view a, std::string_view b) {
  const std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char ca = i < a.size() ? a[i] : ' ';
    const char cb = i < b.size() ? b[i] : ' ';
    if (upper(ca) != upper(cb)) return false;
  }
  return true;
}

bool lchrd(std::string_view c) {
  return std::all_of(c.begin(), c.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

int indxnf(std::string_view cx, int n, int jd, std::string_view ch) {
  return firstIndex(n, [&](int i) {
    const std::string_view e = element(cx, i, jd, ch.size());
    return e.size() == ch.size() && e == ch;
  });
}

int indxmf(std::string_view cx, int n, int jd, std::string_view ch) {
  return firstIndex(n, [&](int i) {
    const std::string_view e = element(cx, i, jd, ch.size());
    return e.size() == ch.size() && lchreq(e, ch);
  });
}

namespace {
bool firstCharMatches(std::string_view cx, int i, int jd, std::string_view ch) {
  const std::string_view e = element(cx, i, jd, 1);
  return !e.empty() && !ch.empty() && e[0] == ch[0];
}
}  // namespace

int indxcf(std::string_view cx, int n, int jd, std::string_view ch) {
  return firstIndex(n, [&](int i) { return firstCharMatches(cx, i, jd, ch); });
}

int indxcl(std::string_view cx, int n, int jd, std::string_view ch) {
  for (int i = n; i >= 1; --i)
    if (firstCharMatches(cx, i, jd, ch)) return i;
  return 0;
}

int nindxc(std::string_view cx, int n, int jd, std::string_view ch) {
  int count = 0;
  for (int i = 1; i <= n; ++i)
    if (firstCharMatches(cx, i, jd, ch)) ++count;
  return count;
}

void cladj(std::span<char> c) {
  std::size_t lead = 0;
  while (lead < c.size() && c[lead] == ' ') ++lead;
  if (lead == 0 || lead == c.size()) return;
  std::copy(c.begin() + static_cast<std::ptrdiff_t>(lead), c.end(), c.begin());
  std::fill(c.end() - static_cast<std::ptrdiff_t>(lead), c.end(), ' ');
}

void cradj(std::span<char> c) {
  std::size_t n = c.size();
  while (n > 0 && c[n - 1] == ' ') --n;
  if (n == 0 || n == c.size()) return;
  const std::size_t shift = c.size() - n;
  std::copy_backward(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(n), c.end());
  std::fill(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(shift), ' ');
}

void cdblk(std::span<char> c) {
  std::size_t out = 0;
  bool pendingBlank = false;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i] == ' ') {
      pendingBlank = out > 0;
      continue;
    }
    if (pendingBlank) c[out++] = ' ';
    pendingBlank = false;
    c[out++] = c[i];
  }
  std::fill(c.begin() + static_cast<std::ptrdiff_t>(out), c.end(), ' ');
}

void clower(std::span<char> c) {
  for (char& ch : c)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
}

int isgc(std::string_view c) { return c.empty() ? 0 : static_cast<unsigned char>(c[0]); }

std::string csgi(int i) { return std::string(1, static_cast<char>(static_cast<unsigned char>(i & 0xff))); }

void cfnchr(std::span<char> dst, std::string_view src, int len) {
  if (dst.empty()) return;
  // Never write past the receiving text, whatever `len` claims.
  std::size_t n = std::min({static_cast<std::size_t>(std::max(len, 0)), src.size(), dst.size() - 1});
  std::copy_n(src.data(), n, dst.data());
  std::size_t end = n;
  while (end > 0 && dst[end - 1] == ' ') --end;
  if (end == 0 && n > 0) end = 1;  // an entirely blank source keeps one blank
  dst[end] = '\0';
}

}  // namespace zep
