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
// The default dumper: filters by MSGLEV and MAXMSG, writes to MSGUNIT, ends the process on "E".
void msgdmp_zeporig(std::string_view level, std::string_view routine, std::string_view text);
// The dumper used once an error callback is installed: errors go to the callback.
void msgdmp_err_replaceable(std::string_view level, std::string_view routine, std::string_view text);
// Make `dumper` the active report dumper.
void set_msgdmp_func(MsgDumper dumper);
// Install an error callback: errors call it instead of ending the process.
void set_msgdmp_err_func(MsgErrorCallback callback);
using MsgFinisher = std::string (*)();
// Runs `finisher` once before an error report ends the process; its non-empty result becomes a "-CNT.-" line.
void set_msgdmp_fin_func(MsgFinisher finisher);
// Write a text to a unit, cut into lines of linesize characters.
void mszdmp(std::string_view text, int unit, int linesize);
// End the process abnormally at once.
[[noreturn]] void osabrt();

// Push a process name (first 32 characters).
void prcopn(std::string_view name);
// Pop the innermost process name, which must equal `name`.
void prccls(std::string_view name);
// Current depth of the process-name stack (0 when empty).
void prclvl(int& level);
// Process name at the given level.
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
// Integer overrides from all three sources by package-qualified short name.
void rtiget(std::string_view package, const std::string_view* names, int* values, int n);
// Logical overrides from all three sources by package-qualified short name.
void rtlget(std::string_view package, const std::string_view* names, bool* values, int n);
// Real overrides from all three sources by package-qualified short name.
void rtrget(std::string_view package, const std::string_view* names, float* values, int n);
// Character overrides from all three sources by package-qualified short name.
void rtcget(std::string_view package, const std::string_view* names, std::span<char>* values, int n);
// Integer overrides from all three sources by long name.
void rliget(const std::string_view* names, int* values, int n);
// Logical overrides from all three sources by long name.
void rllget(const std::string_view* names, bool* values, int n);
// Real overrides from all three sources by long name.
void rlrget(const std::string_view* names, float* values, int n);
// Character overrides from all three sources by long name.
void rlcget(const std::string_view* names, std::span<char>* values, int n);

// Configuration file.
void rpnxfl();
// Integer override from the configuration file by package-qualified short name.
void rtixfl(std::string_view package, std::string_view name, int& value);
// Logical override from the configuration file by package-qualified short name.
void rtlxfl(std::string_view package, std::string_view name, bool& value);
// Real override from the configuration file by package-qualified short name.
void rtrxfl(std::string_view package, std::string_view name, float& value);
// Character override from the configuration file by package-qualified short name.
void rtcxfl(std::string_view package, std::string_view name, std::span<char> value);
// Integer override from the configuration file by long name.
void rlixfl(std::string_view name, int& value);
// Logical override from the configuration file by long name.
void rllxfl(std::string_view name, bool& value);
// Real override from the configuration file by long name.
void rlrxfl(std::string_view name, float& value);
// Character override from the configuration file by long name.
void rlcxfl(std::string_view name, std::span<char> value);

// Environment variables.
void rpnenv();
// Integer override from the environment (PKG_NAME) by short name.
void rtienv(std::string_view package, std::string_view name, int& value);
// Logical override from the environment (PKG_NAME) by short name.
void rtlenv(std::string_view package, std::string_view name, bool& value);
// Real override from the environment (PKG_NAME) by short name.
void rtrenv(std::string_view package, std::string_view name, float& value);
// Character override from the environment (PKG_NAME) by short name.
void rtcenv(std::string_view package, std::string_view name, std::span<char> value);
// Integer override from the environment by long name.
void rlienv(std::string_view name, int& value);
// Logical override from the environment by long name.
void rllenv(std::string_view name, bool& value);
// Real override from the environment by long name.
void rlrenv(std::string_view name, float& value);
// Character override from the environment by long name.
void rlcenv(std::string_view name, std::span<char> value);

// Command-line options.
void rpnopt();
// Integer override from the command line (-PKG_NAME=value) by short name.
void rtiopt(std::string_view package, std::string_view name, int& value);
// Logical override from the command line (-PKG_NAME=value) by short name.
void rtlopt(std::string_view package, std::string_view name, bool& value);
// Real override from the command line (-PKG_NAME=value) by short name.
void rtropt(std::string_view package, std::string_view name, float& value);
// Character override from the command line (-PKG_NAME=value) by short name.
void rtcopt(std::string_view package, std::string_view name, std::span<char> value);
// Integer override from the command line (-LONG_NAME=value) by long name.
void rliopt(std::string_view name, int& value);
// Logical override from the command line (-LONG_NAME=value) by long name.
void rllopt(std::string_view name, bool& value);
// Real override from the command line (-LONG_NAME=value) by long name.
void rlropt(std::string_view name, float& value);
// Character override from the command line (-LONG_NAME=value) by long name.
void rlcopt(std::string_view name, std::span<char> value);

// Operating-system services.
void osqarn(int& n);
// Command-line argument i (0: the program name), blank-padded.
void osgarg(int i, std::span<char> arg);
// Value of environment variable `name`, blank when unset.
void osgenv(std::string_view name, std::span<char> value);
// Library version name ("zep-7.0.0").
void zepvnm(std::span<char> name);

// The library reads the program's arguments from the operating system; a
// program (or a test) may hand them over explicitly instead. argv[0] is the
// program name.
void zep_set_arguments(int argc, const char* const* argv);

// ---------------------------------------------------------------------------
// Character and number-text utilities
// ---------------------------------------------------------------------------

// Length without trailing blanks and NULs; 1 for an all-blank text.
int lenc(std::string_view c);
// Length without trailing blanks and NULs; 0 for an all-blank text.
int lenz(std::string_view c);
// Number of leading blanks and NULs, at most the length - 1.
int lenb(std::string_view c);
// Number of leading blanks and NULs, up to the length.
int leny(std::string_view c);
// Equal ignoring letter case, the shorter text padded with blanks.
bool lchreq(std::string_view a, std::string_view b);
// Whether every character is a decimal digit.
bool lchrd(std::string_view c);

// First element i (1..n, stride jd) equal to ch, case-sensitive; 0 when none.
int indxnf(std::string_view cx, int n, int jd, std::string_view ch);
// First element i (1..n, stride jd) equal to ch ignoring case; 0 when none.
int indxmf(std::string_view cx, int n, int jd, std::string_view ch);
// First element i whose first character is that of ch; 0 when none.
int indxcf(std::string_view cx, int n, int jd, std::string_view ch);
// Last element i whose first character is that of ch; 0 when none.
int indxcl(std::string_view cx, int n, int jd, std::string_view ch);
// Number of elements whose first character is that of ch.
int nindxc(std::string_view cx, int n, int jd, std::string_view ch);

// Shift left over leading blanks, blank-filling the end.
void cladj(std::span<char> c);
// Shift right so that the last non-blank character ends the text.
void cradj(std::span<char> c);
// Remove leading blanks and reduce inner runs of blanks to one.
void cdblk(std::span<char> c);
// A-Z to a-z.
void clower(std::span<char> c);

// Code 0-255 of the first character.
int isgc(std::string_view c);
// One-character text with code i mod 256.
std::string csgi(int i);
// Copy len characters of src and end them with a NUL behind the last non-blank.
void cfnchr(std::span<char> dst, std::string_view src, int len);

// Unsigned decimal integer of a number text.
int jfromc(std::string_view c);
// Signed decimal integer of a number text.
int ifromc(std::string_view c);
// Real in fixed-point notation of a number text.
float ffromc(std::string_view c);
// Real with optional exponent of a number text.
float rfromc(std::string_view c);
// Logical of a text ("T", ".FALSE." ...).
bool lfromc(std::string_view c);

// Replace the first occurrence of cpat in cx by ival written with format cfmt ("(I2)").
void chngi(std::span<char> cx, std::string_view cpat, int ival, std::string_view cfmt);

// ---------------------------------------------------------------------------
// File search and units
// ---------------------------------------------------------------------------

// First existing file among directories x names, joined without separator; blank when none.
void cfsrch(const std::string_view* directories, int np, const std::string_view* names, int nf,
            std::span<char> path);
// A free unit number (1 to 99) for a file.
int iufopn();

// ---------------------------------------------------------------------------
// Dates, times and calendar names
// ---------------------------------------------------------------------------

// Local date and time from the system clock.
void dateq3(int& iy, int& im, int& id);
// Local time from the system clock.
void timeq3(int& ih, int& im, int& is);
// Write a date or time into a template: "YYYY-MM-DD", "HH:MM:SS"; "C" fields take
// the month name, "W" fields the weekday name.
void datec3(std::span<char> cform, int iy, int im, int id);
// Write a time into a template such as "HH:MM:SS".
void timec3(std::span<char> cform, int ih, int im, int is);
void date32(int iy, int im, int id, int& itd);  // day of the year
int ndyear(int iy);                             // 365 or 366
void dateg2(int& n, int iy1, int itd1, int iy2, int itd2);  // days between two days of years
int iweek2(int iy, int itd);                    // weekday 1 (Sunday) to 7
int iweek3(int iy, int im, int id);             // weekday 1 (Sunday) to 7 of a date
std::string cmon(int im);   // "JANUARY  " ...
std::string cweek(int iw);  // "SUNDAY   " ...

// ---------------------------------------------------------------------------
// Numeric helpers
// ---------------------------------------------------------------------------

// Tolerant comparisons of reals. The relative forms use e = REPSL * RFACT.
bool lreq1(float x, float y);
// Not equal within the relative tolerance (LEPSL).
bool lrne1(float x, float y);
// Greater or equal within the relative tolerance.
bool lrge1(float x, float y);
// Less or equal within the relative tolerance.
bool lrle1(float x, float y);
// Equal within the absolute tolerance eps.
bool lreqa(float x, float y, float eps);
// Not equal within the absolute tolerance eps.
bool lrnea(float x, float y, float eps);
// Less than, by more than the absolute tolerance eps.
bool lrlta(float x, float y, float eps);
// Less or equal within the absolute tolerance eps.
bool lrlea(float x, float y, float eps);
// Greater or equal, exactly.
bool lrge0(float x, float y);
// Greater or equal, within the relative tolerance when LEPSL is on.
bool lrge(float x, float y);

// Extremes over a strided array (elements rx[0], rx[j], ..., rx[(n-1)j]; a
// negative stride walks below the pointer). The 1-forms skip RMISS; rmin and
// rmax choose by LMISS.
float rmin0(const float* rx, int n, int j);
// Largest element, all elements counted.
float rmax0(const float* rx, int n, int j);
// Smallest element, RMISS skipped.
float rmin1(const float* rx, int n, int j);
// Largest element, RMISS skipped.
float rmax1(const float* rx, int n, int j);
// Smallest element, RMISS skipped when LMISS is on.
float rmin(const float* rx, int n, int j);
// Largest element, RMISS skipped when LMISS is on.
float rmax(const float* rx, int n, int j);

// Strided copies, fills and sums.
void viset(const int* ix, int* iy, int n, int jx, int jy);
// Strided copy of n integers, as viset.
void viset0(const int* ix, int* iy, int n, int jx, int jy);
// Strided copy of n integers, as viset.
void viset1(const int* ix, int* iy, int n, int jx, int jy);
// Strided copy of n reals.
void vrset(const float* rx, float* ry, int n, int jx, int jy);
// Strided copy of n reals, as vrset.
void vrset0(const float* rx, float* ry, int n, int jx, int jy);
// Strided copy of n reals, as vrset.
void vrset1(const float* rx, float* ry, int n, int jx, int jy);
// Set n elements of ry (stride jy) to rc; rx is not read.
void vrcon0(const float* rx, float* ry, int n, int jx, int jy, float rc);
// Fill n elements of rx (stride jx) with rc.
void rset0(float* rx, int n, int jx, float rc);
// Sum of n integers.
int isum0(const int* ix, int n, int jx);

// Remainder in 0 .. id-1, also for negative i.
int imod(int i, int id);
// Largest i (1-based) with rx(i) <= x in an increasing sequence; 0 below rx(1).
int iblkge(const float* rx, int n, float x);

// pi.
float rfpi();
// Degrees to radians.
float rd2r(float x);
// Radians to degrees.
float rr2d(float x);

// Bit-pattern string ("1010") to integer; every character but '0' is a set bit.
void bitpci(std::string_view cp, int& ip);
// Left rotation by n mod 32 for n >= 0, logical right shift by -n for n < 0.
int ishift(int i, int n);

// Rotations and conversions of plane, spatial and spherical coordinates (radians).
void cr2c(float t, float x, float y, float& x2, float& y2);
// Rotate a spatial point by the Euler angles t, p, s (radians).
void cr3c(float t, float p, float s, float x, float y, float z, float& x2, float& y2, float& z2);
// Rotate a point of the sphere (ta, pa) by the Euler angles t, p, s (radians).
void cr3s(float t, float p, float s, float ta, float pa, float& tb, float& pb);
// Polar (r, t radians) to cartesian.
void ct2pc(float r, float t, float& x, float& y);
// Cartesian to polar (r, t radians).
void ct2cp(float x, float y, float& r, float& t);
// Bipolar (u, v) to cartesian.
void ct2bc(float u, float v, float& x, float& y);

}  // namespace zep
