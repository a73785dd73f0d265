// Every error report of the library, made under an error callback: each gives
// its exact report and returns, and a session afterwards still draws a file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "foundation/units.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

std::vector<std::string>& reports() {
  static std::vector<std::string> r;
  return r;
}
void record(std::string_view routine, std::string_view text) {
  reports().push_back(std::string(routine) + ": " + std::string(text));
}

struct Trigger {
  const char* subsystem;
  std::string report;
  std::function<void()> run;
};

void write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }

std::string numbered(int n) {
  std::string s = std::to_string(n) + "\n";
  for (int i = 1; i <= n; ++i) s += "colormap 'map " + std::to_string(i) + "'\n";
  return s;
}

// A Newton function that is flat where it is not zero, and one that never settles.
void flatAwayFromRoot(float, float, float& value, float& derivative) {
  value = 1.0F;
  derivative = 0.0F;
}
void neverSettles(float, float, float& value, float& derivative) {
  value = 1.0F;
  derivative = 1.0F;
}

// Reports made before any session: foundation and workstation services.
std::vector<Trigger> beforeSession() {
  float v = 0;
  int i = 0;
  return {
      // The configuration file of the working directory holds 101 entries.
      {"foundation", "RTNXFL: NUMBER OF INPUT PARAMETERS IS TOO LARGE (>100).", [&i] { zep::gliget("MAXMSG", i); }},
      {"foundation", "CMON: IM IS OUT OF RANGE (1-12).", [] { (void)zep::cmon(13); }},
      {"foundation", "CWEEK: IW IS OUT OF RANGE (1-7).", [] { (void)zep::cweek(0); }},
      {"foundation", "PRCCLS: THERE IS NO PROCESS TO BE CLOSED.", [] { zep::prccls("NOTHING"); }},
      {"foundation", "PRCOPN: TOO MANY NESTED PROCESSES (>16).",
       [] {
         for (int k = 0; k < 17; ++k) zep::prcopn("P" + std::to_string(k));
         for (int k = 15; k >= 0; --k) zep::prccls("P" + std::to_string(k));
       }},
      {"foundation", "PRCNAM: PROCESS LEVEL IS NEGATIVE.",
       [] {
         char name[32];
         zep::prcnam(-1, name);
       }},
      {"foundation", "IUFOPN: THERE IS NO UNIT TO BE OPENED.",
       [] {
         for (int u = 1; u <= 99; ++u) zep::units::open(u, "unit" + std::to_string(u), "w");
         (void)zep::iufopn();
         for (int u = 1; u <= 99; ++u) zep::units::close(u);
       }},
      {"foundation", "CFSRCH: LENGTH OF CHARACTER IS TOO SHORT TO STORE FILE NAME.",
       [] {
         write("a-rather-long-file-name", "x\n");
         const std::string_view dirs[] = {" "};
         const std::string_view names[] = {"a-rather-long-file-name"};
         char path[10];
         zep::cfsrch(dirs, 1, names, 1, path);
       }},
      {"foundation", "IMOD: ID .LE. 0.", [] { (void)zep::imod(5, 0); }},
      {"foundation", "IBLKGE: ORDER OF RX IS INVALID.",
       [] {
         const float rx[] = {3, 2, 1};
         (void)zep::iblkge(rx, 3, 2.5F);
       }},
      {"foundation", "JFROMC: THERE IS NO VALID CHARACTER.", [] { (void)zep::jfromc(""); }},
      {"foundation", "JFROMC: THERE IS A NON-NUMERAL CHARACTER.", [] { (void)zep::jfromc("1x"); }},
      {"foundation", "JFROMC: THE NUMBER IS OUT OF THE 32-BIT INTEGER RANGE.", [] { (void)zep::jfromc("99999999999"); }},
      {"foundation", "IFROMC: THERE IS NO VALID CHARACTER.", [] { (void)zep::ifromc("  "); }},
      {"foundation", "FFROMC: THERE IS NO VALID CHARACTER.", [] { (void)zep::ffromc(""); }},
      {"foundation", "FFROMC: THERE EXISTS A PERIOD ONLY.", [] { (void)zep::ffromc("."); }},
      {"foundation", "FFROMC: THE NUMBER HAS MORE THAN 16 DIGITS.", [] { (void)zep::ffromc("12345678901234567"); }},
      {"foundation", "FFROMC: THERE IS NO VALID CHARACTER.", [] { (void)zep::rfromc(""); }},
      {"foundation", "RFROMC: THE NUMBER IS OUT OF THE REAL RANGE.", [] { (void)zep::rfromc("1E39"); }},
      {"foundation", "LFROMC: THERE IS NO VALID CHARACTER.", [] { (void)zep::lfromc(" "); }},
      {"foundation", "LFROMC: THIS IS INVALID LOGICAL EXPRESSION.", [] { (void)zep::lfromc("yes"); }},
      {"foundation", "CHNGI: TEXT LENGTH IS TOO SHORT.",
       [] {
         std::string cx = "#";
         zep::chngi(cx, "###", 1, "(I3)");
       }},
      {"foundation", "GLIQID: PARAMETER 'NOSUCH' IS NOT DEFINED.", [&i] { zep::gliget("NOSUCH", i); }},
      {"foundation", "GLIQCP: IDX IS OUT OF RANGE.",
       [] {
         char name[8];
         zep::gliqcp(12, name);
       }},
      {"foundation", "GLIQVL: PARAMETER'INTMAX  ' CANNOT BE SET.", [] { zep::gliset("INTMAX", 1); }},
      {"foundation", "GLRQVL: PARAMETER'REALMAX ' CANNOT BE SET.", [] { zep::glrset("REALMAX", 1.0F); }},
      {"foundation", "MSGDMP: NLNSIZE = 0 IS OUT OF ITS RANGE, 1 TO 999.",
       [] {
         zep::gliset("NLNSIZE", 0);
         zep::msgdmp("M", "SWEEP", "A MESSAGE AT A LINE SIZE THAT CANNOT WORK.");
         zep::gliset("NLNSIZE", 78);
       }},
      {"workstation", "SWQCMN: COLORMAP LIST FILE SHOULD BE READ FIRST USING \"SWCMLL\"", [&i] { zep::swqcmn(i); }},
      {"workstation", "SWQFNM: PARAMETER NAME <TITLE> IS INVALID.",
       [] {
         char file[80];
         zep::swqfnm("TITLE", file);
       }},
      {"workstation", "SWIQVL: IDX IS OUT OF RANGE.", [&i] { zep::swiqvl(0, i); }},
      {"workstation", "SWRQID: PARAMETER 'RNOSUCH' IS NOT DEFINED.", [&v] { zep::swrget("RNOSUCH", v); }},
      {"workstation", "SWCMLL: COLORMAP LIST DOES NOT EXIST.",
       [] {
         zep::swcset("CMAPLIST", "no-such-list");
         zep::swcmll();
       }},
      {"workstation", "SWCMLL: COLORMAP LIST IS INVALID",
       [] {
         write("bad-list", "two\n");
         zep::swcset("CMAPLIST", "bad-list");
         zep::swcmll();
       }},
      {"workstation", "SWCMLL: COLORMAP LIST OVERFLOWS",
       [] {
         write("long-list", numbered(100));
         zep::swcset("CMAPLIST", "long-list");
         zep::swcmll();
       }},
      {"workstation", "SWCMLL: COLORMAP LIST ENTRY CLIMBS OUT OF ITS DIRECTORY.",
       [] {
         // The list is read once per process: the sessions below take theirs.
         write("climbing-list", "3\ncolormap 'in'\n'../../../../etc/passwd' 'out'\ncolormap_bw 'in too'\n");
         zep::swcset("CMAPLIST", "climbing-list");
         zep::swcmll();
       }},
      {"workstation", "SWQCMF: COLORMAP NUMBER < 0> IS OUT OF RANGE.",
       [] {
         char file[80];
         zep::swqcmf(0, file);
       }},
      {"workstation", "SWQCMD: COLORMAP NUMBER < 4> IS OUT OF RANGE.",
       [] {
         char text[80];
         zep::swqcmd(4, text);
       }},
      {"workstation", "SGPWSN: NUMBER OF WORKSTATIONS (MAXWNU) MUST BE 1 TO 99.",
       [] {
         zep::swiset("MAXWNU", 0);
         zep::sgpwsn();
         zep::swiset("MAXWNU", 2);
       }},
      {"workstation", "SWPOPN: WORKSTATION IS NOT OPENED.", [] { zep::swpopn(); }},
      {"graphics", "STQWRC: WORKSTATION RECTANGLE IS NOT DEFINED.",
       [&v] {
         float a = 0, b = 0, c = 0;
         zep::stqwrc(v, a, b, c);
       }},
      {"graphics", "SGINIT: WORKSTATION NUMBER IS INVALID.", [] { zep::sgopn(3); }},
      {"graphics", "SGPQCP: IDX IS OUT OF RANGE.",
       [] {
         char name[8];
         zep::sgpqcp(0, name);
       }},
      {"graphics", "SGPQVL: PARAMETER 'RDX' IS REAL, NOT INTEGER.",
       [&i] {
         int id = 0;
         zep::sgpqid("RDX", id);
         zep::sgpqvl(id, i);
       }},
      {"graphics", "SLSTTL: TITLE NUMBER IS OUT OF RANGE.", [] { zep::slsttl("TITLE", "T", 0, 0, 0.02F, 0); }},
      {"graphics", "SLDTTL: TITLE NUMBER IS OUT OF RANGE.", [] { zep::sldttl(99); }},
      {"graphics", "G2QGRD: NOT YET INITIALZED",
       [&v] {
         float a[7];
         zep::g2qgrd(1, 1, v, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
       }},
      {"primitives", "SZQFNW: FONT FILE HAS NOT BEEN LOADED.",
       [] {
         std::vector<float> a(256), b(256);
         zep::szqfnw(a.data(), b.data());
       }},
      {"primitives", "SZSCLL: RECTANGLE NUMBER IS INVALID.", [] { zep::szscll(0, 1, 0, 1, 2); }},
      {"graphics", "SGPQID: PARAMETER 'NOSUCH' IS NOT DEFINED.", [&i] { zep::sgpget("NOSUCH", i); }},
      {"graphics", "MPZNWT: DERIVATIVE IS ZERO AWAY FROM A ROOT.",
       [] {
         float th = 0.5F;
         zep::mpznwt(flatAwayFromRoot, 0.5F, th);
       }},
      {"graphics", "MPZNWT: EXCEEDING MAXIMUM ITERATIONS.",
       [] {
         float th = 0.5F;
         zep::mpznwt(neverSettles, 0.5F, th);
       }},
      {"graphics", "G2FCTR: NOT YET INITIALZED",
       [&v] {
         float w = 0;
         zep::g2fctr(0.5F, 0.5F, v, w);
       }},
      {"graphics", "G2ICTR: NOT YET INITIALZED",
       [&v] {
         float w = 0;
         zep::g2ictr(0.5F, 0.5F, v, w);
       }},
      {"graphics", "G2SCTR: NX MUST BE >= 2",
       [] {
         const float a[4] = {0, 1, 0, 1};
         zep::g2sctr(1, 2, a, a, a, a);
       }},
      {"graphics", "SLQSIZ: SIZE PARAMETER IS INVALID.",
       [&v] {
         float w = 0;
         zep::slqsiz("Z9", v, w);
       }},
      {"graphics", "STSWRC: WORKSTATION RECTANGLE IS INVALID.", [] { zep::stswrc(1, 0, 0, 1); }},
      {"graphics", "STSPR2: INVALID COORDINATE NUMBER (IX).", [] { zep::stspr2(4, 2, 0.5F); }},
      {"graphics", "STSPR2: INVALID COORDINATE NUMBER (IY).", [] { zep::stspr2(1, -4, 0.5F); }},
      // The workstation transformation.
      {"graphics", "STSWTR: WORKSTATION WINDOW DEFINITION IS INVALID.",
       [] { zep::stswtr(0.5F, 0.5F, 0, 1, 0, 1, 0, 1, 1); }},
      {"graphics", "STSWTR: WORKSTATION WINDOW IS NOT WITHIN THE NORMALIZED DEVICE COORDINATE UNIT SQUARE.",
       [] { zep::stswtr(0, 2, 0, 1, 0, 1, 0, 1, 1); }},
      {"graphics", "STSWTR: TRANSFORMATION FUNCTION NUMBER IS INVALID.", [] { zep::stswtr(0, 1, 0, 1, 0, 1, 0, 1, 3); }},
      {"graphics", "STSWTR: WORKSTATION VIEWPORT DEFINITION IS INVALID.",
       [] { zep::stswtr(0, 1, 0, 1, 1, 0, 0, 1, 1); }},
      // Page layout.
      {"graphics", "SLMGNZ: RECTANGLE DEFINITION IS INVALID.",
       [] {
         float a = 1, b = 0, c = 0, d = 1;
         zep::slmgnz(a, b, c, d, 0.1F, 0.1F, 0.1F, 0.1F);
       }},
      {"graphics", "SLMGNZ: MARGIN PARAMETER IS LESS THAN ZERO.",
       [] {
         float a = 0, b = 1, c = 0, d = 1;
         zep::slmgnz(a, b, c, d, -0.1F, 0.1F, 0.1F, 0.1F);
       }},
      {"graphics", "SLMGNZ: SUM OF MARGIN PARAMETERS IS LARGER THAN 1.0.",
       [] {
         float a = 0, b = 1, c = 0, d = 1;
         zep::slmgnz(a, b, c, d, 0.6F, 0.6F, 0.1F, 0.1F);
       }},
      {"graphics", "SLINIT: WIDTH OF LAYOUT RECTANGLE IS LESS THAN ZERO.", [] { zep::slinit(0, 1, 1); }},
      {"graphics", "SLINIT: SCALING FACTOR IS LESS THAN ZERO.", [] { zep::slinit(1, 1, 0); }},
      {"graphics", "SLPAGE: LEVEL NUMBER IS INVALID.",
       [] {
         int jfr = 1, ipage = 0;
         zep::slpage(-1, jfr, ipage);
       }},
      {"graphics", "SLQRCT: LEVEL NUMBER IS INVALID.",
       [] {
         float a = 0, b = 0, c = 0, d = 0;
         zep::slqrct(9, 1, a, b, c, d);
       }},
      // The curvilinear grid, before and after it is set up.
      {"graphics", "G2SCTR: NY MUST BE >= 2",
       [] {
         const float a[4] = {0, 1, 0, 1};
         zep::g2sctr(2, 1, a, a, a, a);
       }},
      {"graphics", "G2SCTR: UX IS NOT STRICTLY MONOTONIC",
       [] {
         const float u[2] = {1, 1}, c[4] = {0, 1, 0, 1};
         zep::g2sctr(2, 2, u, c, c, c);
       }},
      {"graphics", "G2SCTR: WORKING AREA NOT ENOUGH",
       [] {
         const float a[4] = {0, 1, 0, 1};
         zep::g2sctr(5000, 2, a, a, a, a);
       }},
      {"graphics", "G2SGRD: NX OR NY DOES NOT MATCH THE GRID AXES.",
       [] {
         const float a[4] = {0, 1, 0, 1};
         zep::g2sgrd(2, 2, a, a);
       }},
      // Stroke fonts that cannot be read.
      {"primitives", "SZQFNT: FONT FILE HAS NOT BEEN LOADED.",
       [] {
         std::vector<int> ipos(256);
         std::string ckx(4096, ' '), cky(4096, ' ');
         zep::szqfnt(ipos.data(), ckx, cky);
       }},
      {"primitives", "SZFONT: FONT FILE DOES NOT EXIST.",
       [] {
         zep::swcset("FONT1", "no-such-font");
         int counter = 0;
         zep::szfint(counter);
         zep::swcset("FONT1", "font1u");
       }},
      {"primitives", "SZFONT: FONT FILE <bad-font> HAS A RECORD OF WRONG LENGTH.",
       [] {
         write("bad-font", "not a font\n");
         zep::swcset("FONT1", "bad-font");
         int counter = 0;
         zep::szfint(counter);
         zep::swcset("FONT1", "font1u");
       }},
      // Contours before a field is set, and settings refused.
      {"contour", "CNMKLN: FIELD HAS NOT BEEN SET YET.", [] { zep::cnmkln(); }},
      {"contour", "CNSFLD: NX AND NY MUST BE AT LEAST 2.",
       [] {
         const float z[2] = {0, 1};
         zep::cnsfld(1, 2, z, nullptr, nullptr);
       }},
      {"contour", "CNSFLD: THE FIELD IS A NULL POINTER.", [] { zep::cnsfld(2, 2, nullptr, nullptr, nullptr); }},
      {"contour", "CNSFLD: X COORDINATES ARE NOT STRICTLY MONOTONIC.",
       [] {
         const float z[4] = {0, 1, 2, 3}, x[2] = {1, 1};
         zep::cnsfld(2, 2, z, x, nullptr);
       }},
      {"contour", "CNSFLD: Y COORDINATES ARE NOT STRICTLY MONOTONIC.",
       [] {
         const float z[4] = {0, 1, 2, 3}, y[2] = {2, 2};
         zep::cnsfld(2, 2, z, nullptr, y);
       }},
      {"contour", "CNSLVI: THE INTERVAL IS NOT POSITIVE.", [] { zep::cnslvi(0, 0); }},
      {"contour", "CNSLVL: THE NUMBER OF LEVELS IS NEGATIVE.", [] { zep::cnslvl(-1, nullptr); }},
      {"contour", "CNSLVL: LEVELS ARE NOT STRICTLY INCREASING.",
       [] {
         const float l[2] = {1, 1};
         zep::cnslvl(2, l);
       }},
      {"contour", "CNQLVL: LEVEL NUMBER IS OUT OF RANGE.",
       [] {
         // Two listed levels need no field.
         const float listed[2] = {1, 2};
         zep::cnslvl(2, listed);
         float level = 0;
         zep::cnqlvl(3, level);
       }},
      {"contour", "CNSBDT: BAND NUMBER IS OUT OF RANGE.", [] { zep::cnsbdt(9, 1); }},
      {"contour", "CNQBDT: BAND NUMBER IS OUT OF RANGE.",
       [] {
         int itpat = 0;
         zep::cnqbdt(-1, itpat);
       }},
      {"contour", "CNBARP: SIDE MUST BE R, L, T OR B.", [] { zep::cnbarp("Q"); }},
      {"contour", "CNBARV: THE RECTANGLE IS EMPTY.", [] { zep::cnbarv(0.5F, 0.5F, 0.1F, 0.2F); }},
      // Axes settings refused.
      {"axes", "AXSSID: SIDE IS INVALID (B, T, L OR R).", [] { zep::axssid("Q", true, true); }},
      {"axes", "AXSTDR: TICK DIRECTION IS INVALID (0 TO 3).", [] { zep::axstdr("B", 7); }},
      {"axes", "AXSSTP: TICK INTERVAL IS INVALID.", [] { zep::axsstp("B", -1, 1); }},
      {"axes", "AXSTIM: TIME UNIT IS INVALID (D, H OR S).", [] { zep::axstim("B", 2000, 1, 1, "Q"); }},
      {"axes", "AXSTIM: DATE IS INVALID.", [] { zep::axstim("B", 2000, 13, 1, "D"); }},
      {"axes", "AXSATR: LABEL HEIGHT OR INDEX IS INVALID.", [] { zep::axsatr("B", -1, 1, 1); }},
      {"axes", "AXQLBL: TICK NUMBER IS OUT OF RANGE.",
       [] {
         char label[32];
         zep::axqlbl("B", 999, label);
       }},
      {"axes", "AXLGLN: LINE INDEX IS LESS THAN 0.", [] { zep::axlgln(-1, 1, "A"); }},
      {"axes", "AXLGMK: MARKER INDEX OR SIZE IS LESS THAN 0.", [] { zep::axlgmk(1, 1, -1, "A"); }},
      {"axes", "AXLGPV: CORNER IS INVALID (TR, TL, BR OR BL).", [] { zep::axlgpv("QQ"); }},
      {"axes", "AXQMLB: LABEL NUMBER IS OUT OF RANGE.",
       [] {
         float a = 0, b = 0, c = 0, d = 0;
         char label[32];
         zep::axqmlb(999, a, b, c, d, label);
       }},
      // Opens (after the rows that need none) whose data files are missing: a blank list entry falls back to
      // the default colormap; without a bitmap the open stops.
      {"workstation", "SWDOPN: COLORMAP FILE DOES NOT EXIST.",
       [] {
         zep::swiset("ICLRMAP", 2);
         zep::swistx("IFL", 1);
         zep::swcset("FNAME", "fallback");
         zep::sgopn(2);
         zep::sgfrm();
         zep::sgcls();
         zep::swiset("ICLRMAP", 1);
       }},
      {"workstation", "SWDOPN: BITMAP FILE DOES NOT EXIST.",
       [] {
         zep::swcset("BITMAP", "no-such-bitmap");
         zep::sgopn(2);
         zep::sgfrm();
         zep::sgcls();
         zep::swcset("BITMAP", "bitmap");
       }},
  };
}

// Reports made inside a session on a PNG file.
std::vector<Trigger> inSession() {
  const float x[] = {0.2F, 0.8F};
  const float y[] = {0.2F, 0.8F};
  return {
      {"graphics", "SGSTRF: WINDOW DEFINITION IS INVALID.",
       [] {
         zep::sgswnd(1, 1, 0, 1);
         zep::sgstrf();
         zep::sgswnd(0, 1, 0, 1);
       }},
      {"graphics", "SGSTRF: VIEWPORT DEFINITION IS INVALID.",
       [] {
         zep::sgsvpt(0.5F, 0.5F, 0.1F, 0.9F);
         zep::sgstrf();
         zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
       }},
      {"graphics", "SGSTRF: THE REGION STRADDLES 0 FOR LOG TRANSFORMATION (X).",
       [] {
         zep::sgswnd(-1, 1, 1, 10);
         zep::sgstrn(4);
         zep::sgstrf();
         zep::sgswnd(0, 1, 0, 1);
         zep::sgstrn(1);
       }},
      {"graphics", "SGSTRF: TRANSFORMATION FUNCTION NUMBER IS INVALID.",
       [] {
         zep::sgstrn(77);
         zep::sgstrf();
         zep::sgstrn(1);
       }},
      {"graphics", "SLDIV : DIVISION DIRECTION IS INVALID.", [] { zep::sldiv("Q", 2, 2); }},
      {"graphics", "SLDIV : NUMBER OF COLUMNS AND ROWS MUST BE 1 OR MORE.", [] { zep::sldiv("Y", 0, 2); }},
      {"graphics", "SLSIZE: SIZE PARAMETER IS INVALID.", [] { zep::slsize("Z9"); }},
      {"graphics", "SLPWVC: LINE INDEX IS LESS THAN ZERO.", [] { zep::slpwvc(-1, 0.1F); }},
      {"graphics", "SLPWVC: LENGTH OF CORNER MARKS IS LESS THAN ZERO.", [] { zep::slpwvc(1, -0.1F); }},
      {"graphics", "SLSTTL: SIDE PARAMETER IS INVALID.", [] { zep::slsttl("TITLE", "Q", 0, 0, 0.02F, 1); }},
      {"graphics", "SLZTTL: INVALID SIDE PARAMETER.", [] { zep::slzttl("Q", "TITLE", 0, 0, 0.02F, 1); }},
      {"graphics", "SLSTTL: TEXT HEIGHT IS LESS THAN ZERO.", [] { zep::slsttl("TITLE", "T", 0, 0, -1, 1); }},
      {"primitives", "SGLNU: LINE INDEX IS LESS THAN 0.",
       [] {
         zep::sgslni(-1);
         zep::sglnu(0.2F, 0.2F, 0.8F, 0.8F);
         zep::sgslni(1);
       }},
      {"primitives", "SGPLU: NUMBER OF POINTS IS LESS THAN 0.", [x, y] { zep::sgplu(-1, x, y); }},
      {"primitives", "SGPLU: POLYLINE INDEX IS LESS THAN 0.",
       [x, y] {
         zep::sgspli(-1);
         zep::sgplu(2, x, y);
         zep::sgspli(1);
       }},
      {"primitives", "SGPMU: NUMBER OF POINTS IS LESS THAN 0.", [x, y] { zep::sgpmu(-1, x, y); }},
      {"primitives", "SGPMU: MARKER TYPE IS INVALID.",
       [x, y] {
         zep::sgspmt(-1);
         zep::sgpmu(2, x, y);
         zep::sgspmt(1);
       }},
      {"primitives", "SGPMU: MARKER INDEX IS LESS THAN 0.",
       [x, y] {
         zep::sgspmi(-1);
         zep::sgpmu(2, x, y);
         zep::sgspmi(1);
       }},
      {"primitives", "SGPMU: MARKER SIZE IS LESS THAN 0.",
       [x, y] {
         zep::sgspms(-1);
         zep::sgpmu(2, x, y);
         zep::sgspms(0.01F);
       }},
      {"primitives", "SGTNU: NUMBER OF POINTS IS LESS THAN 0.", [x, y] { zep::sgtnu(-1, x, y); }},
      {"primitives", "SGTNU: TONE PATTERN NUMBER IS LESS THAN 0.",
       [x, y] {
         zep::sgstnp(-1);
         zep::sgtnu(2, x, y);
         zep::sgstnp(1);
       }},
      {"primitives", "SGTXU: TEXT HEIGHT IS LESS THAN ZERO.",
       [] {
         zep::sgstxs(-1);
         zep::sgtxu(0.5F, 0.5F, "A");
         zep::sgstxs(0.05F);
       }},
      {"primitives", "SGTXU: CENTERING OPTION IS INVALID.",
       [] {
         zep::sgstxc(7);
         zep::sgtxu(0.5F, 0.5F, "A");
         zep::sgstxc(0);
       }},
      {"primitives", "SGTXU: TEXT INDEX IS LESS THAN 0.",
       [] {
         zep::sgstxi(-1);
         zep::sgtxu(0.5F, 0.5F, "A");
         zep::sgstxi(1);
       }},
      {"primitives", "SZINIT: FONT NUMBER IS OUT OF RANGE.",
       [] {
         zep::sgiset("IFONT", 3);
         zep::sgtxu(0.5F, 0.5F, "A");
         zep::sgiset("IFONT", 1);
       }},
      {"primitives", "SZQCHZ: TEXT HAS NOT BEEN SET YET.",
       [] {
         char text[8];
         float h = 0;
         zep::szqchz(text, h);
       }},
      // The rest of the page layout.
      {"graphics", "SLDIV : NUMBER OF DIVISION IS IN EXCESS OF MUXIMUM.",
       [] {
         zep::slinit(1, 1, 1);
         zep::sldiv("Y", 2, 2);
         zep::sldiv("Y", 2, 2);
         zep::sldiv("Y", 2, 2);
         zep::slinit(1, 1, 1);
       }},
      {"graphics", "SLDIV : TOTAL FRAME NUMBER IS IN EXCESS OF MAXIMUM.",
       [] {
         zep::slinit(1, 1, 1);
         zep::sldiv("Y", 200, 200);
         zep::slinit(1, 1, 1);
       }},
      // Transformation functions.
      {"graphics", "STFTRN: UX HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0",
       [] {
         float vx = 0, vy = 0;
         zep::sgswnd(1, 10, 1, 10);
         zep::sgstrn(4);
         zep::sgstrf();
         zep::stftrn(-1, 5, vx, vy);
       }},
      {"graphics", "STFTRN: UY HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0",
       [] {
         float vx = 0, vy = 0;
         zep::stftrn(5, 0, vx, vy);
         zep::sgswnd(0, 1, 0, 1);
         zep::sgstrn(1);
         zep::sgstrf();
       }},
      {"graphics", "STITRN: INVERSE TRANSFORMATION IS NOT DEFINED FOR ITR=6.",
       [] {
         float x = 0, y = 0;
         zep::sgswnd(-1, 1, -1, 1);
         zep::sgstrn(6);
         zep::sgstrf();
         zep::stitrn(0.5F, 0.5F, x, y);
         zep::sgswnd(0, 1, 0, 1);
         zep::sgstrn(1);
         zep::sgstrf();
       }},
      {"graphics", "SGSTRF: (ITR:51) NOT YET INITIALIZED. CALL G2SCTR.",
       [] {
         zep::sgstrn(51);
         zep::sgstrf();
         zep::sgstrn(1);
         zep::sgstrf();
       }},
      // Stroke-font text and its control characters.
      {"primitives", "SZQTXW: NO VALID SUP CHARACTER.",
       [] {
         int nc = 0;
         float w = 0, h = 0;
         zep::sglset("LCNTL", true);
         zep::szqtxw("A|\"", nc, w, h);
         zep::sglset("LCNTL", false);
       }},
      {"primitives", "SZQTXW: CONTROL CHARACTERS ARE NOT IN GOOD AGREEMENT.",
       [] {
         int nc = 0;
         float w = 0, h = 0;
         zep::sglset("LCNTL", true);
         zep::szqtxw("A|B", nc, w, h);
         zep::sglset("LCNTL", false);
       }},
      {"primitives", "SZTXWV: CONTROL CHARACTER CODE IS OUT OF RANGE (0-255).",
       [] {
         zep::sgiset("ISUP", 300);
         zep::sglset("LCNTL", true);
         zep::sgtxv(0.5F, 0.5F, "A");
         zep::sglset("LCNTL", false);
         zep::sgiset("ISUP", 124);
       }},
      {"primitives", "SZTXWV: STRING LENGTH TOO LONG. CONSIDER USING SYSTEM FONT.",
       [] { zep::sgtxv(0.5F, 0.5F, std::string(100, 'A')); }},
      // Labelled lines with a refused label setting.
      {"primitives", "SZOPLC: PARAMETER 'FWC' IS LESS THAN 1.",
       [x, y] {
         zep::sglset("LCHAR", true);
         zep::szschz("A", 0.02F);
         zep::sgrset("FWC", 0.5F);
         zep::sgplu(2, x, y);
         zep::sgrset("FWC", 1.25F);
         zep::szcrst();
         zep::sglset("LCHAR", false);
       }},
      // Polylines, markers and fills at the other levels.
      {"primitives", "SGPLV: NUMBER OF POINTS IS LESS THAN 0.", [x, y] { zep::sgplv(-1, x, y); }},
      {"primitives", "SGPLZR: POLYLINE INDEX IS LESS THAN 0.", [x, y] { zep::sgplzr(2, x, y, 1, -1); }},
      {"primitives", "SGPMZV: MARKER SIZE IS NOT FINITE.",
       [x, y] { zep::sgpmzv(2, x, y, 1, 1, std::nanf("")); }},
      {"primitives", "SGPMR: MARKER TYPE IS INVALID.",
       [x, y] {
         zep::sgspmt(-1);
         zep::sgpmr(2, x, y);
         zep::sgspmt(1);
       }},
      {"primitives", "SGTNZV: TONE PATTERN NUMBER IS LESS THAN 0.", [x, y] { zep::sgtnzv(2, x, y, -1); }},
      {"primitives", "SGTNR: NUMBER OF POINTS IS LESS THAN 0.", [x, y] { zep::sgtnr(-1, x, y); }},
      // Axes and contours that need a drawing context.
      {"axes", "AXPPOL: TRANSFORMATION IS NOT POLAR (ITR=5).", [] { zep::axppol(); }},
      {"axes", "AXPMAP: TRANSFORMATION IS NOT A MAP PROJECTION.", [] { zep::axpmap(); }},
      {"contour", "CNLINU: LINE INDEX IS LESS THAN 0.",
       [] {
         const float z[4] = {0, 1, 1, 2};
         zep::cnsfld(2, 2, z, nullptr, nullptr);
         zep::cnslva();
         zep::cnslat(1, -1, 1, false);
         zep::cnlinu();
         zep::cnslva();
       }},
      // Vector fields: every report returns and leaves the field as it was.
      {"vector", "VCSFLD: NX AND NY MUST BE AT LEAST 2.", [x] { zep::vcsfld(1, 1, x, x, nullptr, nullptr); }},
      {"vector", "VCSFLD: X COORDINATES ARE NOT STRICTLY MONOTONIC.",
       [] {
         const float a[4] = {1, 2, 3, 4}, same[2] = {1, 1};
         zep::vcsfld(2, 2, a, a, same, nullptr);
       }},
      {"vector", "VCSPNT: THE NUMBER OF POINTS N IS NOT POSITIVE.", [x, y] { zep::vcspnt(0, x, y, x, y); }},
      {"vector", "VCARWU: NO VECTOR FIELD HAS BEEN SET (VCSFLD OR VCSPNT).", [] { zep::vcarwu(); }},
      {"vector", "VCARWU: ARROW SCALE (VC SCALE) IS NEGATIVE OR NOT FINITE.",
       [x, y] {
         zep::vcspnt(2, x, y, x, y);
         zep::vcrset("SCALE", -1.0F);
         zep::vcarwu();
         zep::vcrset("SCALE", 0.0F);
       }},
      {"vector", "VCBRBU: BARB LENGTH (VC BARBLN) IS NOT POSITIVE.",
       [] {
         zep::vcrset("BARBLN", 0.0F);
         zep::vcbrbu();
         zep::vcrset("BARBLN", 0.035F);
       }},
      {"vector", "VCKEYP: CORNER MUST BE \"TR\", \"TL\", \"BR\" OR \"BL\".", [] { zep::vckeyp("MIDDLE", 1, "1"); }},
      {"vector", "VCKEYV: THE KEY'S MAGNITUDE IS NOT POSITIVE.", [] { zep::vckeyv(0.5F, 0.5F, -1, "1"); }},
      {"vector", "VCQBRB: THE SPEED IS NEGATIVE OR NOT FINITE.",
       [] {
         int a = 0, b = 0, c = 0;
         zep::vcqbrb(std::nanf(""), a, b, c);
       }},
      {"vector", "VCSTMU: STREAMLINES NEED A GRIDDED FIELD (VCSFLD).", [] { zep::vcstmu(); }},
      {"vector", "VCMKST: VC DTEST MUST BE POSITIVE AND AT MOST VC DSEP.",
       [] {
         const float a[4] = {1, 1, 1, 1};
         zep::vcsfld(2, 2, a, a, nullptr, nullptr);
         zep::vcrset("DTEST", 1.0F);
         zep::vcmkst();
         zep::vcrset("DTEST", 0.015F);
       }},
      {"vector", "VCQSTI: STREAMLINE NUMBER IS OUT OF RANGE.",
       [] {
         zep::vcmkst();
         int np = -1;
         bool closed = false;
         zep::vcqsti(100000, np, closed);
       }},
      // The curvilinear grid once it is set up.
      {"graphics", "G2QGRD: CELL INDEX IS OUT OF RANGE.",
       [] {
         const float u[2] = {0, 1}, cx[4] = {0, 1, 0, 1}, cy[4] = {0, 0, 1, 1};
         zep::g2sctr(2, 2, u, u, cx, cy);
         float a[8];
         zep::g2qgrd(2, 1, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
       }},
      {"graphics", "G2ICTR: OUT OF THE WHOLE DOMAIN",
       [] {
         float ux = 0, uy = 0;
         zep::g2ictr(5, 5, ux, uy);
       }},
      {"graphics", "G2SGRD: NX OR NY DOES NOT MATCH THE GRID AXES.",
       [] {
         const float a[9] = {};
         zep::g2sgrd(3, 3, a, a);
       }},
  };
}

bool drawsAPage(const std::string& stem) {
  zep::swcset("FNAME", stem);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sgslni(3);
  zep::sglnu(0.1F, 0.5F, 0.9F, 0.5F);
  zep::sgcls();
  return true;
}

std::string run(const std::vector<Trigger>& triggers) {
  std::string bad;
  for (const Trigger& t : triggers) {
    reports().clear();
    t.run();
    if (reports().empty() || reports().front() != t.report) {
      bad += std::string(t.subsystem) + ": wanted [" + t.report + "], got";
      for (const std::string& r : reports()) bad += " [" + r + "]";
      bad += "\n";
    }
  }
  return bad;
}

TEST(ErrorSweep, EveryErrorReportReturnsAndDrawingGoesOn) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string rc;
    for (int k = 0; k < 101; ++k) rc += "SWEEP_X" + std::to_string(k) + " 1\n";
    write(".zeprc", rc);
    zep::set_msgdmp_err_func(record);
    std::string bad = run(beforeSession());
    zep::swistx("IFL", 1);  // PNG pages
    zep::swcset("FNAME", "during");
    zep::sgopn(2);
    zep::sgfrm();
    zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
    zep::sgswnd(0, 1, 0, 1);
    zep::sgstrn(1);
    zep::sgstrf();
    bad += run(inSession());
    zep::sgcls();

    // A session after all of them draws a valid page with the line on it.
    reports().clear();
    drawsAPage("after");
    for (const std::string& r : reports()) bad += "after the sweep: [" + r + "]\n";
    std::string page;
    for (const auto& e : fs::directory_iterator("."))
      if (e.path().filename().string().rfind("after_", 0) == 0) page = e.path().string();
    const zeptest::Png png(page);
    if (!png.ok()) return bad + "no valid page after the sweep\n";
    // The line runs across the middle of the viewport, some 400 pixels long.
    int dark = 0;
    for (int py = 0; py < png.height(); ++py)
      for (int px = 0; px < png.width(); ++px)
        if (png.pixel(px, py) != 0xFFFFFF) ++dark;
    if (dark < 400) bad += "the line is missing from the page after the sweep\n";
    return bad;
  });
}

}  // namespace
