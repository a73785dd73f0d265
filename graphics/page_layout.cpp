// Page layout: the tree of rectangles (in workstation units) that places every
// frame on a page. Level 0 is the workstation extent, level 1 the page's layout
// rectangle (a paper size centred on it), levels 2 and 3 regular divisions of
// the level above.
#include <array>
#include <cctype>
#include <cstdint>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "foundation/fixed_text.hpp"

namespace zep {
namespace {

constexpr int kMaxPositions = 40;
constexpr int kMaxLevel = 3;

// Frames are stored level after level; positions are 1-based as everywhere in
// the layout's interface, index 0 is unused.
struct LayoutTable {
  std::array<float, kMaxPositions + 1> xmin{};
  std::array<float, kMaxPositions + 1> xmax{};
  std::array<float, kMaxPositions + 1> ymin{};
  std::array<float, kMaxPositions + 1> ymax{};
  std::array<int, kMaxLevel + 1> nfrm{};  // frames of each level on one page
};

LayoutTable& slblk1() {
  static LayoutTable table;
  return table;
}

// Position of the first frame of `level`, minus one.
int levelOffset(const LayoutTable& t, int level) {
  int offset = 0;
  for (int l = 0; l < level; ++l) offset += t.nfrm[static_cast<std::size_t>(l)];
  return offset;
}

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char charAt(std::string_view s, std::size_t i) { return i < s.size() ? s[i] : ' '; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSeries(char c) { return upper(c) == 'A' || upper(c) == 'B'; }

bool columnsFirst(std::string_view cdir) {
  const char c = upper(charAt(cdir, 0));
  return c == 'T' || c == 'L';
}

// The work of slmgnz; false (after an error report) when the rectangle or the
// margins are unusable, the rectangle then being left as it was.
bool shrinkByMargins(float& xmin, float& xmax, float& ymin, float& ymax, float left, float right, float bottom,
                     float top) {
  const float w = xmax - xmin;
  const float h = ymax - ymin;
  if (w < 0.0F || h < 0.0F) {
    msgdmp("E", "SLMGNZ", "RECTANGLE DEFINITION IS INVALID.");
    return false;
  }
  if (left < 0.0F || right < 0.0F || bottom < 0.0F || top < 0.0F) {
    msgdmp("E", "SLMGNZ", "MARGIN PARAMETER IS LESS THAN ZERO.");
    return false;
  }
  if (left + right >= 1.0F || bottom + top >= 1.0F) {
    msgdmp("E", "SLMGNZ", "SUM OF MARGIN PARAMETERS IS LARGER THAN 1.0.");
    return false;
  }
  xmin += w * left;
  xmax -= w * right;
  ymin += h * bottom;
  ymax -= h * top;
  return true;
}

// Centres a paper of dx x dy centimetres in the layout rectangle, or leaves the
// layout alone (with a warning) when the paper does not fit.
void fitPaper(float dx, float dy, std::string_view routine, std::string_view warning) {
  LayoutTable& t = slblk1();
  float factr = 0.0F;
  sgrget("FACTOR", factr);
  const float bwx = factr * (t.xmax[2] - t.xmin[2]);
  const float bwy = factr * (t.ymax[2] - t.ymin[2]);
  // Before slinit there is no layout rectangle, and no paper fits.
  if (dx > bwx || dy > bwy || bwx <= 0.0F || bwy <= 0.0F) {
    msgdmp("W", routine, warning);
    msgdmp("M", "-CNT.-", "DO NOTHING.");
    return;
  }
  const float xx = (1.0F - dx / bwx) * 0.5F;
  const float yy = (1.0F - dy / bwy) * 0.5F;
  float xmin = t.xmin[1];
  float xmax = t.xmax[1];
  float ymin = t.ymin[1];
  float ymax = t.ymax[1];
  if (!shrinkByMargins(xmin, xmax, ymin, ymax, xx, xx, yy, yy)) return;
  t.xmin[1] = t.xmin[2] = xmin;
  t.xmax[1] = t.xmax[2] = xmax;
  t.ymin[1] = t.ymin[2] = ymin;
  t.ymax[1] = t.ymax[2] = ymax;
}

// Shared checks of slpage and slqrct; false (after an error report) when the
// level or frame number cannot be used.
bool checkFrame(std::string_view routine, int lev, int frame) {
  int nlevel = 0;
  sgiget("NLEVEL", nlevel);
  if (lev < 0 || lev > nlevel || lev > kMaxLevel || slblk1().nfrm[static_cast<std::size_t>(lev)] <= 0) {
    // A level without frames (before slinit) has no pages to count.
    msgdmp("E", routine, "LEVEL NUMBER IS INVALID.");
    return false;
  }
  if (frame <= 0) {
    msgdmp("E", routine, "FRAME NUMBER IS LESS THAN ZERO.");
    return false;
  }
  return true;
}

}  // namespace

void slinit(float wx, float wy, float fact) {
  if (wx <= 0.0F || wy <= 0.0F) {
    msgdmp("E", "SLINIT", "WIDTH OF LAYOUT RECTANGLE IS LESS THAN ZERO.");
    return;
  }
  if (fact <= 0.0F) {
    msgdmp("E", "SLINIT", "SCALING FACTOR IS LESS THAN ZERO.");
    return;
  }
  LayoutTable& t = slblk1();
  t = LayoutTable{};
  for (int i = 1; i <= 2; ++i) {
    t.xmin[static_cast<std::size_t>(i)] = 0.0F;
    t.xmax[static_cast<std::size_t>(i)] = wx;
    t.ymin[static_cast<std::size_t>(i)] = 0.0F;
    t.ymax[static_cast<std::size_t>(i)] = wy;
  }
  t.nfrm[0] = 1;
  t.nfrm[1] = 1;
  sgiset("NLEVEL", 1);
  sgrset("FACTOR", fact);
}

void slqsiz(std::string_view csize, float& dx, float& dy) {
  const char series = upper(charAt(csize, 0));
  const char digit = charAt(csize, 1);
  if (!isSeries(series) || !isDigit(digit)) {
    msgdmp("E", "SLQSIZ", "SIZE PARAMETER IS INVALID.");
    dx = 0.0F;
    dy = 0.0F;
    return;
  }
  float along = series == 'A' ? 118.9F : 145.6F;
  float ashort = series == 'A' ? 84.1F : 103.0F;
  for (int n = digit - '0'; n > 0; --n) {
    const float halved = along / 2.0F;
    along = ashort;
    ashort = halved;
  }
  dx = along;
  dy = ashort;
}

void slsize(std::string_view csize) {
  const std::string cs = text::padded(csize, 3);
  if (!isSeries(cs[0]) || !isDigit(cs[1])) {
    msgdmp("E", "SLSIZE", "SIZE PARAMETER IS INVALID.");
    return;
  }
  float dl = 0.0F;
  float ds = 0.0F;
  slqsiz(cs, dl, ds);

  float dx = 0.0F;
  float dy = 0.0F;
  const char orient = upper(cs[2]);
  if (orient == 'Y' || orient == 'L') {
    dx = dl;
    dy = ds;
  } else if (orient == 'T' || orient == 'P') {
    dx = ds;
    dy = dl;
  } else {
    if (lenc(cs) != 2 && orient != 'A') {
      msgdmp("W", "SLSIZE", "SIZE PARAMETER IS INVALID.");
      msgdmp("M", "-CNT.-", "'" + cs.substr(0, 2) + "A' IS ASSUMED.");
    }
    const LayoutTable& t = slblk1();
    if (t.xmax[1] - t.xmin[1] > t.ymax[1] - t.ymin[1]) {
      dx = dl;
      dy = ds;
    } else {
      dx = ds;
      dy = dl;
    }
  }
  fitPaper(dx, dy, "SLSIZE", "SELECTED SIZE '" + cs + "' CANNOT BE ASSIGNED.");
}

void slform(float dx, float dy) { fitPaper(dx, dy, "SLFORM", "SELECTED SIZE CANNOT BE ASSIGNED."); }

void sldiv(std::string_view cdir, int nx, int ny) {
  const char c = upper(charAt(cdir, 0));
  if (c != 'T' && c != 'Y' && c != 'L' && c != 'S') {
    msgdmp("E", "SLDIV ", "DIVISION DIRECTION IS INVALID.");
    return;
  }
  int level = 0;
  sgiget("NLEVEL", level);
  if (level > 2) {
    msgdmp("E", "SLDIV ", "NUMBER OF DIVISION IS IN EXCESS OF MUXIMUM.");
    return;
  }
  if (level < 0) {
    msgdmp("E", "SLDIV ", "LEVEL NUMBER IS INVALID.");
    return;
  }
  // Without at least one column and one row a page would hold no frames and
  // the page of a frame could not be computed.
  if (nx < 1 || ny < 1) {
    msgdmp("E", "SLDIV ", "NUMBER OF COLUMNS AND ROWS MUST BE 1 OR MORE.");
    return;
  }
  LayoutTable& t = slblk1();
  const auto l = static_cast<std::size_t>(level);
  // 64-bit arithmetic: a large request must be refused, not wrap around.
  const std::int64_t children = static_cast<std::int64_t>(nx) * ny;
  const std::int64_t nnext = children * t.nfrm[l];
  if (levelOffset(t, level + 1) + nnext > kMaxPositions) {
    msgdmp("E", "SLDIV ", "TOTAL FRAME NUMBER IS IN EXCESS OF MAXIMUM.");
    return;
  }
  const int parents = levelOffset(t, level);
  const int first = levelOffset(t, level + 1);
  const int nchild = static_cast<int>(children);
  for (int i = 0; i < t.nfrm[l]; ++i) {
    const auto p = static_cast<std::size_t>(parents + i + 1);
    const auto c0 = static_cast<std::size_t>(first + i * nchild + 1);
    sldivz(t.xmin[p], t.xmax[p], t.ymin[p], t.ymax[p], cdir, nx, ny, &t.xmin[c0], &t.xmax[c0], &t.ymin[c0],
           &t.ymax[c0]);
  }
  t.nfrm[l + 1] = static_cast<int>(nnext);
  sgiset("NLEVEL", level + 1);
}

void sldivz(float xmin, float xmax, float ymin, float ymax, std::string_view cdir, int nx, int ny, float* xa,
            float* xb, float* ya, float* yb) {
  if (nx < 1 || ny < 1) return;  // nothing to divide into
  const float dx = (xmax - xmin) / static_cast<float>(nx);
  const float dy = (ymax - ymin) / static_cast<float>(ny);
  const bool byColumns = columnsFirst(cdir);
  const int n = nx * ny;
  for (int i = 0; i < n; ++i) {
    const int jx = byColumns ? i / ny + 1 : i % nx + 1;
    const int jy = byColumns ? i % ny + 1 : i / nx + 1;
    xa[i] = xmin + dx * static_cast<float>(jx - 1);
    xb[i] = xmin + dx * static_cast<float>(jx);
    ya[i] = ymin + dy * static_cast<float>(ny - jy);  // row 1 is at the top
    yb[i] = ymin + dy * static_cast<float>(ny - jy + 1);
  }
}

void slpage(int lev, int& jfr, int& ipage) {
  if (!checkFrame("SLPAGE", lev, jfr)) return;
  const int n = slblk1().nfrm[static_cast<std::size_t>(lev)];
  ipage = (jfr - 1) / n + 1;
  jfr = (jfr - 1) % n + 1;
}

void slqrct(int lev, int ifr, float& xmin, float& xmax, float& ymin, float& ymax) {
  if (!checkFrame("SLQRCT", lev, ifr)) return;
  const LayoutTable& t = slblk1();
  const int n = t.nfrm[static_cast<std::size_t>(lev)];
  const auto p = static_cast<std::size_t>(levelOffset(t, lev) + (ifr - 1) % n + 1);
  xmin = t.xmin[p];
  xmax = t.xmax[p];
  ymin = t.ymin[p];
  ymax = t.ymax[p];
}

void slmgnz(float& xmin, float& xmax, float& ymin, float& ymax, float left, float right, float bottom,
            float top) {
  shrinkByMargins(xmin, xmax, ymin, ymax, left, right, bottom, top);
}

}  // namespace zep
