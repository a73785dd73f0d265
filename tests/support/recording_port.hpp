// A driver double for the dispatcher: every call is written into a log, with
// its arguments where they matter, and nothing is drawn. Queries answer like a
// 900 x 650 file workstation with colours and widths.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "workstation/driver_port.hpp"

namespace zeptest {

inline std::vector<std::string>& driverLog() {
  static std::vector<std::string> log;
  return log;
}

inline std::string fmt2(const char* name, double a, double b) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s(%.1f,%.1f)", name, a, b);
  return buf;
}

// The texts that the dispatcher handed to the driver's open.
struct OpenArguments {
  int iws = 0;
  int ifl = 0;
  std::string colormap, bitmap, fname, title;
};
inline OpenArguments& lastOpen() {
  static OpenArguments a;
  return a;
}

// The rings of the last multi-ring tone, in workstation coordinates.
struct ToneRings {
  int itpat = 0;
  std::vector<std::vector<std::array<float, 2>>> rings;
};
inline ToneRings& lastTone() {
  static ToneRings t;
  return t;
}

inline void logCall(std::string s) { driverLog().push_back(std::move(s)); }

// The values the dispatcher stored in the driver's text-control slots.
inline std::map<std::string, double>& slotValues() {
  static std::map<std::string, double> values;
  return values;
}

inline const zep::workstation::DriverPort& recordingPort() {
  using SV = std::string_view;
  static const zep::workstation::DriverPort port = {
      [](int iws, int, int, int, int, int, int, float, bool, bool, bool, bool, bool, bool, bool, bool, bool, bool,
         int ifl, SV, float, SV cmap, SV bmap, SV fname, SV title) {
        lastOpen() = {iws, ifl, std::string(cmap), std::string(bmap), std::string(fname), std::string(title)};
        logCall("dopn");
      },
      [] { logCall("dcls"); },
      [] { logCall("popn"); },
      [] { logCall("pcls"); },
      [] { logCall("flash"); },
      [](SV o, SV c) { logCall("oopn(" + std::string(o) + "," + std::string(c.substr(0, c.find_last_not_of(' ') + 1)) + ")"); },
      [](SV o) { logCall("ocls(" + std::string(o) + ")"); },
      [](bool) { logCall("sfcm"); },
      [](int i) { logCall("swdi(" + std::to_string(i) + ")"); },
      [](int i) { logCall("scli(" + std::to_string(i) + ")"); },
      [](int) { logCall("slcl"); },
      [](int) { logCall("stcl"); },
      [] { logCall("gopn"); },
      [](double x, double y) { logCall(fmt2("gmov", x, y)); },
      [](double x, double y) { logCall(fmt2("gplt", x, y)); },
      [] { logCall("gcls"); },
      [](int, const float*, const float*, int) { logCall("gton"); },
      [](int, int, int, int) { logCall("iopn"); },
      [](const int*, int) { logCall("idat"); },
      [](const int*, int) { logCall("iclr"); },
      [] { logCall("icls"); },
      [](float&, float&, int&) { logCall("qpnt"); },
      [](double, double, int&, int&) { logCall("fint"); },
      [](int, int, float&, float&) { logCall("iint"); },
      [](bool& l) { l = true; logCall("qwdc"); },
      [](bool& l) { l = true; logCall("qclc"); },
      [](bool& l) { l = true; logCall("qtnc"); },
      [](bool& l) { l = true; logCall("qimc"); },
      [](bool& l) { l = false; logCall("qptc"); },
      [](float& x0, float& x1, float& y0, float& y1, float& f) {
        x0 = 0; x1 = 900; y0 = 0; y1 = 650; f = 0.03F;
        logCall("qrct");
      },
      [](int i) { logCall("srot(" + std::to_string(i) + ")"); },
      [](SV, bool) { logCall("clini"); },
      [](SV name, int n, bool v) { slotValues()[std::string(name.substr(0, n))] = v ? 1.0 : 0.0; },
      [](SV name, int n, int v) { slotValues()[std::string(name.substr(0, n))] = v; },
      [](SV name, int n, double v) { slotValues()[std::string(name.substr(0, n))] = v; },
      [](double x0, double x1, double y0, double y1) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "clip(%.1f,%.1f,%.1f,%.1f)", x0, x1, y0, y1);
        logCall(buf);
      },
      [] { logCall("rclp"); },
      [](double x, double y, double h, SV text, int n, double angle, int icent) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "txt(%.1f,%.1f,%.3f,%.*s,%.3f,%d)", x, y, h, n, text.data(), angle, icent);
        logCall(buf);
      },
      [](SV text, int n, float& wx, float& wy) {
        wx = 0.5F * static_cast<float>(n);
        wy = 0.8F;
        logCall("qtxw(" + std::string(text.substr(0, n)) + ")");
      },
      [](SV font) { logCall("ftfc(" + std::string(font.substr(0, font.find_last_not_of(' ') + 1)) + ")"); },
      [](int i) { logCall("sfw(" + std::to_string(i) + ")"); },
      [](int& n) { n = 3; logCall("numfonts"); },
      [](int i, std::span<char> name, int& n) {
        n = 3;
        std::fill(name.begin(), name.end(), '\0');
        logCall("fontname(" + std::to_string(i) + ")");
      },
      [] { logCall("listfonts"); },
      [](std::span<char> font) {
        std::fill(font.begin(), font.end(), '\0');
        std::copy_n("Serif 10", std::min<std::size_t>(8, font.size()), font.begin());
        logCall("selectfont");
      },
      [](int nring, const int* npts, const float* xs, const float* ys, int itpat) {
        ToneRings& t = lastTone();
        t = {itpat, {}};
        for (int r = 0, k = 0; r < nring; ++r) {
          t.rings.emplace_back();
          for (int i = 0; i < npts[r]; ++i, ++k) t.rings.back().push_back({xs[k], ys[k]});
        }
        logCall("gtnm(" + std::to_string(nring) + "," + std::to_string(itpat) + ")");
      },
      [](std::span<char>, std::span<char>, bool& failed) { failed = false; },
      // Strokes no dashes itself: the dash stage cuts them, as for a raster page.
      [](bool& l) { l = false; },
      [](const float*, int n, float offset) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "sdsh(%d,%.4f)", n, offset);
        logCall(buf);
      },
      nullptr,  // no glyph masks: stroke-font text arrives as strokes
      nullptr,  // no marker shapes: markers arrive as tones and strokes
      nullptr,  // no exact pages: the A4 layout of the design
  };
  return port;
}

// Opens workstation 2 on the recording double, with progress messages off;
// the log starts empty before the open.
inline void openRecordedWorkstation() {
  zep::workstation::setDriverPort(&recordingPort());
  zep::gliset("MSGLEV", 2);
  driverLog().clear();
  zep::sgopn(2);
}

// The same, then the first frame: on the 900 x 650 workstation the frame is the
// centred square 650 x 650 from x = 125. The log starts empty after the frame.
inline void openRecordedSession() {
  openRecordedWorkstation();
  zep::sgfrm();
  driverLog().clear();
}

// Texts that reached the system-font entry, in order.
inline std::vector<std::string> systemFontTexts() {
  std::vector<std::string> out;
  for (const std::string& s : driverLog()) {
    if (s.rfind("txt(", 0) != 0) continue;
    std::size_t p = 0;
    for (int comma = 0; comma < 3; ++comma) p = s.find(',', p) + 1;
    out.push_back(s.substr(p, s.find(',', p) - p));
  }
  return out;
}

}  // namespace zeptest
