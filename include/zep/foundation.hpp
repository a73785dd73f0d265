// Foundation services: reports, the parameter registry and its runtime sources,
// text utilities, file search and units, dates and times, numeric helpers.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// Reports and the process-name stack
// ---------------------------------------------------------------------------

using MsgDumper = void (*)(std::string_view level, std::string_view routine, std::string_view text);
using MsgErrorCallback = void (*)(std::string_view routine, std::string_view text);

// Level "E" error (ends the process unless an error callback is installed),
// "W" warning, "M" message.
void msgdmp(std::string_view level, std::string_view routine, std::string_view text);
void msgdmp_zeporig(std::string_view level, std::string_view routine, std::string_view text);
void msgdmp_err_replaceable(std::string_view level, std::string_view routine, std::string_view text);
void set_msgdmp_func(MsgDumper dumper);
void set_msgdmp_err_func(MsgErrorCallback callback);
using MsgFinisher = std::string (*)();
// Runs `finisher` once before an error report ends the process; its non-empty result becomes a "-CNT.-" line.
void set_msgdmp_fin_func(MsgFinisher finisher);
void mszdmp(std::string_view text, int unit, int linesize);
[[noreturn]] void osabrt();

void prcopn(std::string_view name);
void prccls(std::string_view name);
void prclvl(int& level);
void prcnam(int level, std::span<char> name);

// ---------------------------------------------------------------------------
// GL global parameters: gliqnp ... glcstx (see parameters.hpp)
// ---------------------------------------------------------------------------

ZEP_DECLARE_PARAMETER_PACKAGE(gl)

// Full path of the data file named by the GL character parameter `name`,
// searched in the working directory, DUPATH and DSPATH; blank when nowhere.
void glqfnm(std::string_view name, std::span<char> path);

// ---------------------------------------------------------------------------
// Runtime parameter sources: configuration file, environment, command line
// ---------------------------------------------------------------------------

// Over all three sources; values are updated in place where a source names them.
void rpnget();
void rtiget(std::string_view package, const std::string_view* names, int* values, int n);
void rtlget(std::string_view package, const std::string_view* names, bool* values, int n);
void rtrget(std::string_view package, const std::string_view* names, float* values, int n);
void rtcget(std::string_view package, const std::string_view* names, std::span<char>* values, int n);
void rliget(const std::string_view* names, int* values, int n);
void rllget(const std::string_view* names, bool* values, int n);
void rlrget(const std::string_view* names, float* values, int n);
void rlcget(const std::string_view* names, std::span<char>* values, int n);

// Configuration file.
void rpnxfl();
void rtixfl(std::string_view package, std::string_view name, int& value);
void rtlxfl(std::string_view package, std::string_view name, bool& value);
void rtrxfl(std::string_view package, std::string_view name, float& value);
void rtcxfl(std::string_view package, std::string_view name, std::span<char> value);
void rlixfl(std::string_view name, int& value);
void rllxfl(std::string_view name, bool& value);
void rlrxfl(std::string_view name, float& value);
void rlcxfl(std::string_view name, std::span<char> value);

// Environment variables.
void rpnenv();
void rtienv(std::string_view package, std::string_view name, int& value);
void rtlenv(std::string_view package, std::string_view name, bool& value);
void rtrenv(std::string_view package, std::string_view name, float& value);
void rtcenv(std::string_view package, std::string_view name, std::span<char> value);
void rlienv(std::string_view name, int& value);
void rllenv(std::string_view name, bool& value);
void rlrenv(std::string_view name, float& value);
void rlcenv(std::string_view name, std::span<char> value);

// Command-line options.
void rpnopt();
void rtiopt(std::string_view package, std::string_view name, int& value);
void rtlopt(std::string_view package, std::string_view name, bool& value);
void rtropt(std::string_view package, std::string_view name, float& value);
void rtcopt(std::string_view package, std::string_view name, std::span<char> value);
void rliopt(std::string_view name, int& value);
void rllopt(std::string_view name, bool& value);
void rlropt(std::string_view name, float& value);
void rlcopt(std::string_view name, std::span<char> value);

// Operating-system services.
void osqarn(int& n);
void osgarg(int i, std::span<char> arg);
void osgenv(std::string_view name, std::span<char> value);
void zepvnm(std::span<char> name);

// The library reads the program's arguments from the operating system; a
// program (or a test) may hand them over explicitly instead. argv[0] is the
// program name.
void zep_set_arguments(int argc, const char* const* argv);

// ---------------------------------------------------------------------------
// Character and number-text utilities
// ---------------------------------------------------------------------------

int lenc(std::string_view c);
int lenz(std::string_view c);
int lenb(std::string_view c);
int leny(std::string_view c);
bool lchreq(std::string_view a, std::string_view b);
bool lchrd(std::string_view c);

int indxnf(std::string_view cx, int n, int jd, std::string_view ch);
int indxmf(std::string_view cx, int n, int jd, std::string_view ch);
int indxcf(std::string_view cx, int n, int jd, std::string_view ch);
int indxcl(std::string_view cx, int n, int jd, std::string_view ch);
int nindxc(std::string_view cx, int n, int jd, std::string_view ch);

void cladj(std::span<char> c);
void cradj(std::span<char> c);
void cdblk(std::span<char> c);
void clower(std::span<char> c);

int isgc(std::string_view c);
std::string csgi(int i);
void cfnchr(std::span<char> dst, std::string_view src, int len);

int jfromc(std::string_view c);
int ifromc(std::string_view c);
float ffromc(std::string_view c);
float rfromc(std::string_view c);
bool lfromc(std::string_view c);

void chngi(std::span<char> cx, std::string_view cpat, int ival, std::string_view cfmt);

// ---------------------------------------------------------------------------
// File search and units
// ---------------------------------------------------------------------------

void cfsrch(const std::string_view* directories, int np, const std::string_view* names, int nf,
            std::span<char> path);
int iufopn();

// ---------------------------------------------------------------------------
// Dates, times and calendar names
// ---------------------------------------------------------------------------

// Local date and time from the system clock.
void dateq3(int& iy, int& im, int& id);
void timeq3(int& ih, int& im, int& is);
// Write a date or time into a template: "YYYY-MM-DD", "HH:MM:SS"; "C" fields take
// the month name, "W" fields the weekday name.
void datec3(std::span<char> cform, int iy, int im, int id);
void timec3(std::span<char> cform, int ih, int im, int is);
void date32(int iy, int im, int id, int& itd);  // day of the year
int ndyear(int iy);                             // 365 or 366
void dateg2(int& n, int iy1, int itd1, int iy2, int itd2);  // days between two days of years
int iweek2(int iy, int itd);                    // weekday 1 (Sunday) to 7
int iweek3(int iy, int im, int id);
std::string cmon(int im);   // "JANUARY  " ...
std::string cweek(int iw);  // "SUNDAY   " ...

// ---------------------------------------------------------------------------
// Numeric helpers
// ---------------------------------------------------------------------------

// Tolerant comparisons of reals. The relative forms use e = REPSL * RFACT.
bool lreq1(float x, float y);
bool lrne1(float x, float y);
bool lrge1(float x, float y);
bool lrle1(float x, float y);
bool lreqa(float x, float y, float eps);
bool lrnea(float x, float y, float eps);
bool lrlta(float x, float y, float eps);
bool lrlea(float x, float y, float eps);
bool lrge0(float x, float y);
bool lrge(float x, float y);

// Extremes over a strided array (elements rx[0], rx[j], ..., rx[(n-1)j]; a
// negative stride walks below the pointer). The 1-forms skip RMISS; rmin and
// rmax choose by LMISS.
float rmin0(const float* rx, int n, int j);
float rmax0(const float* rx, int n, int j);
float rmin1(const float* rx, int n, int j);
float rmax1(const float* rx, int n, int j);
float rmin(const float* rx, int n, int j);
float rmax(const float* rx, int n, int j);

// Strided copies, fills and sums.
void viset(const int* ix, int* iy, int n, int jx, int jy);
void viset0(const int* ix, int* iy, int n, int jx, int jy);
void viset1(const int* ix, int* iy, int n, int jx, int jy);
void vrset(const float* rx, float* ry, int n, int jx, int jy);
void vrset0(const float* rx, float* ry, int n, int jx, int jy);
void vrset1(const float* rx, float* ry, int n, int jx, int jy);
void vrcon0(const float* rx, float* ry, int n, int jx, int jy, float rc);
void rset0(float* rx, int n, int jx, float rc);
int isum0(const int* ix, int n, int jx);

// Remainder in 0 .. id-1, also for negative i.
int imod(int i, int id);
// Largest i (1-based) with rx(i) <= x in an increasing sequence; 0 below rx(1).
int iblkge(const float* rx, int n, float x);

float rfpi();
float rd2r(float x);
float rr2d(float x);

// Bit-pattern string ("1010") to integer; every character but '0' is a set bit.
void bitpci(std::string_view cp, int& ip);
// Left rotation by n mod 32 for n >= 0, logical right shift by -n for n < 0.
int ishift(int i, int n);

// Rotations and conversions of plane, spatial and spherical coordinates (radians).
void cr2c(float t, float x, float y, float& x2, float& y2);
void cr3c(float t, float p, float s, float x, float y, float z, float& x2, float& y2, float& z2);
void cr3s(float t, float p, float s, float ta, float pa, float& tb, float& pb);
void ct2pc(float r, float t, float& x, float& y);
void ct2cp(float x, float y, float& r, float& t);
void ct2bc(float u, float v, float& x, float& y);

}  // namespace zep
