// Operating-system services behind the runtime sources: the program's arguments,
// environment variables and the library's version name.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/program_name.hpp"

#ifndef ZEP_VERSION_NAME
#define ZEP_VERSION_NAME "zep-7.0.0"
#endif

namespace zep {
namespace {

// argv[0] followed by the arguments. The library has no initialisation call, so
// the arguments are read from the operating system unless a program hands them over.
std::vector<std::string>& arguments() {
  static std::vector<std::string> args = [] {
    std::vector<std::string> found;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string current;
    for (char c : all) {
      if (c == '\0') {
        found.push_back(current);
        current.clear();
      } else {
        current.push_back(c);
      }
    }
    if (!current.empty()) found.push_back(current);
    return found;
  }();
  return args;
}

}  // namespace

void zep_set_arguments(int argc, const char* const* argv) {
  std::vector<std::string>& args = arguments();
  args.clear();
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] != nullptr ? argv[i] : "");
}

void osqarn(int& n) { n = arguments().empty() ? 0 : static_cast<int>(arguments().size()) - 1; }

void osgarg(int i, std::span<char> arg) {
  const std::vector<std::string>& args = arguments();
  if (i < 0 || static_cast<std::size_t>(i) >= args.size()) {
    text::assign(arg, "");
    return;
  }
  text::assign(arg, args[static_cast<std::size_t>(i)]);
}

void osgenv(std::string_view name, std::span<char> value) {
  text::assign(value, "");
  std::string_view key = text::trimmed(name);
  if (key.empty()) key = name.substr(0, std::min<std::size_t>(1, name.size()));
  const char* found = std::getenv(std::string(key).c_str());
  if (found != nullptr) text::assign(value, found);
}

std::string os::programName() {
  std::string arg(80, ' ');
  osgarg(0, arg);
  std::string name(text::trimmed(arg));
  const std::size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  return name;
}

void zepvnm(std::span<char> name) { text::assign(name, ZEP_VERSION_NAME); }

}  // namespace zep
