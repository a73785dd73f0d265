// Output driver: device open and close, pages, drawing surfaces and their files,
// the window with its waits and event handlers, and page image dumps.
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo-svg.h>
#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zep/driver.hpp>

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

// "%s_%0*d.%s": stem, page number with dmpdgt digits, suffix.
std::string page_file_name(std::string_view suffix) {
  const ZgState& s = zgstate();
  int len = std::snprintf(nullptr, 0, "%s_%0*d.%.*s", s.dmpfile.c_str(), s.dmpdgt, s.page,
                          static_cast<int>(suffix.size()), suffix.data());
  std::string name(static_cast<std::size_t>(std::max(len, 0)) + 1, '\0');
  std::snprintf(name.data(), name.size(), "%s_%0*d.%.*s", s.dmpfile.c_str(), s.dmpdgt, s.page,
                static_cast<int>(suffix.size()), suffix.data());
  name.resize(static_cast<std::size_t>(std::max(len, 0)));
  return name;
}

// A surface that cannot write its file draws nothing; say so rather than lose
// the page silently.
void report_surface(cairo_surface_t* surface, const std::string& file) {
  cairo_status_t st = cairo_surface_status(surface);
  if (st != CAIRO_STATUS_SUCCESS)
    std::fprintf(stderr, "*** Error in zgpopn : Cannot write %s (%s).\n", file.c_str(),
                 cairo_status_to_string(st));
}

void write_page_image() {
  ZgState& s = zgstate();
  if (!s.csr) return;
  if (s.imgcmp > 1.0f) {
    std::fputs(" *** Error in zgdopn : ", stderr);
    std::fputs("Image compression must be 0-1.\n", stderr);
  }
  cairo_surface_flush(s.csr.get());
  std::string file = page_file_name(s.imgfmt);
  cairo_status_t st = cairo_surface_write_to_png(s.csr.get(), file.c_str());
  if (st != CAIRO_STATUS_SUCCESS)
    std::fprintf(stderr, "*** Error in zgpcls : Cannot write %s (%s).\n", file.c_str(),
                 cairo_status_to_string(st));
}

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
  if (s.idev_type == 1 || s.ifl == 1) {
    cairo_rectangle(tmp.get(), 0, 0, s.wsxwd, s.wsywd);
    cairo_fill(tmp.get());
  }
}

bool is_pdf() { return zgstate().idev_type == 2 && zgstate().ifl == 4; }
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
  const bool provisional = s.opening && s.idev_type == 2 && (s.ifl == 2 || s.ifl == 3 || (s.ifl == 4 && s.sep));
  cairo_surface_t* surface = nullptr;
  if (provisional) {
    // Only carries the background colour until the first page makes the real
    // surface and its file.
    surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
  } else if (s.idev_type == 1 || s.ifl == 1) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s.wsxwd, s.wsywd);
  } else if (s.ifl == 2) {
    s.ddvscale = 1.0;
    std::string file = page_file_name("eps");
    surface = cairo_ps_surface_create(file.c_str(), 842, 595);
    cairo_ps_surface_set_eps(surface, TRUE);
    s.linewidth = kZgEpsLineWidths;
    report_surface(surface, file);
  } else if (s.ifl == 3) {
    std::string file = page_file_name("svg");
    surface = cairo_svg_surface_create(file.c_str(), s.wsxwd, s.wsywd);
    report_surface(surface, file);
  } else {
    s.ddvscale = 1.0;
    std::string file = s.sep ? page_file_name("pdf") : s.dmpfile + ".pdf";
    surface = cairo_pdf_surface_create(file.c_str(), 595, 842);
    report_surface(surface, file);
  }
  // The previous page's surface (the window's page image) is replaced here.
  s.cr.reset();
  s.csr.reset(surface);
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  return cr;
}

void zgcatl() {
  ZgState& s = zgstate();
  if (!s.cr) return;
  const double sc = s.ddvscale;
  const double p = s.iPS_PAGE_WIDTH, q = s.iPS_PAGE_HEIGHT;
  cairo_translate(s.cr.get(), sc * p * 0.5 + s.offx, sc * q * 0.5 + s.offy);
  cairo_rotate(s.cr.get(), -1.5707963);
  cairo_translate(s.cr.get(), -sc * q * 0.5, -sc * p * 0.5);
}

void zgdopn(int iws, int iwidth, int iheight, int iposx, int iposy, int idmpdgt, int ibgpage,
            float rlwfact, bool lwait, bool lwait0, bool lwait1, bool lalt, bool lstdot, bool lkey,
            bool ldump, bool lwnd, bool lfgbg, bool lsep, int ifl, std::string_view cimgfmt,
            float rimgcmp, std::string_view clrmap, std::string_view bitmap, std::string_view fname,
            std::string_view title) {
  ZgState& s = zgstate();

  // A file still open from an earlier open is completed, not abandoned.
  s.cr.reset();
  if (s.idev_type == 2) s.csr.reset();

  // 1. font state
  s.fontfamily = kZgDefaultFont;
  if (s.font_desc) pango_font_description_free(s.font_desc);
  s.font_desc = pango_font_description_from_string(kZgDefaultFont);

  // 2. text-control slots
  s.lfprop = getlparm("lfprop");
  s.lcntl = getlparm("lcntl");
  s.isup = getiparm("isup");
  s.isub = getiparm("isub");
  s.irst = getiparm("irst");
  s.small = getrparm("small");
  s.shift = getrparm("shift");

  // 3. arguments
  s.posx = iposx;
  s.posy = iposy;
  s.wait_np = lwait;
  s.wait_op = lwait0;
  s.wait_cl = lwait1;
  s.key = lkey;
  s.dump = ldump;
  s.dumpz = false;
  s.fgbg = lfgbg;
  s.sep = lsep;
  s.laltz = lalt;
  s.jdev_type = iws;
  s.idev_type = std::abs(iws);
  s.wnd = lwnd;
  s.page = std::max(ibgpage, 1) - 1;  // page numbers start at 1 at the least
  s.imgfmt = zgtrim(cimgfmt, kZgSuffixLength);
  s.imgcmp = rimgcmp;
  s.dmpdgt = std::clamp(idmpdgt, 0, 32);
  s.pngstdout = lstdot;
  s.ifl = ifl;
  s.iwidth = std::max(iwidth, 1);
  s.iheight = std::max(iheight, 1);
  s.dlnscale = rlwfact;
  s.ddvscale = 1.0;
  s.pactive = false;
  s.lfcmod = false;

  // 4. paper layout
  if (s.idev_type == 2 && (s.ifl == 2 || s.ifl == 4)) {
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
    if (s.ifl == 2) s.dlnscale = 0.1;
  } else {
    s.dlnscale = 1.0;
  }

  // 5. without a visible window nobody can answer a wait: dump every page
  if (!s.wnd) {
    s.wait_np = s.wait_op = s.wait_cl = false;
    s.dump = true;
  }

  // 6. names
  s.dmpfile = zgtrim(fname, kZgNameLength);
  s.xtitle = zgtrim(title, kZgNameLength);

  // 7. window or file geometry
  if (s.idev_type == 1) {
    if (!s.drawing_area) {
      create_window();
    } else {
      // The kept window keeps its size, also after a file device in between
      // has changed the surface size.
      gtk_widget_get_size_request(s.drawing_area, &s.wsxwd, &s.wsywd);
      if (s.wnd && !s.window_shown) show_window();  // it was hidden, but this open waits in it
    }
  } else if (s.ifl == 2 || s.ifl == 4) {
    s.wsxwd = static_cast<int>(s.ddvscale * s.iPS_PAGE_HEIGHT);
    s.wsywd = static_cast<int>(s.ddvscale * s.iPS_PAGE_WIDTH);
  } else {
    s.wsxwd = s.iwidth + 4;
    s.wsywd = s.iheight + 4;
  }

  // 8.-10. colour table and patterns
  zgreadcolormap(clrmap, s.fgbg);
  zgreadbitmap(bitmap);

  // 11. first (provisional) context
  s.opening = true;
  s.cr.reset(zgcsfc());
  s.opening = false;
  if (is_window()) {
    zgupdate(0);
    if (s.wait_op) wait_for(1);
  }

  // 12. rotated PDF page
  if (is_pdf()) zgcatl();

  // 13. background colour; window and PNG pages make their own surfaces
  zgsetcolor(s.cr.get(), 0);
  if (s.idev_type == 1 || s.ifl == 1) {
    s.cr.reset();
    s.csr.reset();
  }
}

void zgdcls() {
  ZgState& s = zgstate();
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
  if (s.idev_type == 2) {
    // Completes the single PDF file; for the other formats only a context
    // left from an open without pages remains.
    s.cr.reset();
    if (s.csr) cairo_surface_finish(s.csr.get());
    s.csr.reset();
  }
  s.pactive = false;
}

void zgpopn() {
  ZgState& s = zgstate();
  s.page += 1;
  s.pactive = true;
  s.iwdidz = s.irwidth = 1;
  s.iclidz = 1;
  s.lfcmod = false;

  if (!is_pdf() || s.sep) {
    s.cr.reset(zgcsfc());
    if (is_pdf()) zgcatl();
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
  if (is_window()) {
    zgupdate(0);
    if (s.wait_np) {
      s.dumpz = false;
      wait_for(3);
    }
    if (s.dump || s.dumpz) write_page_image();
    s.dumpz = false;
    s.cr.reset();  // the surface stays as the window's page image
  }
  if (s.idev_type == 2 && s.pactive) {
    switch (s.ifl) {
      case 1:
        cairo_surface_flush(s.csr.get());
        if (s.pngstdout) {
          cairo_surface_write_to_png_stream(s.csr.get(), png2stdout, stdout);
          std::fflush(stdout);
        } else {
          write_page_image();
        }
        s.cr.reset();
        s.csr.reset();
        break;
      case 2:
      case 3:
        s.cr.reset();
        cairo_surface_finish(s.csr.get());
        s.csr.reset();
        break;
      default:
        // After the close of the single file the page had no context to go to.
        if (!s.cr) break;
        cairo_show_page(s.cr.get());
        if (s.sep) {
          s.cr.reset();
          cairo_surface_finish(s.csr.get());
          s.csr.reset();
        }
        break;
    }
  }
  s.pactive = false;
}

void zgflash() {
  ZgState& s = zgstate();
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
  std::exit(0);
}

cairo_status_t png2stdout(void* closure, const unsigned char* data, unsigned int length) {
  auto* stream = static_cast<std::FILE*>(closure);
  std::size_t written = std::fwrite(data, 1, length, stream);
  return written == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace zep
