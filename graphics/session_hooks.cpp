// The routines run at every session open and close (see session_hooks.hpp).
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
std::vector<OpenHook>& closeHooks() {
  static std::vector<OpenHook> h;
  return h;
}

void add(std::vector<OpenHook>& list, OpenHook hook) {
  if (hook != nullptr && std::find(list.begin(), list.end(), hook) == list.end()) list.push_back(hook);
}

}  // namespace

bool onOpen(OpenHook hook) {
  add(hooks(), hook);
  return true;
}

bool onClose(OpenHook hook) {
  add(closeHooks(), hook);
  return true;
}

void runCloseHooks() {
  for (const OpenHook hook : closeHooks()) hook();
}

void runOpenHooks() {
  for (const OpenHook hook : hooks()) hook();
}

}  // namespace zep::hooks
