// The routines run at every session open (see session_hooks.hpp).
#include "graphics/session_hooks.hpp"

#include <algorithm>
#include <vector>

namespace zep::hooks {
namespace {

// Made at first use: packages register from static initializers of any order.
std::vector<OpenHook>& hooks() {
  static std::vector<OpenHook> h;
  return h;
}

}  // namespace

bool onOpen(OpenHook hook) {
  if (hook != nullptr && std::find(hooks().begin(), hooks().end(), hook) == hooks().end()) hooks().push_back(hook);
  return true;
}

void runOpenHooks() {
  for (const OpenHook hook : hooks()) hook();
}

}  // namespace zep::hooks
