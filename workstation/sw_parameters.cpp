// The workstation (SW) parameter tables. Every entry can be set: the SW tables
// carry no settable flags.
#include <zep/foundation.hpp>
#include <zep/workstation.hpp>

#include "foundation/registry.hpp"
#include "workstation/sw_tables.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::TextValue;

constexpr Entry<int> kIntegers[] = {
    {"MAXWNU", "****MAXWNU", 2},
    {"IWS", "****IWS", 0},
    {"IPOSX", "WINDOW_X_POS", -999},
    {"IPOSY", "WINDOW_Y_POS", -999},
    {"IWIDTH", "WINDOW_WIDTH", 900},
    {"IHEIGHT", "WINDOW_HEIGHT", 650},
    {"MODE", "****MODE", 1},
    {"NLNSIZE", "****NLSIZE", 21},
    {"ICLRMAP", "COLORMAP_NUMBER", 1},
    {"IDMPDGT", "DMPFILE_DIGITS", 4},
    {"MAXFNU", "****MAXFNU", 4},
    {"IFL", "****IFL", 4},
    // Its long name is entirely blank, so a lookup with a blank name finds it.
    {"IBGPAGE", "                                        ", 1},
    // Largest side of a drawing surface in pixels (window, PNG, SVG): the plot
    // size IWIDTH x IHEIGHT plus 4 must fit. From 5 to 32767.
    {"MAXSURF", "MAX_SURFACE_SIZE", 20000},
};

constexpr Entry<bool> kLogicals[] = {
    {"LWAIT", "WAIT", true},
    {"LWAIT0", "WAIT_OPENING", false},
    {"LWAIT1", "WAIT_CLOSING", true},
    {"LKEY", "KEYCLICK", true},
    {"LDUMP", "DUMP", false},
    {"LALT", "ALTERNATE", false},
    {"LCOLOR", "ENABLE_COLOR_PS", true},
    {"LSEP", "SEPARATE", false},
    {"LPRINT", "PRINT", false},
    {"LWND", "SHOW_WINDOW", true},
    {"LFGBG", "****LFGBG", false},
    {"LCMCH", "CMAP_CHANGABLE", true},
    {"LSTDOT", "PNG_STDOUT", false},
    {"SYSFONT", "USE_SYSTEM_FONT", false},
    {"LUTF8", "DECODE_UTF8_TEXT", true},
    // SIGINT, SIGTERM and SIGHUP finish the output first when the application has no handler.
    {"LSIGNL", "FINISH_OUTPUT_ON_SIGNAL", true},
};

constexpr Entry<float> kReals[] = {
    {"RIMGCMP", "IMAGE_COMPRESSION", -1.0F},
    {"RLWFACT", "LINE_WIDTH_FACTOR", 0.2F},
    // An exact page for workstation 2, in cm: PDF, EPS and SVG pages of that
    // size, upright; PNG pages of that size at DPI pixels per inch, with no
    // border. 0 and 0 keep the A4 layout and the IWIDTH x IHEIGHT image.
    {"PAGEW", "PAGE_WIDTH_CM", 0.0F},
    {"PAGEH", "PAGE_HEIGHT_CM", 0.0F},
    {"DPI", "IMAGE_DPI", 100.0F},
};

constexpr Entry<TextValue> kTexts[] = {
    {"WSNAME01", "DEVICE_NAME01", "DISP"},
    {"WSNAME02", "DEVICE_NAME02", "FILES"},
    {"FNAME", "FRAME_NAME", "zep"},
    {"TITLE", "TITLE", "*"},
    {"CLRMAP", "COLORMAP", "colormap"},
    {"BITMAP", "BITMAP", "bitmap"},
    {"CL2TN", "COLOR_TO_TONE_MAP", "cl2tnmap"},
    {"FONT1", "FONT1", "font1u"},
    {"FONT2", "FONT2", "font2u"},
    {"LPR", "LPR", "lpr"},
    {"CIMGFMT", "IMAGE_FORMAT", "png"},
    {"CMAPLIST", "COLORMAP_LIST", "cmaplist"},
    {"FLNAME01", "FILE_NAME01", "PNG"},
    {"FLNAME02", "FILE_NAME02", "EPS"},
    {"FLNAME03", "FILE_NAME03", "SVG"},
    {"FLNAME04", "FILE_NAME04", "PDF"},
    {"FONTNAME", "FONTNAME", ""},
};

}  // namespace

ZEP_DEFINE_PACKAGE_TABLES(sw, "SW")

unsigned long workstation::swTextStores(std::string_view name) {
  auto& texts = registry::tableOf<kTexts>("SW");
  return texts.stores(texts.qin(name));
}

}  // namespace zep
