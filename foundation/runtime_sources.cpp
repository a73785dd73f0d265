// Runtime parameter sources: the configuration file, environment variables and
// command-line options, looked up by package-qualified short name or by long name.
#include <string>
#include <utility>
#include <vector>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/registry.hpp"
#include "foundation/units.hpp"

namespace zep {
namespace {

constexpr std::size_t kValueWidth = 80;
constexpr std::size_t kMaxEntries = 100;

// A special character from the environment; blank or unset gives the default.
char specialCharacter(std::string_view variable, char fallback) {
  char c = ' ';
  osgenv(variable, std::span<char>(&c, 1));
  return c == ' ' ? fallback : c;
}

struct FileSource {
  char join = '_';
  std::vector<std::pair<std::string, std::string>> entries;  // name, 80-character value
  bool loaded = false;
} file;

struct EnvironmentSource {
  char join = '_';
} environment;

struct OptionSource {
  char join = '_';
  char option = '-';
  char set = '=';
} options;

bool sourcesFirstUse = true;

// ---- conversion of a found text into the parameter's type ----

void convert(std::string_view text, int& value) { value = ifromc(text); }
void convert(std::string_view text, bool& value) { value = lfromc(text); }
void convert(std::string_view text, float& value) { value = rfromc(text); }
void convert(std::string_view text, std::span<char> value) { text::assign(value, text); }

// Numbers and logicals from the file are read from the value's first 32 characters.
template <typename Out>
void convertFileValue(const std::string& value, Out&& out) {
  if constexpr (std::is_same_v<std::decay_t<Out>, std::span<char>>) convert(value, out);
  else convert(std::string_view(value).substr(0, 32), out);
}

std::string shortKey(std::string_view package, char join, std::string_view shortName) {
  return std::string(text::trimmed(package)) + join + text::padded(shortName, registry::kShortNameWidth);
}

void ensureFileRead() {
  if (!file.loaded) rpnxfl();
}

// ---- the three sources, generic over the value type ----

template <typename Out>
void fileLookup(std::string_view key, Out&& value) {
  ensureFileRead();
  for (const auto& [name, text] : file.entries) {
    if (lchreq(name, key)) {
      convertFileValue(text, value);
      return;
    }
  }
}

template <typename Out>
void environmentLookup(std::string_view variable, Out&& value) {
  std::string text(kValueWidth, ' ');
  osgenv(variable, text);
  if (lenz(text) == 0) return;
  convert(text, value);
}

template <typename Out>
void optionLookup(std::string_view key, Out&& value) {
  int count = 0;
  osqarn(count);
  std::string arg(kValueWidth, ' ');
  for (int i = 1; i <= count; ++i) {
    osgarg(i, arg);
    const std::size_t k = arg.find(options.set);
    if (k == std::string::npos || k == 0) continue;
    if (!lchreq(std::string_view(arg).substr(0, k), key)) continue;
    const std::size_t last = static_cast<std::size_t>(lenz(arg));
    const std::string_view found = k + 1 < last ? std::string_view(arg).substr(k + 1, last - k - 1) : std::string_view();
    convert(text::padded(found, kValueWidth), value);
    return;
  }
}

template <typename Out>
void fileShort(std::string_view package, std::string_view name, Out&& value) {
  fileLookup(shortKey(package, file.join, name), value);
}
template <typename Out>
void environmentShort(std::string_view package, std::string_view name, Out&& value) {
  environmentLookup(std::string(text::trimmed(package)) + environment.join + std::string(text::trimmed(name)), value);
}
template <typename Out>
void optionShort(std::string_view package, std::string_view name, Out&& value) {
  optionLookup(options.option + shortKey(package, options.join, name), value);
}
template <typename Out>
void optionLong(std::string_view name, Out&& value) {
  optionLookup(std::string(1, options.option) + std::string(name), value);
}

void startSources(bool consultsFile) {
  if (!sourcesFirstUse) return;
  if (consultsFile) {
    // The flag is cleared before the file is read: a report about the file reads
    // the GL tables, whose own first use must not read the file again.
    rpnenv();
    rpnopt();
    sourcesFirstUse = false;
    rpnxfl();
  } else {
    rpnenv();
    rpnopt();
  }
}

template <typename Out>
void allShort(std::string_view package, const std::string_view* names, Out* values, int n, bool consultsFile) {
  startSources(consultsFile);
  for (int i = 0; i < n; ++i) {
    if (consultsFile) fileShort(package, names[i], values[i]);
    environmentShort(package, names[i], values[i]);
    optionShort(package, names[i], values[i]);
  }
}

template <typename Out>
void allLong(const std::string_view* names, Out* values, int n, bool consultsFile) {
  startSources(consultsFile);
  for (int i = 0; i < n; ++i) {
    // A parameter without a long name (IBGPAGE has none) is reached only by its
    // short name: a blank name would match every record with a blank name,
    // blank lines of the file included.
    if (lenz(names[i]) == 0) continue;
    if (consultsFile) fileLookup(names[i], values[i]);
    environmentLookup(text::trimmed(names[i]), values[i]);
    optionLong(text::trimmed(names[i]), values[i]);
  }
}

}  // namespace

void rpnget() {}

void rpnxfl() {
  file.join = specialCharacter("ZEPENVCHAR", '_');
  const char comment = specialCharacter("ZEPCOMCHAR", '*');
  const char divider = specialCharacter("ZEPDIVCHAR", ' ');
  file.entries.clear();
  file.loaded = true;

  std::string path(160, ' ');
  glqfnm("ZEPRC", path);
  if (lenz(path) == 0) return;
  units::ScopedUnit unit(text::trimmed(path), "r");
  if (!unit.isOpen()) return;
  std::string record;
  while (units::readRecord(unit.unit(), record, kValueWidth)) {
    if (record[0] == comment) continue;
    if (file.entries.size() == kMaxEntries) {
      msgdmp("E", "RTNXFL", "NUMBER OF INPUT PARAMETERS IS TOO LARGE (>100).");
      return;
    }
    const std::size_t k = record.find(divider);
    std::string name;
    std::string value;
    if (k == std::string::npos) {
      value = record;
    } else {
      name = record.substr(0, k);
      const std::size_t last = static_cast<std::size_t>(lenz(record));
      value = k + 1 < last ? record.substr(k + 1, last - k - 1) : std::string();
    }
    value = text::padded(value, kValueWidth);
    cladj(value);
    file.entries.emplace_back(std::move(name), std::move(value));
  }
}

void rpnenv() { environment.join = specialCharacter("ZEPENVCHAR", '_'); }

void rpnopt() {
  options.join = specialCharacter("ZEPENVCHAR", '_');
  options.option = specialCharacter("ZEPOPTCHAR", '-');
  options.set = specialCharacter("ZEPSETCHAR", '=');
}

// ---- over all sources ----

void rtiget(std::string_view package, const std::string_view* names, int* values, int n) {
  allShort(package, names, values, n, true);
}
void rtlget(std::string_view package, const std::string_view* names, bool* values, int n) {
  allShort(package, names, values, n, true);
}
void rtrget(std::string_view package, const std::string_view* names, float* values, int n) {
  allShort(package, names, values, n, true);
}
// The GL character table names the configuration file and where to look for it,
// so it never consults the file itself.
void rtcget(std::string_view package, const std::string_view* names, std::span<char>* values, int n) {
  allShort(package, names, values, n, !lchreq(package, "GL"));
}
void rliget(const std::string_view* names, int* values, int n) { allLong(names, values, n, true); }
void rllget(const std::string_view* names, bool* values, int n) { allLong(names, values, n, true); }
void rlrget(const std::string_view* names, float* values, int n) { allLong(names, values, n, true); }
void rlcget(const std::string_view* names, std::span<char>* values, int n) {
  allLong(names, values, n, !(n > 0 && lchreq(names[0], "CONFIG_FILE")));
}

// ---- single sources ----

void rtixfl(std::string_view p, std::string_view name, int& value) { fileShort(p, name, value); }
void rtlxfl(std::string_view p, std::string_view name, bool& value) { fileShort(p, name, value); }
void rtrxfl(std::string_view p, std::string_view name, float& value) { fileShort(p, name, value); }
void rtcxfl(std::string_view p, std::string_view name, std::span<char> value) { fileShort(p, name, value); }
void rlixfl(std::string_view name, int& value) { fileLookup(name, value); }
void rllxfl(std::string_view name, bool& value) { fileLookup(name, value); }
void rlrxfl(std::string_view name, float& value) { fileLookup(name, value); }
void rlcxfl(std::string_view name, std::span<char> value) { fileLookup(name, value); }

void rtienv(std::string_view p, std::string_view name, int& value) { environmentShort(p, name, value); }
void rtlenv(std::string_view p, std::string_view name, bool& value) { environmentShort(p, name, value); }
void rtrenv(std::string_view p, std::string_view name, float& value) { environmentShort(p, name, value); }
void rtcenv(std::string_view p, std::string_view name, std::span<char> value) { environmentShort(p, name, value); }
void rlienv(std::string_view name, int& value) { environmentLookup(text::trimmed(name), value); }
void rllenv(std::string_view name, bool& value) { environmentLookup(text::trimmed(name), value); }
void rlrenv(std::string_view name, float& value) { environmentLookup(text::trimmed(name), value); }
void rlcenv(std::string_view name, std::span<char> value) { environmentLookup(text::trimmed(name), value); }

void rtiopt(std::string_view p, std::string_view name, int& value) { optionShort(p, name, value); }
void rtlopt(std::string_view p, std::string_view name, bool& value) { optionShort(p, name, value); }
void rtropt(std::string_view p, std::string_view name, float& value) { optionShort(p, name, value); }
void rtcopt(std::string_view p, std::string_view name, std::span<char> value) { optionShort(p, name, value); }
void rliopt(std::string_view name, int& value) { optionLong(text::trimmed(name), value); }
void rllopt(std::string_view name, bool& value) { optionLong(text::trimmed(name), value); }
void rlropt(std::string_view name, float& value) { optionLong(text::trimmed(name), value); }
void rlcopt(std::string_view name, std::span<char> value) { optionLong(text::trimmed(name), value); }

// ---- the registry's hook ----

namespace registry {
namespace {
std::vector<std::span<char>> spans(TextValue* values, int n) {
  std::vector<std::span<char>> out;
  for (int i = 0; i < n; ++i) out.emplace_back(values[i]);
  return out;
}
}  // namespace

void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, int* values, int n) {
  rtiget(package, shortNames, values, n);
  rliget(longNames, values, n);
}
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, bool* values, int n) {
  rtlget(package, shortNames, values, n);
  rllget(longNames, values, n);
}
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, float* values, int n) {
  rtrget(package, shortNames, values, n);
  rlrget(longNames, values, n);
}
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, TextValue* values, int n) {
  std::vector<std::span<char>> views = spans(values, n);
  rtcget(package, shortNames, views.data(), n);
  rlcget(longNames, views.data(), n);
}

template <typename V>
void applyOne(std::string_view package, std::string_view shortName, std::string_view longName, V& value) {
  applyRuntimeSources(package, &shortName, &longName, &value, 1);
}
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         int& value) {
  applyOne(package, shortName, longName, value);
}
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         bool& value) {
  applyOne(package, shortName, longName, value);
}
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         float& value) {
  applyOne(package, shortName, longName, value);
}
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         TextValue& value) {
  applyOne(package, shortName, longName, value);
}
}  // namespace registry

}  // namespace zep
