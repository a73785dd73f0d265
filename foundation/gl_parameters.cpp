// The global (GL) parameter tables and the data-file lookup by parameter name.
#include <bit>
#include <cstdint>
#include <limits>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;
using registry::TextValue;

#ifndef ZEP_DEFAULT_DSPATH
#define ZEP_DEFAULT_DSPATH "/usr/local/lib/czepdbase/"
#endif

const Entry<int> kIntegers[] = {
    {"IMISS", "MISSING_INT", 999, true},
    {"IUNDEF", "UNDEFINED_INT", -999, true},
    {"INTMAX", "MAX_INT", std::numeric_limits<std::int32_t>::max(), false},
    {"NBITSPW", "WORD_LENGTH_IN_BIT", 32, false},
    {"NCHRSPW", "WORD_LENGTH_IN_CHAR", 4, false},
    {"IIUNIT", "INPUT_UNIT", 5, true},
    {"IOUNIT", "OUTPUT_UNIT", 6, true},
    {"MSGUNIT", "MESSAGE_UNIT", 0, true},
    {"MAXMSG", "MAX_MESSAGE_NUMBER", 20, true},
    {"MSGLEV", "MESSAGE_LEVEL", 0, true},
    {"NLNSIZE", "LINE_SIZE", 78, true},
};

const Entry<bool> kLogicals[] = {
    {"LMISS", "INTERPRET_MISSING_VALUE", false, true},
    {"LEPSL", "INTERPRET_TRUNCATION", false, true},
    {"LLMSG", "ENABLE_LONG_MESSAGE", false, true},
};

const Entry<float> kReals[] = {
    {"RMISS", "MISSING_REAL", 999.0F, true},
    {"RUNDEF", "UNDEFINED_REAL", -999.0F, true},
    {"REPSL", "TRUNCATION_ERROR", std::bit_cast<float>(std::uint32_t{0x35A00406}), false},
    {"RFACT", "TRUNCATION_FACTOR", 1.0F, true},
    {"REALMAX", "MAX_REAL", std::numeric_limits<float>::max(), false},
    {"REALMIN", "MIN_REAL", std::numeric_limits<float>::min(), false},
};

const Entry<TextValue> kTexts[] = {
    {"ZEPRC", "CONFIG_FILE", ".zeprc"},
    {"DUPATH", "USER_DATABASE_DIR", ""},
    {"DSPATH", "SYSTEM_DATABASE_DIR", ZEP_DEFAULT_DSPATH},
};

Table<int>& integers() { return registry::tableOf<kIntegers>("GL", true); }
Table<bool>& logicals() { return registry::tableOf<kLogicals>("GL", true); }
Table<float>& reals() { return registry::tableOf<kReals>("GL", true); }
Table<TextValue>& texts() { return registry::tableOf<kTexts>("GL"); }

}  // namespace

ZEP_DEFINE_VALUE_TABLE(gli, int, integers())
ZEP_DEFINE_VALUE_TABLE(gll, bool, logicals())
ZEP_DEFINE_VALUE_TABLE(glr, float, reals())
ZEP_DEFINE_TEXT_TABLE(glc, texts())

void glqfnm(std::string_view name, std::span<char> path) {
  std::string userDir(80, ' ');
  std::string systemDir(80, ' ');
  std::string fileName(80, ' ');
  glcget("DUPATH", userDir);
  glcget("DSPATH", systemDir);
  glcget(name, fileName);
  userDir = text::asDirectory(userDir);
  systemDir = text::asDirectory(systemDir);
  const std::string_view directories[] = {" ", userDir, systemDir};
  const std::string_view names[] = {fileName};
  cfsrch(directories, 3, names, 1, path);
}

}  // namespace zep
