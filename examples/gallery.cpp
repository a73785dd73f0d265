// The gallery: one page per capability of the library, drawn through its
// public interface only, into one multi-page PDF file and one PNG per page.
//
//   gallery [folder] [--png] [--pdf] [-PKG_NAME=value ...]
//
// The files go into `folder` (default "gallery-output"): gallery.pdf and
// gallery_0001.png, gallery_0002.png ... Both formats by default; --png or
// --pdf draws only one. Options of the form -SW_IWIDTH=1000 are the library's
// runtime parameters (the page size in pixels, for example).
//
// Every page is one function below and one row of kPages; adding a page is
// adding both.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include <zep/zep.hpp>

#include "wind_fields.hpp"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDeg = kPi / 180.0F;

// ---------------------------------------------------------------------------
// Helpers shared by the pages
// ---------------------------------------------------------------------------

// The workstation's whole layout rectangle in W and its size in centimetres per
// W unit, kept from the session's opening: every page starts a layout of its own.
struct Workstation {
  float wx = 0, wy = 0, fact = 1;
};
Workstation ws;

std::string pageTitle;  // set by the page table before each page
int pageNumber = 0;
int pageCount = 0;

// Starts a page divided into nx columns and ny rows of frames: a fresh layout
// with bands above and below the paper for the titles, and the frame counter
// moved to the end of the previous page so that the next sgfrm opens a new one.
void startPage(int nx = 1, int ny = 1) {
  zep::slinit(ws.wx, ws.wy, ws.fact);
  zep::slform(ws.wx * ws.fact, ws.wy * ws.fact * 0.86F);
  if (nx * ny > 1) zep::sldiv("Y", nx, ny);
  int npage = 0;
  zep::sgiget("NPAGE", npage);
  zep::sgiset("NFRAME", npage * nx * ny);
  zep::slsttl(pageTitle, "T", -1, 0, 0.022F, 1);
  char right[40];
  std::snprintf(right, sizeof right, "LIBZEP GALLERY %d/%d", pageNumber, pageCount);
  zep::slsttl(right, "B", 1, 0, 0.014F, 2);
}

// The current frame's rectangle in V (with LFULL the whole frame).
struct Rect {
  float x0, x1, y0, y1;
  float w() const { return x1 - x0; }
  float h() const { return y1 - y0; }
};

Rect frameRect() {
  Rect r{};
  zep::sgqvpt(r.x0, r.x1, r.y0, r.y1);
  return r;
}

// A rectangle inside r, given by fractions of its width and height.
Rect inside(const Rect& r, float fx0, float fx1, float fy0, float fy1) {
  return {r.x0 + fx0 * r.w(), r.x0 + fx1 * r.w(), r.y0 + fy0 * r.h(), r.y0 + fy1 * r.h()};
}

void boxV(const Rect& r, int index = 1) {
  zep::sgslni(index);
  zep::sglnv(r.x0, r.y0, r.x1, r.y0);
  zep::sglnv(r.x1, r.y0, r.x1, r.y1);
  zep::sglnv(r.x1, r.y1, r.x0, r.y1);
  zep::sglnv(r.x0, r.y1, r.x0, r.y0);
}

// Stroke-font text in V: left end (centring -1), middle (0) or right end (1).
// Labels sit outside the viewport too, so clipping is off while they are drawn.
void text(float x, float y, std::string_view s, float h = 0.016F, int centring = -1, int index = 1) {
  bool clip = false;
  zep::sglget("LCLIP", clip);
  zep::sglset("LCLIP", false);
  zep::sgtxzv(x, y, s, h, 0, centring, index);
  zep::sglset("LCLIP", clip);
}

// A polyline in U through n points given by point(i, x, y), as one line
// primitive (so that dashes and labels run on along it).
void polylineU(int n, const std::function<void(int, float&, float&)>& point, int index, int type = 1) {
  zep::szlnop(index);
  zep::szslti(type, index);
  zep::szoplu();
  for (int i = 0; i < n; ++i) {
    float x = 0, y = 0;
    point(i, x, y);
    i == 0 ? zep::szmvlu(x, y) : zep::szpllu(x, y);
  }
  zep::szcllu();
  zep::szlncl();
}

void setViewport(const Rect& r) { zep::sgsvpt(r.x0, r.x1, r.y0, r.y1); }

// V to W, for the workstation's own entries (tones and images).
void vToW(float vx, float vy, float& wx, float& wy) {
  float rx = 0, ry = 0;
  zep::stfpr2(vx, vy, rx, ry);
  zep::stfwtr(rx, ry, wx, wy);
}

// ---------------------------------------------------------------------------
// Lines: types, widths, the colours of the default colormap
// ---------------------------------------------------------------------------

void linesPage() {
  startPage();
  zep::sgfrm();
  const Rect f = frameRect();

  // Line types 1 to 4 in three widths, and a pattern of its own.
  const Rect a = inside(f, 0.04F, 0.48F, 0.52F, 0.95F);
  text(a.x0, a.y1, "LINE TYPES 1-4 AND A BIT PATTERN", 0.016F);
  const int types[] = {1, 2, 3, 4, 0b1111111100110011};
  const char* names[] = {"1 SOLID", "2 DASHED", "3 DOTTED", "4 DASH-DOT", "PATTERN"};
  zep::sgswnd(0, 1, 0, 1);
  setViewport(a);
  zep::sgstrn(1);
  zep::sgstrf();
  for (int k = 0; k < 5; ++k) {
    const float y = 0.85F - 0.19F * static_cast<float>(k);
    text(a.x0, a.y0 + y * a.h(), names[k], 0.013F);
    for (int w = 0; w < 3; ++w) {
      const float yy = y - 0.05F * static_cast<float>(w);
      polylineU(2, [&](int i, float& x, float& yv) {
        x = i == 0 ? 0.3F : 1.0F;
        yv = yy;
      }, 10 + 2 * w + 1, types[k]);
    }
  }

  // Widths 1 to 9 (the last digit of the line index).
  const Rect b = inside(f, 0.54F, 0.96F, 0.52F, 0.95F);
  text(b.x0, b.y1, "LINE WIDTHS: INDEX 11 TO 19", 0.016F);
  for (int w = 1; w <= 9; ++w) {
    const float y = b.y1 - 0.035F - 0.026F * static_cast<float>(w);
    char s[4];
    std::snprintf(s, sizeof s, "%d", 10 + w);
    text(b.x0, y, s, 0.013F, -1);
    zep::sgslni(10 + w);
    zep::sglnv(b.x0 + 0.05F, y, b.x1, y);
  }

  // The colours of the default colormap, as thick lines with their indices.
  const Rect c = inside(f, 0.04F, 0.96F, 0.03F, 0.45F);
  text(c.x0, c.y1, "COLOURS 0 TO 15 OF THE DEFAULT COLORMAP: LINE INDEX 10 C + 9, 0 AS 9999", 0.016F);
  for (int k = 0; k < 16; ++k) {
    const int col = k % 8, row = k / 8;
    const float x0 = c.x0 + c.w() * static_cast<float>(col) / 8.0F;
    const float y = c.y1 - 0.07F - 0.13F * static_cast<float>(row);
    char s[24];
    std::snprintf(s, sizeof s, "%d", k);
    text(x0 + 0.005F, y + 0.025F, s, 0.013F);
    if (k == 0) {
      // Colour 0 is the background: a line reaches it through the colour
      // number IBGCLI (999), shown here on a black tone.
      std::array<float, 4> wx{}, wy{};
      const float vx[] = {x0 + 0.002F, x0 + c.w() / 8.0F - 0.012F, x0 + c.w() / 8.0F - 0.012F, x0 + 0.002F};
      const float vy[] = {y - 0.035F, y - 0.035F, y + 0.01F, y + 0.01F};
      for (int i = 0; i < 4; ++i) vToW(vx[i], vy[i], wx[i], wy[i]);
      zep::swgton(4, wx.data(), wy.data(), 1999);
    }
    for (int d = 0; d < 4; ++d) {
      zep::sgslni(k == 0 ? 9999 : 10 * k + 9);
      const float yy = y - 0.008F * static_cast<float>(d);
      zep::sglnv(x0 + 0.005F, yy, x0 + c.w() / 8.0F - 0.015F, yy);
    }
    // The white of colour 0 shows against a thin outline.
    zep::sgslni(1);
    const Rect sw{x0 + 0.002F, x0 + c.w() / 8.0F - 0.012F, y - 0.035F, y + 0.01F};
    boxV(sw, 1);
  }
}

// ---------------------------------------------------------------------------
// Coordinate systems: linear, log-log, polar, bipolar
// ---------------------------------------------------------------------------

// Axis sizes for frames a quarter of the page wide: the AX heights are in V,
// and V spans one frame's width.
void largeAxes(bool on) {
  zep::axrset("RLABEL", on ? 0.03F : 0.02F);
  zep::axrset("RTITLE", on ? 0.032F : 0.024F);
  zep::axrset("RTICK", on ? 0.018F : 0.012F);
  zep::axrset("RMINOR", on ? 0.009F : 0.006F);
  zep::axrset("RGAP", on ? 0.01F : 0.008F);
  zep::axrset("RLEGND", on ? 0.028F : 0.018F);
  zep::axrset("RLGLEN", on ? 0.07F : 0.05F);
}

void linearFrame() {
  zep::sgfrm();
  const Rect v = inside(frameRect(), 0.2F, 0.95F, 0.2F, 0.86F);
  setViewport(v);
  zep::sgswnd(0, 10, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  polylineU(201, [](int i, float& x, float& y) {
    x = 0.05F * static_cast<float>(i);
    y = std::exp(-0.25F * x) * std::cos(2.0F * x);
  }, 23);
  polylineU(101, [](int i, float& x, float& y) {
    x = 0.1F * static_cast<float>(i);
    y = std::exp(-0.25F * x);
  }, 41, 2);
  zep::axinit();
  zep::axsttl("B", "TIME (s)");
  zep::axsttl("L", "AMPLITUDE");
  zep::axpfrm();
  zep::axlgcl();
  zep::axlgln(23, 1, "e\\^{-t/4} cos 2t");
  zep::axlgln(41, 2, "e\\^{-t/4}");
  zep::axlgpv("TR");
  text(v.x0, v.y1 + 0.03F, "LINEAR (ITR 1)", 0.035F);
}

void logFrame() {
  zep::sgfrm();
  const Rect v = inside(frameRect(), 0.2F, 0.95F, 0.2F, 0.86F);
  setViewport(v);
  // A negative window: y runs from -0.01 down to -100, logarithmically.
  zep::sgswnd(1, 1000, -0.01F, -100);
  zep::sgstrn(4);
  zep::sgstrf();
  const int indices[] = {25, 35, 45};
  const float powers[] = {-0.5F, 0.5F, 1.0F};
  for (int k = 0; k < 3; ++k)
    polylineU(31, [&](int i, float& x, float& y) {
      x = std::pow(10.0F, 0.1F * static_cast<float>(i));
      y = -0.05F * std::pow(x, powers[k]);
    }, indices[k]);
  zep::axinit();
  zep::axsttl("B", "X");
  zep::axsttl("L", "-0.05 X\\^{P}");
  zep::axpfrm();
  text(v.x0, v.y1 + 0.03F, "LOG-LOG, Y NEGATIVE (ITR 4)", 0.035F);
}

void polarFrame() {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.1F, 0.9F, 0.06F, 0.86F);
  setViewport(v);
  zep::sgssim(0.4F * v.h(), 0, 0);
  zep::sgstrn(5);
  zep::sgstrf();
  boxV(v);
  // Circles of constant radius and labelled spokes from the axis package.
  zep::axrset("RLABEL", 0.022F);
  zep::axpfrm();
  zep::axrset("RLABEL", 0.03F);
  polylineU(361, [](int i, float& r, float& theta) {
    theta = static_cast<float>(i);
    r = std::fabs(std::cos(3.0F * theta * kDeg));
  }, 33);
  polylineU(721, [](int i, float& r, float& theta) {
    theta = static_cast<float>(i);
    r = static_cast<float>(i) / 720.0F;
  }, 52);
  text(f.x0 + 0.02F, v.y1 + 0.03F, "POLAR (ITR 5): ROSE AND SPIRAL", 0.035F);
}

void bipolarFrame() {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.05F, 0.95F, 0.06F, 0.86F);
  setViewport(v);
  zep::sgssim(0.09F * v.h() / 0.35F, 0, 0);
  zep::sgstrn(6);
  zep::sgstrf();
  boxV(v);
  // Both bipolar coordinates in degrees (LDEG): circles through the foci at
  // constant u, circles about them at constant v.
  for (int u = -150; u <= 150; u += 30)
    if (u != 0)
      polylineU(121, [u](int i, float& uu, float& vv) {
        uu = static_cast<float>(u);
        vv = -180.0F + 3.0F * static_cast<float>(i);
      }, u > 0 ? 43 : 53);
  for (int vv0 = -150; vv0 <= 150; vv0 += 30)
    polylineU(121, [vv0](int i, float& uu, float& vv) {
      vv = static_cast<float>(vv0);
      uu = -180.0F + 3.0F * static_cast<float>(i);
    }, vv0 == 0 ? 22 : 21);
  text(f.x0 + 0.02F, v.y1 + 0.03F, "BIPOLAR (ITR 6)", 0.035F);
}

void framesPage() {
  startPage(2, 2);
  largeAxes(true);
  zep::sglset("LCLIP", true);
  linearFrame();
  logFrame();
  polarFrame();
  bipolarFrame();
  zep::sglset("LCLIP", false);
  largeAxes(false);
}

// ---------------------------------------------------------------------------
// Map projections: 25 of them, nine to a page
// ---------------------------------------------------------------------------

struct MapSpec {
  const char* title;
  int itr;             // 10-34, or 100-104 through the user projection (ITR 99)
  float simfac;        // in units of the frame's height
  float vyoff;         // projection origin above the viewport's centre, same units
  float tymin, tymax;  // latitude limits in T
  float stlat1 = 0, stlat2 = 0;
  float plx = 0, ply = 90;  // map pole
};

const std::array<MapSpec, 25> kMaps = {{
    {"10 EQUIDISTANT CYLINDRICAL", 10, 0.25F, 0, -90, 90},
    {"11 MERCATOR", 11, 0.2F, 0, -75, 75},
    {"12 MOLLWEIDE", 12, 0.27F, 0, -90, 90},
    {"13 HAMMER", 13, 0.27F, 0, -90, 90},
    {"14 ECKERT VI", 14, 0.27F, 0, -90, 90},
    {"15 KITADA", 15, 0.27F, 0, -90, 90},
    {"16 MILLER", 16, 0.2F, 0, -90, 90},
    {"17 ROBINSON", 17, 0.27F, 0, -90, 90},
    {"18 SINUSOIDAL", 18, 0.25F, 0, -90, 90},
    {"19 VAN DER GRINTEN", 19, 0.15F, 0, -90, 90},
    {"20 EQUIDISTANT CONIC", 20, 0.26F, 0.25F, 0, 90, 30},
    {"21 EQUAL-AREA CONIC", 21, 0.26F, 0.17F, 0, 90, 30},
    {"22 CONFORMAL CONIC", 22, 0.26F, 0.17F, 0, 90, 30, 60},
    {"23 BONNE", 23, 0.14F, 0.12F, -90, 90, 45},
    {"24 POLYCONIC", 24, 0.16F, 0, -90, 90},
    {"30 ORTHOGRAPHIC", 30, 0.42F, 0, 0, 90, 0, 0, 150, 45},
    {"31 POLAR STEREOGRAPHIC", 31, 0.13F, 0, -30, 90},
    {"32 AZIMUTHAL EQUIDISTANT", 32, 0.145F, 0, -90, 90},
    {"33 AZIMUTHAL EQUAL-AREA", 33, 0.21F, 0, -90, 90},
    {"34 GNOMONIC", 34, 0.16F, 0, 20, 90},
    {"100 CENTRAL CYLINDRICAL", 100, 0.21F, 0, -60, 60},
    {"101 EQUAL-AREA CYLINDRICAL", 101, 0.25F, 0, -90, 90},
    {"102 BRAUN", 102, 0.17F, 0, -90, 90},
    {"103 GLOBULAR", 103, 0.28F, 0, -90, 90},
    {"104 CENTRAL CONIC", 104, 0.2F, 0.1F, 20, 90, 45},
}};

// Meridians every 30 degrees along great circles; parallels every 30 degrees by
// linear interpolation in U, since a parallel is no great circle.
void graticule(float tymin, float tymax) {
  const float lat0 = 30.0F * std::ceil(tymin / 30.0F), lat1 = 30.0F * std::floor(tymax / 30.0F);
  for (int lon = -150; lon <= 180; lon += 30) {
    zep::sgslni(lon == 0 ? 22 : 31);
    for (float lat = std::max(tymin, -90.0F); lat < tymax; lat += 10)
      zep::sglnu(static_cast<float>(lon), lat, static_cast<float>(lon), std::min(lat + 10, tymax));
  }
  zep::sglset("LLNINT", true);
  for (float lat = lat0; lat <= lat1; lat += 30) {
    if (std::fabs(lat) >= 90) continue;
    zep::sgslni(lat == 0 ? 22 : 31);
    zep::sglnu(-180, lat, 180, lat);
  }
  zep::sglset("LLNINT", false);
}

// The map's edge: the cut meridian on both sides and the limiting parallels.
void outline(const MapSpec& m, const Rect& v) {
  zep::sgslni(3);
  if (m.itr == 30) {
    // Seen from outside, the globe ends at its horizon: a circle in V.
    const float cx = (v.x0 + v.x1) / 2, cy = (v.y0 + v.y1) / 2 + m.vyoff * v.h();
    const float r = m.simfac * v.h();
    for (int i = 0; i < 120; ++i) {
      const float a0 = 2 * kPi * static_cast<float>(i) / 120, a1 = 2 * kPi * static_cast<float>(i + 1) / 120;
      zep::sglnv(cx + r * std::cos(a0), cy + r * std::sin(a0), cx + r * std::cos(a1), cy + r * std::sin(a1));
    }
    return;
  }
  zep::sglset("LLNINT", true);
  for (float lon : {-179.999F, 179.999F}) zep::sglnu(lon, m.tymin, lon, m.tymax);
  for (float lat : {m.tymin, m.tymax})
    zep::sglnu(-179.999F, lat, 179.999F, lat);
  zep::sglset("LLNINT", false);
}

// A great-circle route from Tokyo to New York, and one from London to Sydney
// that crosses the map's edge. Segments in a map follow great circles.
void routes() {
  zep::sgslni(43);
  zep::sglnu(139.7F, 35.7F, -74.0F, 40.7F);
  zep::sgslni(53);
  zep::sglnu(-0.1F, 51.5F, 151.2F, -33.9F);
}

void mapFrame(const MapSpec& m) {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.03F, 0.97F, 0.03F, 0.86F);
  setViewport(v);
  zep::sgssim(m.simfac * v.h(), 0, m.vyoff * v.h());
  zep::sgsmpl(m.plx, m.ply, 0);
  zep::sgstxy(-180, 180, m.tymin, m.tymax);
  zep::sgrset("STLAT1", m.stlat1);
  zep::sgrset("STLAT2", m.stlat2);
  if (m.itr >= 100) {
    zep::stnusr(m.itr);
    zep::sgstrn(99);
  } else {
    zep::sgstrn(m.itr);
  }
  zep::sgstrf();
  boxV(v);
  zep::sglset("LCLIP", true);
  graticule(m.tymin, m.tymax);
  outline(m, v);
  routes();
  zep::sglset("LCLIP", false);
  text((f.x0 + f.x1) / 2, v.y1 + 0.06F, m.title, 0.042F, 0);
}

void mapPage(int first, int count) {
  startPage(3, 3);
  for (int k = first; k < first + count && k < static_cast<int>(kMaps.size()); ++k) mapFrame(kMaps[k]);
}

// ---------------------------------------------------------------------------
// Polylines and markers
// ---------------------------------------------------------------------------

void polylinesPage() {
  startPage();
  zep::sgfrm();
  const Rect f = frameRect();

  // Polylines from arrays: four line types, and a curve with missing points
  // (RMISS with GL LMISS) where the pen lifts.
  const Rect a = inside(f, 0.08F, 0.48F, 0.12F, 0.88F);
  setViewport(a);
  zep::sgswnd(0, 10, -1.2F, 4.8F);
  zep::sgstrn(1);
  zep::sgstrf();
  boxV(a);
  text(a.x0, a.y1 + 0.015F, "SGPLZU: TYPES 1-4, MISSING POINTS", 0.014F);
  constexpr int n = 101;
  std::array<float, n> x{}, y{};
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < n; ++i) {
      x[i] = 0.1F * static_cast<float>(i);
      y[i] = 3.6F - 1.2F * static_cast<float>(k) + 0.5F * std::sin(x[i] * (1.0F + 0.3F * static_cast<float>(k)));
    }
    zep::sgplzu(n, x.data(), y.data(), k + 1, 10 * (k + 2) + 2);
  }
  float rmiss = 999;
  zep::glrget("RMISS", rmiss);
  for (int i = 0; i < n; ++i) {
    x[i] = 0.1F * static_cast<float>(i);
    y[i] = (i / 10) % 3 == 2 ? rmiss : -0.8F + 0.2F * std::cos(2 * x[i]);
  }
  zep::gllset("LMISS", true);
  zep::sgplzu(n, x.data(), y.data(), 1, 13);
  zep::gllset("LMISS", false);

  // Markers: all 18 types, in three sizes and colours, on a log-linear frame
  // along a curve.
  const Rect b = inside(f, 0.55F, 0.97F, 0.5F, 0.88F);
  text(b.x0, b.y1 + 0.015F, "SGPMZV: MARKER TYPES 1-18", 0.014F);
  for (int t = 1; t <= 18; ++t) {
    const float x0 = b.x0 + b.w() * static_cast<float>((t - 1) % 6) / 6.0F;
    const float vy = b.y1 - b.h() * (static_cast<float>((t - 1) / 6) + 0.5F) / 3.0F;
    char s[4];
    std::snprintf(s, sizeof s, "%d", t);
    text(x0 + 0.002F, vy, s, 0.011F, -1);
    const float offsets[] = {0.026F, 0.039F, 0.055F};
    for (int k = 0; k < 3; ++k) {
      const float px = x0 + offsets[k];
      zep::sgpmzv(1, &px, &vy, t, 10 * (2 * k + 1) + 1, 0.008F + 0.004F * static_cast<float>(k));
    }
  }
  const Rect c = inside(f, 0.6F, 0.97F, 0.12F, 0.42F);
  setViewport(c);
  zep::sgswnd(1, 1000, 0, 3);
  zep::sgstrn(3);
  zep::sgstrf();
  boxV(c);
  text(c.x0, c.y1 + 0.015F, "SGPLU AND SGPMU, LOG X", 0.014F);
  std::array<float, 13> mx{}, my{};
  for (int i = 0; i < 13; ++i) {
    mx[i] = std::pow(10.0F, 0.25F * static_cast<float>(i));
    my[i] = std::log10(mx[i]) + 0.3F * std::sin(static_cast<float>(i));
  }
  zep::sgspli(41);
  zep::sgplu(13, mx.data(), my.data());
  zep::sgspmt(10);
  zep::sgspmi(21);
  zep::sgspms(0.02F);
  zep::sgpmu(13, mx.data(), my.data());
  zep::sgspli(1);
  zep::sgspmt(1);
  zep::sgspmi(1);
  zep::sgspms(0.01F);
}

// ---------------------------------------------------------------------------
// Filled polygons: in a plain frame, across the date line, around a pole
// ---------------------------------------------------------------------------

// A closed ring of n points about (cx, cy) with radii rx, ry.
void ring(std::vector<float>& x, std::vector<float>& y, float cx, float cy, float rx, float ry, int n) {
  for (int i = 0; i < n; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(n);
    x.push_back(cx + rx * std::cos(a));
    y.push_back(cy + ry * std::sin(a));
  }
}

void fillsFrameLinear() {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.08F, 0.92F, 0.1F, 0.82F);
  setViewport(v);
  zep::sgswnd(-1.6F, 1.6F, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  boxV(v);
  // A ring with a hole: RMISS separates the rings, even-odd fills between them.
  float rmiss = 999;
  zep::glrget("RMISS", rmiss);
  std::vector<float> x, y;
  ring(x, y, -0.7F, 0, 0.7F, 0.7F, 60);
  x.push_back(rmiss);
  y.push_back(rmiss);
  ring(x, y, -0.7F, 0, 0.35F, 0.35F, 40);
  zep::gllset("LMISS", true);
  zep::sgtnzu(static_cast<int>(x.size()), x.data(), y.data(), 3999);
  zep::gllset("LMISS", false);
  // A star that crosses itself: even-odd leaves its centre empty; and a
  // polygon beyond the viewport, clipped with LCLIP.
  std::vector<float> sx, sy;
  for (int i = 0; i < 5; ++i) {
    const float a = kPi / 2 + 4 * kPi * static_cast<float>(i) / 5;
    sx.push_back(0.8F + 0.7F * std::cos(a));
    sy.push_back(0.7F * std::sin(a));
  }
  zep::sgtnzu(5, sx.data(), sy.data(), 5999);
  zep::sglset("LCLIP", true);
  const float qx[] = {1.2F, 2.2F, 2.2F, 1.2F}, qy[] = {-1.4F, -1.4F, -0.5F, -0.5F};
  zep::sgtnzu(4, qx, qy, 4999);
  zep::sglset("LCLIP", false);
  text(v.x0, v.y1 + 0.03F, "HOLE, EVEN-ODD STAR, CLIPPED", 0.035F);
}

void fillsFrameMap(int itr, float simfac, float plx, float ply, float tymin, const char* title) {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.04F, 0.96F, 0.04F, 0.82F);
  setViewport(v);
  zep::sgssim(simfac * v.h(), 0, 0);
  zep::sgsmpl(plx, ply, 0);
  zep::sgstxy(-180, 180, tymin, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
  boxV(v);
  zep::sglset("LCLIP", true);
  // A box across the date line: from 150 E to 150 W.
  const float dx[] = {150, -150, -150, 150}, dy[] = {-30, -30, 20, 20};
  zep::sgtnzu(4, dx, dy, 4999);
  // A cap around the north pole, bounded by the parallel at 60 N.
  std::vector<float> cx, cy;
  for (int lon = -180; lon < 180; lon += 10) {
    cx.push_back(static_cast<float>(lon));
    cy.push_back(60);
  }
  zep::sgtnzu(static_cast<int>(cx.size()), cx.data(), cy.data(), 3999);
  // A band around the south pole region between 60 S and 75 S.
  std::vector<float> bx, by;
  for (int lon = -180; lon <= 180; lon += 10) {
    bx.push_back(static_cast<float>(lon));
    by.push_back(-60);
  }
  for (int lon = 180; lon >= -180; lon -= 10) {
    bx.push_back(static_cast<float>(lon));
    by.push_back(-75);
  }
  zep::sgtnzu(static_cast<int>(bx.size()), bx.data(), by.data(), 2999);
  MapSpec m{title, itr, simfac, 0, tymin, 90};
  m.plx = plx;
  m.ply = ply;
  graticule(tymin, 90);
  outline(m, v);
  zep::sglset("LCLIP", false);
  text((f.x0 + f.x1) / 2, v.y1 + 0.03F, title, 0.035F, 0);
}

void fillsPage() {
  startPage(2, 2);
  fillsFrameLinear();
  fillsFrameMap(10, 0.25F, 0, 90, -90, "ACROSS THE DATE LINE (ITR 10)");
  fillsFrameMap(31, 0.12F, 0, 90, -30, "AROUND THE POLE (ITR 31)");
  fillsFrameMap(30, 0.42F, 160, 50, 0, "SEEN FROM ABOVE (ITR 30)");
}

// ---------------------------------------------------------------------------
// Contours: bands, lines and a colour bar, on axes and on maps
// ---------------------------------------------------------------------------

// Two hills and a hollow on [-3, 3] x [-2, 2].
float hills(float x, float y) {
  return 1.2F * std::exp(-((x - 1) * (x - 1) + (y - 0.5F) * (y - 0.5F))) +
         0.8F * std::exp(-((x + 1.3F) * (x + 1.3F) + (y + 0.6F) * (y + 0.6F)) / 0.5F) -
         0.7F * std::exp(-((x + 0.8F) * (x + 0.8F) + (y - 1.2F) * (y - 1.2F)) / 0.3F);
}

void contourAxesFrame(bool cells) {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.2F, 0.8F, 0.2F, 0.86F);
  setViewport(v);
  zep::sgswnd(-3, 3, -2, 2);
  zep::sgstrn(1);
  zep::sgstrf();
  const int nx = cells ? 25 : 61, ny = cells ? 17 : 41;
  std::vector<float> x(nx), y(ny), z(static_cast<std::size_t>(nx * ny));
  for (int i = 0; i < nx; ++i) x[i] = -3 + 6.0F * static_cast<float>(i) / static_cast<float>(nx - 1);
  for (int j = 0; j < ny; ++j) y[j] = -2 + 4.0F * static_cast<float>(j) / static_cast<float>(ny - 1);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      float zz = hills(x[i], y[j]);
      // A hole of missing values (NaN) in the cell-shaded field.
      if (cells && std::hypot(x[i] - 1.8F, y[j] + 1.0F) < 0.6F) zz = std::nanf("");
      z[static_cast<std::size_t>(j * nx + i)] = zz;
    }
  zep::cnsfld(nx, ny, z.data(), x.data(), y.data());
  zep::cnslvi(0.2F, 0);
  if (cells) zep::cncelu();
  else zep::cnshdu();
  zep::cnlinu();
  zep::cnbarp("R");
  zep::axinit();
  zep::axsttl("B", "X (KM)");
  zep::axsttl("L", "Y (KM)");
  zep::axpfrm();
  text(v.x0, v.y1 + 0.03F, cells ? "CELLS, MISSING VALUES" : "BANDS AND LINES", 0.035F);
}

void contourMapFrame(int itr, float simfac, float ply, const char* title) {
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.05F, 0.95F, 0.22F, 0.8F);
  setViewport(v);
  zep::sgssim(simfac * v.h(), 0, 0);
  zep::sgsmpl(0, ply, 0);
  zep::sgstxy(-180, 180, itr == 30 ? 0 : -90, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
  // A wave pattern over the globe: longitudes and latitudes in degrees.
  constexpr int nx = 73, ny = 37;
  std::vector<float> lon(nx), lat(ny), z(nx * ny);
  for (int i = 0; i < nx; ++i) lon[i] = -180 + 5.0F * static_cast<float>(i);
  for (int j = 0; j < ny; ++j) lat[j] = -90 + 5.0F * static_cast<float>(j);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i)
      z[j * nx + i] = std::cos(lat[j] * kDeg) * std::sin(3 * lon[i] * kDeg) * std::sin(2 * lat[j] * kDeg) +
                      0.3F * std::sin(lat[j] * kDeg);
  zep::cnsfld(nx, ny, z.data(), lon.data(), lat.data());
  zep::cnslvi(0.2F, 0);
  zep::cnshdu();
  zep::cnlinu();
  zep::cnbarp("B");
  zep::axinit();
  zep::axpfrm();
  text((f.x0 + f.x1) / 2, v.y1 + 0.07F, title, 0.035F, 0);
}

void contoursPage() {
  startPage(2, 2);
  largeAxes(true);
  zep::cnrset("RLABHT", 0.03F);
  zep::cnrset("BARWD", 0.04F);
  zep::cnrset("BARGAP", 0.03F);
  zep::cnrset("BARLHT", 0.028F);
  zep::cnlset("LBTRI", true);
  // Bands in the colours of a continuous colormap: perceptual on the axes,
  // diverging and centred on zero on the maps.
  zep::cmsmap("VIRIDIS");
  contourAxesFrame(false);
  contourAxesFrame(true);
  zep::cmsmap("DIVERGING");
  zep::cmsnrc(NAN, 0, NAN);
  contourMapFrame(12, 0.27F, 90, "MOLLWEIDE (ITR 12)");
  zep::axrset("DGLON", 30);
  zep::axrset("DGLAT", 30);
  contourMapFrame(30, 0.45F, 40, "ORTHOGRAPHIC (ITR 30)");
  zep::axrset("DGLON", 0);
  zep::axrset("DGLAT", 0);
  zep::cmsmap("VIRIDIS");
  zep::cmsnrl(NAN, NAN);
  zep::cnrset("RLABHT", 0.015F);
  zep::cnrset("BARWD", 0.03F);
  zep::cnrset("BARGAP", 0.03F);
  zep::cnrset("BARLHT", 0.016F);
  zep::cnlset("LBTRI", false);
  largeAxes(false);
}

// ---------------------------------------------------------------------------
// Vector fields
// ---------------------------------------------------------------------------

using wind::cyclone;
using wind::globalFlow;

void lonLatGrid(float lon0, float lon1, float lat0, float lat1, float step, std::vector<float>& lon,
                std::vector<float>& lat) {
  lon.clear();
  lat.clear();
  for (float x = lon0; x <= lon1 + 1e-3F; x += step) lon.push_back(x);
  for (float y = lat0; y <= lat1 + 1e-3F; y += step) lat.push_back(y);
}

template <typename F>
void setVectors(const std::vector<float>& lon, const std::vector<float>& lat, F f) {
  std::vector<float> u(lon.size() * lat.size()), v(u.size());
  for (std::size_t j = 0; j < lat.size(); ++j)
    for (std::size_t i = 0; i < lon.size(); ++i) f(lon[i], lat[j], u[j * lon.size() + i], v[j * lon.size() + i]);
  zep::vcsfld(static_cast<int>(lon.size()), static_cast<int>(lat.size()), u.data(), v.data(), lon.data(), lat.data());
}

void mapSetup(const Rect& v, int itr, float simfac, float vyoff, float plx, float ply, float tx0, float tx1, float ty0,
              float ty1) {
  setViewport(v);
  zep::sgssim(simfac * v.h(), 0, vyoff * v.h());
  zep::sgsmpl(plx, ply, 0);
  zep::sgstxy(tx0, tx1, ty0, ty1);
  zep::sgstrn(itr);
  zep::sgstrf();
}

// Switches the workstation's indexed colormap.
void useColormap(int n) {
  zep::swcmll();
  zep::swiset("ICLRMAP", n);
  zep::swclch();
}

void vectorsPage() {
  startPage(2, 2);
  largeAxes(true);
  std::vector<float> lon, lat;
  // Arrows coloured by speed with a key, on a conformal conic map of a region.
  zep::sgfrm();
  Rect f = frameRect();
  Rect v = inside(f, 0.06F, 0.94F, 0.24F, 0.8F);
  zep::sgrset("STLAT1", 30);
  zep::sgrset("STLAT2", 60);
  mapSetup(v, 22, 1.15F, 0.98F, -30, 90, -45, 45, 22, 72);
  lonLatGrid(-80, 20, 20, 75, 2.5F, lon, lat);
  setVectors(lon, lat, cyclone);
  // Colours by speed on the current colormap, over the speeds' range.
  zep::cmsmap("VIRIDIS");
  zep::cmsnrl(NAN, NAN);
  zep::vclset("LCOLOR", true);
  zep::vcrset("SPACE", 0.04F);
  zep::vcrset("SCALE", 0.0016F);
  zep::sglset("LCLIP", true);
  zep::vcarwu();
  zep::sglset("LCLIP", false);
  zep::vclset("LCOLOR", false);
  zep::vcrset("SPACE", 0);
  zep::vcrset("KEYHT", 0.028F);
  zep::vckeyv(v.x0 + 0.8F * v.w(), v.y1 - 0.06F * v.h(), 20, "20 m s\\^{-1}");
  zep::vcrset("KEYHT", 0.015F);
  zep::vcrset("SCALE", 0);
  zep::cmrset("BARGAP", 0.07F);
  zep::cmbarp("B");
  zep::cmrset("BARGAP", 0.03F);
  zep::axinit();
  zep::axpfrm();
  text(v.x0, v.y1 + 0.1F, "ARROWS AND KEY, CONFORMAL CONIC", 0.035F);
  // Barbs in both hemispheres: the barbs stand on the low-pressure side.
  zep::sgfrm();
  f = frameRect();
  v = inside(f, 0.1F, 0.9F, 0.2F, 0.84F);
  mapSetup(v, 10, 1.0F, 0, 130, 90, -40, 40, -40, 40);
  lonLatGrid(90, 170, -40, 40, 8, lon, lat);
  setVectors(lon, lat, [](float x, float y, float& u, float& vv) {
    u = 25 * std::exp(-std::pow((std::fabs(y) - 35) / 10, 2)) - 8 * std::cos(y * 4 * kDeg) * std::exp(-y * y / 300);
    vv = 12 * std::sin((x - 90) * 4.5F * kDeg) * std::cos(y * 2 * kDeg) + (y > 0 ? -3.0F : 3.0F);
    if (std::fabs(x - 130) < 4 && std::fabs(y) < 4) u = vv = 0;  // calm in the middle
  });
  zep::vcrset("BARBLN", 0.045F);
  zep::vcbrbu();
  zep::vcrset("BARBLN", 0.035F);
  zep::axinit();
  zep::axpfrm();
  text(v.x0, v.y1 + 0.08F, "WIND BARBS, BOTH HEMISPHERES", 0.035F);
  // Streamlines over bands of speed on Mollweide.
  zep::sgfrm();
  f = frameRect();
  v = inside(f, 0.05F, 0.95F, 0.22F, 0.8F);
  mapSetup(v, 12, 0.27F, 0, 0, 90, -180, 180, -90, 90);
  lonLatGrid(-180, 180, -90, 90, 2, lon, lat);
  std::vector<float> speed;
  for (float y : lat)
    for (float x : lon) {
      float u, w;
      globalFlow(x, y, u, w);
      speed.push_back(std::hypot(u, w));
    }
  zep::cnsfld(static_cast<int>(lon.size()), static_cast<int>(lat.size()), speed.data(), lon.data(), lat.data());
  zep::cnslvi(5, 0);
  zep::cnshdu();
  setVectors(lon, lat, globalFlow);
  zep::vcrset("DSEP", 0.025F);
  zep::vcrset("DTEST", 0.012F);
  zep::vcrset("ARRSP", 0.12F);
  zep::vcstmu();
  zep::cnbarp("B");
  zep::axinit();
  zep::axpfrm();
  text(v.x0, v.y1 + 0.05F, "STREAMLINES OVER SPEED, MOLLWEIDE", 0.035F);
  // Arrows up to the pole and across the date line on a polar stereographic map.
  zep::sgfrm();
  f = frameRect();
  v = inside(f, 0.18F, 0.82F, 0.06F, 0.74F);
  mapSetup(v, 31, 0.62F, 0, 0, 90, -180, 180, 40, 90);
  lonLatGrid(-180, 180, 40, 90, 2.5F, lon, lat);
  setVectors(lon, lat, [](float x, float y, float& u, float& vv) {
    u = 10 + 5 * std::cos(x * kDeg);
    vv = 6 * std::sin(2 * x * kDeg) * std::cos(y * kDeg);
  });
  zep::vcrset("SPACE", 0.025F);
  zep::vcarwu();
  zep::vcrset("SPACE", 0);
  zep::sgslni(3);
  zep::sglset("LLNINT", true);
  zep::sglnu(180, 40, 180, 90);
  zep::sglset("LLNINT", false);
  zep::axinit();
  zep::axpfrm();
  text(f.x0 + 0.03F, f.y1 - 0.02F, "POLAR STEREOGRAPHIC: POLE, 180", 0.035F);
  zep::vcrset("DSEP", 0.03F);
  zep::vcrset("DTEST", 0.015F);
  zep::vcrset("ARRSP", 0.2F);
  largeAxes(false);
}

// ---------------------------------------------------------------------------
// Labelled lines
// ---------------------------------------------------------------------------

void labelledLinesPage() {
  startPage();
  zep::sgfrm();
  const Rect f = frameRect();
  const Rect v = inside(f, 0.2F, 0.8F, 0.05F, 0.95F);
  setViewport(v);
  zep::sgswnd(-1.2F, 1.2F, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  boxV(v);
  // Shorter label cycles than the default; restored at the end, since every
  // later page (and a second run of the gallery in the same process) would
  // place its labels differently otherwise.
  float cwl = 0;
  zep::sgrget("CWL", cwl);
  zep::sglset("LCHAR", true);
  zep::sgrset("CWL", 12.0F);
  // Ellipses with their values in gaps, kept upright.
  for (int k = 1; k <= 4; ++k) {
    const float r = 0.22F * static_cast<float>(k);
    char s[8];
    std::snprintf(s, sizeof s, "%.2f", static_cast<double>(r));
    zep::szschz(s, 0.016F);
    polylineU(121, [r](int i, float& x, float& y) {
      const float a = 2 * kPi * static_cast<float>(i) / 120.0F;
      x = 1.2F * r * std::cos(a);
      y = r * std::sin(a);
    }, 10 * (k + 1) + 2);
  }
  zep::szschz("WAVE", 0.018F);
  polylineU(241, [](int i, float& x, float& y) {
    x = -1.2F + 0.01F * static_cast<float>(i);
    y = 0.9F * std::sin(3 * x);
  }, 13);
  // A dashed labelled line: labels and dashes share the line.
  zep::szschz("DASHED", 0.016F);
  polylineU(121, [](int i, float& x, float& y) {
    x = -1.2F + 0.02F * static_cast<float>(i);
    y = -0.8F + 0.1F * std::cos(4 * x);
  }, 32, 2);
  zep::sglset("LCHAR", false);
  zep::sgrset("CWL", cwl);
}

// ---------------------------------------------------------------------------
// Stroke-font text
// ---------------------------------------------------------------------------

void pointMark(float x, float y) {
  const float d = 0.008F;
  zep::sgslni(31);
  zep::sglnv(x - d, y, x + d, y);
  zep::sglnv(x, y - d, x, y + d);
}

// Codes 0x80 and up are Greek letters and symbols, 1 to 17 markers; a string of
// such codes is at most 19 characters long in the workstation object's copy.
void codeRow(float x, float y, int first, int last, float h, int index, float step = 0.3F) {
  for (int k0 = first; k0 <= last; k0 += 12) {
    std::string s;
    for (int k = k0; k <= last && k < k0 + 12; ++k) s += static_cast<char>(k);
    zep::sgtxzv(x + step * static_cast<float>((k0 - first) / 12), y, s, h, 0, -1, index);
  }
}

void strokeTextBlock(int font, float top) {
  zep::sgiset("IFONT", font);
  text(0.03F, top, font == 1 ? "FONT 1 (SANS)" : "FONT 2 (SERIF)", 0.018F, -1, 3);
  zep::sglset("LCNTL", true);
  text(0.03F, top - 0.055F, "E = mc\\^2,  H\\_{2}O,  x\\_i\\^{n+1},  10\\^{-3} m\\^2 s\\^{-1}", 0.03F, -1, 1);
  zep::sglset("LCNTL", false);
  // Heights and angles about a marked point.
  float x = 0.03F;
  for (float h : {0.015F, 0.022F, 0.032F}) {
    zep::sgtxzv(x, top - 0.105F, "Height", h, 0, -1, 21);
    float w = 0, wy = 0;
    int nc = 0;
    zep::szqtxw("Height", nc, w, wy);
    x += w * h + 0.02F;
  }
  pointMark(0.8F, top - 0.1F);
  for (int a = 0; a < 360; a += 60) zep::sgtxzv(0.8F, top - 0.1F, "  angle", 0.014F, a, -1, 10 * (a / 60 + 2) + 1);
  codeRow(0.03F, top - 0.155F, 0x80, 0x97, 0.02F, 1);
  codeRow(0.03F, top - 0.195F, 0x98, 0xAF, 0.02F, 1);
  codeRow(0.03F, top - 0.235F, 1, 17, 0.02F, 41, 0.2F);
}

void strokeTextPage() {
  startPage();
  zep::sgfrm();
  strokeTextBlock(1, 0.565F);
  strokeTextBlock(2, 0.285F);
  zep::sgiset("IFONT", 1);
}

// ---------------------------------------------------------------------------
// System-font text
// ---------------------------------------------------------------------------

void systemTextPage() {
  startPage();
  zep::sgfrm();
  zep::swlset("SYSFONT", true);
  zep::sgtxzv(0.03F, 0.56F, "Sans: x\\^2 + y\\^2 = r\\^2,  H\\_{2}O,  10\\^{-3} m\\^2 s\\^{-1}", 0.02F, 0, -1, 1);
  zep::sgiset("IFONT", 2);
  zep::sgtxzv(0.03F, 0.49F, "Serif: the same markup, e\\^{-x/2}, and \\\\ for a backslash", 0.02F, 0, -1, 23);
  zep::sgiset("IFONT", 1);
  zep::sgtxzv(0.03F, 0.42F, "Raw font-engine markup: \\p{<b>bold</b>, <i>italic</i>, <u>underlined</u>}", 0.018F,
              0, -1, 43);
  zep::sgtxzv(0.03F, 0.36F, "Accents: a\\o{~} e\\u{.}, and a dash - drawn as a minus", 0.018F, 0, -1, 1);
  // Greek letters and symbols, then markers, by their codes.
  codeRow(0.03F, 0.29F, 0x80, 0x97, 0.02F, 1, 0.45F);
  codeRow(0.03F, 0.22F, 1, 17, 0.02F, 41, 0.45F);
  // A Japanese line, drawn by the font engine's fallback font.
  zep::sgtxzv(0.03F, 0.14F, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E: \xE6\xB0\x97\xE6\xB8\xA9\xE3\x81\xA8"
                            "\xE9\x99\x8D\xE6\xB0\xB4\xE9\x87\x8F (2026)", 0.022F, 0, -1, 1);
  pointMark(0.75F, 0.08F);
  zep::sgtxzv(0.75F, 0.08F, "turned by 20 degrees", 0.016F, 20, 0, 53);
  zep::swlset("SYSFONT", false);
}

// ---------------------------------------------------------------------------
// Curvilinear grid and perspective view
// ---------------------------------------------------------------------------

void curvilinearPage() {
  startPage();
  zep::sgfrm();
  constexpr int nx = 11, ny = 15;
  std::vector<float> radius(nx), angle(ny), cx(nx * ny), cy(nx * ny);
  for (int i = 0; i < nx; ++i) radius[i] = 1.0F + 0.1F * static_cast<float>(i);
  for (int j = 0; j < ny; ++j) angle[j] = 160.0F - 10.0F * static_cast<float>(j);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      cx[j * nx + i] = radius[i] * std::cos(angle[j] * kDeg);
      cy[j * nx + i] = radius[i] * std::sin(angle[j] * kDeg);
    }
  zep::g2sctr(nx, ny, radius.data(), angle.data(), cx.data(), cy.data());
  const Rect v = inside(frameRect(), 0.05F, 0.95F, 0.05F, 0.95F);
  setViewport(v);
  // The physical plane at one scale in x and y: x from -2.15 to 2.15, y about 1.1.
  const float halfHeight = 2.15F * v.h() / v.w();
  zep::sgscwd(-2.15F, 2.15F, 1.1F - halfHeight, 1.1F + halfHeight);
  zep::sgstrn(51);
  zep::sgstrf();
  boxV(v);
  for (int i = 1; i < nx - 1; ++i)
    polylineU(2 * ny - 1, [&](int k, float& u, float& w) {
      u = radius[i];
      w = 160.0F - 5.0F * static_cast<float>(k);
    }, 101);
  zep::sgslni(101);
  for (int j = 1; j < ny - 1; ++j) zep::sglnu(1.0F, angle[j], 2.0F, angle[j]);
  for (float r : {1.0F, 2.0F})
    polylineU(57, [r](int k, float& u, float& w) {
      u = r;
      w = 160.0F - 2.5F * static_cast<float>(k);
    }, 13);
  zep::sgslni(13);
  zep::sglnu(1.0F, 160.0F, 2.0F, 160.0F);
  zep::sglnu(1.0F, 20.0F, 2.0F, 20.0F);
  // A wave given in grid coordinates.
  for (int sgn : {1, -1})
    polylineU(281, [sgn](int k, float& u, float& w) {
      w = 160.0F - 0.5F * static_cast<float>(k);
      u = 1.5F + 0.3F * static_cast<float>(sgn) * std::sin(6.0F * w * kDeg);
    }, sgn > 0 ? 23 : 33);
  text(v.x0 + 0.01F, v.y1 - 0.03F, "ITR 51: RADIUS 1-2 AND ANGLE 160-20 DEGREES", 0.016F);
}

void perspectivePage() {
  startPage();
  zep::sgfrm();
  const Rect f = frameRect();
  zep::stspr3(0.5F, 0.5F, -0.5F, 0.5F, 0.7F, -0.65F, 0.45F, 2.0F, 0.5F, 0.47F * f.h());
  constexpr int planes = 6;
  for (int k = planes - 1; k >= 0; --k) {
    zep::stspr2(1, 2, -static_cast<float>(k) / (planes - 1));
    boxV({0, 1, 0, 1}, 101);
    const int index = k % 2 == 0 ? 43 : 53;
    zep::sgslni(index);
    float x0 = 0, y0 = 0;
    for (int i = 0; i <= 200; ++i) {
      const float x = 0.005F * static_cast<float>(i);
      const float y = 0.5F + 0.4F * std::exp(-2.0F * x) * std::sin(12.0F * x + 0.8F * static_cast<float>(k));
      if (i > 0) zep::sglnv(x0, y0, x, y);
      x0 = x;
      y0 = y;
    }
  }
  zep::sgslni(12);
  for (float side : {0.0F, 1.0F}) {
    zep::stspr2(-3, 2, side);
    for (float y : {0.0F, 1.0F}) zep::sglnv(0.0F, y, 1.0F, y);
  }
  zep::stspr2(0, 0, 0.0F);
}

// ---------------------------------------------------------------------------
// Tones and images through the workstation's own entries
// ---------------------------------------------------------------------------

void tonesAndImagesPage() {
  startPage();
  zep::sgfrm();
  const Rect f = frameRect();
  // Tones: polygons in W, colour index times 1000 plus a pattern number.
  text(0.03F, f.y1 - 0.04F, "TONES (SWGTON): COLOURS 1-15", 0.016F);
  for (int k = 1; k < 16; ++k) {
    const float x0 = 0.03F + 0.06F * static_cast<float>(k - 1);
    std::array<float, 4> vx = {x0, x0 + 0.05F, x0 + 0.05F, x0};
    std::array<float, 4> vy = {f.y1 - 0.18F, f.y1 - 0.18F, f.y1 - 0.07F, f.y1 - 0.07F};
    std::array<float, 4> wx{}, wy{};
    for (int i = 0; i < 4; ++i) vToW(vx[i], vy[i], wx[i], wy[i]);
    zep::swgton(4, wx.data(), wy.data(), 1000 * k + 999);
  }
  // A star, filled as one polygon.
  {
    std::array<float, 10> wx{}, wy{};
    for (int i = 0; i < 10; ++i) {
      const float a = kPi / 2 + kPi * static_cast<float>(i) / 5;
      const float r = i % 2 == 0 ? 0.12F : 0.05F;
      vToW(0.2F + r * std::cos(a), 0.25F + r * std::sin(a), wx[i], wy[i]);
    }
    zep::swgton(10, wx.data(), wy.data(), 5999);
  }

  // Images: colour indices (swidat) and direct RGB values (swiclr), placed in
  // the surface's coordinates (origin top left).
  auto surfaceRect = [](float vx0, float vy0, float vx1, float vy1, int& ix, int& iy, int& iw, int& ih) {
    float wx0 = 0, wy0 = 0, wx1 = 0, wy1 = 0;
    vToW(vx0, vy1, wx0, wy0);  // top left
    vToW(vx1, vy0, wx1, wy1);  // bottom right
    int ix1 = 0, iy1 = 0;
    zep::swfint(wx0, wy0, ix, iy);
    zep::swfint(wx1, wy1, ix1, iy1);
    iw = ix1 - ix;
    ih = iy1 - iy;
  };
  text(0.4F, f.y1 - 0.24F, "INDEXED IMAGE (SWIDAT)", 0.014F);
  int ix = 0, iy = 0, iw = 0, ih = 0;
  surfaceRect(0.4F, 0.05F, 0.66F, f.y1 - 0.27F, ix, iy, iw, ih);
  if (iw > 0 && ih > 0) {
    zep::swiopn(ix, iy, iw, ih);
    std::vector<int> row(static_cast<std::size_t>(iw));
    for (int j = 0; j < ih; ++j) {
      for (int i = 0; i < iw; ++i) {
        const float x = 4.0F * static_cast<float>(i) / static_cast<float>(iw) - 2;
        const float y = 4.0F * static_cast<float>(j) / static_cast<float>(ih) - 2;
        const float z = std::sin(2 * x) * std::cos(2 * y) + 0.5F * x;
        row[static_cast<std::size_t>(i)] = 2 + std::clamp(static_cast<int>((z + 2) * 3.5F), 0, 13);
      }
      zep::swidat(row.data(), iw);
    }
    zep::swicls();
  }
  text(0.7F, f.y1 - 0.24F, "RGB IMAGE (SWICLR)", 0.014F);
  surfaceRect(0.7F, 0.05F, 0.96F, f.y1 - 0.27F, ix, iy, iw, ih);
  if (iw > 0 && ih > 0) {
    zep::swiopn(ix, iy, iw, ih);
    std::vector<int> row(static_cast<std::size_t>(iw));
    for (int j = 0; j < ih; ++j) {
      for (int i = 0; i < iw; ++i) {
        const int r = 255 * i / std::max(iw - 1, 1), g = 255 * j / std::max(ih - 1, 1);
        const int b = static_cast<int>(127.5F + 127.5F * std::sin(0.15F * static_cast<float>(i + j)));
        row[static_cast<std::size_t>(i)] = r << 16 | g << 8 | b;
      }
      zep::swiclr(row.data(), iw);
    }
    zep::swicls();
  }
}

// ---------------------------------------------------------------------------
// The Earth: shores, lakes, borders and rivers from the shoreline database
// ---------------------------------------------------------------------------

// A map of a longitude and latitude box, as large as the viewport allows with
// its shape kept: the projection-plane window is the box's extent on the map.
void fitRegion(const Rect& v, int itr, float lon0, float lon1, float lat0, float lat1) {
  const float plx = 0.5F * (lon0 + lon1);
  setViewport(v);
  zep::sgssim(1, 0, 0);
  zep::sgsmpl(plx, 90, 0);
  zep::sgstxy(lon0 - plx, lon1 - plx, lat0, lat1);
  zep::sgstrn(itr);
  // This first finalization only measures the box on the projection plane; the
  // map is not placed yet, so its warning about missing the viewport is moot.
  int msglev = 0;
  zep::gliget("MSGLEV", msglev);
  zep::gliset("MSGLEV", std::max(msglev, 2));
  zep::sgstrf();
  zep::gliset("MSGLEV", msglev);
  float xmin = 1e9F, xmax = -1e9F, ymin = 1e9F, ymax = -1e9F;
  for (int i = 0; i <= 100; ++i)
    for (int side = 0; side < 4; ++side) {
      const float t = static_cast<float>(i) / 100;
      const float lon = side < 2 ? lon0 + t * (lon1 - lon0) : (side == 2 ? lon0 : lon1);
      const float lat = side < 2 ? (side == 0 ? lat0 : lat1) : lat0 + t * (lat1 - lat0);
      float vx = 0, vy = 0;
      zep::stftrn((lon - plx) * kDeg, lat * kDeg, vx, vy);
      xmin = std::min(xmin, vx);
      xmax = std::max(xmax, vx);
      ymin = std::min(ymin, vy);
      ymax = std::max(ymax, vy);
    }
  const float cx = 0.5F * (v.x0 + v.x1), cy = 0.5F * (v.y0 + v.y1);
  const float aspect = (xmax - xmin) / (ymax - ymin);
  Rect fitted = v;
  if (aspect > v.w() / v.h()) fitted.y0 = cy - v.w() / aspect / 2, fitted.y1 = cy + v.w() / aspect / 2;
  else fitted.x0 = cx - v.h() * aspect / 2, fitted.x1 = cx + v.h() * aspect / 2;
  setViewport(fitted);
  // The plane window around the projection origin (the viewport's centre at scale 1).
  zep::sgscwd(xmin - cx, xmax - cx, ymin - cy, ymax - cy);
  zep::sgstrf();
}

void earthMapFrame(int itr, float simfac, float plx, float ply, float tymin, const char* title) {
  zep::sgfrm();
  const Rect f = frameRect();
  setViewport(inside(f, 0.05F, 0.95F, 0.08F, 0.86F));
  zep::sgssim(simfac * f.h(), 0, 0);
  zep::sgsmpl(plx, ply, 0);
  zep::sgstxy(-180, 180, tymin, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
  zep::gebkgd();
  zep::gebrdr();
  zep::axinit();
  zep::axpfrm();
  text((f.x0 + f.x1) / 2, f.y1 - 0.05F, title, 0.035F, 0);
}

void earthPage() {
  startPage(2, 2);
  zep::geiset("ITPLND", 14999);  // light green land, white sea and lakes
  zep::axlset("LGRLBL", false);
  zep::axrset("DGLON", 60);
  zep::axrset("DGLAT", 30);
  earthMapFrame(12, 0.19F, 0, 90, -90, "MOLLWEIDE: LAND, LAKES, BORDERS");
  zep::axrset("DGLON", 30);
  earthMapFrame(31, 0.24F, 0, 90, 20, "ARCTIC FROM 20 N (ITR 31)");
  earthMapFrame(30, 0.4F, -60, -60, 0, "ROTATED POLE, SOUTH (ITR 30)");
  // Japan at intermediate resolution on a conformal conic projection, with rivers.
  zep::sgfrm();
  const Rect f = frameRect();
  zep::sgrset("STLAT1", 30);
  zep::sgrset("STLAT2", 45);
  fitRegion(inside(f, 0.1F, 0.9F, 0.08F, 0.84F), 22, 120, 150, 20, 50);
  zep::gecset("CRES", "i");
  zep::gebkgd();
  zep::gebrdr();
  zep::gervrs();
  zep::gecset("CRES", "AUTO");
  zep::axrset("DGLON", 10);
  zep::axrset("DGLAT", 10);
  zep::axinit();
  zep::axpfrm();
  text((f.x0 + f.x1) / 2, f.y1 - 0.05F, "JAPAN, RIVERS (ITR 22)", 0.035F, 0);
  zep::sgrset("STLAT1", 0);
  zep::sgrset("STLAT2", 0);
  zep::axrset("DGLON", 0);
  zep::axrset("DGLAT", 0);
  zep::axlset("LGRLBL", true);
  zep::geiset("ITPLND", 10999);
}

// ---------------------------------------------------------------------------
// Colour that carries data: scatter, coloured tracks, colour bars, colormaps
// ---------------------------------------------------------------------------

// A scatter of points coloured by one value and sized by another, a track
// coloured along its length on a log scale, and bars of a centred and a
// discrete normalisation.
void colourDataPage() {
  startPage(2, 2);
  largeAxes(true);
  zep::cmrset("BARWD", 0.04F);
  zep::cmrset("BARLHT", 0.028F);
  // Points on a spiral galaxy of two arms, coloured by their distance and
  // sized by their brightness (a deterministic sequence, the same on every run).
  std::vector<float> x, y, r, size;
  for (int i = 0; i < 1500; ++i) {
    const float t = static_cast<float>(i) / 1500.0F;
    const float a = 4 * kPi * t + static_cast<float>(i % 2) * kPi + 0.15F * std::sin(37.0F * static_cast<float>(i));
    const float d = 0.15F + 2.6F * t + 0.12F * std::sin(101.0F * static_cast<float>(i));
    x.push_back(d * std::cos(a));
    y.push_back(d * std::sin(a));
    r.push_back(std::hypot(x.back(), y.back()));
    size.push_back(0.005F + 0.007F * std::fabs(std::sin(13.0F * static_cast<float>(i))));
  }
  auto frame = [](float x0, float x1, float y0, float y1, const char* title) {
    zep::sgfrm();
    const Rect v = inside(frameRect(), 0.2F, 0.72F, 0.2F, 0.86F);
    setViewport(v);
    zep::sgswnd(x0, x1, y0, y1);
    zep::sgstrn(1);
    zep::sgstrf();
    text(v.x0, v.y1 + 0.03F, title, 0.035F);
  };
  frame(-3, 3, -3, 3, "SCATTER: COLOUR AND SIZE");
  zep::cmsmap("VIRIDIS");
  zep::cmsnrl(NAN, NAN);
  zep::sglset("LCLIP", true);
  zep::cmpmsu(static_cast<int>(x.size()), x.data(), y.data(), r.data(), size.data(), 10);
  zep::sglset("LCLIP", false);
  zep::axpfrm();
  zep::cmsbtl("RADIUS", "KPC");
  zep::cmbarp("R");

  // A damped oscillation whose speed spans three decades.
  frame(0, 10, -1, 1, "TRACK BY SPEED (LOG)");
  std::vector<float> tx, ty, speed;
  for (int i = 0; i <= 400; ++i) {
    const float t = 10.0F * static_cast<float>(i) / 400.0F;
    tx.push_back(t);
    ty.push_back(std::exp(-0.25F * t) * std::cos(3 * t));
    speed.push_back(100.0F * std::exp(-0.69F * t) + 0.1F);
  }
  zep::cmsmap("PLASMA");
  zep::cmsnrg(0.1F, 100);
  zep::cmplzu(static_cast<int>(tx.size()), tx.data(), ty.data(), speed.data(), 4);
  zep::axpfrm();
  zep::cmsbtl("SPEED", "M/S");
  zep::cmbarp("R");

  // Anomalies on a diverging map centred on zero, the range lopsided; values
  // beyond the bounds in the triangles' colours.
  frame(0, 10, -3, 1, "CENTRED, UNDER, OVER");
  std::vector<float> ax, ay, av;
  for (int i = 0; i < 400; ++i) {
    const float t = 10.0F * static_cast<float>(i) / 400.0F;
    ax.push_back(t);
    ay.push_back(-1 + 1.8F * std::sin(0.9F * t) * std::cos(0.23F * static_cast<float>(i)));
    av.push_back(ay.back());
  }
  zep::cmsmap("DIVERGING");
  zep::cmsnrc(-2.5F, 0, 0.8F);
  zep::cmiset("IUNDER", 0x1a1a6e);
  zep::cmiset("IOVER", 0x6e1a1a);
  zep::cmlset("LBTRI", true);
  zep::cmpmzu(static_cast<int>(ax.size()), ax.data(), ay.data(), av.data(), 10, 0.014F);
  zep::axpfrm();
  zep::cmsbtl("ANOMALY", "K");
  zep::cmbarp("R");
  zep::cmiset("IUNDER", -1);
  zep::cmiset("IOVER", -1);
  zep::cmlset("LBTRI", false);

  // Discrete bands of a cyclic quantity: wind direction in eight sectors.
  frame(0, 360, 0, 20, "DISCRETE: EIGHT SECTORS");
  std::vector<float> dx, dy, dv;
  for (int i = 0; i < 600; ++i) {
    const float d = std::fmod(360.0F * std::fabs(std::sin(7.3F * static_cast<float>(i))), 360.0F);
    dx.push_back(d);
    dy.push_back(10 + 8 * std::sin(5.1F * static_cast<float>(i)) * std::cos(d * kDeg));
    dv.push_back(d);
  }
  zep::cmsmap("CYCLIC");
  const float sectors[] = {0, 45, 90, 135, 180, 225, 270, 315, 360};
  zep::cmsnrd(9, sectors);
  zep::cmpmzu(static_cast<int>(dx.size()), dx.data(), dy.data(), dv.data(), 10, 0.012F);
  zep::axpfrm();
  zep::cmsbtl("DIRECTION", "DEGREES");
  zep::cmbarp("R");

  zep::cmsbtl("", "");
  zep::cmsmap("VIRIDIS");
  zep::cmsnrl(NAN, NAN);
  zep::cmrset("BARWD", 0.03F);
  zep::cmrset("BARLHT", 0.016F);
  largeAxes(false);
}

// Every built-in colormap, a reversed one and a user map, as bars of 0 .. 1.
void colormapsPage() {
  startPage();
  zep::sgfrm();
  const Rect f = frameRect();
  const char* names[] = {"VIRIDIS", "PLASMA", "INFERNO", "MAGMA", "DIVERGING", "CYCLIC", "GREY", "MAGMA_R", "USER"};
  const int user[] = {0x2166ac, 0xf7f7f7, 0x1a9850, 0xfee08b, 0xd73027};
  zep::cmdfmp("USER", 5, user);
  zep::cmsnrl(0, 1);
  zep::cmrset("BARLHT", 0.012F);
  const int n = static_cast<int>(sizeof names / sizeof names[0]);
  for (int k = 0; k < n; ++k) {
    const float top = 0.96F - 0.105F * static_cast<float>(k);
    const Rect bar = inside(f, 0.3F, 0.92F, top - 0.045F, top);
    zep::cmsmap(names[k]);
    zep::cmbarv(bar.x0, bar.x1, bar.y0, bar.y1);
    text(bar.x0 - 0.02F, 0.5F * (bar.y0 + bar.y1) - 0.008F, names[k], 0.02F, 1);
  }
  zep::cmsmap("VIRIDIS");
  zep::cmsnrl(NAN, NAN);
  zep::cmrset("BARLHT", 0.016F);
}

// ---------------------------------------------------------------------------
// Charts: error bars, histograms, bars, steps and filled areas, with legends
// ---------------------------------------------------------------------------

// A deterministic value in [0, 1) for sample i.
float sample(int i) {
  const float v = std::sin(static_cast<float>(i) * 12.9898F) * 43758.5453F;
  return v - std::floor(v);
}

// The next frame of the page with a viewport inside it, window and transformation.
Rect chartFrame(float x0, float x1, float y0, float y1, int itr = 1) {
  zep::sgfrm();
  const Rect v = inside(frameRect(), 0.2F, 0.95F, 0.2F, 0.86F);
  setViewport(v);
  zep::sgswnd(x0, x1, y0, y1);
  zep::sgstrn(itr);
  zep::sgstrf();
  zep::axinit();
  return v;
}

void errorBarFrame() {
  const Rect v = chartFrame(0, 10, -1.6F, 1.6F);
  std::vector<float> x, y, below, above, xerr, dense, denseY;
  for (int i = 0; i < 12; ++i) {
    x.push_back(0.4F + 0.8F * static_cast<float>(i));
    y.push_back(std::sin(0.6F * x.back()) + 0.2F * (sample(i) - 0.5F));
    below.push_back(0.1F + 0.15F * sample(i + 40));
    above.push_back(0.25F);
    xerr.push_back(0.25F);
  }
  for (int i = 0; i <= 200; ++i) {
    dense.push_back(0.05F * static_cast<float>(i));
    denseY.push_back(std::sin(0.6F * dense.back()));
  }
  zep::sgplzu(201, dense.data(), denseY.data(), 1, 41);
  zep::chmkev(201, dense.data(), denseY.data(), 25, 1, 12, 41, 0.025F);
  zep::chrset("RCAP", 0.02F);
  zep::chebry(12, x.data(), y.data(), below.data(), above.data(), 21);
  zep::chebrx(12, x.data(), y.data(), xerr.data(), nullptr, 31);
  zep::sgpmzu(12, x.data(), y.data(), 10, 21, 0.02F);
  zep::axpfrm();
  zep::axlgcl();
  zep::axlglm(41, 1, 12, 41, 0.025F, "sin 0.6x, every 25th");
  zep::axlgmk(10, 21, 0.02F, "measured");
  zep::axlgpv("BL");
  text(v.x0, v.y1 + 0.03F, "ERROR BARS, MARKEVERY", 0.035F);
}

void histogramFrame() {
  std::vector<float> a, b;
  for (int i = 0; i < 3000; ++i) a.push_back(sample(3 * i) + sample(3 * i + 1) + sample(3 * i + 2));
  for (int i = 0; i < 1500; ++i) b.push_back(2.0F + 0.8F * (sample(7 * i) + sample(7 * i + 1) - 1));
  std::vector<float> both(a);
  both.insert(both.end(), b.begin(), b.end());
  const Rect v = chartFrame(0, 3.2F, 0, 480);
  std::vector<float> edges(25);
  for (int k = 0; k <= 24; ++k) edges[static_cast<std::size_t>(k)] = 0.125F * static_cast<float>(k);
  const int counts[] = {3000, 1500}, tones[] = {3999, 5999};
  zep::chhsst(2, counts, both.data(), 24, edges.data(), tones, 1);
  zep::axsttl("L", "COUNT");
  zep::axpfrm();
  zep::axlgcl();
  zep::axlgtn(3999, "sum of 3 uniforms");
  zep::axlgtn(5999, "triangle at 2");
  zep::axlgpv("TL");
  text(v.x0, v.y1 + 0.03F, "STACKED HISTOGRAM", 0.035F);
}

void densityFrame() {
  std::vector<float> a;
  for (int i = 0; i < 20000; ++i) a.push_back(sample(5 * i) + sample(5 * i + 1) + sample(5 * i + 2) - 1.5F);
  const Rect v = chartFrame(-1.6F, 1.6F, 0.001F, 2, 2);
  zep::chlset("LDENS", true);
  zep::chhist(20000, a.data(), 0, nullptr, 0, 41);  // automatic bins, outlined
  zep::chlset("LDENS", false);
  zep::axsttl("L", "DENSITY");
  zep::axpfrm();
  text(v.x0, v.y1 + 0.03F, "DENSITY, AUTO BINS, LOG Y", 0.035F);
}

void groupedBarFrame() {
  const Rect v = chartFrame(0.4F, 4.6F, 0, 10);
  const float groups[] = {1, 2, 3, 4};
  const float values[] = {3, 5, 7, 6, 4, 6, 2, 8, 5, 3, 4, 9};
  const int tones[] = {2999, 4999, 6999};
  zep::chbrgp("V", 4, 3, groups, values, 0.9F, tones, 1);
  zep::axpfrm();
  zep::axlgcl();
  zep::axlgtn(2999, "A");
  zep::axlgtn(4999, "B");
  zep::axlgtn(6999, "C");
  zep::axlgpv("TL");
  text(v.x0, v.y1 + 0.03F, "GROUPED BARS", 0.035F);
}

void stackedBarFrame() {
  const Rect v = chartFrame(0, 20, 0.4F, 3.6F);
  const float rows[] = {1, 2, 3};
  const float parts[] = {4, 6, 3, 5, 2, 7, 3, 5, 6};
  const int tones[] = {2999, 4999, 6999};
  zep::chbrsk("H", 3, 3, rows, parts, 0.6F, tones, 1);
  zep::axpfrm();
  text(v.x0, v.y1 + 0.03F, "STACKED, HORIZONTAL", 0.035F);
}

void stepAndFillFrame() {
  const Rect v = chartFrame(0, 10, -1.5F, 2);
  std::vector<float> x, lo, hi, sx, sy;
  for (int i = 0; i <= 100; ++i) {
    x.push_back(0.1F * static_cast<float>(i));
    lo.push_back(std::sin(x.back()) - 0.3F);
    hi.push_back(0.5F * std::cos(1.3F * x.back()) + 0.2F);
  }
  for (int i = 0; i < 11; ++i) {
    sx.push_back(static_cast<float>(i));
    sy.push_back(1.2F + 0.6F * sample(i + 100));
  }
  zep::chfilv(101, x.data(), lo.data(), -1.5F, 5999);
  zep::chfilb(101, x.data(), lo.data(), hi.data(), 3999);
  zep::chstep(11, sx.data(), sy.data(), "MID", 1, 23);
  zep::chstep(11, sx.data(), sy.data(), "POST", 2, 43);
  zep::axpfrm();
  zep::axlgcl();
  zep::axlgln(23, 1, "step, mid");
  zep::axlgln(43, 2, "step, post");
  zep::axlgtn(3999, "between curves");
  const int ramp[] = {0x440154, 0x3B528B, 0x21918C, 0x5EC962, 0xFDE725};
  zep::axlgcm(5, ramp, "colour ramp");
  zep::axlgpv("BR");
  text(v.x0, v.y1 + 0.03F, "STEPS, FILLED AREAS", 0.035F);
}

void chartsPage() {
  startPage(3, 2);
  largeAxes(true);
  zep::sglset("LCLIP", true);  // charts are clipped to the viewport like every other line
  errorBarFrame();
  histogramFrame();
  densityFrame();
  groupedBarFrame();
  stackedBarFrame();
  stepAndFillFrame();
  zep::chrset("RCAP", 0.01F);
  zep::sglset("LCLIP", false);
  largeAxes(false);
}

// ---------------------------------------------------------------------------
// The figure layer: a grid laid out for its labels, fitted maps, markup
// ---------------------------------------------------------------------------

void figureLayerPage() {
  startPage();
  // Six frames on one page: smaller text than the AX defaults, as for any dense figure.
  zep::axrset("RLABEL", 0.014F);
  zep::axrset("RTITLE", 0.016F);
  zep::fgrset("RTITLE", 0.02F);
  zep::cnrset("BARLHT", 0.012F);
  zep::fggrid(2, 3);
  // 1: kept data sets the window; a legend with markup and plain "_".
  std::vector<float> t(200), a(200), b(200);
  for (int i = 0; i < 200; ++i) {
    t[i] = 0.05F * static_cast<float>(i);
    a[i] = std::sin(t[i]);
    b[i] = std::exp(-0.3F * t[i]) * std::cos(3 * t[i]);
  }
  zep::fgfrm();
  zep::fgplzu(200, t.data(), a.data(), 1, 23);
  zep::fgplzu(200, t.data(), b.data(), 2, 43);
  zep::axsttl("B", "time t (s)");
  zep::axsttl("L", "signal (\\mu V)");
  zep::fgttl("KEPT DATA, AUTOMATIC WINDOW");
  zep::fgpfrm();
  // 2: a log axis with long labels: the room is measured from them.
  zep::fgfrm();
  zep::sgswnd(-123456, 987654, 1e-3F, 1e4F);
  zep::sgstrn(2);
  zep::axsttl("B", "a long axis title that the frame keeps inside its cell");
  zep::axsttl("L", "\\sigma\\_{xy} (Pa)");
  zep::fgttl("LOG Y, LONG LABELS");
  zep::fgpfrm();
  // 3 and 4: a global field on fitted maps, bands and colour bars.
  const int nx = 73, ny = 37;
  std::vector<float> lon(nx), lat(ny), z(static_cast<std::size_t>(nx * ny));
  for (int i = 0; i < nx; ++i) lon[static_cast<std::size_t>(i)] = -180.0F + 5.0F * static_cast<float>(i);
  for (int j = 0; j < ny; ++j) lat[static_cast<std::size_t>(j)] = -90.0F + 5.0F * static_cast<float>(j);
  for (int k = 0; k < nx * ny; ++k) {
    const float x = lon[static_cast<std::size_t>(k % nx)] * kDeg, y = lat[static_cast<std::size_t>(k / nx)] * kDeg;
    z[static_cast<std::size_t>(k)] = 40 * std::cos(y) - 10 + 6 * std::sin(3 * x) * std::cos(2 * y);
  }
  useColormap(4);
  zep::cnsfld(nx, ny, z.data(), lon.data(), lat.data());
  zep::cnslvi(10, 0);
  for (int k = 0; k < 2; ++k) {
    zep::fgfrm();
    zep::fgsmap(k == 0 ? 12 : 31, -180, 180, k == 0 ? -90 : 0, 90);
    zep::fgttl(k == 0 ? "MOLLWEIDE, FITTED (\\deg C)" : "POLAR STEREOGRAPHIC, NORTH");
    zep::fgsbar(k == 0 ? "B" : "R");
    zep::fgstrf();
    zep::cnshdu();
    zep::fgpfrm();
  }
  // 5: a conic map of a box with arrows.
  std::vector<float> px, py, pu, pv;
  for (float lo = 122; lo <= 148; lo += 3)
    for (float la = 26; la <= 48; la += 3) {
      px.push_back(lo);
      py.push_back(la);
      pu.push_back(10 + 8 * std::sin((la - 25) * 0.25F));
      pv.push_back(6 * std::cos((lo - 120) * 0.2F));
    }
  zep::fgfrm();
  zep::fgsmap(22, 120, 150, 25, 50);
  zep::fgttl("CONFORMAL CONIC BOX, ARROWS");
  zep::fgstrf();
  zep::fgvecu(static_cast<int>(px.size()), px.data(), py.data(), pu.data(), pv.data(), 0.0012F, 1);
  zep::fgpfrm();
  useColormap(1);
  // 6: free text with named symbols in a frame without sides: the next sgfrm
  // leaves it undrawn.
  zep::fgfrm();
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  zep::fgqcel(x0, x1, y0, y1);
  const char* lines[] = {"\\alpha \\beta \\gamma \\delta \\epsilon \\lambda \\mu \\pi \\sigma \\omega",
                         "\\Gamma \\Delta \\Theta \\Lambda \\Sigma \\Phi \\Psi \\Omega",
                         "\\pm \\times \\cdot \\div \\deg \\infty \\leq \\geq \\neq \\equiv",
                         "\\partial \\nabla \\int \\oint \\sum \\sqrt \\propto \\in",
                         "\\leftarrow \\rightarrow \\uparrow \\downarrow  x\\^{2} T\\_{0}",
                         "plain: a_b | \"quoted\""};
  for (int i = 0; i < 6; ++i)
    zep::fgtxzv(x0 + 0.01F, y1 - 0.04F - 0.03F * static_cast<float>(i), lines[i], 0.016F, 0, -1, 1);
  zep::axrset("RLABEL", 0.02F);
  zep::axrset("RTITLE", 0.024F);
  zep::fgrset("RTITLE", 0.03F);
  zep::cnrset("BARLHT", 0.016F);
}

// ---------------------------------------------------------------------------
// The page table
// ---------------------------------------------------------------------------

struct Page {
  const char* title;
  std::function<void()> draw;
  bool systemFont = false;  // draws text with the system's fonts, which differ between machines
};

const std::vector<Page>& pages() {
  static const std::vector<Page> table = {
      {"LINE TYPES, WIDTHS AND COLOURS", linesPage},
      {"LINEAR, LOG-LOG, POLAR AND BIPOLAR FRAMES", framesPage},
      {"MAP PROJECTIONS 10-18 AND TWO GREAT CIRCLES", [] { mapPage(0, 9); }},
      {"MAP PROJECTIONS 19-32 AND TWO GREAT CIRCLES", [] { mapPage(9, 9); }},
      {"MAP PROJECTIONS 33-104 AND TWO GREAT CIRCLES", [] { mapPage(18, 9); }},
      {"POLYLINES AND MARKERS", polylinesPage},
      {"FILLED POLYGONS: HOLES, DATE LINE, POLE CAPS", fillsPage},
      {"CONTOURS: BANDS, LINES, COLOUR BARS", contoursPage},
      {"LABELLED LINES", labelledLinesPage},
      {"STROKE-FONT TEXT, SCRIPTS, GREEK, MARKERS", strokeTextPage},
      {"SYSTEM-FONT TEXT, MARKUP, JAPANESE", systemTextPage, true},
      {"CURVILINEAR GRID (ITR 51)", curvilinearPage},
      {"PERSPECTIVE VIEW OF STACKED PLANES", perspectivePage},
      {"TONES AND IMAGES (WORKSTATION ENTRIES)", tonesAndImagesPage},
      {"THE EARTH: SHORES, LAKES, BORDERS, RIVERS", earthPage},
      {"COLOUR-MAPPED MARKERS AND LINES, COLOUR BARS", colourDataPage},
      {"CONTINUOUS COLORMAPS", colormapsPage},
      {"VECTOR FIELDS: ARROWS, BARBS, STREAMLINES", vectorsPage},
      {"CHARTS: ERROR BARS, HISTOGRAMS, BARS, AREAS", chartsPage},
      {"FIGURE LAYER: GRID, MAPS, MARKUP", figureLayerPage},
  };
  return table;
}

void drawGallery(int ifl) {
  zep::swiset("IFL", ifl);
  zep::swcset("FNAME", "gallery");
  // A moderate page; the user may still choose another size.
  zep::swistx("IWIDTH", 720);
  zep::swistx("IHEIGHT", 510);
  zep::swlset("LWAIT", false);
  zep::swlset("LWAIT1", false);
  zep::sglset("LFULL", true);
  zep::sgopn(2);
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  zep::slqrct(0, 1, x0, x1, y0, y1);
  ws = {x1 - x0, y1 - y0, 1};
  zep::sgrget("FACTOR", ws.fact);
  pageCount = static_cast<int>(pages().size());
  pageNumber = 0;
  for (const Page& p : pages()) {
    ++pageNumber;
    pageTitle = p.title;
    p.draw();
  }
  zep::sgcls();
}

// The list of pages beside the pictures: file, kind of text, title. The
// picture regression test compares system-font pages more loosely.
void writeIndex() {
  FILE* f = std::fopen("gallery-pages.txt", "w");
  if (f == nullptr) return;
  int n = 0;
  for (const Page& p : pages())
    std::fprintf(f, "gallery_%04d.png %s %s\n", ++n, p.systemFont ? "system-font" : "stroke-font", p.title);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path folder = "gallery-output";
  bool png = false, pdf = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--png") png = true;
    else if (a == "--pdf") pdf = true;
    else if (a.empty() || a[0] != '-') folder = a;
  }
  if (!png && !pdf) png = pdf = true;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::filesystem::current_path(folder, ec);
  if (ec) {
    std::fprintf(stderr, "gallery: cannot use the folder %s: %s\n", folder.c_str(), ec.message().c_str());
    return 1;
  }
  if (pdf) drawGallery(4);
  if (png) drawGallery(1);
  writeIndex();
  return 0;
}
