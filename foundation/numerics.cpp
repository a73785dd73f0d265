// Small numeric helpers of the kernel: tolerant comparisons, extremes over strided
// arrays with missing values, strided copies, integer helpers, pi and angles, and
// bit patterns.
#include <functional>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include <zep/foundation.hpp>

namespace zep {

namespace {

// Offset of element k (0-based) of a strided array; 64-bit so that large counts
// with large strides cannot overflow.
std::ptrdiff_t at(int k, int j) { return static_cast<std::ptrdiff_t>(k) * static_cast<std::ptrdiff_t>(j); }

float glReal(std::string_view name) {
  float value = 0.0F;
  glrget(name, value);
  return value;
}

bool glLogical(std::string_view name) {
  bool value = false;
  gllget(name, value);
  return value;
}

// REPSL cannot be set by a program, so one fetch per run is enough; RFACT can,
// and is read on every comparison.
double truncationError() {
  static const double repsl = glReal("REPSL");
  return repsl * static_cast<double>(glReal("RFACT"));
}

}  // namespace

// ---------------------------------------------------------------------------
// Tolerant comparisons
// ---------------------------------------------------------------------------

bool lreq1(float x, float y) {
  const double dx = x;
  const double dy = y;
  return std::fabs(dx - dy) <= truncationError() * (std::fabs(dx) + std::fabs(dy)) / 2.0;
}

bool lrne1(float x, float y) { return !lreq1(x, y); }

bool lrge1(float x, float y) { return x >= y || lreq1(x, y); }

bool lrle1(float x, float y) { return x <= y || lreq1(x, y); }

bool lreqa(float x, float y, float eps) {
  return std::fabs(static_cast<double>(x) - static_cast<double>(y)) <= static_cast<double>(eps);
}

bool lrnea(float x, float y, float eps) { return !lreqa(x, y, eps); }

bool lrlta(float x, float y, float eps) { return x < y && !lreqa(x, y, eps); }

bool lrlea(float x, float y, float eps) { return x <= y || lreqa(x, y, eps); }

bool lrge0(float x, float y) { return x >= y; }

bool lrge(float x, float y) { return glLogical("LEPSL") ? lrge1(x, y) : lrge0(x, y); }

// ---------------------------------------------------------------------------
// Extremes over strided arrays
// ---------------------------------------------------------------------------

namespace {

// The extreme of n strided values by `better`; with `skipMissing`, values equal
// to RMISS are passed over and RMISS is the result when all are missing.
template <typename Better>
float extreme(const float* rx, int n, int j, bool skipMissing, Better better) {
  const float rmiss = skipMissing ? glReal("RMISS") : 0.0F;
  bool found = false;
  float r = skipMissing ? rmiss : rx[0];
  for (int k = 0; k < n; ++k) {
    const float v = rx[at(k, j)];
    if (skipMissing && v == rmiss) continue;
    if (!found || better(v, r)) r = v;
    found = true;
  }
  return r;
}

}  // namespace

float rmin0(const float* rx, int n, int j) { return extreme(rx, n, j, false, std::less<float>()); }
float rmax0(const float* rx, int n, int j) { return extreme(rx, n, j, false, std::greater<float>()); }
float rmin1(const float* rx, int n, int j) { return extreme(rx, n, j, true, std::less<float>()); }
float rmax1(const float* rx, int n, int j) { return extreme(rx, n, j, true, std::greater<float>()); }

float rmin(const float* rx, int n, int j) { return glLogical("LMISS") ? rmin1(rx, n, j) : rmin0(rx, n, j); }

float rmax(const float* rx, int n, int j) { return glLogical("LMISS") ? rmax1(rx, n, j) : rmax0(rx, n, j); }

// ---------------------------------------------------------------------------
// Strided copies, fills and sums
// ---------------------------------------------------------------------------

void viset(const int* ix, int* iy, int n, int jx, int jy) {
  for (int k = 0; k < n; ++k) iy[at(k, jy)] = ix[at(k, jx)];
}

void viset0(const int* ix, int* iy, int n, int jx, int jy) { viset(ix, iy, n, jx, jy); }

void viset1(const int* ix, int* iy, int n, int jx, int jy) { viset(ix, iy, n, jx, jy); }

void vrset(const float* rx, float* ry, int n, int jx, int jy) {
  for (int k = 0; k < n; ++k) ry[at(k, jy)] = rx[at(k, jx)];
}

void vrset0(const float* rx, float* ry, int n, int jx, int jy) { vrset(rx, ry, n, jx, jy); }

void vrset1(const float* rx, float* ry, int n, int jx, int jy) { vrset(rx, ry, n, jx, jy); }

void vrcon0(const float* /*rx*/, float* ry, int n, int /*jx*/, int jy, float rc) { rset0(ry, n, jy, rc); }

void rset0(float* rx, int n, int jx, float rc) {
  for (int k = 0; k < n; ++k) rx[at(k, jx)] = rc;
}

int isum0(const int* ix, int n, int jx) {
  // Wrap-around on overflow, as 32-bit integer arithmetic does, without
  // undefined behaviour.
  std::uint32_t sum = 0;
  for (int k = 0; k < n; ++k) sum += static_cast<std::uint32_t>(ix[at(k, jx)]);
  return static_cast<int>(sum);
}

// ---------------------------------------------------------------------------
// Integer helpers
// ---------------------------------------------------------------------------

int imod(int i, int id) {
  if (id <= 0) {
    msgdmp("E", "IMOD", "ID .LE. 0.");
    return 0;
  }
  // 64-bit so that id + (i rem id) cannot overflow for id near INT_MAX.
  const std::int64_t r = (static_cast<std::int64_t>(id) + i % id) % id;
  return static_cast<int>(r);
}

int iblkge(const float* rx, int n, float x) {
  for (int i = 0; i + 1 < n; ++i) {
    if (!(rx[i + 1] > rx[i])) {
      msgdmp("E", "IBLKGE", "ORDER OF RX IS INVALID.");
      return 0;
    }
  }
  for (int i = n; i >= 1; --i) {
    if (lrge(x, rx[i - 1])) return i;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Pi and angles
// ---------------------------------------------------------------------------

float rfpi() { return 3.14159265358979323846F; }

float rd2r(float x) { return x * rfpi() / 180.0F; }

float rr2d(float x) { return x * 180.0F / rfpi(); }

// ---------------------------------------------------------------------------
// Bit patterns
// ---------------------------------------------------------------------------

int ishift(int i, int n) {
  const auto u = static_cast<std::uint32_t>(i);
  if (n >= 0) {
    const int r = n % 32;
    if (r == 0) return i;
    return static_cast<int>((u << r) | (u >> (32 - r)));
  }
  const std::int64_t right = -static_cast<std::int64_t>(n);
  if (right >= 32) return 0;
  return static_cast<int>(u >> right);
}

void bitpci(std::string_view cp, int& ip) {
  constexpr int kBits = 32;
  static bool first = true;
  static int weight[kBits];
  if (first) {
    first = false;
    int nbitspw = 0;
    gliget("NBITSPW", nbitspw);
    if (nbitspw != kBits) {
      msgdmp("E", "BITPCI",
             "NUMBER OF BITS PER ONE WORD IS INVALID / CHECK NB IN THE PARAMETER STATEMENT OF BITPCI "
             "AND CHANGE IT CORRECTLY.");
    }
    // Successive one-bit rotations, so the last weight is the sign bit.
    weight[0] = 1;
    for (int k = 1; k < kBits; ++k) weight[k] = ishift(weight[k - 1], 1);
  }
  std::uint32_t sum = 0;
  const std::size_t len = cp.size();
  for (std::size_t k = 0; k < len && k < static_cast<std::size_t>(kBits); ++k) {
    if (cp[len - 1 - k] != '0') sum += static_cast<std::uint32_t>(weight[k]);
  }
  ip = static_cast<int>(sum);
}

}  // namespace zep
