// Page titles and corner marks, drawn at every new page under the page-wide
// workstation transformation, in R, with the R-level clipping rectangle widened
// to the whole workstation for the time of the drawing.
#include <array>
#include <string>

#include <zep/zep.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/program_name.hpp"

namespace zep {
namespace {

constexpr std::size_t kTitleWidth = 100;
constexpr int kTitleSlots = 5;

struct Title {
  bool set = false;
  std::string text;
  char side = 'T';
  float px = 0.0F;
  float py = 0.0F;
  float height = 0.0F;
};

std::array<Title, kTitleSlots>& titles() {
  static std::array<Title, kTitleSlots> slots;
  return slots;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool validSlot(int nt, std::string_view routine) {
  if (nt >= 1 && nt <= kTitleSlots) return true;
  msgdmp("E", routine, "TITLE NUMBER IS OUT OF RANGE.");
  return false;
}

struct Rect {
  float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
};

// The whole workstation in R, and the page's R window; the R-level clipping
// rectangle is saved and widened to the workstation until the object goes.
class WorkstationInR {
 public:
  WorkstationInR() {
    float wxmin = 0, wxmax = 0, wymin = 0, wymax = 0;
    int function = 1;
    stqwtr(page.xmin, page.xmax, page.ymin, page.ymax, wxmin, wxmax, wymin, wymax, function);
    float sxmin = 0, sxmax = 0, symin = 0, symax = 0;
    stqwrc(sxmin, sxmax, symin, symax);
    if (function == 2) std::swap(symin, symax);
    stiwtr(sxmin, symin, whole.xmin, whole.ymin);
    stiwtr(sxmax, symax, whole.xmax, whole.ymax);
    szqcll(saved_.xmin, saved_.xmax, saved_.ymin, saved_.ymax, 0);
    szscll(whole.xmin, whole.xmax, whole.ymin, whole.ymax, 0);
  }
  ~WorkstationInR() { szscll(saved_.xmin, saved_.xmax, saved_.ymin, saved_.ymax, 0); }
  WorkstationInR(const WorkstationInR&) = delete;
  WorkstationInR& operator=(const WorkstationInR&) = delete;

  Rect page;
  Rect whole;

 private:
  Rect saved_;
};

std::string keywordValue(std::string_view keyword) {
  if (lchreq(keyword, "PAGE")) {
    int page = 0;
    sgiget("NPAGE", page);
    std::string field = "##";
    chngi(field, "##", page, "(I2)");
    return field;
  }
  if (lchreq(keyword, "DATE")) {
    int y = 0, m = 0, d = 0;
    dateq3(y, m, d);
    std::string field = "YY/MM/DD";
    datec3(field, y, m, d);
    return field;
  }
  if (lchreq(keyword, "TIME")) {
    int h = 0, mi = 0, s = 0;
    timeq3(h, mi, s);
    std::string field = "HH:MM:SS";
    timec3(field, h, mi, s);
    return field;
  }
  if (lchreq(keyword, "PROG")) return os::programName().substr(0, 16);
  std::string value(16, ' ');
  osgenv("USER", value);
  return value;
}

bool isKeyword(std::string_view word) {
  for (const char* k : {"PAGE", "DATE", "TIME", "PROG", "USER"})
    if (lchreq(word, k)) return true;
  return false;
}

}  // namespace

void slsttl(std::string_view cttl, std::string_view cside, float px, float py, float ht, int nt) {
  const char side = cside.empty() ? ' ' : upper(cside[0]);
  if (side != 'T' && side != 'B') {
    msgdmp("E", "SLSTTL", "SIDE PARAMETER IS INVALID.");
    return;
  }
  if (px < -1.0F || px > 1.0F || py < -1.0F || py > 1.0F) {
    msgdmp("E", "SLSTTL", "POSITION PARAMETER IS INVALID.");
    return;
  }
  if (ht < 0.0F) {
    msgdmp("E", "SLSTTL", "TEXT HEIGHT IS LESS THAN ZERO.");
    return;
  }
  if (!validSlot(nt, "SLSTTL")) return;
  Title& t = titles()[static_cast<std::size_t>(nt - 1)];
  t = {true, text::padded(text::trimmed(cttl), kTitleWidth), side, px, py, ht};
}

void sldttl(int nt) {
  if (validSlot(nt, "SLDTTL")) titles()[static_cast<std::size_t>(nt - 1)].set = false;
}

void sltlcv(std::string_view cttl, std::span<char> cttlw, int& lc) {
  const std::string_view source = cttl.substr(0, static_cast<std::size_t>(lenz(cttl)));
  std::string out;
  for (std::size_t i = 0; i < source.size(); ++i) {
    if (source[i] == '#' && i + 5 <= source.size() && isKeyword(source.substr(i + 1, 4))) {
      out += text::trimmed(keywordValue(source.substr(i + 1, 4)));
      i += 4;
      continue;
    }
    out += source[i];
  }
  // The expanded title lives in a buffer of the title's width.
  if (out.size() > kTitleWidth) out.resize(kTitleWidth);
  text::assign(cttlw, out);
  lc = static_cast<int>(std::min(out.size(), cttlw.size()));
}

void slpttl() {
  int index = 1;
  bool draw = true;
  sgiget("INDEX", index);
  sglget("LTITLE", draw);
  if (!draw) return;
  for (const Title& t : titles()) {
    if (!t.set) continue;
    std::string expanded(kTitleWidth, ' ');
    int lc = 0;
    sltlcv(t.text, expanded, lc);
    slzttl(std::string_view(&t.side, 1), std::string_view(expanded).substr(0, static_cast<std::size_t>(lc)), t.px,
           t.py, t.height, index);
  }
}

void slzttl(std::string_view cside, std::string_view cttl, float px, float py, float ht, int index) {
  WorkstationInR r;
  float xpad = 1.0F, ypad = 1.0F;
  bool wide = false;
  sgrget("XPAD", xpad);
  sgrget("YPAD", ypad);
  sglget("LWIDE", wide);
  const float nchar = static_cast<float>(lenz(cttl));
  const float boxWidth = ht * (nchar + xpad);
  const float boxHeight = ht * (ypad + 1.0F);

  Rect band;
  band.xmin = wide ? r.whole.xmin : r.page.xmin;
  band.xmax = wide ? r.whole.xmax : r.page.xmax;
  const char side = cside.empty() ? ' ' : upper(cside[0]);
  if (side == 'T') {
    band.ymin = r.page.ymax;
    band.ymax = r.whole.ymax;
  } else if (side == 'B') {
    band.ymin = r.whole.ymin;
    band.ymax = r.page.ymin;
  } else {
    msgdmp("E", "SLZTTL", "INVALID SIDE PARAMETER.");
    return;
  }
  const float xcent = (band.xmin + band.xmax) / 2.0F;
  const float ycent = (band.ymin + band.ymax) / 2.0F;
  float dwx = (band.xmax - band.xmin - boxWidth) / 2.0F;
  float dwy = (band.ymax - band.ymin - boxHeight) / 2.0F;
  if (dwx < 0.0F) {
    msgdmp("W", "SLZTTL", "SPACE FOR TITLE IS NOT ENOUGH.");
    msgdmp("M", "-CNT.-", "PX = 0.0 IS ASSUMED.");
    dwx = 0.0F;
  }
  if (dwy < 0.0F) {
    msgdmp("W", "SLZTTL", "SPACE FOR TITLE IS NOT ENOUGH.");
    msgdmp("M", "-CNT.-", "PY = 0.0 IS ASSUMED.");
    dwy = 0.0F;
  }
  sgtxzr(xcent + px * dwx, ycent + py * dwy, cttl, ht, 0, 0, index);
}

void slpcnr() {
  bool corners = false;
  sglget("LCORNER", corners);
  if (!corners) return;
  int index = 1;
  float length = 0.01F;
  sgiget("INDEX", index);
  sgrget("CORNER", length);
  slpwvc(index, length);
}

void slpwvc(int index, float rc) {
  if (index == 0) {
    msgdmp("M", "SLPWVC", "LINE INDEX IS ZERO / DO NOTHING.");
    return;
  }
  if (index < 0) {
    msgdmp("E", "SLPWVC", "LINE INDEX IS LESS THAN ZERO.");
    return;
  }
  if (rc == 0.0F) {
    msgdmp("M", "SLPWVC", "LENGTH OF CORNER MARKS IS ZERO / DO NOTHING.");
    return;
  }
  if (rc < 0.0F) {
    msgdmp("E", "SLPWVC", "LENGTH OF CORNER MARKS IS LESS THAN ZERO.");
    return;
  }
  WorkstationInR r;
  szslti(1, index);
  const Rect& w = r.whole;
  const float marks[4][6] = {{w.xmin, w.ymin + rc, w.xmin, w.ymin, w.xmin + rc, w.ymin},
                             {w.xmax - rc, w.ymin, w.xmax, w.ymin, w.xmax, w.ymin + rc},
                             {w.xmax, w.ymax - rc, w.xmax, w.ymax, w.xmax - rc, w.ymax},
                             {w.xmin + rc, w.ymax, w.xmin, w.ymax, w.xmin, w.ymax - rc}};
  for (const auto& m : marks) {
    szoplr();
    szmvlr(m[0], m[1]);
    szpllr(m[2], m[3]);
    szpllr(m[4], m[5]);
    szcllr();
  }
}

}  // namespace zep
