// Text of the figure layer: named symbols, literal control characters, glyph
// fallbacks, texts of any length, no clipping, and warnings instead of errors.
#include "primitives/figure_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <cctype>
#include <set>
#include <span>
#include <vector>

#include <zep/zep.hpp>

#include "primitives/text_markup.hpp"
#include "primitives/text_state.hpp"

namespace zep::figure_text {
namespace {

// The names of the markup. Greek letters by their TeX names (capitals with a
// capital initial), then the symbols the stroke fonts draw.
constexpr std::array kSymbols = std::to_array<Symbol>({
    {"alpha", "α"},    {"beta", "β"},      {"gamma", "γ"},     {"delta", "δ"},   {"epsilon", "ε"},
    {"zeta", "ζ"},     {"eta", "η"},       {"theta", "θ"},     {"iota", "ι"},    {"kappa", "κ"},
    {"lambda", "λ"},   {"mu", "μ"},        {"nu", "ν"},        {"xi", "ξ"},      {"omicron", "ο"},
    {"pi", "π"},       {"rho", "ρ"},       {"sigma", "σ"},     {"tau", "τ"},     {"upsilon", "υ"},
    {"phi", "φ"},      {"chi", "χ"},       {"psi", "ψ"},       {"omega", "ω"},   {"varepsilon", "ϵ"},
    {"vartheta", "ϑ"}, {"varphi", "ϕ"},    {"varpi", "ϖ"},     {"varrho", "ϱ"},  {"varsigma", "ς"},
    {"Alpha", "Α"},    {"Beta", "Β"},      {"Gamma", "Γ"},     {"Delta", "Δ"},   {"Epsilon", "Ε"},
    {"Zeta", "Ζ"},     {"Eta", "Η"},       {"Theta", "Θ"},     {"Iota", "Ι"},    {"Kappa", "Κ"},
    {"Lambda", "Λ"},   {"Mu", "Μ"},        {"Nu", "Ν"},        {"Xi", "Ξ"},      {"Omicron", "Ο"},
    {"Pi", "Π"},       {"Rho", "Ρ"},       {"Sigma", "Σ"},     {"Tau", "Τ"},     {"Upsilon", "Υ"},
    {"Phi", "Φ"},      {"Chi", "Χ"},       {"Psi", "Ψ"},       {"Omega", "Ω"},   {"pm", "±"},
    {"mp", "∓"},       {"times", "×"},     {"cdot", "·"},      {"div", "÷"},     {"deg", "°"},
    {"circ", "°"},     {"infty", "∞"},     {"leq", "≤"},       {"le", "≤"},      {"geq", "≥"},
    {"ge", "≥"},       {"neq", "≠"},       {"ne", "≠"},        {"equiv", "≡"},   {"sim", "∼"},
    {"propto", "∝"},   {"partial", "∂"},   {"nabla", "∇"},     {"int", "∫"},     {"oint", "∮"},
    {"sum", "Σ"},      {"prod", "Π"},      {"sqrt", "√"},      {"in", "∈"},      {"cap", "∩"},
    {"cup", "∪"},      {"subset", "⊂"},    {"supset", "⊃"},    {"perp", "⊥"},    {"angle", "∠"},
    {"therefore", "∴"}, {"minus", "−"},    {"permil", "‰"},    {"AA", "Å"},      {"micro", "µ"},
    {"leftarrow", "←"}, {"rightarrow", "→"}, {"uparrow", "↑"}, {"downarrow", "↓"}, {"to", "→"},
    {"gets", "←"},     {"Vert", "‖"},
});

// Control codes for scripts while the figure layer draws: bytes no prepared
// text holds, so that "|", "_" and '"' (the defaults) are plain characters.
constexpr int kSup = 28, kSub = 29, kReset = 30;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

const Symbol* findSymbol(std::string_view name) {
  for (const Symbol& s : kSymbols)
    if (s.name == name) return &s;
  return nullptr;
}

bool systemFont() {
  bool sysfont = false;
  swlget("SYSFONT", sysfont);
  return sysfont;
}

// Superscript and subscript forms of digits and signs, as their plain character.
struct ScriptForm {
  char32_t unicode;
  char plain;
  bool superscript;
};
constexpr ScriptForm kScriptForms[] = {
    {0x2070, '0', true}, {0x00B9, '1', true}, {0x00B2, '2', true}, {0x00B3, '3', true}, {0x2074, '4', true},
    {0x2075, '5', true}, {0x2076, '6', true}, {0x2077, '7', true}, {0x2078, '8', true}, {0x2079, '9', true},
    {0x207A, '+', true}, {0x207B, '-', true}, {0x207C, '=', true}, {0x207D, '(', true}, {0x207E, ')', true},
    {0x207F, 'n', true}, {0x2080, '0', false}, {0x2081, '1', false}, {0x2082, '2', false}, {0x2083, '3', false},
    {0x2084, '4', false}, {0x2085, '5', false}, {0x2086, '6', false}, {0x2087, '7', false}, {0x2088, '8', false},
    {0x2089, '9', false}, {0x208A, '+', false}, {0x208B, '-', false}, {0x208C, '=', false}, {0x208D, '(', false},
    {0x208E, ')', false},
};

char32_t decode(std::string_view s, int n) {
  char32_t c = static_cast<unsigned char>(s[0]) & (0x7F >> n);
  for (int i = 1; i < n; ++i) c = (c << 6) | (static_cast<unsigned char>(s[static_cast<std::size_t>(i)]) & 0x3F);
  return c;
}

class Preparer {
 public:
  Preparer(std::string_view routine, bool stroke, bool quiet = false)
      : routine_(routine), stroke_(stroke), quiet_(quiet) {}

  // Plain text, with scripts; `inScript` is true for the content of a script,
  // where no further markup is allowed.
  std::string run(std::string_view t, bool inScript) {
    std::string out;
    for (std::size_t i = 0; i < t.size();) {
      const auto b = static_cast<unsigned char>(t[i]);
      if (b < 0x20 || b == 0x7F) {  // control bytes have no glyph
        ++i;
        continue;
      }
      if (t[i] == '\\') {
        i = escape(t, i, inScript, out);
        continue;
      }
      if (inScript && (t[i] == '{' || t[i] == '}')) {
        ++i;  // a brace inside a script would end it early
        continue;
      }
      const int n = b < 0x80 ? 1 : markup::sequenceLength(t.substr(i));
      if (n <= 1) {
        out += t[i++];
        continue;
      }
      character(t.substr(i, static_cast<std::size_t>(n)), inScript, out);
      i += static_cast<std::size_t>(n);
    }
    return out;
  }

 private:
  std::size_t escape(std::string_view t, std::size_t i, bool inScript, std::string& out) {
    if (i + 1 >= t.size()) {  // a lone backslash at the end is itself
      out += "\\\\";
      return i + 1;
    }
    const char c = t[i + 1];
    if (c == '\\') {
      out += "\\\\";
      return i + 2;
    }
    if ((c == '^' || c == '_') && !inScript) return script(t, i + 2, c, out);
    if ((c == 'o' || c == 'u') && (i + 2 >= t.size() || !isLetter(t[i + 2])) && !inScript) {
      out += t.substr(i, 2);  // over- and underbar marks
      return i + 2;
    }
    if (isLetter(c)) {
      std::size_t j = i + 1;
      while (j < t.size() && isLetter(t[j])) ++j;
      const std::string_view name = t.substr(i + 1, j - i - 1);
      if (j + 1 < t.size() && t[j] == '{' && t[j + 1] == '}') j += 2;  // "\pm{}" as TeX writes it
      if (const Symbol* s = findSymbol(name)) {
        character(s->utf8, inScript, out);
      } else {
        unknown(name);
        out += inScript ? "\\" : "\\\\";
        out += name;
      }
      return j;
    }
    // Any other escape: the character itself, without the backslash.
    if (c == '{' || c == '}') {
      if (!inScript) out += c;
      return i + 2;
    }
    return i + 1;
  }

  // \^ or \_ at `i` (after the mark): a group or one character as content.
  std::size_t script(std::string_view t, std::size_t i, char mark, std::string& out) {
    std::string_view content;
    std::size_t next = i;
    if (i < t.size() && t[i] == '{') {
      std::size_t close = t.find('}', i + 1);
      if (close == std::string_view::npos) {
        warnOnce("MARKUP IS NOT IN GOOD AGREEMENT: A SCRIPT GROUP IS NOT CLOSED.");
        close = t.size();
      }
      content = t.substr(i + 1, close - i - 1);
      next = std::min(close + 1, t.size());
    } else if (i < t.size()) {
      std::size_t n = 1;
      if (t[i] == '\\') {
        n = 2;
        while (i + n < t.size() && isLetter(t[i + n])) ++n;
      } else if (const int k = markup::sequenceLength(t.substr(i)); k > 1) {
        n = static_cast<std::size_t>(k);
      }
      content = t.substr(i, std::min(n, t.size() - i));
      next = i + content.size();
    }
    const std::string inner = run(content, true);
    if (inner.empty()) return next;  // an empty script has nothing to raise
    out += '\\';
    out += mark;
    out += '{';
    out += inner;
    out += '}';
    return next;
  }

  void character(std::string_view utf8, bool inScript, std::string& out) {
    const int n = markup::sequenceLength(utf8);
    if (!stroke_ || n <= 1) {
      out += utf8;
      return;
    }
    const char32_t c = decode(utf8, n);
    if (text_engine::strokeFontCode(c) >= 0) {
      out += utf8;
      return;
    }
    for (const ScriptForm& f : kScriptForms) {
      if (f.unicode != c) continue;
      if (inScript) {
        out += f.plain;
      } else {
        out += f.superscript ? "\\^{" : "\\_{";
        out += f.plain;
        out += '}';
      }
      return;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (missing_.insert(c).second && !quiet_)
      msgdmp("W", routine_, std::string(code) + " IS NOT IN THE STROKE FONTS; DRAWN AS \"?\".");
    out += '?';
  }

  void unknown(std::string_view name) {
    if (!unknown_.insert(std::string(name)).second || quiet_) return;
    std::string upper(name);
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    msgdmp("W", routine_, "UNKNOWN MARKUP NAME \\" + upper + "; DRAWN AS WRITTEN.");
  }

  void warnOnce(const std::string& text) {
    if (warned_ || quiet_) return;
    warned_ = true;
    msgdmp("W", routine_, text);
  }

  std::string routine_;
  bool stroke_;
  bool quiet_;  // measuring: the drawing warns
  bool warned_ = false;
  std::set<char32_t> missing_;
  std::set<std::string> unknown_;
};

// The top-level units of a prepared text: a plain run or a script group, which
// pieces of a long text must not split.
struct Unit {
  std::string_view text;
  std::size_t weight;  // bytes the stroke engine will hold for it
};

std::vector<Unit> units(std::string_view t) {
  std::vector<Unit> out;
  for (std::size_t i = 0; i < t.size();) {
    std::size_t n = 1;
    if (t[i] == '\\' && i + 1 < t.size()) {
      n = 2;
      if ((t[i + 1] == '^' || t[i + 1] == '_') && i + 2 < t.size() && t[i + 2] == '{') {
        const std::size_t close = t.find('}', i + 3);
        n = (close == std::string_view::npos ? t.size() : close + 1) - i;
      }
    } else if (const int k = markup::sequenceLength(t.substr(i)); k > 1) {
      n = static_cast<std::size_t>(k);
    }
    n = std::min(n, t.size() - i);
    out.push_back({t.substr(i, n), n});
    i += n;
  }
  return out;
}

// Pieces the stroke engine takes whole (it refuses 80 codes and more).
std::vector<std::string> pieces(std::string_view prepared) {
  constexpr std::size_t kPieceBytes = 48;
  std::vector<std::string> out(1);
  for (const Unit& u : units(prepared)) {
    if (!out.back().empty() && out.back().size() + u.weight > kPieceBytes) out.emplace_back();
    out.back() += u.text;
  }
  return out;
}

// SG settings the figure layer draws with, restored when it is done.
class DrawingSettings {
 public:
  DrawingSettings() {
    sglget("LCLIP", lclip_);
    sglget("LCNTL", lcntl_);
    sgiget("ISUP", isup_);
    sgiget("ISUB", isub_);
    sgiget("IRST", irst_);
    sglset("LCLIP", false);
    sglset("LCNTL", true);
    sgiset("ISUP", kSup);
    sgiset("ISUB", kSub);
    sgiset("IRST", kReset);
  }
  ~DrawingSettings() {
    sglset("LCLIP", lclip_);
    sglset("LCNTL", lcntl_);
    sgiset("ISUP", isup_);
    sgiset("ISUB", isub_);
    sgiset("IRST", irst_);
  }
  DrawingSettings(const DrawingSettings&) = delete;
  DrawingSettings& operator=(const DrawingSettings&) = delete;

 private:
  bool lclip_ = false, lcntl_ = false;
  int isup_ = 124, isub_ = 95, irst_ = 34;
};

// Width in V of a prepared text at `height` as drawn: plain runs at full size,
// script content at SMALL, measured with the controls off.
float preparedWidth(std::string_view t, float height) {
  bool control = false;
  sglget("LCNTL", control);
  sglset("LCNTL", false);
  float small = 0.7F;
  sgrget("SMALL", small);
  float total = 0;
  const auto measure = [&](std::string piece, float factor) {
    if (piece.empty()) return;
    // Trailing blanks are cut by the measurement; they count as a narrow glyph.
    for (auto it = piece.rbegin(); it != piece.rend() && *it == ' '; ++it) *it = 'i';
    total += text_engine::drawnWidth(piece, height) * factor;
  };
  std::string plain;
  for (const Unit& u : units(t)) {
    const std::string_view s = u.text;
    if (s.size() >= 2 && s[0] == '\\' && (s[1] == '^' || s[1] == '_')) {
      measure(plain, 1);
      plain.clear();
      const std::string_view inner = s.size() > 3 ? s.substr(3, s.size() - 4 + (s.back() == '}' ? 0 : 1)) : "";
      measure(std::string(inner), small);
    } else if (s == "\\\\") {
      plain += '\\';
    } else if (s.size() == 2 && s[0] == '\\') {
      // over- and underbar marks take no room
    } else {
      plain += s;
    }
  }
  measure(plain, 1);
  sglset("LCNTL", control);
  return total;
}

bool blank(std::string_view t) { return t.find_first_not_of(' ') == std::string_view::npos; }

std::string shown(std::string_view text) {
  std::string s(text.substr(0, 60));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return text.size() > 60 ? s + "..." : s;
}

}  // namespace

std::span<const Symbol> symbols() { return kSymbols; }

std::string prepare(std::string_view text, std::string_view routine) {
  return Preparer(routine, !systemFont()).run(text, false);
}

float width(std::string_view text, float height, std::string_view routine) {
  return preparedWidth(Preparer(routine, !systemFont(), true).run(text, false), height);
}

void draw(float vx, float vy, std::string_view text, float height, int angle, int centring, int index,
          std::string_view routine) {
  if (index <= 0 || !(height > 0) || !std::isfinite(vx) || !std::isfinite(vy) || blank(text)) return;
  centring = std::clamp(centring, -1, 1);
  std::string prepared = prepare(text, routine);
  while (!prepared.empty() && prepared.back() == ' ') prepared.pop_back();
  if (blank(prepared)) return;
  const float w = preparedWidth(prepared, height);
  const double a = angle * std::numbers::pi / 180.0;
  const auto ca = static_cast<float>(std::cos(a)), sa = static_cast<float>(std::sin(a));
  // The left end of the text's base line, and its box for the page check.
  const float shift = 0.5F * static_cast<float>(centring + 1) * w;
  const float x0 = vx - shift * ca, y0 = vy - shift * sa;
  {
    float rx0 = 0, rx1 = 0, ry0 = 0, ry1 = 0, wx0 = 0, wx1 = 0, wy0 = 0, wy1 = 0;
    int iwtrf = 0;
    stqwtr(rx0, rx1, ry0, ry1, wx0, wx1, wy0, wy1, iwtrf);
    const float up = 0.75F * height, slack = 0.002F * std::max(rx1 - rx0, ry1 - ry0);
    bool outside = false;
    for (float along : {0.0F, w})
      for (float across : {-0.5F * height, up}) {
        const float px = x0 + along * ca - across * sa, py = y0 + along * sa + across * ca;
        outside = outside || px < rx0 - slack || px > rx1 + slack || py < ry0 - slack || py > ry1 + slack;
      }
    if (outside) msgdmp("W", routine, "TEXT \"" + shown(prepared) + "\" LEAVES THE PAGE.");
  }
  const DrawingSettings settings;
  const std::vector<std::string> parts = pieces(prepared);
  if (parts.size() == 1) {
    sgtxzv(vx, vy, parts.front(), height, angle, centring, index);
    return;
  }
  float along = 0;
  for (const std::string& p : parts) {
    if (!blank(p)) sgtxzv(x0 + along * ca, y0 + along * sa, p, height, angle, -1, index);
    along += preparedWidth(p, height);
  }
}

}  // namespace zep::figure_text
