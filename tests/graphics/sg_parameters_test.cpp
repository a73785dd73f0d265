// SG parameter tables: contents, the generic table and its two exceptions,
// value forwarding, error reports and runtime overrides.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <zep/zep.hpp>

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
    {"IRMODE", "BOUNDARY_DIRECTION", 0},     {"MOVE", "LINE_RESUME_MODE", 1},
    {"NBITS", "PATTERN_BIT_LENGTH", 16},     {"ISUP", "BEGIN_SUPERSCRIPT", 124},
    {"ISUB", "BEGIN_SUBSCRIPT", 95},         {"IRST", "END_SCRIPT", 34},
    {"NPMSKIP", "POLIMARKER_INTERVAL", 1},   {"IFONT", "FONT_NUMBER", 1},
    {"ICLRMAP", "COLORMAP_NUMBER", 1},       {"IROT", "LINE_LABEL_ROTATION_ANGLE", 0},
    {"INDEXC", "LABEL_CHAR_INDEX", 0},       {"NBUFF", "LINE_BUFFERING_LENGTH", 200},
    {"IATONE", "ARROWHEAD_SHADE_PATTERN", 999}, {"IWS", "++++IWS", 0},
    {"ITR", "++++ITR", 1},                   {"IBGCLI", "BACKGROUND_COLOR_INDEX", 999},
    {"NFRAME", "****NFRAME", 0},             {"NPAGE", "****NPAGE", 0},
    {"NLEVEL", "****NLEVEL", 0},             {"INDEX", "CORNERMARK_INDEX", 1},
    {"ITR3", "++++ITR3", 1},                 {"IXC3", "++++IXC3", 1},
    {"IYC3", "++++IYC3", 2},
};

const Expected<bool> kLogicals[] = {
    {"LCLIP", "ENABLE_CLIPPING", false},
    {"LCHAR", "ENABLE_LINE_LABELING", false},
    {"LLNINT", "ENABLE_LINEAR_INTERPOLATION", false},
    {"LGCINT", "ENABLE_GREATCIRCLE_INTERPOLATION", true},
    {"LSOFTF", "ENABLE_SOFTFILL", true},
    {"LCL2TN", "ENABLE_COLOR_SUBSTITUTION", false},
    {"LCNTL", "ENABLE_CONTROL_CHAR", false},
    {"LFULL", "USE_FULL_WINDOW", false},
    {"LFPROP", "ENABLE_PROPORTIONAL_FONT", true},
    {"LROT", "ENABLE_LINE_LABEL_ROTATION", false},
    {"LBUFF", "ENABLE_LINE_BUFFERING", true},
    {"LCURV", "DISABLE_LINE_LABEL_AT_CURVE", true},
    {"LPROP", "FIX_ARROWHEAD_PROPORTION", true},
    {"LUARW", "ENABLE_ARROWHEAD_MAPPING", true},
    {"LARROW", "----LARROW", false},
    {"LATONE", "ENABLE_ARROWHEAD_SHADE", false},
    {"LDEG", "USE_DEGREE", true},
    {"LCORNER", "DRAW_CORNERMARK", false},
    {"LTITLE", "DRAW_PAGE_TITLE", true},
    {"LWIDE", "****LWIDE", false},
    {"LFGBG", "****LFGBG", false},
    {"L2TO3", "****L2TO3", false},
    {"LXLOG3", "++++LXLOG3", false},
    {"LYLOG3", "++++LYLOG3", false},
    {"LZLOG3", "++++LZLOG3", false},
    {"MARKFONT", "USE_ZEPMARKER_FONT", true},
};

const Expected<float> kReals[] = {
    {"RDX", "INTERPOLATION_ANGLE_X", 5.0F},        {"RDY", "INTERPOLATION_ANGLE_Y", 5.0F},
    {"BITLEN", "LINE_BIT_LENGTH", 0.003F},         {"SMALL", "SCRIPT_HEIGHT", 0.7F},
    {"SHIFT", "SCRIPT_SHIFT", 0.3F},               {"PMFACT", "POLIMARKER_HEIGHT", 2.0F},
    {"RFAROT", "****RFAROT", 0.01F},               {"TNBLEN", "TONE_CYCLE_LENGTH", 0.001F},
    {"FWC", "LINE_LABEL_SPACE", 1.25F},            {"CWL", "LINE_CYCLE_LENGTH", 30.0F},
    {"FFCT", "LINE_START_POSITION", 0.5F},         {"RBUFF", "RESUME_POSITION_AFTER_BUFFERING", 0.99F},
    {"RCURV", "LINE_LABEL_THRESHOLD_CURVATURE", 1.0F}, {"AFACT", "ARROWHEAD_PROPOTION", 0.33F},
    {"CONST", "ARROWHEAD_SIZE", 0.01F},            {"CONSTM", "ARROWHEAD_SIZE_MAP", 5.0F},
    {"ANGLE", "ARROWHEAD_ANGLE", 20.0F},           {"VXMIN", "++++VXMIN", 0.0F},
    {"VXMAX", "++++VXMAX", 1.0F},                  {"VYMIN", "++++VYMIN", 0.0F},
    {"VYMAX", "++++VYMAX", 1.0F},                  {"UXMIN", "++++UXMIN", 0.0F},
    {"UXMAX", "++++UXMAX", 1.0F},                  {"UYMIN", "++++UYMIN", 0.0F},
    {"UYMAX", "++++UYMAX", 1.0F},                  {"VXOFF", "++++VXOFF", 0.0F},
    {"VYOFF", "++++VYOFF", 0.0F},                  {"PLX", "++++PLX", 0.0F},
    {"PLY", "++++PLY", 90.0F},                     {"PLROT", "++++PLROT", 0.0F},
    {"SIMFAC", "++++SIMFAC", 0.0F},                {"STLAT1", "++++STLAT1", 0.0F},
    {"STLAT2", "++++STLAT2", 0.0F},                {"TXMIN", "++++TXMIN", -180.0F},
    {"TXMAX", "++++TXMAX", 180.0F},                {"TYMIN", "++++TYMIN", -90.0F},
    {"TYMAX", "++++TYMAX", 90.0F},                 {"CXMIN", "++++CXMIN", 0.0F},
    {"CXMAX", "++++CXMAX", 1.0F},                  {"CYMIN", "++++CYMIN", 0.0F},
    {"CYMAX", "++++CYMAX", 1.0F},                  {"RSAT", "SATELLITE_ALTITUDE", 0.0F},
    {"FACTOR", "****FACTOR", 1.0F},                {"CORNER", "CORNERMARK_LENGTH", 0.01F},
    {"XPAD", "****XPAD", 1.0F},                    {"YPAD", "****YPAD", 1.0F},
    {"TILT3", "++++TILT3", 0.0F},                  {"ANGLE3", "++++ANGLE3", 30.0F},
    {"XOFF3", "++++XOFF3", 0.0F},                  {"YOFF3", "++++YOFF3", 0.0F},
    {"XOBJ3", "++++XOBJ3", 0.5F},                  {"YOBJ3", "++++YOBJ3", 0.5F},
    {"ZOBJ3", "++++ZOBJ3", 0.0F},                  {"XEYE3", "++++XEYE3", -0.8F},
    {"YEYE3", "++++YEYE3", -1.5F},                 {"ZEYE3", "++++ZEYE3", 1.5F},
    {"SEC3", "++++SEC3", 0.0F},                    {"VXMIN3", "++++VXMIN3", 0.0F},
    {"VXMAX3", "++++VXMAX3", 1.0F},                {"VYMIN3", "++++VYMIN3", 0.0F},
    {"VYMAX3", "++++VYMAX3", 1.0F},                {"VZMIN3", "++++VZMIN3", 0.0F},
    {"VZMAX3", "++++VZMAX3", 1.0F},                {"UXMIN3", "++++UXMIN3", 0.0F},
    {"UXMAX3", "++++UXMAX3", 1.0F},                {"UYMIN3", "++++UYMIN3", 0.0F},
    {"UYMAX3", "++++UYMAX3", 1.0F},                {"UZMIN3", "++++UZMIN3", 0.0F},
    {"UZMAX3", "++++UZMAX3", 1.0F},                {"VXORG3", "++++VXORG3", 0.0F},
    {"VYORG3", "++++VYORG3", 0.0F},                {"VZORG3", "++++VZORG3", 0.0F},
    {"SIMFAC3", "++++SIMFAC3", 0.0F},
};

// The generic order with the type codes (1 integer, 2 logical, 3 real).
const std::pair<const char*, int> kGeneric[] = {
    {"RDX", 3},     {"RDY", 3},     {"LCLIP", 2},   {"LCHAR", 2},   {"LLNINT", 2},  {"LGCINT", 2},
    {"LSOFTF", 2},  {"LCL2TN", 2},  {"IRMODE", 1},  {"BITLEN", 3},  {"MOVE", 1},    {"NBITS", 1},
    {"LCNTL", 2},   {"SMALL", 3},   {"SHIFT", 3},   {"ISUP", 1},    {"ISUB", 1},    {"IRST", 1},
    {"LFULL", 2},   {"PMFACT", 3},  {"NPMSKIP", 1}, {"RFAROT", 3},  {"TNBLEN", 3},  {"IFONT", 1},
    {"ICLRMAP", 1}, {"LFPROP", 2},  {"LROT", 2},    {"IROT", 1},    {"FWC", 3},     {"CWL", 3},
    {"FFCT", 3},    {"INDEXC", 1},  {"LBUFF", 2},   {"NBUFF", 1},   {"RBUFF", 3},   {"LCURV", 2},
    {"RCURV", 3},   {"LPROP", 2},   {"LUARW", 2},   {"AFACT", 3},   {"CONST", 3},   {"CONSTM", 3},
    {"ANGLE", 3},   {"LARROW", 2},  {"LATONE", 2},  {"IATONE", 1},  {"IWS", 0},     {"ITR", 1},
    {"IBGCLI", 1},  {"VXMIN", 3},   {"VXMAX", 3},   {"VYMIN", 3},   {"VYMAX", 3},   {"UXMIN", 3},
    {"UXMAX", 3},   {"UYMIN", 3},   {"UYMAX", 3},   {"VXOFF", 3},   {"VYOFF", 3},   {"PLX", 3},
    {"PLY", 3},     {"PLROT", 3},   {"SIMFAC", 3},  {"STLAT1", 3},  {"STLAT2", 3},  {"TXMIN", 3},
    {"TXMAX", 3},   {"TYMIN", 3},   {"TYMAX", 3},   {"CXMIN", 3},   {"CXMAX", 3},   {"CYMIN", 3},
    {"CYMAX", 3},   {"RSAT", 3},    {"LDEG", 2},    {"NFRAME", 1},  {"NPAGE", 1},   {"NLEVEL", 1},
    {"FACTOR", 3},  {"INDEX", 1},   {"LCORNER", 2}, {"LTITLE", 2},  {"CORNER", 3},  {"XPAD", 3},
    {"YPAD", 3},    {"LWIDE", 2},   {"ITR3", 1},    {"TILT3", 3},   {"ANGLE3", 3},  {"XOFF3", 3},
    {"YOFF3", 3},   {"XOBJ3", 3},   {"YOBJ3", 3},   {"ZOBJ3", 3},   {"XEYE3", 3},   {"YEYE3", 3},
    {"ZEYE3", 3},   {"IXC3", 1},    {"IYC3", 1},    {"SEC3", 3},    {"LFGBG", 2},   {"L2TO3", 2},
    {"VXMIN3", 3},  {"VXMAX3", 3},  {"VYMIN3", 3},  {"VYMAX3", 3},  {"VZMIN3", 3},  {"VZMAX3", 3},
    {"UXMIN3", 3},  {"UXMAX3", 3},  {"UYMIN3", 3},  {"UYMAX3", 3},  {"UZMIN3", 3},  {"UZMAX3", 3},
    {"VXORG3", 3},  {"VYORG3", 3},  {"VZORG3", 3},  {"SIMFAC3", 3}, {"LXLOG3", 2},  {"LYLOG3", 2},
    {"LZLOG3", 2},  {"MARKFONT", 2},
};

std::string padded(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Checks names, lookups and defaults of one typed table; returns the mismatches.
template <typename V, std::size_t N, typename Ops>
std::string checkTable(const Expected<V> (&want)[N], Ops ops) {
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
    V v{};
    ops.qvl(id, v);
    if (!(v == e.value)) bad += std::string("default of ") + e.shortName + "\n";
    int byShort = -1, byLong = -1;
    ops.qid(lower(e.shortName), byShort);
    ops.qid(lower(e.longName), byLong);
    if (byShort != id || byLong != id) bad += std::string("lookup of ") + e.shortName + "\n";
  }
  return bad;
}

#define TABLE_OPS(name, p, T)                                               \
  struct name {                                                             \
    void qnp(int& n) { zep::p##qnp(n); }                                    \
    void qcp(int id, std::span<char> s) { zep::p##qcp(id, s); }             \
    void qcl(int id, std::span<char> s) { zep::p##qcl(id, s); }             \
    void qvl(int id, T& v) { zep::p##qvl(id, v); }                          \
    void qid(std::string_view s, int& id) { zep::p##qid(s, id); }           \
  };

TABLE_OPS(SgiOps, sgi, int)
TABLE_OPS(SglOps, sgl, bool)
TABLE_OPS(SgrOps, sgr, float)

TEST(SgParameters, TypedTablesHoldTheDocumentedEntries) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;  // no configuration file can interfere
    return checkTable(kIntegers, SgiOps{}) + checkTable(kLogicals, SglOps{}) + checkTable(kReals, SgrOps{});
  });
}

std::string typedLongName(const std::string& shortName) {
  for (const auto& e : kIntegers) if (shortName == e.shortName) return e.longName;
  for (const auto& e : kLogicals) if (shortName == e.shortName) return e.longName;
  for (const auto& e : kReals) if (shortName == e.shortName) return e.longName;
  return "?";
}

TEST(SgParameters, GenericTableOrderTypesAndLongNames) {
  int n = 0;
  zep::sgpqnp(n);
  ASSERT_EQ(n, 122);
  ASSERT_EQ(std::size(kGeneric), 122U);
  for (int id = 1; id <= n; ++id) {
    const auto& [shortName, type] = kGeneric[id - 1];
    std::string s(8, '?'), l(40, '?');
    int t = -1, found = -1;
    zep::sgpqcp(id, s);
    zep::sgpqcl(id, l);
    zep::sgpqit(id, t);
    zep::sgpqid(shortName, found);
    EXPECT_EQ(s, padded(shortName, 8)) << id;
    EXPECT_EQ(t, type) << shortName;
    EXPECT_EQ(found, id) << shortName;
    const std::string wantLong = std::string(shortName) == "LFPROP" ? "ENABLE_PROPORTINAL_FONT" : typedLongName(shortName);
    EXPECT_EQ(l, padded(wantLong, 40)) << shortName;
  }
  int id = 0;
  zep::sgpqid("enable_proportinal_font", id);
  EXPECT_EQ(id, 26);
  zep::sglqid("ENABLE_PROPORTIONAL_FONT", id);
  EXPECT_EQ(id, 9);
  zep::sgpqin("ENABLE_PROPORTIONAL_FONT", id);
  EXPECT_EQ(id, 0);
  zep::sglqin("ENABLE_PROPORTINAL_FONT", id);
  EXPECT_EQ(id, 0);
  zep::sgpqin("USE_DEGREE", id);
  EXPECT_EQ(id, 75);
}

// Collects error reports so that the calls return.
std::vector<std::string>& reports() {
  static std::vector<std::string> r;
  return r;
}
void collect(std::string_view routine, std::string_view text) {
  reports().push_back(std::string(routine) + ": " + std::string(text));
}

std::string expectReports(const std::vector<std::string>& want) {
  std::string bad;
  if (reports() != want) {
    bad = "reports:\n";
    for (const auto& r : reports()) bad += "  [" + r + "]\n";
  }
  reports().clear();
  return bad;
}

TEST(SgParameters, GenericValuesForwardToTheTypedTables) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(collect);
    std::string bad;
    bool viaGeneric = true, viaTyped = false;
    zep::sglset("LCLIP", true);
    zep::sgpget("LCLIP", viaGeneric);
    zep::sglget("LCLIP", viaTyped);
    if (!viaGeneric || !viaTyped) bad += "LCLIP\n";
    int type = 0, id = 0;
    zep::sgpqid("LCLIP", id);
    zep::sgpqit(id, type);
    if (type != 2) bad += "type of LCLIP\n";

    zep::sgpset("RDX", 2.5F);
    float rdx = 0;
    zep::sgrget("RDX", rdx);
    if (rdx != 2.5F) bad += "RDX\n";
    zep::sgpsvl(12, 8);  // NBITS
    int nbits = 0;
    zep::sgiget("NBITS", nbits);
    if (nbits != 8) bad += "NBITS\n";
    float ply = 0;
    zep::sgpqvl(61, ply);
    if (ply != 90.0F) bad += "PLY\n";

    // IWS is skipped by the generic value operations, whatever the variable.
    zep::sgiset("IWS", 2);
    int iws = 12345;
    zep::sgpget("IWS", iws);
    if (iws != 12345) bad += "generic IWS read\n";
    zep::sgpset("IWS", 7);
    zep::sgpstx("IWS", 7);
    float fiws = 3.0F;
    zep::sgpqvl(47, fiws);
    zep::sgiget("IWS", iws);
    if (iws != 2 || fiws != 3.0F) bad += "generic IWS store\n";
    bad += expectReports({});

    // A variable of another type is refused, not reinterpreted.
    int asInt = -1;
    zep::sgpget("LCLIP", asInt);
    zep::sgpset("RDX", 1);
    zep::sgpstx("NBITS", true);
    if (asInt != -1) bad += "LCLIP read as an integer\n";
    zep::sgrget("RDX", rdx);
    if (rdx != 2.5F) bad += "RDX changed through an integer\n";
    bad += expectReports({"SGPQVL: PARAMETER 'LCLIP' IS LOGICAL, NOT INTEGER.",
                          "SGPSVL: PARAMETER 'RDX' IS REAL, NOT INTEGER.",
                          "SGPSTX: PARAMETER 'NBITS' IS INTEGER, NOT LOGICAL."});

    std::string name(8, '?');
    zep::sgpqcp(122, name);
    if (name != "MARKFONT") bad += "id 122\n";
    zep::sgpqcp(123, name);
    zep::sgpqcl(0, name);
    zep::sgpqit(123, type);
    zep::sgpqvl(0, rdx);
    zep::sgpsvl(123, true);
    zep::sgpqid("NOSUCH  ", id);
    zep::sgpqid("ENABLE_PROPORTIONAL_FONT", id);
    zep::sgpqin("NOSUCH", id);
    if (id != 0) bad += "sgpqin of an unknown name\n";
    bad += expectReports({"SGPQCP: IDX IS OUT OF RANGE.", "SGPQCL: IDX IS OUT OF RANGE.",
                          "SGPQIT: IDX IS OUT OF RANGE.", "SGPQVL: IDX IS OUT OF RANGE.",
                          "SGPSVL: IDX IS OUT OF RANGE.", "SGPQID: PARAMETER 'NOSUCH' IS NOT DEFINED.",
                          "SGPQID: PARAMETER 'ENABLE_PROPORTIONAL_FONT' IS NOT DEFINED."});
    return bad;
  });
}

TEST(SgParameters, ErrorsEndTheProcessUnderTheDefaultDumper) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::string name(8, ' ');
  EXPECT_EXIT(zep::sgpqcp(123, name), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGPQCP) ***  IDX IS OUT OF RANGE."));
  int id = 0;
  EXPECT_EXIT(zep::sgpqid("ENABLE_PROPORTIONAL_FONT", id), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGPQID) ***  PARAMETER 'ENABLE_PROPORTIONAL_FONT' IS NOT DEFINED."));
  float value = 0;
  EXPECT_EXIT(zep::sgrqvl(74, value), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGRQVL) ***  IDX IS OUT OF RANGE."));
  // The typed tables' store operation reports under its own name (no settable
  // flags here, unlike the GL tables).
  EXPECT_EXIT(zep::sgisvl(24, 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGISVL) ***  IDX IS OUT OF RANGE."));
  EXPECT_EXIT(zep::sglsvl(0, true), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGLSVL) ***  IDX IS OUT OF RANGE."));
  EXPECT_EXIT(zep::sgpsvl(0, 1.0F), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGPSVL) ***  IDX IS OUT OF RANGE."));
  EXPECT_EXIT(zep::sgiset("NOSUCH", 1), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SGIQID) ***  PARAMETER 'NOSUCH' IS NOT DEFINED."));
}

TEST(SgParameters, RuntimeSourcesOverrideAtFirstUseUnderSg) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    {
      std::FILE* f = std::fopen(".zeprc", "w");
      std::fprintf(f, "SG_NBUFF 150\nSG_IFONT 3\n");
      std::fclose(f);
    }
    ::setenv("SG_LCLIP", "T", 1);
    ::setenv("INTERPOLATION_ANGLE_X", "2.5", 1);
    ::setenv("SG_IFONT", "2", 1);
    ::setenv("SG_CWL", "12", 1);
    const char* argv[] = {"prog", "-SG_NBITS=8", "-sg_isup=33", nullptr};
    zep::zep_set_arguments(3, argv);
    std::string bad;
    bool lclip = false;
    float rdx = 0, cwl = 0, fwc = 0;
    int nbits = 0, isup = 0, nbuff = 0, ifont = 0;
    zep::sglget("LCLIP", lclip);
    zep::sgrget("RDX", rdx);
    zep::sgiget("NBITS", nbits);
    zep::sgiget("ISUP", isup);
    zep::sgiget("NBUFF", nbuff);
    zep::sgiget("IFONT", ifont);
    if (!lclip) bad += "LCLIP from the environment\n";
    if (rdx != 2.5F) bad += "RDX from its long name\n";
    if (nbits != 8 || isup != 33) bad += "options\n";
    if (nbuff != 150) bad += "configuration file\n";
    if (ifont != 2) bad += "environment beats the file\n";

    // The generic set-with-override: a source's value wins over the caller's.
    zep::sgpstx("CWL", 40.0F);
    zep::sgpstx("FWC", 2.0F);
    zep::sgrget("CWL", cwl);
    zep::sgrget("FWC", fwc);
    if (cwl != 12.0F || fwc != 2.0F) bad += "sgpstx\n";
    // Through the generic spelling of LFPROP's long name, with a source under it.
    ::setenv("ENABLE_PROPORTINAL_FONT", "F", 1);
    zep::sgpstx("ENABLE_PROPORTINAL_FONT", true);
    bool lfprop = true;
    zep::sglget("LFPROP", lfprop);
    if (lfprop) bad += "sgpstx of LFPROP by its generic long name\n";
    // A plain set replaces the overrides.
    zep::sgiset("NBITS", 4);
    zep::sgiget("NBITS", nbits);
    if (nbits != 4) bad += "set after override\n";
    return bad;
  });
}

}  // namespace
