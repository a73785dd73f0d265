// The workstation dispatcher: the one gate between the graphics kernel and the
// output driver. It gathers the parameters the driver needs at open, writes the
// session's progress messages, refuses drawing while nothing is open and forwards
// every other call to the driver operation of the same role.
#include <string>

#include <zep/zep.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/program_name.hpp"
#include "primitives/text_markup.hpp"
#include "workstation/driver_port.hpp"

namespace zep {
namespace workstation {
namespace {

constexpr DriverPort kRealDriver = {
    &zgdopn, &zgdcls, &zgpopn, &zgpcls, &zgflash, &zgoopn, &zgocls, &zgsfcm, &zgswdi, &zgscli,
    &zgslcl, &zgstcl, &zggopn, &zggmov, &zggplt, &zggcls, &zggton, &zgiopn, &zgidat, &zgiclr,
    &zgicls, &zgqpnt, &zgfint, &zgiint, &zgqwdc, &zgqclc, &zgqtnc, &zgqimc, &zgqptc, &zgqrct,
    &zgsrot, &zgclini, &zglset, &zgiset, &zgrset, &zgclip, &zgrclp, &zgtxt, &zgqtxw, &zgftfc,
    &zgsfw,  &zgnumfonts, &zgfontname, &zglistfonts, &zgselectfont, &zggtnm};

const DriverPort* currentPort = &kRealDriver;

}  // namespace

const DriverPort& driverPort() { return *currentPort; }
void setDriverPort(const DriverPort* port) { currentPort = port != nullptr ? port : &kRealDriver; }
const DriverPort& realDriverPort() { return kRealDriver; }

}  // namespace workstation

namespace {

using workstation::driverPort;

struct DispatcherState {
  bool lopen = false;
  bool pageOpen = false;  // a page has been opened and not yet closed
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

}  // namespace

void swdopn() {
  sgiget("IWS", state.jws);
  swiget("IWS", state.iws);
  swiget("IFL", state.ifl);

  std::string message = "GRPH1 : STARTED / IWS = ##.";
  chngi(message, "##", state.jws, "(I2)");
  msgdmp("M", "SWDOPN", message);

  int iwidth = 0, iheight = 0, iclrmap = 0, idmpdgt = 0, ibgpage = 0;
  bool lfgbg = false;
  std::string fname(80, ' ');
  std::string title(80, ' ');
  std::string colormap(80, ' ');
  if (state.iws == 1 || state.iws == 2) {
    swiget("IWIDTH", iwidth);
    swiget("IHEIGHT", iheight);
    swiget("ICLRMAP", iclrmap);
    swiget("IDMPDGT", idmpdgt);
    swiget("IBGPAGE", ibgpage);
    swlget("LFGBG", lfgbg);
    fname = swText("FNAME");
    title = swText("TITLE");

    swcmll();
    colormap = resolve("CLRMAP");
    std::string dspath(80, ' ');
    glcget("DSPATH", dspath);
    // A colormap found as the library's own default was not chosen by the user:
    // the colormap list picks it by number instead. File names are compared exactly:
    // a directory whose name differs only in letter case is another directory.
    if (text::trimmed(colormap) == std::string(text::trimmed(dspath)) + "colormap.x11") {
      std::string listed(80, ' ');
      swqcmf(iclrmap, listed);
      swcset("CLRMAP", listed);
    }
    colormap = resolve("CLRMAP");
    if (lenz(colormap) == 0) msgdmp("E", "SWDOPN", "COLORMAP FILE DOES NOT EXIST.");

    if (blankOrStar(fname)) fname = text::padded(os::programName(), 80);
    if (lenz(fname) == 0) fname = text::padded("zep", 80);
    if (blankOrStar(title)) zepvnm(title);
  }

  int iposx = 0, iposy = 0;
  bool lwait = false, lwait0 = false, lwait1 = false, lkey = false, lalt = false, ldump = false, lstdot = false;
  swiget("IPOSX", iposx);
  swiget("IPOSY", iposy);
  swlget("LWAIT", lwait);
  swlget("LWAIT0", lwait0);
  swlget("LWAIT1", lwait1);
  swlget("LKEY", lkey);
  swlget("LALT", lalt);
  swlget("LDUMP", ldump);
  swlget("LSTDOT", lstdot);

  const std::string bitmap = resolve("BITMAP");
  if (lenz(bitmap) == 0) msgdmp("E", "SWDOPN", "BITMAP FILE DOES NOT EXIST.");

  bool lwnd = false, lsep = false, lfprop = false;
  std::string cimgfmt(8, ' ');
  float rimgcmp = 0, rlwfact = 0;
  swlget("LWND", lwnd);
  swcget("CIMGFMT", cimgfmt);
  swrget("RIMGCMP", rimgcmp);
  swlget("LSEP", lsep);
  swrget("RLWFACT", rlwfact);
  sglget("LFPROP", lfprop);

  const workstation::DriverPort& d = driverPort();
  d.lset("lfprop", 6, lfprop);
  sendTextControls(text_engine::readTextControls());

  state.pageOpen = false;
  d.dopn(state.jws, iwidth, iheight, iposx, iposy, idmpdgt, ibgpage, rlwfact, lwait, lwait0, lwait1, lalt, lstdot,
         lkey, ldump, lwnd, lfgbg, lsep, state.ifl, cimgfmt, rimgcmp, colormap, bitmap, fname, title);
  state.lopen = true;
}

void swdcls() {
  driverPort().dcls();
  msgdmp("M", "SWDCLS", "GRPH1 : TERMINATED.");
  state.lopen = false;
}

void swpopn() {
  requireOpen("SWPOPN");
  driverPort().popn();
  state.pageOpen = true;
}

void swflsh() { driverPort().flash(); }

void swpcls() {
  requireOpen("SWPCLS");
  // A session closed before its first frame has no page: nothing was completed.
  if (state.lopen && !state.pageOpen) return;
  state.pageOpen = false;
  ++state.npage;
  std::string message = "GRPH1 : PAGE = ### COMPLETED.";
  chngi(message, "###", state.npage, "(I3)");
  msgdmp("M", "SWPCLS", message);
  driverPort().pcls();
}

void swoopn(std::string_view object, std::string_view comment) {
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
  requireOpen("SWGOPN");
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

void swgton(int np, const float* wpx, const float* wpy, int itpat) {
  requireOpen("SWGTON");
  driverPort().gton(np, wpx, wpy, itpat);
}

void swgtnm(int nring, const int* npts, const float* wpx, const float* wpy, int itpat) {
  requireOpen("SWGTNM");
  driverPort().gtnm(nring, npts, wpx, wpy, itpat);
}

void swiopn(int iwx, int iwy, int imw, int imh) {
  requireOpen("SWIOPN");
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
  std::string listed(80, ' ');
  swqcmf(iclrmap, listed);
  swcset("CLRMAP", listed);
  const std::string colormap = resolve("CLRMAP");
  bool lfgbg = false;
  swlget("LFGBG", lfgbg);
  if (lenz(colormap) == 0) {
    msgdmp("E", "SWDOPN", "COLORMAP FILE DOES NOT EXIST.");
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
