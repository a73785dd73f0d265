// The workstation dispatcher: the one gate between the graphics kernel and the
// output driver. It gathers the parameters the driver needs at open, writes the
// session's progress messages, refuses drawing while nothing is open and forwards
// every other call to the driver operation of the same role.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <zep/zep.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/program_name.hpp"
#include "foundation/report_context.hpp"
#include "foundation/session_guard.hpp"
#include "driver/zgpack_entries.hpp"
#include "primitives/text_markup.hpp"
#include "workstation/data_files.hpp"
#include "workstation/driver_port.hpp"
#include "workstation/sw_tables.hpp"
#include "workstation/swpack_internal.hpp"

namespace zep {
namespace workstation {
namespace {

constexpr DriverPort kRealDriver = {
    &zgdopn, &zgdcls, &zgpopn, &zgpcls, &zgflash, &zgoopn, &zgocls, &zgsfcm, &zgswdi, &zgscli,
    &zgslcl, &zgstcl, &zggopn, &zggmov, &zggplt, &zggcls, &zggton, &zgiopn, &zgidat, &zgiclr,
    &zgicls, &zgqpnt, &zgfint, &zgiint, &zgqwdc, &zgqclc, &zgqtnc, &zgqimc, &zgqptc, &zgqrct,
    &zgsrot, &zgclini, &zglset, &zgiset, &zgrset, &zgclip, &zgrclp, &zgtxt, &zgqtxw, &zgftfc,
    &zgsfw,  &zgnumfonts, &zgfontname, &zglistfonts, &zgselectfont, &zggtnm, &zgqfer, &zgqdsc,
    &zgsdsh, &zgglyph, &zgmark, &zgspag};

const DriverPort* currentPort = &kRealDriver;

}  // namespace

const DriverPort& driverPort() { return *currentPort; }
void setDriverPort(const DriverPort* port) { currentPort = port != nullptr ? port : &kRealDriver; }
const DriverPort& realDriverPort() { return kRealDriver; }

}  // namespace workstation

namespace {

using workstation::driverPort;

constexpr int kMaxSurfaceSide = 32767;  // cairo's largest image side

struct DispatcherState {
  bool lopen = false;
  bool pageOpen = false;  // a page has been opened and not yet closed
  bool openStopped = false;  // the last open found no data file to hand the driver
  int npage = 0;
  int jws = 0;
  int iws = 0;
  int ifl = 0;
} state;

// Entries that need an open workstation report under their own name and, when an
// error callback lets the report return, carry on as the caller asked.
void requireOpen(std::string_view routine) {
  if (!state.lopen) msgdmp("E", routine, "WORKSTATION IS NOT OPENED.");
}

// Drawing needs a page: what is drawn after sgopn and before the first sgfrm
// would land nowhere (no PNG file) or on no page, and the run would end as if
// all were well.
void requirePage(std::string_view routine) {
  if (!state.lopen) {
    requireOpen(routine);
    return;
  }
  if (!state.pageOpen) msgdmp("E", routine, "NO PAGE IS OPEN: CALL SGFRM BEFORE DRAWING.");
}

std::string swText(std::string_view name) {
  std::string value(80, ' ');
  swcget(name, value);
  return value;
}

bool blankOrStar(const std::string& s) {
  const std::string_view t = text::trimmed(s);
  return t.empty() || t == "*";
}

std::string resolve(std::string_view name) {
  std::string file(80, ' ');
  swqfnm(name, file);
  return file;
}

// The driver's copies of the text controls (its system-font text reads SMALL
// and SHIFT from them).
void sendTextControls(const text_engine::TextControls& c) {
  const workstation::DriverPort& d = driverPort();
  d.lset("lcntl", 5, c.enabled);
  d.iset("isup", 4, c.superscript);
  d.iset("isub", 4, c.subscript);
  d.iset("irst", 4, c.reset);
  d.rset("small", 5, c.small);
  d.rset("shift", 5, c.shift);
}

// Everything the driver's open is handed, gathered from the parameter tables.
struct OpenSettings {
  int iwidth = 0, iheight = 0, iclrmap = 0, idmpdgt = 0, ibgpage = 0, maxsurf = 0;
  bool lfgbg = false;
  std::string fname = std::string(80, ' ');
  std::string title = std::string(80, ' ');
  std::string colormap = std::string(80, ' ');
  std::string bitmap;
  int iposx = 0, iposy = 0;
  bool lwait = false, lwait0 = false, lwait1 = false, lkey = false, lalt = false, ldump = false, lstdot = false;
  bool lwnd = false, lsep = false;
  std::string cimgfmt = std::string(8, ' ');
  float rimgcmp = 0, rlwfact = 0;
  float pagew = 0, pageh = 0, dpi = 0;  // an exact page in cm (0: the A4 layout) and PNG pixels per inch
};

void announceOpen() {
  sgiget("IWS", state.jws);
  swiget("IWS", state.iws);
  swiget("IFL", state.ifl);
  std::string message = "GRPH1 : STARTED / IWS = ##.";
  chngi(message, "##", state.jws, "(I2)");
  msgdmp("M", "SWDOPN", message);
}

void readPageSettings(OpenSettings& o) {
  swiget("IWIDTH", o.iwidth);
  swiget("IHEIGHT", o.iheight);
  swiget("ICLRMAP", o.iclrmap);
  swiget("IDMPDGT", o.idmpdgt);
  swiget("IBGPAGE", o.ibgpage);
  swiget("MAXSURF", o.maxsurf);
  swlget("LFGBG", o.lfgbg);
  o.fname = swText("FNAME");
  o.title = swText("TITLE");
}

// A missing data file is reported with the names tried and every directory
// searched (the continuation lines of the written report).
void reportMissing(std::string_view parameter, std::string_view text, std::vector<std::string> before = {}) {
  std::vector<std::string> lines = data_files::notFoundLines(parameter);
  lines.insert(lines.begin(), before.begin(), before.end());
  const reports::ErrorContext context(std::move(lines));
  msgdmp("E", "SWDOPN", text);
}

// The colormap list's pick that the library itself wrote into SW CLRMAP (at an
// open, or at a colormap change): what CLRMAP held before it, and CLRMAP's store
// count right after the write.
struct ListPick {
  bool active = false;
  std::string before;
  unsigned long stamp = 0;
} listPick;

void recordListPick(std::string before) {
  listPick = {true, std::move(before), workstation::swTextStores("CLRMAP")};
}

// A pick written by an earlier open is the library's choice, not the caller's:
// unless the caller has stored CLRMAP since, CLRMAP goes back to what it held,
// so that this open picks from the list again by the current ICLRMAP. A CLRMAP
// the caller stored, even the same name, is theirs and wins.
void dropStaleListPick() {
  if (listPick.active && workstation::swTextStores("CLRMAP") == listPick.stamp) swcset("CLRMAP", listPick.before);
  listPick.active = false;
}

// False when no colormap at all can be handed to the driver (an error callback
// let the report return).
bool resolveColormap(OpenSettings& o) {
  swcmll();
  dropStaleListPick();
  const std::string chosen = swText("CLRMAP");
  o.colormap = resolve("CLRMAP");
  std::string dspath(80, ' ');
  glcget("DSPATH", dspath);
  // A colormap found as the library's own default was not chosen by the user:
  // the colormap list picks it by number instead. File names are compared exactly:
  // a directory whose name differs only in letter case is another directory.
  const std::string libraryDefault = text::asDirectory(dspath) + "colormap.x11";
  const bool fromList = text::trimmed(o.colormap) == libraryDefault;
  if (fromList) {
    std::string listed(80, ' ');
    swqcmf(o.iclrmap, listed);
    swcset("CLRMAP", listed);
  }
  const std::string found = resolve("CLRMAP");
  if (lenz(found) != 0) {
    o.colormap = found;
    if (fromList) recordListPick(chosen);
    return true;
  }
  std::vector<std::string> entry;
  if (fromList) entry.push_back("ICLRMAP = " + std::to_string(o.iclrmap) + " PICKS A BLANK OR MISSING LIST ENTRY.");
  reportMissing("CLRMAP", "COLORMAP FILE DOES NOT EXIST.", std::move(entry));
  if (!fromList) return false;
  // Reached only when an error callback let the report return: the library's
  // default colormap still exists, so the session goes on in its colours and
  // the next open chooses as this one did.
  swcset("CLRMAP", chosen);
  msgdmp("W", "SWDOPN", "THE DEFAULT COLORMAP " + libraryDefault + " IS USED.");
  return true;
}

void nameOutput(OpenSettings& o) {
  if (blankOrStar(o.fname)) o.fname = text::padded(os::programName(), 80);
  if (lenz(o.fname) == 0) o.fname = text::padded("zep", 80);
  if (blankOrStar(o.title)) zepvnm(o.title);
}

void readWaitSettings(OpenSettings& o) {
  swiget("IPOSX", o.iposx);
  swiget("IPOSY", o.iposy);
  swlget("LWAIT", o.lwait);
  swlget("LWAIT0", o.lwait0);
  swlget("LWAIT1", o.lwait1);
  swlget("LKEY", o.lkey);
  swlget("LALT", o.lalt);
  swlget("LDUMP", o.ldump);
  swlget("LSTDOT", o.lstdot);
}

bool resolveBitmap(OpenSettings& o) {
  o.bitmap = resolve("BITMAP");
  if (lenz(o.bitmap) != 0) return true;
  reportMissing("BITMAP", "BITMAP FILE DOES NOT EXIST.");
  return false;
}

void readOutputSettings(OpenSettings& o) {
  swlget("LWND", o.lwnd);
  swcget("CIMGFMT", o.cimgfmt);
  swrget("RIMGCMP", o.rimgcmp);
  swlget("LSEP", o.lsep);
  swrget("RLWFACT", o.rlwfact);
  swrget("PAGEW", o.pagew);
  swrget("PAGEH", o.pageh);
  swrget("DPI", o.dpi);
}

// The driver keeps its own copies of the text-control parameters from the open.
void handTextParametersToDriver() {
  bool lfprop = false;
  sglget("LFPROP", lfprop);
  driverPort().lset("lfprop", 6, lfprop);
  sendTextControls(text_engine::readTextControls());
}

// An integer setting outside [lo, hi] is an error naming it and its range; when
// an error callback lets the report return, the nearest allowed value is used.
void checkRange(std::string_view name, int& value, long long lo, long long hi, std::string_view allowed = {}) {
  if (value >= lo && value <= hi) return;
  std::string text = std::string(name) + " = " + std::to_string(value) + " IS OUT OF RANGE (";
  text += allowed.empty() ? std::to_string(lo) + " TO " + std::to_string(hi) : std::string(allowed);
  msgdmp("E", "SWDOPN", text + ").");
  value = static_cast<int>(std::clamp<long long>(value, lo, hi));
}

// The line-width factor multiplies every PDF line width: a positive finite
// factor up to 100, or 999 for widths that scale with the plot.
void checkLineWidthFactor(float& rlwfact) {
  if (rlwfact == 999.0F || (std::isfinite(rlwfact) && rlwfact > 0.0F && rlwfact <= 100.0F)) return;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%G", static_cast<double>(rlwfact));
  msgdmp("E", "SWDOPN",
         "RLWFACT = " + std::string(shown) + " IS OUT OF RANGE (>0 TO 100, OR 999).");
  rlwfact = 0.2F;
}

std::string shownReal(float value) {
  char shown[32];
  std::snprintf(shown, sizeof shown, "%G", static_cast<double>(value));
  return shown;
}

// An exact page needs both sides (cm, at most 10 m) and, for PNG pages, a
// resolution that keeps each side within MAXSURF pixels. A refused size falls
// back to the A4 layout when an error callback lets the report return.
void checkPageSize(OpenSettings& o) {
  if (o.pagew == 0.0F && o.pageh == 0.0F) return;
  for (auto [name, value] : {std::pair{"PAGEW", o.pagew}, std::pair{"PAGEH", o.pageh}}) {
    if (std::isfinite(value) && value > 0.0F && value <= 1000.0F) continue;
    msgdmp("E", "SWDOPN",
           std::string(name) + " = " + shownReal(value) + " IS OUT OF RANGE (>0 TO 1000 CM).");
    o.pagew = o.pageh = 0.0F;
    return;
  }
  if (!(std::isfinite(o.dpi) && o.dpi > 0.0F && o.dpi <= 10000.0F)) {
    msgdmp("E", "SWDOPN", "DPI = " + shownReal(o.dpi) + " IS OUT OF RANGE (>0 TO 10000).");
    o.dpi = 100.0F;
  }
  if (state.ifl != 1) return;
  const double side = std::round(std::max(o.pagew, o.pageh) / 2.54 * o.dpi);
  if (side <= o.maxsurf) return;
  msgdmp("E", "SWDOPN",
         "PAGE OF " + shownReal(o.pagew) + " X " + shownReal(o.pageh) + " CM AT DPI = " + shownReal(o.dpi) + " NEEDS " +
             std::to_string(static_cast<long long>(side)) + " PIXELS; MAXSURF = " + std::to_string(o.maxsurf) + ".");
  o.pagew = o.pageh = 0.0F;
}

// Sizes, counts and factors are checked where they are used: a format number,
// page number or size that the driver cannot honour (or that would overflow
// what is derived from it) is refused at open.
void checkSettings(OpenSettings& o) {
  if (state.iws == 1 || state.iws == 2) {
    checkRange("MAXSURF", o.maxsurf, 5, kMaxSurfaceSide);
    // The surface is 4 pixels wider and higher than the plot.
    checkRange("IWIDTH", o.iwidth, 1, o.maxsurf - 4LL);
    checkRange("IHEIGHT", o.iheight, 1, o.maxsurf - 4LL);
    checkRange("IDMPDGT", o.idmpdgt, 0, 32);
    checkRange("IBGPAGE", o.ibgpage, 1, 999999999);
  }
  if (state.iws == 2) {
    checkRange("IFL", state.ifl, 1, 4, "1-4: PNG EPS SVG PDF");
    if (state.ifl == 4) checkLineWidthFactor(o.rlwfact);
    checkPageSize(o);
  }
}

// A file the driver could not create or write is an error, not a page done.
bool reportUnwritableFile(std::string_view routine) {
  std::string file(200, ' '), cause(80, ' ');
  bool failed = false;
  driverPort().qfer(file, cause, failed);
  if (!failed) return false;
  msgdmp("E", routine,
         "CANNOT WRITE " + std::string(text::trimmed(file)) + " (" + std::string(text::trimmed(cause)) + ").");
  return true;
}

}  // namespace

void swdopn() {
  announceOpen();
  OpenSettings o;
  bool found = true;
  if (state.iws == 1 || state.iws == 2) {
    readPageSettings(o);
    found = resolveColormap(o);
    nameOutput(o);
  }
  readWaitSettings(o);
  found = resolveBitmap(o) && found;
  // Without its data files the driver cannot open (it would end the process);
  // an error callback that let the report return gets no workstation, and the
  // session's later calls report that nothing is open.
  state.openStopped = !found;
  if (!found) {
    state.lopen = false;
    return;
  }
  readOutputSettings(o);
  checkSettings(o);
  handTextParametersToDriver();

  state.pageOpen = false;
  // Only files have pages of a size; the window keeps IWIDTH x IHEIGHT.
  if (const auto spag = driverPort().spag; spag != nullptr) {
    if (state.iws == 2) spag(o.pagew, o.pageh, o.dpi);
    else spag(0.0, 0.0, 100.0);
  }
  driverPort().dopn(state.jws, o.iwidth, o.iheight, o.iposx, o.iposy, o.idmpdgt, o.ibgpage, o.rlwfact, o.lwait,
                    o.lwait0, o.lwait1, o.lalt, o.lstdot, o.lkey, o.ldump, o.lwnd, o.lfgbg, o.lsep, state.ifl,
                    o.cimgfmt, o.rimgcmp, o.colormap, o.bitmap, o.fname, o.title);
  state.lopen = true;
  reportUnwritableFile("SWDOPN");
}

void swdcls() {
  if (std::exchange(state.openStopped, false)) {
    msgdmp("M", "SWDCLS", "GRPH1 : TERMINATED.");
    return;
  }
  driverPort().dcls();
  reportUnwritableFile("SWDCLS");
  msgdmp("M", "SWDCLS", "GRPH1 : TERMINATED.");
  state.lopen = false;
}

void swpopn() {
  requireOpen("SWPOPN");
  driverPort().popn();
  state.pageOpen = true;
  reportUnwritableFile("SWPOPN");
}

void swflsh() { driverPort().flash(); }

void swqpag(bool& lpage) { lpage = state.lopen && state.pageOpen; }

void swpcls() {
  requireOpen("SWPCLS");
  // A session closed before its first frame has no page: nothing was completed.
  if (state.lopen && !state.pageOpen) return;
  state.pageOpen = false;
  // A file page is only completed once its file is written; the window's page
  // is completed on the screen before the driver waits for the user.
  const bool files = state.iws == 2;
  if (files) driverPort().pcls();
  if (files && reportUnwritableFile("SWPCLS")) return;
  if (state.npage < INT_MAX) ++state.npage;
  std::string message = "GRPH1 : PAGE = ### COMPLETED.";
  chngi(message, "###", state.npage, "(I3)");
  msgdmp("M", "SWPCLS", message);
  if (files) return;
  driverPort().pcls();
  reportUnwritableFile("SWPCLS");  // a page image dumped from the window
}

void swoopn(std::string_view object, std::string_view comment) {
  // Every primitive opens its object here: the gate for threads and signals.
  guard::enter("SWOOPN");
  requireOpen("SWOOPN");
  driverPort().oopn(object, comment);
}

void swocls(std::string_view object) {
  requireOpen("SWOCLS");
  driverPort().ocls(object);
}

void swqfcc(bool& lfcmod) { lfcmod = true; }
void swsfcm(bool lfcmod) { driverPort().sfcm(lfcmod); }

void swswdi(int iwdidx) {
  requireOpen("SWSWDI");
  driverPort().swdi(iwdidx);
}

void swscli(int iclidx) {
  requireOpen("SWSCLI");
  driverPort().scli(iclidx);
}

void swslcl(int rgb) { driverPort().slcl(rgb); }

void swgopn() {
  requirePage("SWGOPN");
  driverPort().gopn();
}

void swgmov(float x, float y) {
  requireOpen("SWGMOV");
  driverPort().gmov(x, y);
}

void swgplt(float x, float y) {
  requireOpen("SWGPLT");
  driverPort().gplt(x, y);
}

void swgcls() {
  requireOpen("SWGCLS");
  driverPort().gcls();
}

void swstcl(int rgb) { driverPort().stcl(rgb); }

void swqdsc(bool& capable) {
  capable = false;
  if (state.lopen) driverPort().qdsc(capable);
}

void swsdsh(const float* lengths, int n, float offset) {
  if (state.lopen) driverPort().sdsh(lengths, n, offset);
}

bool swglyph(long long shape, float x, float y, double a, double b, double c, double d, int nline, const int* npts,
             const float* u, const float* v) {
  // Without an open workstation the strokes make the report.
  const auto glyph = driverPort().glyph;
  return state.lopen && glyph != nullptr && glyph(shape, x, y, a, b, c, d, nline, npts, u, v);
}

bool swmark(long long shape, float x, float y, double a, double b, double c, double d, int nline, const int* npts,
            const float* u, const float* v, bool filled) {
  const auto mark = driverPort().mark;
  return state.lopen && mark != nullptr && mark(shape, x, y, a, b, c, d, nline, npts, u, v, filled);
}

void swgton(int np, const float* wpx, const float* wpy, int itpat) {
  requirePage("SWGTON");
  driverPort().gton(np, wpx, wpy, itpat);
}

void swgtnm(int nring, const int* npts, const float* wpx, const float* wpy, int itpat) {
  requirePage("SWGTNM");
  driverPort().gtnm(nring, npts, wpx, wpy, itpat);
}

void swiopn(int iwx, int iwy, int imw, int imh) {
  requirePage("SWIOPN");
  driverPort().iopn(iwx, iwy, imw, imh);
}

void swidat(const int* image, int nlen) {
  requireOpen("SWIDAT");
  driverPort().idat(image, nlen);
}

void swiclr(const int* image, int nlen) { driverPort().iclr(image, nlen); }

void swicls() {
  requireOpen("SWICLS");
  driverPort().icls();
}

void swqpnt(float& wx, float& wy, int& mb) {
  requireOpen("SWQPNT");
  driverPort().qpnt(wx, wy, mb);
}

void swfint(float wx, float wy, int& iwx, int& iwy) {
  requireOpen("SWFINT");
  driverPort().fint(wx, wy, iwx, iwy);
}

void swiint(int iwx, int iwy, float& wx, float& wy) {
  requireOpen("SWIINT");
  driverPort().iint(iwx, iwy, wx, wy);
}

void swqwdc(bool& lwdatr) { driverPort().qwdc(lwdatr); }

void swqclc(bool& lclatr) {
  requireOpen("SWQCLC");
  driverPort().qclc(lclatr);
}

void swqtnc(bool& ltnatr) { driverPort().qtnc(ltnatr); }
void swqimc(bool& limc) { driverPort().qimc(limc); }
void swqptc(bool& lptc) { driverPort().qptc(lptc); }

void swqrct(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx, float& fact) {
  requireOpen("SWQRCT");
  driverPort().qrct(wsxmn, wsxmx, wsymn, wsymx, fact);
}

void swsrot(int iwtrot) {
  requireOpen("SWSROT");
  driverPort().srot(iwtrot);
}

void swclch() {
  int iclrmap = 0;
  swiget("ICLRMAP", iclrmap);
  // Switching by number is a pick from the list as at open: the next open picks
  // again by its ICLRMAP unless the caller stores a CLRMAP.
  const bool picked = listPick.active && workstation::swTextStores("CLRMAP") == listPick.stamp;
  std::string before = picked ? listPick.before : text::padded("colormap", 80);
  std::string listed(80, ' ');
  swqcmf(iclrmap, listed);
  swcset("CLRMAP", listed);
  recordListPick(std::move(before));
  const std::string colormap = resolve("CLRMAP");
  bool lfgbg = false;
  swlget("LFGBG", lfgbg);
  if (lenz(colormap) == 0) {
    reportMissing("CLRMAP", "COLORMAP FILE DOES NOT EXIST.");
    return;
  }
  driverPort().clini(colormap, lfgbg);
}

// ---------------------------------------------------------------------------
// System-font text and fonts
// ---------------------------------------------------------------------------

namespace {

// The driver keeps its own copies of the text-control parameters; SMALL and
// SHIFT changed after open reach it only while LCNTL is on.
void refreshTextParameters() {
  const text_engine::TextControls controls = text_engine::readTextControls();
  if (controls.enabled) sendTextControls(controls);
  else driverPort().lset("lcntl", 5, false);
}

}  // namespace

void swtxt(float x, float y, float height, std::string_view text, int n, float angle, int icent) {
  if (state.lopen) requirePage("SWTXT");
  const workstation::DriverPort& d = driverPort();
  bool lclip = false;
  sgpget("LCLIP", lclip);
  d.rclp();
  if (lclip) {
    float vxmin = 0, vxmax = 0, vymin = 0, vymax = 0;
    sgqvpt(vxmin, vxmax, vymin, vymax);
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stfwtr(vxmin, vymin, x0, y0);
    stfwtr(vxmax, vymax, x1, y1);
    d.clip(x0, x1, y0, y1);
  }
  refreshTextParameters();
  d.txt(x, y, height, text, n, angle, icent);
  // The viewport clip belongs to this text only: lines and tones drawn later
  // (titles, marks, lines with clipping off) must not lose their parts outside it.
  if (lclip) d.rclp();
}

void swqtxw(std::string_view text, int n, float& wx, float& wy) {
  refreshTextParameters();
  driverPort().qtxw(text, n, wx, wy);
}

void swftfc(std::string_view font) { driverPort().ftfc(font); }

void swsfw(int iweight) { driverPort().sfw(iweight); }

void swftnm(int& n) { driverPort().numfonts(n); }

void swgtft(int i, std::span<char> name, int& n) { driverPort().fontname(i, name, n); }

void swlsft() { driverPort().listfonts(); }

void swslft(std::span<char> font) {
  // The toolkit runs only for the window; a file workstation has no dialog.
  if (state.iws == 2) {
    msgdmp("M", "SWSLFT", "DIALOG NEEDS WINDOW.DEFAULT FONT IS USED");
    return;
  }
  driverPort().selectfont(font);
}

}  // namespace zep
