// The named-parameter registry: one table type serves every package (GL, SW, SG)
// and every value type. A table holds short names, long names and values, looks
// names up without regard to case, and applies the runtime sources (configuration
// file, environment, command line) once, at the first read or store of a value.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"

namespace zep::registry {

constexpr std::size_t kShortNameWidth = 8;
constexpr std::size_t kLongNameWidth = 40;
constexpr std::size_t kTextValueWidth = 80;

// Character values are kept as 80-character blank-padded strings.
using TextValue = std::string;

template <typename V>
using DefaultOf = std::conditional_t<std::is_same_v<V, TextValue>, std::string_view, V>;

template <typename V>
struct Entry {
  using Value = V;
  std::string_view shortName;
  std::string_view longName;
  DefaultOf<V> value;
  bool settable = true;
};

template <typename V>
constexpr char typeLetter() {
  if constexpr (std::is_same_v<V, int>) return 'I';
  else if constexpr (std::is_same_v<V, bool>) return 'L';
  else if constexpr (std::is_same_v<V, float>) return 'R';
  else return 'C';
}

// The one place where the runtime sources reach a table: overrides found under
// the package-qualified short names, then under the long names.
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, int* values, int n);
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, bool* values, int n);
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, float* values, int n);
void applyRuntimeSources(std::string_view package, const std::string_view* shortNames,
                         const std::string_view* longNames, TextValue* values, int n);

// Overrides for a single parameter, as the set-with-override operation needs them.
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         int& value);
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         bool& value);
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         float& value);
void applyRuntimeSources(std::string_view package, std::string_view shortName, std::string_view longName,
                         TextValue& value);

// The names of one table, as the runtime sources need them to tell a misspelt
// parameter of a known package from a name that belongs to someone else.
struct TableNames {
  std::string_view package;
  std::span<const std::string_view> shortNames;
  std::span<const std::string_view> longNames;
};

// Every table defined with the macros below registers itself at start-up; a new
// package needs nothing else to have its names checked.
using TableDescriber = TableNames (*)();
using TableRestorer = void (*)();
bool registerTable(TableDescriber describe, TableRestorer restore = nullptr);
// The names of every registered table (making the tables where not yet made).
std::vector<TableNames> registeredTables();
// Every registered table back to its compiled defaults, its runtime sources to
// be applied again at its next use: the parameters of a fresh process, for a
// program (a test runner, for one) that runs independent jobs one after another.
void restoreDefaults();

template <typename V>
class Table {
 public:
  // `settableFlags`: the table refuses stores into entries whose flag is false, and
  // its store operation reports under the query name (GL integer, logical, real).
  template <std::size_t N>
  Table(std::string_view package, const Entry<V> (&entries)[N], bool settableFlags = false)
      : package_(package), settableFlags_(settableFlags), values_(std::make_unique<V[]>(N)) {
    for (const Entry<V>& e : entries) {
      shortNames_.push_back(e.shortName);
      longNames_.push_back(e.longName);
      settable_.push_back(e.settable);
    }
    stores_.assign(N, 0);
    for (std::size_t i = 0; i < N; ++i) defaults_.push_back(stored(entries[i].value));
    restoreDefaults();
  }

  // As made: compiled defaults, no stores, runtime sources still to come.
  void restoreDefaults() {
    for (std::size_t i = 0; i < defaults_.size(); ++i) values_[i] = defaults_[i];
    stores_.assign(defaults_.size(), 0);
    firstUse_ = true;
  }

  int qnp() const { return static_cast<int>(shortNames_.size()); }

  int qin(std::string_view name) const {
    for (int id = 1; id <= qnp(); ++id) {
      const std::size_t i = static_cast<std::size_t>(id - 1);
      if (lchreq(name, shortNames_[i]) || lchreq(name, longNames_[i])) return id;
    }
    return 0;
  }

  int qid(std::string_view name) const {
    const int id = qin(name);
    if (id == 0) {
      std::string message = "PARAMETER '" + std::string(text::trimmed(name)) + "' IS NOT DEFINED.";
      if (message.size() > 80) message.resize(80);
      msgdmp("E", routine("QID"), message);
    }
    return id;
  }

  void qcp(int id, std::span<char> name) const {
    if (checkId(id, "QCP")) text::assign(name, shortNames_[static_cast<std::size_t>(id - 1)]);
  }

  void qcl(int id, std::span<char> name) const {
    if (checkId(id, "QCL")) text::assign(name, longNames_[static_cast<std::size_t>(id - 1)]);
  }

  // The current value of entry id; false (value untouched) when id is out of range.
  bool qvl(int id, V& value) {
    if (!checkId(id, "QVL")) return false;
    firstUse();
    value = values_[static_cast<std::size_t>(id - 1)];
    return true;
  }

  void svl(int id, V value) {
    const char* op = settableFlags_ ? "QVL" : "SVL";
    if (!checkId(id, op)) return;
    firstUse();
    const std::size_t i = static_cast<std::size_t>(id - 1);
    if (settableFlags_ && !settable_[i]) {
      msgdmp("E", routine(op), "PARAMETER'" + text::padded(shortNames_[i], kShortNameWidth) + "' CANNOT BE SET.");
      return;
    }
    if constexpr (std::is_same_v<V, TextValue>) {
      // A cut text would be another value (a path elsewhere): refused, not cut.
      const std::size_t n = text::trimmed(value).size();
      if (n > kTextValueWidth) {
        msgdmp("E", routine(op),
               "VALUE OF " + package_ + " " + std::string(text::trimmed(shortNames_[i])) + " HAS " +
                   std::to_string(n) + " CHARACTERS; IT HOLDS " + std::to_string(kTextValueWidth) + ".");
        return;
      }
    }
    values_[i] = stored(std::move(value));
    ++stores_[i];
  }

  // How many stores entry id has taken: lets the library tell a value it wrote
  // itself from one a caller stored since, even the same text.
  unsigned long stores(int id) const {
    return id >= 1 && id <= qnp() ? stores_[static_cast<std::size_t>(id - 1)] : 0;
  }

  void get(std::string_view name, V& value) {
    const int id = qid(name);
    if (id != 0) qvl(id, value);
  }

  void set(std::string_view name, V value) {
    const int id = qid(name);
    if (id != 0) svl(id, std::move(value));
  }

  void stx(std::string_view name, V value) {
    V temporary = stored(std::move(value));
    const int id = qid(name);
    if (id == 0) return;
    const std::size_t i = static_cast<std::size_t>(id - 1);
    applyRuntimeSources(package_, shortNames_[i], longNames_[i], temporary);
    svl(id, std::move(temporary));
  }

  std::string_view package() const { return package_; }
  TableNames names() const { return {package_, shortNames_, longNames_}; }

 private:
  static V stored(DefaultOf<V> v) {
    if constexpr (std::is_same_v<V, TextValue>) return text::padded(v, kTextValueWidth);
    else return v;
  }
  static V stored(V&& v) requires(std::is_same_v<V, TextValue>) { return text::padded(v, kTextValueWidth); }

  std::string routine(std::string_view op) const { return package_ + typeLetter<V>() + std::string(op); }

  bool checkId(int id, std::string_view op) const {
    if (id >= 1 && id <= qnp()) return true;
    msgdmp("E", routine(op), "IDX IS OUT OF RANGE.");
    return false;
  }

  void firstUse() {
    if (!firstUse_) return;
    // Cleared before the sources run: a malformed value is reported through the
    // dumper, which reads GL tables again and must not restart this step.
    firstUse_ = false;
    applyRuntimeSources(package_, shortNames_.data(), longNames_.data(), values_.get(), qnp());
  }

  std::string package_;
  bool settableFlags_;
  std::vector<std::string_view> shortNames_;
  std::vector<std::string_view> longNames_;
  std::vector<bool> settable_;
  std::unique_ptr<V[]> values_;
  std::vector<V> defaults_;
  std::vector<unsigned long> stores_;
  bool firstUse_ = true;
};

// The one table of a package for the entries `Entries` (an array of Entry rows
// at namespace scope), made at its first use.
template <const auto& Entries>
Table<typename std::remove_cvref_t<decltype(Entries[0])>::Value>& tableOf(std::string_view package,
                                                                         bool settableFlags = false) {
  static Table<typename std::remove_cvref_t<decltype(Entries[0])>::Value> table(package, Entries, settableFlags);
  return table;
}

}  // namespace zep::registry

// Defines the ten public routines of one typed table; `table` is an expression
// giving the registry::Table (usually a function returning a static instance).
#define ZEP_DEFINE_VALUE_TABLE(p, T, table)                                      \
  [[maybe_unused]] static const bool p##_table_registered =                      \
      ::zep::registry::registerTable([] { return (table).names(); }, [] { (table).restoreDefaults(); }); \
  void p##qnp(int& n) { n = (table).qnp(); }                                     \
  void p##qid(std::string_view name, int& id) { id = (table).qid(name); }        \
  void p##qcp(int id, std::span<char> name) { (table).qcp(id, name); }           \
  void p##qcl(int id, std::span<char> name) { (table).qcl(id, name); }           \
  void p##qvl(int id, T& value) { (table).qvl(id, value); }                      \
  void p##svl(int id, T value) { (table).svl(id, value); }                       \
  void p##qin(std::string_view name, int& id) { id = (table).qin(name); }        \
  void p##get(std::string_view name, T& value) { (table).get(name, value); }     \
  void p##set(std::string_view name, T value) { (table).set(name, value); }      \
  void p##stx(std::string_view name, T value) { (table).stx(name, value); }

#define ZEP_DEFINE_TEXT_TABLE(p, table)                                                    \
  [[maybe_unused]] static const bool p##_table_registered =                                \
      ::zep::registry::registerTable([] { return (table).names(); }, [] { (table).restoreDefaults(); }); \
  void p##qnp(int& n) { n = (table).qnp(); }                                               \
  void p##qid(std::string_view name, int& id) { id = (table).qid(name); }                  \
  void p##qcp(int id, std::span<char> name) { (table).qcp(id, name); }                     \
  void p##qcl(int id, std::span<char> name) { (table).qcl(id, name); }                     \
  void p##qvl(int id, std::span<char> value) {                                             \
    ::zep::registry::TextValue v;                                                          \
    if ((table).qvl(id, v)) ::zep::text::assign(value, v);                                 \
  }                                                                                        \
  void p##svl(int id, std::string_view value) { (table).svl(id, std::string(value)); }     \
  void p##qin(std::string_view name, int& id) { id = (table).qin(name); }                  \
  void p##get(std::string_view name, std::span<char> value) {                              \
    const int id = (table).qid(name);                                                      \
    if (id != 0) p##qvl(id, value);                                                        \
  }                                                                                        \
  void p##set(std::string_view name, std::string_view value) { (table).set(name, std::string(value)); } \
  void p##stx(std::string_view name, std::string_view value) { (table).stx(name, std::string(value)); }

// The four tables of a package, integer, logical, real and character, made from
// the entry arrays kIntegers, kLogicals, kReals and kTexts in scope and read
// under the package's letters: ZEP_DEFINE_PACKAGE_TABLES(ge, "GE") defines the
// routines of gei, gel, ger and gec.
#define ZEP_DEFINE_PACKAGE_TABLES(p, letters)                                      \
  ZEP_DEFINE_VALUE_TABLE(p##i, int, ::zep::registry::tableOf<kIntegers>(letters))  \
  ZEP_DEFINE_VALUE_TABLE(p##l, bool, ::zep::registry::tableOf<kLogicals>(letters)) \
  ZEP_DEFINE_VALUE_TABLE(p##r, float, ::zep::registry::tableOf<kReals>(letters))   \
  ZEP_DEFINE_TEXT_TABLE(p##c, ::zep::registry::tableOf<kTexts>(letters))
