// The figure (FG) parameter table, overridden at first use under the package
// letters "FG".
#include <zep/figure.hpp>
#include <zep/foundation.hpp>

#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;

constexpr Entry<float> kReals[] = {
    {"RPAD", "CELL_PADDING", 0.012F},
    {"RTITLE", "FRAME_TITLE_HEIGHT", 0.03F},
    {"RFTTL", "FIGURE_TITLE_HEIGHT", 0.036F},
    {"RSHRNK", "MIN_TITLE_SHRINK", 0.6F},
};

Table<float>& reals() { return registry::tableOf<kReals>("FG"); }

}  // namespace

ZEP_DEFINE_VALUE_TABLE(fgr, float, reals())

}  // namespace zep
