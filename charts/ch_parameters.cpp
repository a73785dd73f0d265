// The chart (CH) parameter tables: integer, logical and real tables on the
// registry, overridable at run time under the package letters "CH".
#include <zep/charts.hpp>

#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;

constexpr Entry<int> kIntegers[] = {
    {"NBINMX", "MAX_BIN_COUNT", 10000},
};

constexpr Entry<bool> kLogicals[] = {
    {"LDENS", "HISTOGRAM_DENSITY", false},
};

constexpr Entry<float> kReals[] = {
    {"RCAP", "ERROR_BAR_CAP_WIDTH", 0.01F},
    {"RGROUP", "BAR_GROUP_FILL", 0.8F},
};

Table<int>& integers() { return registry::tableOf<kIntegers>("CH"); }
Table<bool>& logicals() { return registry::tableOf<kLogicals>("CH"); }
Table<float>& reals() { return registry::tableOf<kReals>("CH"); }

}  // namespace

ZEP_DEFINE_VALUE_TABLE(chi, int, integers())
ZEP_DEFINE_VALUE_TABLE(chl, bool, logicals())
ZEP_DEFINE_VALUE_TABLE(chr, float, reals())

}  // namespace zep
