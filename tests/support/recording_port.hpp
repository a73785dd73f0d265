// A driver double for the dispatcher: every call is written into a log, with
// its arguments where they matter, and nothing is drawn. Queries answer like a
// 900 x 650 file workstation with colours and widths.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

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

inline void logCall(std::string s) { driverLog().push_back(std::move(s)); }

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
      [](SV, int, bool) {},
      [](SV, int, int) {},
      [](SV, int, double) {},
  };
  return port;
}

}  // namespace zeptest
