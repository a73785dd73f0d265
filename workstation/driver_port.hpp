// The driver operations that the dispatcher calls, gathered in one table so that
// the whole kernel can be run against a recording double in tests. In normal use
// every slot is the driver's own routine.
#pragma once

#include <span>
#include <string_view>

namespace zep::workstation {

struct DriverPort {
  void (*dopn)(int, int, int, int, int, int, int, float, bool, bool, bool, bool, bool, bool, bool, bool, bool,
               bool, int, std::string_view, float, std::string_view, std::string_view, std::string_view,
               std::string_view);
  void (*dcls)();
  void (*popn)();
  void (*pcls)();
  void (*flash)();
  void (*oopn)(std::string_view, std::string_view);
  void (*ocls)(std::string_view);
  void (*sfcm)(bool);
  void (*swdi)(int);
  void (*scli)(int);
  void (*slcl)(int);
  void (*stcl)(int);
  void (*gopn)();
  void (*gmov)(double, double);
  void (*gplt)(double, double);
  void (*gcls)();
  void (*gton)(int, const float*, const float*, int);
  void (*iopn)(int, int, int, int);
  void (*idat)(const int*, int);
  void (*iclr)(const int*, int);
  void (*icls)();
  void (*qpnt)(float&, float&, int&);
  void (*fint)(double, double, int&, int&);
  void (*iint)(int, int, float&, float&);
  void (*qwdc)(bool&);
  void (*qclc)(bool&);
  void (*qtnc)(bool&);
  void (*qimc)(bool&);
  void (*qptc)(bool&);
  void (*qrct)(float&, float&, float&, float&, float&);
  void (*srot)(int);
  void (*clini)(std::string_view, bool);
  void (*lset)(std::string_view, int, bool);
  void (*iset)(std::string_view, int, int);
  void (*rset)(std::string_view, int, double);
  // clipping around system-font text, the text itself, fonts and their catalogue
  void (*clip)(double, double, double, double);
  void (*rclp)();
  void (*txt)(double, double, double, std::string_view, int, double, int);
  void (*qtxw)(std::string_view, int, float&, float&);
  void (*ftfc)(std::string_view);
  void (*sfw)(int);
  void (*numfonts)(int&);
  void (*fontname)(int, std::span<char>, int&);
  void (*listfonts)();
  void (*selectfont)(std::span<char>);
  void (*gtnm)(int, const int*, const float*, const float*, int);
  // the first output file that could not be written since the last query
  void (*qfer)(std::span<char>, std::span<char>, bool&);
  // dash patterns stroked by the driver itself
  void (*qdsc)(bool&);
  void (*sdsh)(const float*, int, float);
  // a stroke-font glyph painted whole on raster pages; a port without it (null)
  // has every glyph stroked
  bool (*glyph)(long long, double, double, double, double, double, double, int, const int*, const float*,
                const float*);
  // a marker placed whole as a shape of the page (PDF); a port without it
  // (null) has every marker filled and stroked
  bool (*mark)(long long, double, double, double, double, double, double, int, const int*, const float*,
               const float*, bool);
  // a page of exact size in cm for the next open, with PNG pixels per inch; a
  // port without it (null) keeps the A4 layout
  void (*spag)(double, double, double);
};

// The port in use; the real driver unless a test installed another.
const DriverPort& driverPort();
// Installs `port` (nullptr restores the real driver).
void setDriverPort(const DriverPort* port);
// The real driver's table, for doubles that record and then pass calls on.
const DriverPort& realDriverPort();

}  // namespace zep::workstation
