// Output driver: device open and close, pages, drawing surfaces and their files,
// the window with its waits and event handlers, and page image dumps.
#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zep/driver.hpp>
#include <zep/foundation.hpp>

#include "driver/zgpack_internal.hpp"

namespace zep {

ZgState& zgstate() {
  static ZgState state;
  return state;
}

std::string zgtrim(std::string_view text, std::size_t n) {
  text = text.substr(0, std::min(n, text.size()));
  // A NUL ends a NUL-terminated text; trailing blanks are padding.
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

namespace {

void wait_for(int ifunc) {
  ZgState& s = zgstate();
  s.next = false;
  s.ifunc = ifunc;
  while (!s.next) gtk_main_iteration();
}

// Paint colour 0 over the whole page on a context of its own, so that the page
// context keeps its state.
void fill_background() {
  ZgState& s = zgstate();
  ContextPtr tmp(cairo_create(s.csr.get()));
  zgsetcolor(tmp.get(), 0);
  if (zgformat().raster) {
    cairo_rectangle(tmp.get(), 0, 0, s.wsxwd, s.wsywd);
    cairo_fill(tmp.get());
  }
}

bool is_window() { return zgstate().idev_type == 1 && zgstate().lzeponly; }

// Connects the handlers and maps the window; a hidden window stays unmapped
// and has no handlers, since nobody can answer it.
void show_window() {
  ZgState& s = zgstate();
  gint mask = GDK_BUTTON_PRESS_MASK;
  if (s.key) mask |= GDK_KEY_PRESS_MASK;
  gtk_widget_add_events(s.window, mask);
  if (s.key)
    g_signal_connect(G_OBJECT(s.window), "key_press_event", G_CALLBACK(zg_key_press_event), nullptr);
  g_signal_connect(G_OBJECT(s.window), "button_press_event", G_CALLBACK(zg_button_press_event), nullptr);
  g_signal_connect(G_OBJECT(s.window), "destroy", G_CALLBACK(zg_destroy_event), nullptr);
  gtk_widget_add_events(s.drawing_area, GDK_EXPOSURE_MASK);
  g_signal_connect(G_OBJECT(s.drawing_area), "expose_event", G_CALLBACK(zg_expose_event), nullptr);
  gtk_widget_show(s.window);
  s.window_shown = true;
}

void create_window() {
  ZgState& s = zgstate();
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fputs(kZgErrorPrefix, stderr);
    std::fputs("Cannot open display.\n", stderr);
    std::exit(1);
  }
  s.lzeponly = true;
  s.wsxwd = s.iwidth + 4;
  s.wsywd = s.iheight + 4;

  s.drawing_area = gtk_drawing_area_new();
  gtk_widget_set_size_request(s.drawing_area, s.wsxwd, s.wsywd);
  gtk_widget_show(s.drawing_area);
  s.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(s.window), s.xtitle.c_str());
  gtk_container_add(GTK_CONTAINER(s.window), s.drawing_area);
  s.window_shown = false;
  if (s.wnd)
    show_window();
  else
    gtk_widget_realize(s.drawing_area);
}

}  // namespace

void zgsetcolor(cairo_t* cr, int k) {
  const ZgColor& c = zgstate().cx[static_cast<std::size_t>(std::clamp(k, 0, kZgColors - 1))];
  cairo_set_source_rgb(cr, c.r / 65535.0, c.g / 65535.0, c.b / 65535.0);
}

cairo_t* zgcsfc() {
  ZgState& s = zgstate();
  const ZgFormat& f = zgformat();
  cairo_surface_t* surface = nullptr;
  std::string file;
  // The previous page's surface (the window's page image) is replaced here.
  zgreleasesurface();
  s.turned = false;
  if (s.opening && !f.raster && zgperpagefile()) {
    // Only carries the background colour until the first page makes the real
    // surface and its file.
    surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
  } else {
    if (!f.raster) file = zgperpagefile() ? zgpagefilename(f.suffix) : s.dmpfile + "." + f.suffix;
    surface = f.create(f, file);
  }
  s.csr.reset(surface);
  zgchecksurface();
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  return cr;
}

// The plot, Q wide and P high, centred on the sheet and turned by 90 degrees
// so that its width runs along the long side. The turn is applied to the
// coordinates (zgturn) rather than set on the context.
void zgcatl() {
  ZgState& s = zgstate();
  if (!s.cr) return;
  s.turned = true;
}

void zgturncontext(cairo_t* cr) {
  const ZgState& s = zgstate();
  if (!s.turned) return;
  // x' = y + offx, y' = s Q + offy - x: the exact turn of zgturn.
  cairo_matrix_t m;
  cairo_matrix_init(&m, 0.0, -1.0, 1.0, 0.0, s.offx, s.ddvscale * s.iPS_PAGE_HEIGHT + s.offy);
  cairo_transform(cr, &m);
}

namespace {

// What zgdopn is asked for, in the order of its arguments.
struct OpenRequest {
  int iws, iwidth, iheight, iposx, iposy, idmpdgt, ibgpage;
  float rlwfact;
  bool lwait, lwait0, lwait1, lalt, lstdot, lkey, ldump, lwnd, lfgbg, lsep;
  int ifl;
  std::string_view cimgfmt;
  float rimgcmp;
  std::string_view clrmap, bitmap, fname, title;
};

// A file still open from an earlier open is completed, not abandoned.
void complete_earlier_output() {
  ZgState& s = zgstate();
  if (s.idev_type == 2) zgreleasesurface();
  s.cr.reset();
}

void reset_font_state() {
  ZgState& s = zgstate();
  s.fontfamily = kZgDefaultFont;
  if (s.font_desc) pango_font_description_free(s.font_desc);
  s.font_desc = pango_font_description_from_string(kZgDefaultFont);
}

void read_text_slots() {
  ZgState& s = zgstate();
  s.lfprop = getlparm("lfprop");
  s.lcntl = getlparm("lcntl");
  s.isup = getiparm("isup");
  s.isub = getiparm("isub");
  s.irst = getiparm("irst");
  s.small = getrparm("small");
  s.shift = getrparm("shift");
}

void take_arguments(const OpenRequest& a) {
  ZgState& s = zgstate();
  s.posx = a.iposx;
  s.posy = a.iposy;
  s.wait_np = a.lwait;
  s.wait_op = a.lwait0;
  s.wait_cl = a.lwait1;
  s.key = a.lkey;
  s.dump = a.ldump;
  s.dumpz = false;
  s.fgbg = a.lfgbg;
  s.sep = a.lsep;
  s.laltz = a.lalt;
  s.jdev_type = a.iws;
  s.idev_type = a.iws == INT_MIN ? INT_MAX : std::abs(a.iws);
  s.wnd = a.lwnd;
  s.page = std::max(a.ibgpage, 1) - 1;  // page numbers start at 1 at the least
  s.imgfmt = zgtrim(a.cimgfmt, kZgSuffixLength);
  s.imgcmp = a.rimgcmp;
  s.dmpdgt = std::clamp(a.idmpdgt, 0, 32);
  s.pngstdout = a.lstdot;
  s.ifl = a.ifl;
  // The surface is 4 units larger than the plot and cairo's sides end at 32767.
  s.iwidth = std::clamp(a.iwidth, 1, kZgMaxSurfaceSide - 4);
  s.iheight = std::clamp(a.iheight, 1, kZgMaxSurfaceSide - 4);
  s.dlnscale = a.rlwfact;
  // The EPS widths of an earlier session end with it: a later PNG, SVG or PDF
  // page draws with the widths of its own format.
  s.linewidth = kZgLineWidths;
  s.ddvscale = 1.0;
  s.pactive = false;
  s.lfcmod = false;
  s.dmpfile = zgtrim(a.fname, kZgNameLength);
  s.xtitle = zgtrim(a.title, kZgNameLength);
}

// A page of the size asked for: points on vector pages, pixels at page_dpi on
// PNG pages, upright and without a border. Line widths keep one size relative
// to the page in both: index 1 is 1/100 inch (0.72 pt, 1 pixel at 100 dpi).
void lay_out_exact_page() {
  ZgState& s = zgstate();
  const ZgFormat& f = zgformat();
  const double win = s.page_wcm / 2.54, hin = s.page_hcm / 2.54;
  if (f.raster) {
    const auto px = [&](double inches) {
      return std::clamp(std::round(inches * s.page_dpi), 1.0, static_cast<double>(kZgMaxSurfaceSide));
    };
    s.exact_w = px(win);
    s.exact_h = px(hin);
    s.dlnscale = s.page_dpi / 100.0;
  } else {
    s.exact_w = win * 72.0;
    s.exact_h = hin * 72.0;
    // EPS lines take their own doubled widths (create_eps).
    s.dlnscale = f.line_scale > 0.0 ? 0.36 : 0.72;
  }
  s.offx = s.offy = 0.0;
}

// The plot keeps its aspect ratio and fits 750 x 529 points of the A4 sheet
// less its margins, its width along the sheet's long side.
void lay_out_paper(float rlwfact) {
  ZgState& s = zgstate();
  const ZgFormat& f = zgformat();
  s.exact = s.idev_type == 2 && s.page_wcm > 0.0 && s.page_hcm > 0.0;
  if (s.exact) {
    lay_out_exact_page();
    return;
  }
  if (!f.paper) {
    s.dlnscale = 1.0;
    return;
  }
  const double w = s.iwidth, h = s.iheight;
  if (750.0 / w > 529.0 / h) {
    s.iPS_PAGE_WIDTH = 529;
    s.iPS_PAGE_HEIGHT = static_cast<int>(w * 529.0 / h);
    s.offx = 33.0;
    s.offy = (750 - s.iPS_PAGE_HEIGHT) * 0.5 + 46.0;
    if (rlwfact == 999.0f) s.dlnscale = 529.0 / w;
  } else {
    s.iPS_PAGE_WIDTH = static_cast<int>(h * 750.0 / w);
    s.iPS_PAGE_HEIGHT = 750;
    s.offx = (529 - s.iPS_PAGE_WIDTH) * 0.5 + 33.0;
    s.offy = 46.0;
    if (rlwfact == 999.0f) s.dlnscale = 750.0 / h;
  }
  if (f.line_scale > 0.0) s.dlnscale = f.line_scale;
}

// Without a visible window nobody can answer a wait: dump every page instead.
void drop_waits_without_window() {
  ZgState& s = zgstate();
  if (s.wnd) return;
  s.wait_np = s.wait_op = s.wait_cl = false;
  s.dump = true;
}

void set_up_surface_size() {
  ZgState& s = zgstate();
  if (s.idev_type == 1) {
    if (!s.drawing_area) {
      create_window();
    } else {
      // The kept window keeps its size, also after a file device in between
      // has changed the surface size.
      gtk_widget_get_size_request(s.drawing_area, &s.wsxwd, &s.wsywd);
      if (s.wnd && !s.window_shown) show_window();  // it was hidden, but this open waits in it
    }
  } else if (s.exact) {
    s.wsxwd = static_cast<int>(std::ceil(s.exact_w));
    s.wsywd = static_cast<int>(std::ceil(s.exact_h));
  } else if (zgformat().paper) {
    s.wsxwd = static_cast<int>(s.ddvscale * s.iPS_PAGE_HEIGHT);
    s.wsywd = static_cast<int>(s.ddvscale * s.iPS_PAGE_WIDTH);
  } else {
    s.wsxwd = s.iwidth + 4;
    s.wsywd = s.iheight + 4;
  }
  s.wsyflip = s.exact ? s.exact_h : s.wsywd;
}

// The provisional context carries the background colour; the single PDF file
// is made here and receives every page. Window and raster pages make their
// own surfaces, so theirs is released again.
void make_first_context() {
  ZgState& s = zgstate();
  s.opening = true;
  s.cr.reset(zgcsfc());
  s.opening = false;
  if (is_window()) {
    zgupdate(0);
    if (s.wait_op) wait_for(1);
  }
  if (zgturnspage()) zgcatl();
  zgsetcolor(s.cr.get(), 0);
  if (zgformat().raster) {
    s.cr.reset();
    s.csr.reset();
  }
}

}  // namespace

void zgdopn(int iws, int iwidth, int iheight, int iposx, int iposy, int idmpdgt, int ibgpage,
            float rlwfact, bool lwait, bool lwait0, bool lwait1, bool lalt, bool lstdot, bool lkey,
            bool ldump, bool lwnd, bool lfgbg, bool lsep, int ifl, std::string_view cimgfmt,
            float rimgcmp, std::string_view clrmap, std::string_view bitmap, std::string_view fname,
            std::string_view title) {
  complete_earlier_output();
  reset_font_state();
  read_text_slots();
  take_arguments({iws, iwidth, iheight, iposx, iposy, idmpdgt, ibgpage, rlwfact, lwait, lwait0, lwait1, lalt,
                  lstdot, lkey, ldump, lwnd, lfgbg, lsep, ifl, cimgfmt, rimgcmp, clrmap, bitmap, fname, title});
  lay_out_paper(rlwfact);
  drop_waits_without_window();
  set_up_surface_size();
  zgreadcolormap(clrmap, zgstate().fgbg);
  zgreadbitmap(bitmap);
  make_first_context();
  // An error report that ends the process first completes what was written.
  set_msgdmp_fin_func(&zgfinishoutput);
}

void zgspag(double width_cm, double height_cm, double dpi) {
  ZgState& s = zgstate();
  const bool valid = std::isfinite(width_cm) && std::isfinite(height_cm) && width_cm > 0.0 && height_cm > 0.0;
  s.page_wcm = valid ? width_cm : 0.0;
  s.page_hcm = valid ? height_cm : 0.0;
  s.page_dpi = std::isfinite(dpi) && dpi > 0.0 ? dpi : 100.0;
}

bool zgturnspage() { return zgformat().rotated && !zgstate().exact; }

void zgdcls() {
  ZgState& s = zgstate();
  zgflushstroke();
  if (is_window() && !s.wait_np && s.wait_cl) {
    wait_for(2);
    // Closing the window ourselves must not end the process as a user's
    // close does: the application continues after the close.
    if (s.window) {
      g_signal_handlers_disconnect_by_func(G_OBJECT(s.window), reinterpret_cast<gpointer>(zg_destroy_event),
                                           nullptr);
      gtk_widget_destroy(s.window);
      while (gtk_events_pending()) gtk_main_iteration();
    }
    s.window = nullptr;
    s.drawing_area = nullptr;
    s.window_shown = false;
    s.lzeponly = false;
    s.cr.reset();
    s.csr.reset();
  }
  // Completes the single PDF file; for the other formats only a context left
  // from an open without pages remains.
  if (s.idev_type == 2) zgreleasesurface();
  zgglyphclear();
  s.pactive = false;
}

void zgpopn() {
  ZgState& s = zgstate();
  if (s.page < INT_MAX) s.page += 1;
  s.pactive = true;
  s.iwdidz = s.irwidth = 1;
  s.iclidz = 1;
  s.lfcmod = false;
  zgglyphclear();

  if (zgperpagefile()) {
    s.cr.reset(zgcsfc());
    if (zgturnspage()) zgcatl();
  }
  // A page after the close of the single PDF file has nowhere to go; the
  // completed file is not overwritten.
  if (!s.cr) return;

  fill_background();
  zgsetcolor(s.cr.get(), s.iclidz);
  cairo_set_line_width(s.cr.get(), s.linewidth[0] * s.dlnscale);
  if (is_window() && !s.laltz) {
    s.irxb = s.iryb = s.irxt = s.iryt = 0;
    zgupdate(0);
  }
}

void zgpcls() {
  ZgState& s = zgstate();
  zgflushstroke();
  if (is_window()) {
    zgupdate(0);
    if (s.wait_np) {
      s.dumpz = false;
      wait_for(3);
    }
    if (s.dump || s.dumpz) zgwritepageimage();
    s.dumpz = false;
    s.cr.reset();  // the surface stays as the window's page image
  }
  if (s.idev_type == 2 && s.pactive) zgformat().end_page();
  s.pactive = false;
}

void zgflash() {
  ZgState& s = zgstate();
  zgflushstroke();
  s.irxb = s.iryb = s.irxt = s.iryt = 0;
  zgupdate(0);
}

void zgoopn(std::string_view, std::string_view) {}

void zgocls(std::string_view) {
  if (!zgstate().laltz) zgupdate(1);
}

void zgupdate(int flag) {
  ZgState& s = zgstate();
  if (s.idev_type != 1 || !s.drawing_area) return;
  zgflushstroke();
  int x = s.irxb - 1, y = s.iryb - 1;
  int w = s.irxt - s.irxb + 1, h = s.iryt - s.iryb + 1;
  if (s.irxb == 0 && s.irxt == 0 && s.iryb == 0 && s.iryt == 0 && flag == 0) {
    x = 0;
    y = 0;
    w = s.wsxwd;
    h = s.wsywd;
  }
  while (gtk_events_pending()) gtk_main_iteration();
  if (s.drawing_area) {
    gtk_widget_queue_draw_area(s.drawing_area, x, y, w, h);
    GdkWindow* gw = gtk_widget_get_window(s.drawing_area);
    if (gw && gtk_widget_get_mapped(s.drawing_area)) gdk_window_process_updates(gw, FALSE);
  }
  s.irxb = s.iryb = s.irxt = s.iryt = 0;
}

void zguprect(int x, int y) {
  ZgState& s = zgstate();
  const int m = s.irwidth;
  if (x - m < s.irxb || s.irxb == 0) s.irxb = x - m;
  if (x + m > s.irxt) s.irxt = x + m;
  if (y - m < s.iryb || s.iryb == 0) s.iryb = y - m;
  if (y + m > s.iryt) s.iryt = y + m;
}

// ---------------------------------------------------------------------------
// Event handlers
// ---------------------------------------------------------------------------

gboolean zg_button_press_event(GtkWidget*, GdkEventButton*, gpointer) {
  ZgState& s = zgstate();
  s.next = s.ifunc >= 1 && s.ifunc <= 3;
  return TRUE;
}

gboolean zg_key_press_event(GtkWidget*, GdkEventKey* event, gpointer) {
  ZgState& s = zgstate();
  const guint k = event->keyval;
  const bool proceed = k == GDK_KEY_space || k == GDK_KEY_Return;
  switch (s.ifunc) {
    case 1:
      s.next = true;
      break;
    case 2:
      s.next = proceed;
      break;
    case 3:
      if (proceed) {
        s.next = true;
      } else if (k == GDK_KEY_d) {
        s.next = true;
        s.dumpz = true;
      } else if (k == GDK_KEY_q) {
        zgfinishoutput();
        std::exit(0);
      } else if (k == GDK_KEY_s) {
        s.next = true;
        s.wait_np = false;
      } else if (k == GDK_KEY_w) {
        s.wait_np = true;
      } else {
        s.next = false;
      }
      break;
    default:
      s.next = false;
      break;
  }
  return TRUE;
}

gboolean zg_expose_event(GtkWidget* widget, GdkEventExpose* event, gpointer) {
  ZgState& s = zgstate();
  if (s.idev_type != 1 || !s.csr) return FALSE;
  zgflushstroke();
  cairo_t* wcr = gdk_cairo_create(gtk_widget_get_window(widget));
  gdk_cairo_rectangle(wcr, &event->area);
  cairo_clip(wcr);
  cairo_surface_flush(s.csr.get());
  cairo_set_source_surface(wcr, s.csr.get(), 0, 0);
  cairo_paint(wcr);
  cairo_destroy(wcr);
  return FALSE;
}

void zg_destroy_event(GtkWidget*, gpointer) {
  if (gtk_main_level() > 0) gtk_main_quit();
  zgfinishoutput();
  std::exit(0);
}

cairo_status_t png2stdout(void* closure, const unsigned char* data, unsigned int length) {
  auto* stream = static_cast<std::FILE*>(closure);
  std::size_t written = std::fwrite(data, 1, length, stream);
  return written == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace zep
