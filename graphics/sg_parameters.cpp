// The graphics (SG) parameter tables: integer, logical and real tables of the
// registry, and the generic table that lists all of them in one order and forwards
// every value access to the typed table of the entry.
#include <array>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;

constexpr Entry<int> kIntegers[] = {
    {"IRMODE", "BOUNDARY_DIRECTION", 0},
    {"MOVE", "LINE_RESUME_MODE", 1},
    {"NBITS", "PATTERN_BIT_LENGTH", 16},
    {"ISUP", "BEGIN_SUPERSCRIPT", 124},  // '|'
    {"ISUB", "BEGIN_SUBSCRIPT", 95},     // '_'
    {"IRST", "END_SCRIPT", 34},          // '"'
    {"NPMSKIP", "POLIMARKER_INTERVAL", 1},
    {"IFONT", "FONT_NUMBER", 1},
    {"ICLRMAP", "COLORMAP_NUMBER", 1},
    {"IROT", "LINE_LABEL_ROTATION_ANGLE", 0},
    {"INDEXC", "LABEL_CHAR_INDEX", 0},
    {"NBUFF", "LINE_BUFFERING_LENGTH", 200},
    {"IATONE", "ARROWHEAD_SHADE_PATTERN", 999},
    {"IWS", "++++IWS", 0},
    {"ITR", "++++ITR", 1},
    {"IBGCLI", "BACKGROUND_COLOR_INDEX", 999},
    {"NFRAME", "****NFRAME", 0},
    {"NPAGE", "****NPAGE", 0},
    {"NLEVEL", "****NLEVEL", 0},
    {"INDEX", "CORNERMARK_INDEX", 1},
    {"ITR3", "++++ITR3", 1},
    {"IXC3", "++++IXC3", 1},
    {"IYC3", "++++IYC3", 2},
};

constexpr Entry<bool> kLogicals[] = {
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

constexpr Entry<float> kReals[] = {
    {"RDX", "INTERPOLATION_ANGLE_X", 5.0F},
    {"RDY", "INTERPOLATION_ANGLE_Y", 5.0F},
    {"BITLEN", "LINE_BIT_LENGTH", 0.003F},
    {"SMALL", "SCRIPT_HEIGHT", 0.7F},
    {"SHIFT", "SCRIPT_SHIFT", 0.3F},
    {"PMFACT", "POLIMARKER_HEIGHT", 2.0F},
    {"RFAROT", "****RFAROT", 0.01F},
    {"TNBLEN", "TONE_CYCLE_LENGTH", 0.001F},
    {"FWC", "LINE_LABEL_SPACE", 1.25F},
    {"CWL", "LINE_CYCLE_LENGTH", 30.0F},
    {"FFCT", "LINE_START_POSITION", 0.5F},
    {"RBUFF", "RESUME_POSITION_AFTER_BUFFERING", 0.99F},
    {"RCURV", "LINE_LABEL_THRESHOLD_CURVATURE", 1.0F},
    {"AFACT", "ARROWHEAD_PROPOTION", 0.33F},
    {"CONST", "ARROWHEAD_SIZE", 0.01F},
    {"CONSTM", "ARROWHEAD_SIZE_MAP", 5.0F},
    {"ANGLE", "ARROWHEAD_ANGLE", 20.0F},
    {"VXMIN", "++++VXMIN", 0.0F},
    {"VXMAX", "++++VXMAX", 1.0F},
    {"VYMIN", "++++VYMIN", 0.0F},
    {"VYMAX", "++++VYMAX", 1.0F},
    {"UXMIN", "++++UXMIN", 0.0F},
    {"UXMAX", "++++UXMAX", 1.0F},
    {"UYMIN", "++++UYMIN", 0.0F},
    {"UYMAX", "++++UYMAX", 1.0F},
    {"VXOFF", "++++VXOFF", 0.0F},
    {"VYOFF", "++++VYOFF", 0.0F},
    {"PLX", "++++PLX", 0.0F},
    {"PLY", "++++PLY", 90.0F},
    {"PLROT", "++++PLROT", 0.0F},
    {"SIMFAC", "++++SIMFAC", 0.0F},
    {"STLAT1", "++++STLAT1", 0.0F},
    {"STLAT2", "++++STLAT2", 0.0F},
    {"TXMIN", "++++TXMIN", -180.0F},
    {"TXMAX", "++++TXMAX", 180.0F},
    {"TYMIN", "++++TYMIN", -90.0F},
    {"TYMAX", "++++TYMAX", 90.0F},
    {"CXMIN", "++++CXMIN", 0.0F},
    {"CXMAX", "++++CXMAX", 1.0F},
    {"CYMIN", "++++CYMIN", 0.0F},
    {"CYMAX", "++++CYMAX", 1.0F},
    {"RSAT", "SATELLITE_ALTITUDE", 0.0F},
    {"FACTOR", "****FACTOR", 1.0F},
    {"CORNER", "CORNERMARK_LENGTH", 0.01F},
    {"XPAD", "****XPAD", 1.0F},
    {"YPAD", "****YPAD", 1.0F},
    {"TILT3", "++++TILT3", 0.0F},
    {"ANGLE3", "++++ANGLE3", 30.0F},
    {"XOFF3", "++++XOFF3", 0.0F},
    {"YOFF3", "++++YOFF3", 0.0F},
    {"XOBJ3", "++++XOBJ3", 0.5F},
    {"YOBJ3", "++++YOBJ3", 0.5F},
    {"ZOBJ3", "++++ZOBJ3", 0.0F},
    {"XEYE3", "++++XEYE3", -0.8F},
    {"YEYE3", "++++YEYE3", -1.5F},
    {"ZEYE3", "++++ZEYE3", 1.5F},
    {"SEC3", "++++SEC3", 0.0F},
    {"VXMIN3", "++++VXMIN3", 0.0F},
    {"VXMAX3", "++++VXMAX3", 1.0F},
    {"VYMIN3", "++++VYMIN3", 0.0F},
    {"VYMAX3", "++++VYMAX3", 1.0F},
    {"VZMIN3", "++++VZMIN3", 0.0F},
    {"VZMAX3", "++++VZMAX3", 1.0F},
    {"UXMIN3", "++++UXMIN3", 0.0F},
    {"UXMAX3", "++++UXMAX3", 1.0F},
    {"UYMIN3", "++++UYMIN3", 0.0F},
    {"UYMAX3", "++++UYMAX3", 1.0F},
    {"UZMIN3", "++++UZMIN3", 0.0F},
    {"UZMAX3", "++++UZMAX3", 1.0F},
    {"VXORG3", "++++VXORG3", 0.0F},
    {"VYORG3", "++++VYORG3", 0.0F},
    {"VZORG3", "++++VZORG3", 0.0F},
    {"SIMFAC3", "++++SIMFAC3", 0.0F},
};

Table<int>& integers() { return registry::tableOf<kIntegers>("SG"); }
Table<bool>& logicals() { return registry::tableOf<kLogicals>("SG"); }
Table<float>& reals() { return registry::tableOf<kReals>("SG"); }

// ---------------------------------------------------------------------------
// The generic table
// ---------------------------------------------------------------------------

enum TypeCode : int { kNone = 0, kInteger = 1, kLogical = 2, kReal = 3 };

struct GenericEntry {
  std::string_view shortName;
  TypeCode type;
};

// The order in which the generic table lists the parameters. IWS carries type
// code 0: the generic value operations leave it alone, so that the workstation
// number is reached only through the integer table.
constexpr GenericEntry kGenericOrder[] = {
    {"RDX", kReal},       {"RDY", kReal},       {"LCLIP", kLogical},  {"LCHAR", kLogical},
    {"LLNINT", kLogical}, {"LGCINT", kLogical}, {"LSOFTF", kLogical}, {"LCL2TN", kLogical},
    {"IRMODE", kInteger}, {"BITLEN", kReal},    {"MOVE", kInteger},   {"NBITS", kInteger},
    {"LCNTL", kLogical},  {"SMALL", kReal},     {"SHIFT", kReal},     {"ISUP", kInteger},
    {"ISUB", kInteger},   {"IRST", kInteger},   {"LFULL", kLogical},  {"PMFACT", kReal},
    {"NPMSKIP", kInteger}, {"RFAROT", kReal},   {"TNBLEN", kReal},    {"IFONT", kInteger},
    {"ICLRMAP", kInteger}, {"LFPROP", kLogical}, {"LROT", kLogical},  {"IROT", kInteger},
    {"FWC", kReal},       {"CWL", kReal},       {"FFCT", kReal},      {"INDEXC", kInteger},
    {"LBUFF", kLogical},  {"NBUFF", kInteger},  {"RBUFF", kReal},     {"LCURV", kLogical},
    {"RCURV", kReal},     {"LPROP", kLogical},  {"LUARW", kLogical},  {"AFACT", kReal},
    {"CONST", kReal},     {"CONSTM", kReal},    {"ANGLE", kReal},     {"LARROW", kLogical},
    {"LATONE", kLogical}, {"IATONE", kInteger}, {"IWS", kNone},       {"ITR", kInteger},
    {"IBGCLI", kInteger}, {"VXMIN", kReal},     {"VXMAX", kReal},     {"VYMIN", kReal},
    {"VYMAX", kReal},     {"UXMIN", kReal},     {"UXMAX", kReal},     {"UYMIN", kReal},
    {"UYMAX", kReal},     {"VXOFF", kReal},     {"VYOFF", kReal},     {"PLX", kReal},
    {"PLY", kReal},       {"PLROT", kReal},     {"SIMFAC", kReal},    {"STLAT1", kReal},
    {"STLAT2", kReal},    {"TXMIN", kReal},     {"TXMAX", kReal},     {"TYMIN", kReal},
    {"TYMAX", kReal},     {"CXMIN", kReal},     {"CXMAX", kReal},     {"CYMIN", kReal},
    {"CYMAX", kReal},     {"RSAT", kReal},      {"LDEG", kLogical},   {"NFRAME", kInteger},
    {"NPAGE", kInteger},  {"NLEVEL", kInteger}, {"FACTOR", kReal},    {"INDEX", kInteger},
    {"LCORNER", kLogical}, {"LTITLE", kLogical}, {"CORNER", kReal},   {"XPAD", kReal},
    {"YPAD", kReal},      {"LWIDE", kLogical},  {"ITR3", kInteger},   {"TILT3", kReal},
    {"ANGLE3", kReal},    {"XOFF3", kReal},     {"YOFF3", kReal},     {"XOBJ3", kReal},
    {"YOBJ3", kReal},     {"ZOBJ3", kReal},     {"XEYE3", kReal},     {"YEYE3", kReal},
    {"ZEYE3", kReal},     {"IXC3", kInteger},   {"IYC3", kInteger},   {"SEC3", kReal},
    {"LFGBG", kLogical},  {"L2TO3", kLogical},  {"VXMIN3", kReal},    {"VXMAX3", kReal},
    {"VYMIN3", kReal},    {"VYMAX3", kReal},    {"VZMIN3", kReal},    {"VZMAX3", kReal},
    {"UXMIN3", kReal},    {"UXMAX3", kReal},    {"UYMIN3", kReal},    {"UYMAX3", kReal},
    {"UZMIN3", kReal},    {"UZMAX3", kReal},    {"VXORG3", kReal},    {"VYORG3", kReal},
    {"VZORG3", kReal},    {"SIMFAC3", kReal},   {"LXLOG3", kLogical}, {"LYLOG3", kLogical},
    {"LZLOG3", kLogical}, {"MARKFONT", kLogical},
};

constexpr std::size_t kGenericCount = std::size(kGenericOrder);
static_assert(kGenericCount == 122);
static_assert(std::size(kIntegers) + std::size(kLogicals) + std::size(kReals) == kGenericCount);

// The generic table has always spelt this one long name its own way; each table
// accepts only its own spelling.
constexpr std::string_view kGenericLfpropLongName = "ENABLE_PROPORTINAL_FONT";

template <typename V, std::size_t N>
constexpr int indexIn(const Entry<V> (&entries)[N], std::string_view shortName) {
  for (std::size_t i = 0; i < N; ++i)
    if (entries[i].shortName == shortName) return static_cast<int>(i);
  return -1;
}

// Long names of the generic entries: those of the typed tables, apart from LFPROP.
constexpr std::array<std::string_view, kGenericCount> makeGenericLongNames() {
  std::array<std::string_view, kGenericCount> out{};
  for (std::size_t i = 0; i < kGenericCount; ++i) {
    const std::string_view s = kGenericOrder[i].shortName;
    if (s == "LFPROP") out[i] = kGenericLfpropLongName;
    else if (int k = indexIn(kIntegers, s); k >= 0) out[i] = kIntegers[k].longName;
    else if (int l = indexIn(kLogicals, s); l >= 0) out[i] = kLogicals[l].longName;
    else if (int r = indexIn(kReals, s); r >= 0) out[i] = kReals[r].longName;
  }
  return out;
}
constexpr auto kGenericLongNames = makeGenericLongNames();

// Every generic entry names one typed entry, of the table its type code names.
constexpr bool genericEntriesMatchTypedTables() {
  for (const GenericEntry& e : kGenericOrder) {
    const bool i = indexIn(kIntegers, e.shortName) >= 0;
    const bool l = indexIn(kLogicals, e.shortName) >= 0;
    const bool r = indexIn(kReals, e.shortName) >= 0;
    if (int(i) + int(l) + int(r) != 1) return false;
    switch (e.type) {
      case kNone: if (!i) return false; break;
      case kInteger: if (!i) return false; break;
      case kLogical: if (!l) return false; break;
      case kReal: if (!r) return false; break;
    }
  }
  return true;
}
static_assert(genericEntriesMatchTypedTables());

template <typename V>
constexpr TypeCode typeCodeOf() {
  if constexpr (std::is_same_v<V, int>) return kInteger;
  else if constexpr (std::is_same_v<V, bool>) return kLogical;
  else return kReal;
}

template <typename V>
Table<V>& typedTable() {
  if constexpr (std::is_same_v<V, int>) return integers();
  else if constexpr (std::is_same_v<V, bool>) return logicals();
  else return reals();
}

constexpr std::string_view typeWord(TypeCode t) {
  switch (t) {
    case kInteger: return "INTEGER";
    case kLogical: return "LOGICAL";
    case kReal: return "REAL";
    case kNone: break;
  }
  return "UNTYPED";
}

bool genericIdInRange(int id, std::string_view routine) {
  if (id >= 1 && id <= static_cast<int>(kGenericCount)) return true;
  msgdmp("E", routine, "IDX IS OUT OF RANGE.");
  return false;
}

int genericLookup(std::string_view name) {
  for (std::size_t i = 0; i < kGenericCount; ++i)
    if (lchreq(name, kGenericOrder[i].shortName) || lchreq(name, kGenericLongNames[i]))
      return static_cast<int>(i) + 1;
  return 0;
}

// Whether the caller's variable fits entry id. Type code 0 fits nothing and is
// not an error: the generic operations simply skip it.
template <typename V>
bool variableFits(int id, std::string_view routine) {
  const GenericEntry& e = kGenericOrder[static_cast<std::size_t>(id - 1)];
  if (e.type == kNone) return false;
  if (e.type == typeCodeOf<V>()) return true;
  msgdmp("E", routine,
         "PARAMETER '" + std::string(e.shortName) + "' IS " + std::string(typeWord(e.type)) + ", NOT " +
             std::string(typeWord(typeCodeOf<V>())) + ".");
  return false;
}

template <typename V>
void genericQvl(int id, V& value) {
  if (!genericIdInRange(id, "SGPQVL") || !variableFits<V>(id, "SGPQVL")) return;
  Table<V>& t = typedTable<V>();
  const int typedId = t.qid(kGenericOrder[static_cast<std::size_t>(id - 1)].shortName);
  if (typedId != 0) t.qvl(typedId, value);
}

template <typename V>
void genericSvl(int id, V value) {
  if (!genericIdInRange(id, "SGPSVL") || !variableFits<V>(id, "SGPSVL")) return;
  Table<V>& t = typedTable<V>();
  const int typedId = t.qid(kGenericOrder[static_cast<std::size_t>(id - 1)].shortName);
  if (typedId != 0) t.svl(typedId, value);
}

template <typename V>
void genericStx(std::string_view name, V value) {
  V temporary = value;
  int id = 0;
  sgpqid(name, id);
  if (id == 0 || !variableFits<V>(id, "SGPSTX")) return;
  const std::size_t i = static_cast<std::size_t>(id - 1);
  registry::applyRuntimeSources("SG", kGenericOrder[i].shortName, kGenericLongNames[i], temporary);
  // Stored under the short name: the generic table's own spelling of a long name
  // is not known to the typed table.
  Table<V>& t = typedTable<V>();
  const int typedId = t.qid(kGenericOrder[i].shortName);
  if (typedId != 0) t.svl(typedId, temporary);
}

}  // namespace

ZEP_DEFINE_VALUE_TABLE(sgi, int, integers())
ZEP_DEFINE_VALUE_TABLE(sgl, bool, logicals())
ZEP_DEFINE_VALUE_TABLE(sgr, float, reals())

void sgpqnp(int& n) { n = static_cast<int>(kGenericCount); }

void sgpqid(std::string_view name, int& id) {
  id = genericLookup(name);
  if (id == 0) {
    std::string message = "PARAMETER '" + std::string(text::trimmed(name)) + "' IS NOT DEFINED.";
    if (message.size() > 80) message.resize(80);
    msgdmp("E", "SGPQID", message);
  }
}

void sgpqcp(int id, std::span<char> name) {
  if (genericIdInRange(id, "SGPQCP")) text::assign(name, kGenericOrder[static_cast<std::size_t>(id - 1)].shortName);
}

void sgpqcl(int id, std::span<char> name) {
  if (genericIdInRange(id, "SGPQCL")) text::assign(name, kGenericLongNames[static_cast<std::size_t>(id - 1)]);
}

void sgpqit(int id, int& type) {
  if (genericIdInRange(id, "SGPQIT")) type = kGenericOrder[static_cast<std::size_t>(id - 1)].type;
}

void sgpqvl(int id, int& value) { genericQvl(id, value); }
void sgpqvl(int id, bool& value) { genericQvl(id, value); }
void sgpqvl(int id, float& value) { genericQvl(id, value); }

void sgpsvl(int id, int value) { genericSvl(id, value); }
void sgpsvl(int id, bool value) { genericSvl(id, value); }
void sgpsvl(int id, float value) { genericSvl(id, value); }

void sgpqin(std::string_view name, int& id) { id = genericLookup(name); }

void sgpget(std::string_view name, int& value) {
  int id = 0;
  sgpqid(name, id);
  if (id != 0) sgpqvl(id, value);
}
void sgpget(std::string_view name, bool& value) {
  int id = 0;
  sgpqid(name, id);
  if (id != 0) sgpqvl(id, value);
}
void sgpget(std::string_view name, float& value) {
  int id = 0;
  sgpqid(name, id);
  if (id != 0) sgpqvl(id, value);
}

void sgpset(std::string_view name, int value) {
  int id = 0;
  sgpqid(name, id);
  if (id != 0) sgpsvl(id, value);
}
void sgpset(std::string_view name, bool value) {
  int id = 0;
  sgpqid(name, id);
  if (id != 0) sgpsvl(id, value);
}
void sgpset(std::string_view name, float value) {
  int id = 0;
  sgpqid(name, id);
  if (id != 0) sgpsvl(id, value);
}

void sgpstx(std::string_view name, int value) { genericStx(name, value); }
void sgpstx(std::string_view name, bool value) { genericStx(name, value); }
void sgpstx(std::string_view name, float value) { genericStx(name, value); }

}  // namespace zep
