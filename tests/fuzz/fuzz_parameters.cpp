// Parameter values from the environment and the command line. Each input line
// is "E name=value" (an environment variable, its name given a package prefix
// so that the process's own variables stay untouched) or "A text" (a
// command-line argument). Every name is then looked up in both sources as an
// integer, a real, a logical and a text, by short name and by long name, so
// that arbitrary values go through the number and logical conversions.
#include "fuzz_support.hpp"

#include <cstdlib>
#include <string>
#include <vector>

#include <zep/foundation.hpp>

namespace {

constexpr const char* kPackages[] = {"GL", "SW", "SG", "ZEP"};

void lookUp(std::string_view package, std::string_view name) {
  int i = 0;
  float r = 0;
  bool l = false;
  std::string c(80, ' ');
  zep::rtienv(package, name, i);
  zep::rtrenv(package, name, r);
  zep::rtlenv(package, name, l);
  zep::rtcenv(package, name, c);
  zep::rtiopt(package, name, i);
  zep::rtropt(package, name, r);
  zep::rtlopt(package, name, l);
  zep::rtcopt(package, name, c);
  zep::rlienv(name, i);
  zep::rlrenv(name, r);
  zep::rlropt(name, r);
  zep::rllopt(name, l);
  zep::rlcopt(name, c);
  // All sources at once, as the parameter tables read them at first use.
  const std::string_view names[] = {name};
  std::span<char> texts[] = {c};
  zep::rtiget(package, names, &i, 1);
  zep::rtrget(package, names, &r, 1);
  zep::rtlget(package, names, &l, 1);
  zep::rtcget(package, names, texts, 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::quietReports();
  // No configuration file: only the environment and the arguments speak.
  zep::glcset("ZEPRC", "/nonexistent/zeprc");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args = {"fuzz_parameters"};
  std::vector<std::pair<std::string, std::string>> names;  // package, name
  std::vector<std::string> variables;
  for (std::size_t start = 0; start < text.size() && args.size() < 64;) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.size() < 2) continue;
    const std::string body = line.substr(2);
    if (line[0] == 'E') {
      const std::size_t eq = body.find('=');
      std::string name = body.substr(0, eq);
      if (name.find('\0') != std::string::npos || name.empty()) continue;
      const char* package = kPackages[static_cast<unsigned char>(line[1]) % 4];
      const std::string variable = std::string(package) + "_" + name;
      if (eq == std::string::npos || body.find('\0') != std::string::npos) continue;
      ::setenv(variable.c_str(), body.c_str() + eq + 1, 1);
      variables.push_back(variable);
      names.emplace_back(package, name);
    } else if (line[0] == 'A') {
      args.push_back(body);
      // An option -PK_NAME=value names a parameter too.
      const std::size_t us = body.find('_'), eq = body.find('=');
      if (body.size() > 1 && us != std::string::npos && us > 1 && eq != std::string::npos && eq > us)
        names.emplace_back(body.substr(1, us - 1), body.substr(us + 1, eq - us - 1));
    }
  }
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  zep::zep_set_arguments(static_cast<int>(argv.size()), argv.data());
  zep::rpnenv();
  zep::rpnopt();

  for (const auto& [package, name] : names) lookUp(package, name);
  for (const char* known : {"MAXMSG", "MSGLEV", "IFL", "RLWFACT", "LMISS", "DUPATH", "IWIDTH"})
    for (const char* package : kPackages) lookUp(package, known);

  for (const std::string& v : variables) ::unsetenv(v.c_str());
  return 0;
}
