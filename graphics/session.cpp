// Session control: opening a workstation for the graphics kernel, starting
// frames (and pages), closing. The only place that opens, pages and closes the
// workstation and sets the workstation transformation.
#include <algorithm>
#include <cstdlib>

#include <zep/zep.hpp>

#include "foundation/session_guard.hpp"
#include "graphics/session_hooks.hpp"

namespace zep {
namespace {

struct Session {
  bool lfirst = true;
  int iwsx = 0;
  int itr = 1;  // workstation transformation: 1 upright, 2 turned by 90 degrees
} session;

// The upper corner of the R window that fits a w x h rectangle: its longer side is 1.
void unitWindow(float w, float h, float& rxm, float& rym) {
  rxm = std::min(w / h, 1.0F);
  rym = std::min(h / w, 1.0F);
}

}  // namespace

void sgopn(int iws) {
  sgiset("IWS", iws);
  sginit();
}

void sginit() {
  guard::enter("SGINIT");
  session.lfirst = true;
  int maxwnu = 0;
  sgiget("IWS", session.iwsx);
  swiget("MAXWNU", maxwnu);
  // The magnitude in 64 bits: IWS may come from the environment, and the
  // magnitude of the most negative int has no int.
  const long long magnitude = std::llabs(static_cast<long long>(session.iwsx));
  if (magnitude <= 0 || magnitude > maxwnu) {
    msgdmp("E", "SGINIT", "WORKSTATION NUMBER IS INVALID.");
    return;
  }
  const int jws = static_cast<int>(magnitude);
  // State of the packages above that belongs to the last session goes now.
  hooks::runOpenHooks();
  swiset("IWS", jws);
  swdopn();
  bool finishOnSignal = true;
  swlget("LSIGNL", finishOnSignal);
  guard::sessionOpened(finishOnSignal);

  float wsxmn = 0, wsxmx = 0, wsymn = 0, wsymx = 0, fact = 0;
  swqrct(wsxmn, wsxmx, wsymn, wsymx, fact);
  float wx0 = wsxmx - wsxmn;
  float wy0 = wsymx - wsymn;
  session.itr = 1;
  if (session.iwsx < 0) {  // a turned page: the layout sees the workstation on its side
    std::swap(wx0, wy0);
    session.itr = 2;
  }
  stswrc(wsxmn, wsxmx, wsymn, wsymx);
  swsrot(session.itr);
  slinit(wx0, wy0, fact);

  float rxm = 0, rym = 0;
  unitWindow(wx0, wy0, rxm, rym);
  stswtr(0, rxm, 0, rym, 0, wx0, 0, wy0, session.itr);
  sgsvpt(0, rxm, 0, rym);
  sgswnd(0, 1, 0, 1);
  sgstrn(1);
  sgstrf();
}

void sgfrm() {
  guard::enter("SGFRM");
  int lev = 0, ifr = 0, ipg = 0;
  sgiget("NLEVEL", lev);
  sgiget("NFRAME", ifr);
  sgiget("NPAGE", ipg);
  ++ifr;
  int jfr = ifr;
  sgiset("NFRAME", ifr);
  int ipage = 0;
  slpage(lev, jfr, ipage);

  float xamin = 0, xamax = 0, yamin = 0, yamax = 0, rxm = 0, rym = 0;
  if (ipg != ipage) {
    if (session.lfirst) session.lfirst = false;
    else swpcls();
    sgiset("NPAGE", ipage);
    swpopn();
    slqrct(1, 1, xamin, xamax, yamin, yamax);
    unitWindow(xamax - xamin, yamax - yamin, rxm, rym);
    stswtr(0, rxm, 0, rym, xamin, xamax, yamin, yamax, session.itr);
    slpcnr();
    slpttl();
  }

  slqrct(lev, ifr, xamin, xamax, yamin, yamax);
  bool lfull = false;
  sglget("LFULL", lfull);
  if (lfull) {
    unitWindow(xamax - xamin, yamax - yamin, rxm, rym);
    stswtr(0, rxm, 0, rym, xamin, xamax, yamin, yamax, session.itr);
  } else {
    stswtr(0, 1, 0, 1, xamin, xamax, yamin, yamax, session.itr);
  }

  float rxmin = 0, rxmax = 0, rymin = 0, rymax = 0, wxmin = 0, wxmax = 0, wymin = 0, wymax = 0;
  int iwtrf = 0;
  stqwtr(rxmin, rxmax, rymin, rymax, wxmin, wxmax, wymin, wymax, iwtrf);
  sgsvpt(rxmin, rxmax, rymin, rymax);
  sgswnd(rxmin, rxmax, rymin, rymax);
  sgstrn(1);
  sgstrf();
}

void sgcls() {
  guard::enter("SGCLS");
  // Packages above finish what they keep for the last page while it is open.
  hooks::runCloseHooks();
  swpcls();
  swdcls();
  guard::sessionClosed();
}

}  // namespace zep
