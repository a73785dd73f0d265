// SW parameter tables: contents, the blank long name of IBGPAGE, overrides from
// the runtime sources under "SW", and the workstation listing.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "foundation/units.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;

template <typename V>
struct Expected {
  const char* shortName;
  const char* longName;
  V value;
};

const Expected<int> kIntegers[] = {
    {"MAXWNU", "****MAXWNU", 2},        {"IWS", "****IWS", 0},
    {"IPOSX", "WINDOW_X_POS", -999},    {"IPOSY", "WINDOW_Y_POS", -999},
    {"IWIDTH", "WINDOW_WIDTH", 900},    {"IHEIGHT", "WINDOW_HEIGHT", 650},
    {"MODE", "****MODE", 1},            {"NLNSIZE", "****NLSIZE", 21},
    {"ICLRMAP", "COLORMAP_NUMBER", 1},  {"IDMPDGT", "DMPFILE_DIGITS", 4},
    {"MAXFNU", "****MAXFNU", 4},        {"IFL", "****IFL", 4},
    {"IBGPAGE", "", 1},
    {"MAXSURF", "MAX_SURFACE_SIZE", 20000},
};

const Expected<bool> kLogicals[] = {
    {"LWAIT", "WAIT", true},          {"LWAIT0", "WAIT_OPENING", false},
    {"LWAIT1", "WAIT_CLOSING", true}, {"LKEY", "KEYCLICK", true},
    {"LDUMP", "DUMP", false},         {"LALT", "ALTERNATE", false},
    {"LCOLOR", "ENABLE_COLOR_PS", true}, {"LSEP", "SEPARATE", false},
    {"LPRINT", "PRINT", false},       {"LWND", "SHOW_WINDOW", true},
    {"LFGBG", "****LFGBG", false},    {"LCMCH", "CMAP_CHANGABLE", true},
    {"LSTDOT", "PNG_STDOUT", false},  {"SYSFONT", "USE_SYSTEM_FONT", false},
    {"LUTF8", "DECODE_UTF8_TEXT", true},
    {"LSIGNL", "FINISH_OUTPUT_ON_SIGNAL", true},
};

const Expected<float> kReals[] = {
    {"RIMGCMP", "IMAGE_COMPRESSION", -1.0F},
    {"RLWFACT", "LINE_WIDTH_FACTOR", 0.2F},
    {"PAGEW", "PAGE_WIDTH_CM", 0.0F},
    {"PAGEH", "PAGE_HEIGHT_CM", 0.0F},
    {"DPI", "IMAGE_DPI", 100.0F},
};

const Expected<const char*> kTexts[] = {
    {"WSNAME01", "DEVICE_NAME01", "DISP"},     {"WSNAME02", "DEVICE_NAME02", "FILES"},
    {"FNAME", "FRAME_NAME", "zep"},            {"TITLE", "TITLE", "*"},
    {"CLRMAP", "COLORMAP", "colormap"},        {"BITMAP", "BITMAP", "bitmap"},
    {"CL2TN", "COLOR_TO_TONE_MAP", "cl2tnmap"}, {"FONT1", "FONT1", "font1u"},
    {"FONT2", "FONT2", "font2u"},              {"LPR", "LPR", "lpr"},
    {"CIMGFMT", "IMAGE_FORMAT", "png"},        {"CMAPLIST", "COLORMAP_LIST", "cmaplist"},
    {"FLNAME01", "FILE_NAME01", "PNG"},        {"FLNAME02", "FILE_NAME02", "EPS"},
    {"FLNAME03", "FILE_NAME03", "SVG"},        {"FLNAME04", "FILE_NAME04", "PDF"},
    {"FONTNAME", "FONTNAME", ""},
};

std::string padded(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <typename V>
bool sameValue(const V& got, const V& want) { return got == want; }
bool sameValue(const std::string& got, const char* want) { return got == padded(want, 80); }

template <typename V, typename Stored, std::size_t N, typename Ops>
std::string checkTable(const Expected<V> (&want)[N], Ops ops, Stored init) {
  std::string bad;
  int n = 0;
  ops.qnp(n);
  if (n != static_cast<int>(N)) bad += "count " + std::to_string(n) + "\n";
  for (std::size_t k = 0; k < N; ++k) {
    const int id = static_cast<int>(k) + 1;
    const Expected<V>& e = want[k];
    std::string s(8, '?'), l(40, '?');
    ops.qcp(id, s);
    ops.qcl(id, l);
    if (s != padded(e.shortName, 8)) bad += "short name of " + std::to_string(id) + ": [" + s + "]\n";
    if (l != padded(e.longName, 40)) bad += "long name of " + std::to_string(id) + ": [" + l + "]\n";
    Stored v = init;
    ops.qvl(id, v);
    if (!sameValue(v, e.value)) bad += std::string("default of ") + e.shortName + "\n";
    int byShort = -1, byLong = -1;
    ops.qid(lower(e.shortName), byShort);
    ops.qid(lower(e.longName) + " ", byLong);  // trailing blanks do not count
    if (byShort != id || byLong != id) bad += std::string("lookup of ") + e.shortName + "\n";
  }
  return bad;
}

#define TABLE_OPS(name, p, T)                                     \
  struct name {                                                   \
    void qnp(int& n) { zep::p##qnp(n); }                          \
    void qcp(int id, std::span<char> s) { zep::p##qcp(id, s); }   \
    void qcl(int id, std::span<char> s) { zep::p##qcl(id, s); }   \
    void qvl(int id, T v) { zep::p##qvl(id, v); }                 \
    void qid(std::string_view s, int& id) { zep::p##qid(s, id); } \
  };
TABLE_OPS(SwiOps, swi, int&)
TABLE_OPS(SwlOps, swl, bool&)
TABLE_OPS(SwrOps, swr, float&)
TABLE_OPS(SwcOps, swc, std::span<char>)

TEST(SwParameters, TablesHoldTheDocumentedEntries) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;  // no configuration file can interfere
    std::string bad = checkTable(kIntegers, SwiOps{}, 0) + checkTable(kLogicals, SwlOps{}, false) +
                      checkTable(kReals, SwrOps{}, 0.0F) + checkTable(kTexts, SwcOps{}, std::string(80, '?'));
    // The entirely blank long name is found by a blank name.
    int id = 0;
    zep::swiqid(std::string(40, ' '), id);
    if (id != 13) bad += "blank name\n";
    std::string title(100, '?');
    zep::swcget("TITLE", title);
    if (title != padded("*", 100)) bad += "TITLE into 100 characters\n";
    std::string shortText(2, '?');
    zep::swcget("FNAME", shortText);
    if (shortText != "ze") bad += "FNAME into 2 characters\n";
    return bad;
  });
}

TEST(SwParameters, EveryEntryCanBeSet) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string bad;
    zep::swlset("LCOLOR", false);
    bool lcolor = true;
    zep::swlget("LCOLOR", lcolor);
    if (lcolor) bad += "LCOLOR\n";
    zep::swiset("MAXWNU", 3);
    zep::swrset("RLWFACT", 0.5F);
    // 80 characters and blanks: the blanks are no part of the value (a longer one is refused).
    zep::swcset("FNAME", std::string(80, 'x') + std::string(10, ' '));
    int maxwnu = 0;
    float f = 0;
    std::string fname(90, '?');
    zep::swiget("MAXWNU", maxwnu);
    zep::swrget("RLWFACT", f);
    zep::swcget("FNAME", fname);
    if (maxwnu != 3 || f != 0.5F) bad += "numbers\n";
    if (fname != std::string(80, 'x') + std::string(10, ' ')) bad += "FNAME [" + fname + "]\n";
    return bad;
  });
}

TEST(SwParameters, ErrorsUseTheSwRoutineNames) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  int id = 0;
  EXPECT_EXIT(zep::swiqid("WINDOW", id), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SWIQID) ***  PARAMETER 'WINDOW' IS NOT DEFINED."));
  EXPECT_EXIT(zep::swcsvl(18, "x"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SWCSVL) ***  IDX IS OUT OF RANGE."));
  bool l = false;
  EXPECT_EXIT(zep::swlqvl(0, l), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SWLQVL) ***  IDX IS OUT OF RANGE."));
}

TEST(SwParameters, EnvironmentOverridesUnderSwAndLongNames) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    ::setenv("SW_IWIDTH", "640", 1);
    int width = 0;
    zep::swiget("IWIDTH", width);
    return width == 640 ? std::string() : "SW_IWIDTH gave " + std::to_string(width);
  });
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    ::setenv("SW_IWIDTH", "640", 1);
    ::setenv("WINDOW_WIDTH", "800", 1);
    int width = 0;
    zep::swiget("IWIDTH", width);
    return width == 800 ? std::string() : "WINDOW_WIDTH gave " + std::to_string(width);
  });
}

TEST(SwParameters, FileAndOptionOverrides) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    {
      std::FILE* f = std::fopen(".zeprc", "w");
      std::fprintf(f, "* a comment\nSW_FNAME myplot\nSW_LWAIT F\nIMAGE_COMPRESSION 0.5\n");
      std::fclose(f);
    }
    const char* argv[] = {"prog", "-SW_TITLE=run 7", "-sw_ifl=1", "-SW_LWAIT", nullptr};
    zep::zep_set_arguments(4, argv);
    std::string bad;
    std::string fname(80, ' '), title(80, ' ');
    int ifl = 0;
    bool lwait = true;
    float cmp = 0;
    zep::swcget("FNAME", fname);
    zep::swcget("TITLE", title);
    zep::swiget("IFL", ifl);
    zep::swlget("LWAIT", lwait);
    zep::swrget("RIMGCMP", cmp);
    if (fname != padded("myplot", 80)) bad += "FNAME [" + fname + "]\n";
    if (title != padded("run 7", 80)) bad += "TITLE [" + title + "]\n";
    if (ifl != 1) bad += "IFL\n";
    if (lwait) bad += "LWAIT (an option without '=' is ignored)\n";
    if (cmp != 0.5F) bad += "RIMGCMP by long name in the file\n";
    // Set-with-override: the option wins over the caller's value.
    zep::swistx("IFL", 3);
    zep::swistx("IDMPDGT", 6);
    int digits = 0;
    zep::swiget("IFL", ifl);
    zep::swiget("IDMPDGT", digits);
    if (ifl != 1 || digits != 6) bad += "swistx\n";
    return bad;
  });
}

// ---------------------------------------------------------------------------
// Workstation listing
// ---------------------------------------------------------------------------

// Sends the message unit to a file and returns what sgpwsn wrote.
std::string listing() {
  zeptest::TempWorkDir dir;
  zep::units::open(42, (dir.path() / "list.txt").string(), "w");
  zep::gliset("MSGUNIT", 42);
  zep::sgpwsn();
  zep::units::close(42);
  zep::gliset("MSGUNIT", 0);
  return zeptest::readFile(dir.path() / "list.txt");
}

TEST(SwParameters, ListingOfWorkstations) {
  ZEP_EXPECT_ISOLATED([] {
    std::string bad;
    if (const std::string s = listing(); s != " 1:DISP, 2:FILES ;\n") bad += "default [" + s + "]\n";
    zep::swiset("MAXWNU", 1);
    if (const std::string s = listing(); s != " 1:DISP ;\n") bad += "one [" + s + "]\n";
    zep::swiset("MAXWNU", 2);
    zep::swcset("WSNAME02", "");
    if (const std::string s = listing(); s != " 1:DISP, 2: ;\n") bad += "blank name [" + s + "]\n";
    zep::swcset("WSNAME01", "LONGNAME99");  // the name is read in 8 characters
    if (const std::string s = listing(); s != " 1:LONGNAME, 2: ;\n") bad += "long name [" + s + "]\n";
    return bad;
  });
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zep::swiset("MAXWNU", 3);
        zep::sgpwsn();
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SWCQID) ***  PARAMETER 'WSNAME03' IS NOT DEFINED."));
  EXPECT_EXIT(
      {
        zep::swiset("MAXWNU", 0);
        zep::sgpwsn();
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SGPWSN) ***  NUMBER OF WORKSTATIONS (MAXWNU) MUST BE 1 TO 99."));
}

}  // namespace
