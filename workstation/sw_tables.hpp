// What the dispatcher needs to know of the SW tables beyond the public routines.
#pragma once

#include <string_view>

namespace zep::workstation {

// How many stores the SW character parameter `name` has taken (0 for an
// unknown name): a count unchanged since the library's own write means no
// caller has set the parameter since.
unsigned long swTextStores(std::string_view name);

}  // namespace zep::workstation
