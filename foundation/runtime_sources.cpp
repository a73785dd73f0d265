// Runtime parameter sources: the configuration file, environment variables and
// command-line options, looked up by package-qualified short name or by long name.
#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/registry.hpp"
#include "foundation/report_context.hpp"
#include "foundation/units.hpp"

extern char** environ;

namespace zep {
namespace {

constexpr std::size_t kValueWidth = 80;
// Numbers and logicals from the configuration file are read from this many characters.
constexpr std::size_t kFileNumberWidth = 32;
// Arguments and lines are read this far, so that one longer than a value can
// hold is seen as such and reported instead of cut.
constexpr std::size_t kReadWidth = 4096;
constexpr std::size_t kMaxEntries = 100;
// 100 entries of 80 characters and their comments fit many times over.
constexpr std::size_t kMaxConfigurationBytes = std::size_t{1} << 20;

// A special character from the environment; blank or unset gives the default.
char specialCharacter(std::string_view variable, char fallback) {
  char c = ' ';
  osgenv(variable, std::span<char>(&c, 1));
  return c == ' ' ? fallback : c;
}

struct FileEntry {
  std::string name;
  std::string value;   // left-adjusted, blank-padded to at least 80 characters
  int line = 0;        // line number in the file, from 1
  std::string record;  // the record as read, for reports
};

struct FileSource {
  char join = '_';
  std::string path;
  std::vector<FileEntry> entries;
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

template <typename Out>
constexpr bool isText = std::is_same_v<std::decay_t<Out>, std::span<char>>;

// Converts a found text; a report about a malformed value is followed by a line
// naming the parameter and where its text came from (`where` is built only
// when a number or logical is converted).
template <typename Out, typename Where>
void convertFrom(std::string_view text, Out&& value, std::string_view parameter, Where&& where) {
  if constexpr (isText<Out>) {
    convert(text, value);
  } else {
    const reports::ErrorContext context("PARAMETER " + std::string(parameter) + ": \"" +
                                        std::string(text::trimmed(text)) + "\" FROM " + where());
    convert(text, value);
  }
}

// How many characters a value may have: a text parameter's own length, or what
// a number is read from.
template <typename Out>
std::size_t capacityOf(const Out& value, std::size_t numberWidth) {
  if constexpr (isText<Out>) return value.size();
  else return numberWidth;
}

// A value longer than its parameter can hold is an error, never a silent cut:
// a cut path names another file, a cut number another value.
template <typename Where>
bool fits(const char* routine, std::string_view text, std::size_t capacity, std::string_view parameter,
          Where&& where) {
  const std::size_t n = text::trimmed(text).size();
  if (n <= capacity) return true;
  const reports::ErrorContext context("FROM " + where() + ".");
  msgdmp("E", routine,
         "VALUE OF " + std::string(parameter) + " HAS " + std::to_string(n) + " CHARACTERS; IT HOLDS " +
             std::to_string(capacity) + ".");
  return false;
}

// Numbers and logicals from the file are read from the value's first 32 characters.
template <typename Out>
void convertFileValue(const FileEntry& entry, std::string_view parameter, Out&& out) {
  auto where = [&] { return "CONFIGURATION FILE " + file.path + ", LINE " + std::to_string(entry.line); };
  if (!fits("RPNXFL", entry.value, capacityOf(out, kFileNumberWidth), parameter, where)) return;
  if constexpr (isText<Out>) convertFrom(entry.value, out, parameter, where);
  else convertFrom(std::string_view(entry.value).substr(0, kFileNumberWidth), out, parameter, where);
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
  for (const FileEntry& entry : file.entries) {
    if (lchreq(entry.name, key)) {
      convertFileValue(entry, text::trimmed(key), value);
      return;
    }
  }
}

template <typename Out>
void environmentLookup(std::string_view variable, Out&& value) {
  std::string text(kReadWidth, ' ');
  osgenv(variable, text);
  if (lenz(text) == 0) return;
  auto where = [] { return std::string("THE ENVIRONMENT"); };
  if (!fits("RPNENV", text, capacityOf(value, kValueWidth), variable, where)) return;
  text.resize(std::max(kValueWidth, static_cast<std::size_t>(lenz(text))));
  convertFrom(text, value, variable, where);
}

template <typename Out>
void optionLookup(std::string_view key, Out&& value) {
  int count = 0;
  osqarn(count);
  std::string arg(kReadWidth, ' ');
  for (int i = 1; i <= count; ++i) {
    osgarg(i, arg);
    const std::size_t k = arg.find(options.set);
    if (k == std::string::npos || k == 0) continue;
    if (!lchreq(std::string_view(arg).substr(0, k), key)) continue;
    const std::size_t last = static_cast<std::size_t>(lenz(arg));
    const std::string_view found = k + 1 < last ? std::string_view(arg).substr(k + 1, last - k - 1) : std::string_view();
    const std::string_view parameter = text::trimmed(key).substr(1);
    auto where = [] { return std::string("THE COMMAND LINE"); };
    if (!fits("RPNOPT", found, capacityOf(value, kValueWidth), parameter, where)) return;
    convertFrom(text::padded(found, kValueWidth), value, parameter, where);
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

// ---- names that belong to a known package but to no parameter of it ----

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), upper);
  return out;
}

// Edit distance, ignoring letter case.
std::size_t distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (upper(a[i - 1]) == upper(b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

struct KnownNames {
  std::map<std::string, std::vector<std::string_view>> shortNames;  // by upper-case package
  std::vector<std::string_view> longNames;
};

KnownNames knownNames() {
  KnownNames known;
  for (const registry::TableNames& t : registry::registeredTables()) {
    auto& names = known.shortNames[upperCase(text::trimmed(t.package))];
    for (std::string_view n : t.shortNames) names.push_back(text::trimmed(n));
    for (std::string_view n : t.longNames)
      if (!text::trimmed(n).empty()) known.longNames.push_back(text::trimmed(n));
  }
  return known;
}

struct Warning {
  std::string routine;
  std::vector<std::string> lines;  // the report and its continuation lines
};

// Warnings wait until the outermost first use of a table is over: only then
// have the GL tables taken MSGLEV and MAXMSG from the sources.
std::deque<Warning>& pendingWarnings() {
  static std::deque<Warning> pending;
  return pending;
}
std::set<std::string>& warnedNames() {
  static std::set<std::string> names;
  return names;
}

void warnOnce(const std::string& name, Warning warning) {
  if (!warnedNames().insert(upperCase(name)).second) return;
  pendingWarnings().push_back(std::move(warning));
}

enum class Match { notPackage, parameter, unknown };

// Whether `name` is package + join + short name of a known package (`exact`:
// letter case counts, as it does for environment variables); `suggestion` is
// the nearest short name of that package when one is close.
Match classify(const KnownNames& known, std::string_view name, char join, bool exact, std::string& suggestion) {
  const std::size_t k = name.find(join);
  if (k == std::string_view::npos || k == 0) return Match::notPackage;
  const std::string_view package = name.substr(0, k);
  const auto it = known.shortNames.find(upperCase(package));
  if (it == known.shortNames.end() || (exact && upperCase(package) != package)) return Match::notPackage;
  for (std::string_view longName : known.longNames)
    if (exact ? name == longName : lchreq(name, longName)) return Match::parameter;
  const std::string_view shortName = name.substr(k + 1);
  std::size_t best = 3;
  for (std::string_view candidate : it->second) {
    if (exact ? shortName == candidate : lchreq(shortName, candidate)) return Match::parameter;
    const std::size_t d = distance(shortName, candidate);
    if (d < best && d < shortName.size()) {
      best = d;
      suggestion = std::string(candidate);
    }
  }
  return Match::unknown;
}

std::string notDefined(std::string_view name, const std::string& suggestion) {
  return "UNKNOWN PARAMETER " + std::string(name) +
         (suggestion.empty() ? std::string(" IS IGNORED.") : "; DID YOU MEAN " + suggestion + "?");
}

void checkOptionsAndEnvironment() {
  const KnownNames known = knownNames();
  int count = 0;
  osqarn(count);
  std::string arg(kValueWidth, ' ');
  for (int i = 1; i <= count; ++i) {
    osgarg(i, arg);
    const std::string_view given = text::trimmed(arg);
    if (given.size() < 2 || given[0] != options.option) continue;
    const std::size_t k = given.find(options.set);
    const std::string_view name = given.substr(1, k == std::string_view::npos ? std::string_view::npos : k - 1);
    std::string suggestion;
    const Match match = classify(known, name, options.join, false, suggestion);
    if (k == std::string_view::npos && match == Match::notPackage) {
      const bool isLongName = std::any_of(known.longNames.begin(), known.longNames.end(),
                                          [&](std::string_view l) { return lchreq(name, l); });
      if (!isLongName) continue;
    }
    if (k == std::string_view::npos && match != Match::unknown) {
      warnOnce("-" + std::string(name), {"RPNOPT",
                                         {"OPTION " + std::string(given) + " HAS NO \"" + options.set +
                                              "\" AND IS IGNORED.",
                                          "WRITE " + std::string(given) + options.set + "VALUE."}});
    } else if (match == Match::unknown) {
      warnOnce(std::string(name),
               {"RPNOPT", {notDefined(name, suggestion), "IN COMMAND-LINE OPTION " + std::string(given)}});
    }
  }
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    const std::string_view entry(*e);
    const std::string_view name = entry.substr(0, entry.find('='));
    std::string suggestion;
    if (classify(known, name, environment.join, true, suggestion) == Match::unknown)
      warnOnce(std::string(name),
               {"RPNENV", {notDefined(name, suggestion), "IN ENVIRONMENT VARIABLE " + std::string(name)}});
  }
}

void checkFileEntries() {
  if (file.entries.empty()) return;
  const KnownNames known = knownNames();
  for (const FileEntry& entry : file.entries) {
    const std::string_view name = text::trimmed(entry.name);
    std::string suggestion;
    if (classify(known, name, file.join, false, suggestion) == Match::unknown)
      warnOnce(std::string(name), {"RPNXFL",
                                   {notDefined(name, suggestion), "IN CONFIGURATION FILE " + file.path + ", LINE " +
                                                                      std::to_string(entry.line)}});
  }
}

bool optionsChecked = false;

void startSources(bool consultsFile) {
  if (!sourcesFirstUse) return;
  rpnenv();
  rpnopt();
  if (!optionsChecked) {
    optionsChecked = true;
    checkOptionsAndEnvironment();
  }
  if (consultsFile) {
    // The flag is cleared before the file is read: a report about the file reads
    // the GL tables, whose own first use must not read the file again.
    sourcesFirstUse = false;
    rpnxfl();
    checkFileEntries();
  }
}

int applyDepth = 0;

// Writes the warnings about unknown names once no first use is running.
void flushWarnings() {
  static bool flushing = false;
  if (applyDepth > 0 || flushing) return;
  flushing = true;
  while (!pendingWarnings().empty()) {
    const Warning w = pendingWarnings().front();
    pendingWarnings().pop_front();
    for (std::size_t i = 0; i < w.lines.size(); ++i) msgdmp("W", i == 0 ? w.routine : "-CNT.-", w.lines[i]);
  }
  flushing = false;
}

// Counts the nesting of the registry's calls into the sources.
struct ApplyScope {
  ApplyScope() { ++applyDepth; }
  ~ApplyScope() {
    --applyDepth;
    flushWarnings();
  }
};

template <typename Out>
void allShort(std::string_view package, const std::string_view* names, Out* values, int n, bool consultsFile) {
  startSources(consultsFile);
  for (int i = 0; i < n; ++i) {
    if (consultsFile) fileShort(package, names[i], values[i]);
    environmentShort(package, names[i], values[i]);
    optionShort(package, names[i], values[i]);
  }
  flushWarnings();
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
  flushWarnings();
}

}  // namespace

void rpnget() {}

void rpnxfl() {
  file.join = specialCharacter("ZEPENVCHAR", '_');
  const char comment = specialCharacter("ZEPCOMCHAR", '*');
  const char divider = specialCharacter("ZEPDIVCHAR", ' ');
  file.entries.clear();
  file.path.clear();
  file.loaded = true;

  std::string path(160, ' ');
  glqfnm("ZEPRC", path);
  if (lenz(path) == 0) return;
  file.path = text::trimmed(path);
  units::ScopedUnit unit(file.path, "r", kMaxConfigurationBytes);
  if (!unit.isOpen()) {
    if (unit.problem() != units::OpenProblem::none) {
      const reports::ErrorContext context("FILE " + file.path + " " +
                                          units::describe(unit.problem(), kMaxConfigurationBytes));
      msgdmp("E", "RTNXFL", "CONFIGURATION FILE CANNOT BE READ.");
    }
    return;
  }
  std::string record;
  int line = 0;
  while (units::readRecord(unit.unit(), record, kReadWidth)) {
    ++line;
    // A byte-order mark (editors write one in UTF-8 files) is no part of the first record.
    if (line == 1 && record.starts_with("\xEF\xBB\xBF")) record.erase(0, 3).append(3, ' ');
    // A NUL or other control character means this is no text file: say so
    // rather than take settings from it or skip it unheard.
    const auto binary = std::find_if(record.begin(), record.end(), [](char c) {
      const auto u = static_cast<unsigned char>(c);
      return (u < 0x20 && c != '\t') || u == 0x7F;
    });
    if (binary != record.end()) {
      const reports::ErrorContext context("FILE " + file.path + ": LINE " + std::to_string(line) +
                                          " HOLDS BINARY DATA.");
      msgdmp("E", "RTNXFL", "CONFIGURATION FILE CANNOT BE READ.");
      file.entries.clear();
      return;
    }
    // Indented records are read as written flush left; tabs count as blanks.
    std::replace(record.begin(), record.end(), '\t', ' ');
    const std::size_t indent = std::min(record.find_first_not_of(' '), record.size());
    if (indent > 0) record.erase(0, indent).append(indent, ' ');
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
    value = text::padded(value, std::max(kValueWidth, value.size()));
    cladj(value);
    file.entries.push_back({std::move(name), std::move(value), line, std::string(text::trimmed(record))});
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
std::vector<TableDescriber>& describers() {
  static std::vector<TableDescriber> all;
  return all;
}
std::vector<TableRestorer>& restorers() {
  static std::vector<TableRestorer> all;
  return all;
}
}  // namespace

bool registerTable(TableDescriber describe, TableRestorer restore) {
  describers().push_back(describe);
  if (restore != nullptr) restorers().push_back(restore);
  return true;
}

void restoreDefaults() {
  for (TableRestorer r : restorers()) r();
}

std::vector<TableNames> registeredTables() {
  std::vector<TableNames> names;
  for (TableDescriber d : describers()) names.push_back(d());
  return names;
}

namespace {
std::vector<std::span<char>> spans(TextValue* values, int n) {
  std::vector<std::span<char>> out;
  for (int i = 0; i < n; ++i) out.emplace_back(values[i]);
  return out;
}
}  // namespace

void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, int* values, int n) {
  const ApplyScope scope;
  rtiget(package, shortNames, values, n);
  rliget(longNames, values, n);
}
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, bool* values, int n) {
  const ApplyScope scope;
  rtlget(package, shortNames, values, n);
  rllget(longNames, values, n);
}
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, float* values, int n) {
  const ApplyScope scope;
  rtrget(package, shortNames, values, n);
  rlrget(longNames, values, n);
}
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, TextValue* values, int n) {
  const ApplyScope scope;
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
