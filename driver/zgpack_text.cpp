// Output driver: text drawn with system fonts. The library's backslash escapes,
// symbol codes and marker codes are turned into Pango markup, which is laid out
// with the current font description, placed by its centring option, turned and
// drawn on the page; the same layout answers the kernel's width queries.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <pango/pangocairo.h>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"
#include "primitives/text_markup.hpp"

namespace zep {

namespace {

struct LayoutRelease {
  void operator()(PangoLayout* l) const noexcept { g_object_unref(l); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutRelease>;

// Text is also measured between pages and before any open (width queries of the
// kernel): then a small image context of its own stands in for the page.
cairo_t* measure_context() {
  ZgState& s = zgstate();
  if (s.cr) return s.cr.get();
  static const ContextPtr scratch = [] {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    return ContextPtr(cairo_create(surface.get()));
  }();
  return scratch.get();
}

// Layout of markup with the current font; empty when Pango rejects the markup.
// The markup is parsed here rather than by pango_layout_set_markup so that a
// rejected text can be told apart from an empty one.
LayoutPtr markup_layout(cairo_t* cr, const char* markup, std::string* error) {
  PangoAttrList* attrs = nullptr;
  char* text = nullptr;
  GError* err = nullptr;
  if (!pango_parse_markup(markup, -1, 0, &attrs, &text, nullptr, &err)) {
    if (error != nullptr) *error = err != nullptr ? err->message : "invalid markup";
    if (err != nullptr) g_error_free(err);
    return {};
  }
  LayoutPtr layout(pango_cairo_create_layout(cr));
  pango_layout_set_text(layout.get(), text, -1);
  pango_layout_set_attributes(layout.get(), attrs);
  pango_attr_list_unref(attrs);
  g_free(text);
  pango_layout_set_font_description(layout.get(), zgfontdesc());
  pango_cairo_update_layout(cr, layout.get());
  return layout;
}

// Layout of plain text (n bytes; -1 up to the first NUL) with the current font.
LayoutPtr plain_layout(std::string_view text, int n) {
  std::size_t len = text.size();
  if (n >= 0) len = std::min(len, static_cast<std::size_t>(n));
  text = text.substr(0, len);
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return {};
  cairo_t* cr = measure_context();
  LayoutPtr layout(pango_cairo_create_layout(cr));
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  pango_layout_set_font_description(layout.get(), zgfontdesc());
  pango_cairo_update_layout(cr, layout.get());
  return layout;
}

// ---------------------------------------------------------------------------
// Tables of the conversion
// ---------------------------------------------------------------------------

// Marker codes 1 to 17 and 0xE3 to 0xE6, drawn from the marker font.
const char* marker_glyph(unsigned char c) {
  static constexpr std::array<const char*, 18> low{
      nullptr,  "\u30FB", "\uFF0B", "\uFF0A", "\u25CB", "\u00D7", "\u25A1", "\u25B3", "\u25C7",
      "\u2606", "\u25CF", "\u25A0", "\u25B2", "\u25C0", "\u25BC", "\u25B6", "\u2605", "\u2691"};
  if (c >= 1 && c <= 17) return low[c];
  switch (c) {
    case 0xE3: return "\u2461";
    case 0xE4: return "\u25CB";
    case 0xE5: return "\u2462";
    case 0xE6: return "\u2460";
    default: return nullptr;
  }
}

bool is_marker(unsigned char c) { return marker_glyph(c) != nullptr; }

// The library's 8-bit symbol codes 0x80 to 0xF8 as markup; empty where a code has
// no symbol.
const char* symbol_markup(unsigned char c) {
  static constexpr std::array<const char*, 24> greek_capital{
      "\u0391", "\u0392", "\u0393", "\u0394", "\u0395", "\u0396", "\u0397", "\u0398",
      "\u0399", "\u039A", "\u039B", "\u039C", "\u039D", "\u039E", "\u039F", "\u03A0",
      "\u03A1", "\u03A3", "\u03A4", "\u03A5", "\u03A6", "\u03A7", "\u03A8", "\u03A9"};
  static constexpr std::array<const char*, 24> greek_small{
      "\u03B1", "\u03B2", "\u03B3", "\u03B4", "\u03B5", "\u03B6", "\u03B7", "\u03B8",
      "\u03B9", "\u03BA", "\u03BB", "\u03BC", "\u03BD", "\u03BE", "\u03BF", "\u03C0",
      "\u03C1", "\u03C3", "\u03C4", "\u03C5", "\u03C6", "\u03C7", "\u03C8", "\u03C9"};
  // 0xB0 to 0xF8
  static constexpr std::array<const char*, 0xF9 - 0xB0> other{
      "",          "\u2018",    "\u2019",    "\u2192",    "\u2191",    "\u2190",    "\u2193",    "\u2016",
      "\u22A5",    "\u2220",    "\u2234",    " ",         "\u223E",    "\u221E",    "\u2212",    "+",
      "\u00B1",    "\u2213",    "\u00D7",    "\u2219",    "\u00F7",    "=",         "\u2260",    "\u2261",
      "&#60;",     "&#62;",     "\u2266",    "\u2267",    "\u221D",    "\u223C",    "^",         "\u00B4",
      "`",         " ",         "\u221A",    "\u2282",    "\u222A",    "\u2283",    "\u2229",    "\u2208",
      "\u2202",    "\u2207",    "\u222B",    "\u222E",    "",          "",          "",          "",
      "\u2030",    "\u212B",    " ",         "",          "",          "",          "",          "",
      "",          "",          "",          "",          "",          "",          "",          "",
      "\U0001D716", "\U0001D717", "\U0001D71B", "\U0001D71A", " ",      "\U0001D719", "\u2010", "-",
      "\u2014"};
  if (c >= 0x80 && c <= 0x97) return greek_capital[c - 0x80];
  if (c >= 0x98 && c <= 0xAF) return greek_small[c - 0x98];
  if (c >= 0xB0 && c <= 0xF8) return other[c - 0xB0];
  return "";
}

// The marker font's face follows the weight of the text font.
std::string marker_span(unsigned char c) {
  const int weight = pango_font_description_get_weight(zgfontdesc());
  const char* face = weight <= 200 ? "Light" : weight <= 400 ? "Regular" : weight <= 600 ? "Bold" : "Black";
  return std::string("<span font_desc='ZEPMarker ") + face + "'>" + marker_glyph(c) + "</span>";
}

// What a single character of the text turns into as plain text: the width of an
// accent is the width of what is drawn, not of the code that selects it.
std::string plain_glyph(std::string_view text, std::size_t i) {
  if (i >= text.size()) return {};
  const auto c = static_cast<unsigned char>(text[i]);
  const int k = utf8_char_byte(text.substr(i));
  if (k <= 1 && c == '-') return "\u2212";
  if (k <= 1 && is_marker(c)) return marker_glyph(c);
  if (k >= 1) return std::string(text.substr(i, static_cast<std::size_t>(k)));
  std::string sym = symbol_markup(c);
  if (sym == "&#60;") return "<";
  if (sym == "&#62;") return ">";
  return sym;
}

// Moves the pen back over the previous plain character, so that an accent is
// drawn on top of (\o) or under (\u) it, and forward again after the accent.
std::string accent_spans(std::string_view text, std::size_t i, std::size_t prev, std::size_t prev_len, bool over) {
  const std::string_view previous = text.substr(std::min(prev, text.size()), prev_len);
  const int ws = char_width(" ", 1);
  const int wp = char_width(previous, static_cast<int>(previous.size()));
  const int hp = char_height(previous, static_cast<int>(previous.size()));
  const std::size_t at = (i + 2 < text.size() && text[i + 2] == '{') ? i + 3 : i + 2;
  const std::string accent = plain_glyph(text, at);
  const int wa = char_width(accent, static_cast<int>(accent.size()));
  const int rise = over ? static_cast<int>(0.75 * hp) : static_cast<int>(-0.65 * char_height("I", 1));
  char buf[160];
  std::snprintf(buf, sizeof buf, "<span letter_spacing='%d'> </span><span rise='%d' letter_spacing='%d'>",
                -(wp + ws), rise, wp - wa);
  return buf;
}

}  // namespace

PangoFontDescription* zgfontdesc() {
  ZgState& s = zgstate();
  if (s.font_desc == nullptr) s.font_desc = pango_font_description_from_string(kZgDefaultFont);
  return s.font_desc;
}

void zgsetfontdesc(PangoFontDescription* desc) {
  ZgState& s = zgstate();
  if (s.font_desc != nullptr) pango_font_description_free(s.font_desc);
  s.font_desc = desc;
}

int utf8_char_byte(std::string_view p) { return markup::sequenceLength(p); }

int char_width(std::string_view text, int n) {
  LayoutPtr layout = plain_layout(text, n);
  if (!layout) return 0;
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return logical.width;
}

int char_height(std::string_view text, int n) {
  LayoutPtr layout = plain_layout(text, n);
  if (!layout) return 0;
  PangoRectangle ink;
  pango_layout_get_extents(layout.get(), &ink, nullptr);
  return ink.height;
}

namespace {

// Turns the library's backslash markup into font-engine markup, one token at
// a time. What the escapes have opened is kept innermost last: a script is set
// relative to the script it sits in, so that scripts nest, and a span covers
// either a {group}, closed by its "}", or the one unit after its mark.
class MarkupConverter {
 public:
  MarkupConverter(std::string_view text, double fsize)
      : text_(text), fsize_(fsize), small_(getrparm("small")), shift_(getrparm("shift")) {}

  std::string run() {
    while (i_ < text_.size()) {
      const markup::Token t = markup::tokenAt(text_, i_, true);
      if (t.kind == markup::TokenKind::escape) escape(t);
      else if (t.kind == markup::TokenKind::close && groupOpen()) closeGroup();
      else character(t);
    }
    // A mark at the very end has an empty span. A group left without its "}"
    // stays open: the font engine rejects the markup, and the text is reported
    // as not drawn rather than drawn as something it does not say.
    unitDone();
    return out_;
  }

 private:
  struct Open {
    bool group;  // closed by "}" rather than after one unit
    bool raw;    // a \p{...} passage: it writes no span of its own
    double size, rise;
  };

  char at(std::size_t j) const { return j < text_.size() ? text_[j] : '\0'; }
  double sizeNow() const { return open_.empty() ? fsize_ : open_.back().size; }
  double riseNow() const { return open_.empty() ? 0.0 : open_.back().rise; }
  bool groupOpen() const {
    return std::any_of(open_.begin(), open_.end(), [](const Open& o) { return o.group; });
  }
  bool rawMarkup() const {
    return std::any_of(open_.begin(), open_.end(), [](const Open& o) { return o.raw; });
  }

  void closeOne() {
    if (!open_.back().raw) out_ += "</span>";
    open_.pop_back();
  }

  // A unit is complete: the one-unit spans around it end, and with them any
  // one-unit span whose unit was the span just ended.
  void unitDone() {
    while (!open_.empty() && !open_.back().group) closeOne();
  }

  // A backslash that is no mark stands for itself, as one unit.
  void literalBackslash(std::size_t advance) {
    out_ += '\\';
    unitDone();
    i_ += advance;
  }

  void script(Open& o, bool superscript) {
    const double fs = o.size;
    o.size = small_ * fs;
    const double half = small_ / 2.0;
    o.rise += (superscript ? 0.5 + shift_ - half : 0.5 - shift_ - half) * fs;
    char span[96];
    std::snprintf(span, sizeof span, "<span size='%d' rise='%d'>", zgtrunc(o.size), zgtrunc(o.rise));
    out_ += span;
  }

  void escape(const markup::Token& t) {
    const bool group = at(i_ + 2) == '{';
    Open o{group, false, sizeNow(), riseNow()};
    switch (t.letter) {
      case '^':
      case '_': script(o, t.letter == '^'); break;
      case 'o':
      case 'u': out_ += accent_spans(text_, i_, prev_, prevLength_, t.letter == 'o'); break;
      case 'p':
        if (!group) return literalBackslash(1);
        o.raw = true;
        open_.push_back(o);
        i_ += 3;
        return;
      case '\\': return literalBackslash(2);
      default: return literalBackslash(1);
    }
    open_.push_back(o);
    i_ += group ? 3 : 2;
  }

  // The innermost group ends, and whatever was opened inside it.
  void closeGroup() {
    while (!open_.back().group) closeOne();
    closeOne();
    unitDone();
    i_ += 1;
  }

  void character(const markup::Token& t) {
    const auto c = static_cast<unsigned char>(text_[i_]);
    const int k = t.utf8;
    if (k <= 1 && is_marker(c)) {
      out_ += marker_span(c);
      i_ += 1;
    } else if (k <= 1 && c == '-') {
      out_ += "\u2212";
      i_ += 1;
    } else if (k <= 1 && !rawMarkup() && (c == '&' || c == '<' || c == '>')) {
      out_ += c == '&' ? "&amp;" : c == '<' ? "&#60;" : "&#62;";
      i_ += 1;
    } else if (k >= 1) {
      out_.append(text_.substr(i_, static_cast<std::size_t>(k)));
      // Accents sit on the last character outside any script.
      if (open_.empty()) {
        prev_ = i_;
        prevLength_ = static_cast<std::size_t>(k);
      }
      i_ += static_cast<std::size_t>(k);
    } else {
      out_ += symbol_markup(c);
      i_ += 1;
    }
    unitDone();
  }

  std::string_view text_;
  double fsize_, small_, shift_;
  std::vector<Open> open_;
  std::string out_;
  std::size_t i_ = 0, prev_ = 0, prevLength_ = 0;
};

}  // namespace

std::string zgmarkup(std::string_view text, int n, double fsize) {
  std::size_t count = n > 0 ? std::min(static_cast<std::size_t>(n), text.size()) : 0;
  text = text.substr(0, count);
  // The driver's texts end at a NUL.
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  return MarkupConverter(text, fsize).run();
}

void zeptext2pangomarkup(std::string_view text, int n, std::span<char> out, double fsize) {
  const std::string markup = zgmarkup(text, n, fsize);
  if (out.empty()) return;
  // NUL-terminated and NUL-padded; a markup longer than the buffer is cut.
  const std::size_t m = std::min(markup.size(), out.size() - 1);
  std::copy_n(markup.begin(), m, out.begin());
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(m), out.end(), '\0');
}

bool rendertext(cairo_t* context, const char* markup) {
  std::string error;
  LayoutPtr layout = markup_layout(context, markup, &error);
  if (!layout) {
    std::fprintf(stderr, "*** Error in zgtxt : Text not drawn: %s\n", error.c_str());
    return false;
  }
  pango_cairo_show_layout(context, layout.get());
  return true;
}

void get_pangostring_width_height(cairo_t* context, const char* markup, double& w, double& h) {
  w = h = 0.0;
  LayoutPtr layout = markup_layout(context, markup, nullptr);
  if (!layout) return;
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  w = logical.width / 1024.0;
  h = logical.height / 1024.0;
}

void zgtxt(double x, double y, double size, std::string_view text, int n, double angle, int icent) {
  ZgState& s = zgstate();
  // Sizes beyond any page would overflow Pango's integer units.
  const double fpt = std::clamp(26.0 * size, 0.0, 1.0e5);
  const int points = static_cast<int>(fpt);
  if (points <= 0 || !s.cr) return;  // nothing visible, or no page to draw on
  zgflushstroke();
  pango_font_description_set_size(zgfontdesc(), points * PANGO_SCALE);

  const std::string markup = zgmarkup(text, n, fpt * 1024.0);
  cairo_t* cr = s.cr.get();
  // Measured and drawn on the turned page, as the text is placed on it.
  cairo_save(cr);
  zgturncontext(cr);
  double w = 0.0, h = 0.0;
  get_pangostring_width_height(cr, markup.c_str(), w, h);

  const double theta = s.jdev_type > 0 ? -angle : 1.5707963267948966 - angle;
  const double ct = std::cos(theta), st = std::sin(theta);
  const double yy = s.wsyflip - y;
  const double along = icent < 0 ? 0.0 : icent == 0 ? 0.5 * w : w;
  auto x0 = static_cast<float>(x - along * ct + (h / 2) * st);
  auto y0 = static_cast<float>(yy - (h / 2) * ct - along * st);
  x0 += 0.5f;
  y0 += 0.5f;

  cairo_translate(cr, x0, y0);
  cairo_rotate(cr, theta);
  cairo_move_to(cr, 0.0, 0.0);
  const bool drawn = rendertext(cr, markup.c_str());
  cairo_new_path(cr);
  cairo_restore(cr);
  if (!drawn) return;

  zguprect(zgtrunc(x0), zgtrunc(y0));
  zguprect(zgtrunc(x0 - h * st), zgtrunc(y0 + h * ct));
  zguprect(zgtrunc(x0 + w * ct), zgtrunc(y0 + w * st));
  zguprect(zgtrunc(x0 + w * ct - h * st), zgtrunc(y0 + w * st + h * ct));
  if (!s.laltz) zgupdate(1);
}

void zgqtxw(std::string_view text, int n, float& wx, float& wy) {
  // Accent spacings are measured at the size left by the previous text.
  const std::string markup = zgmarkup(text, n, 102400.0);
  pango_font_description_set_size(zgfontdesc(), 102400);
  double w = 0.0, h = 0.0;
  get_pangostring_width_height(measure_context(), markup.c_str(), w, h);
  wx = static_cast<float>(w / 100.0);
  wy = static_cast<float>(0.8 * h / 100.0);
}

void zgftfc(std::string_view name) {
  const std::string trimmed = zgtrim(name, name.size());
  zgsetfontdesc(pango_font_description_from_string(trimmed.c_str()));
}

void zgsfw(int i) {
  const int weight = 100 * i + (zgstate().dlnscale > 0.5 ? 200 : 0);
  // Pango knows weights from 100 (thin) to 1000 (ultra heavy).
  pango_font_description_set_weight(zgfontdesc(), static_cast<PangoWeight>(std::clamp(weight, 100, 1000)));
}

}  // namespace zep
