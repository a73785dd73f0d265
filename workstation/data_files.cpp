// Names of the workstation's data files and the colormap list.
//
// A data file is named by an SW character parameter; it is looked for in the
// working directory, the user data directory DUPATH and the system data directory
// DSPATH, in that order, with format-specific suffixes for colormaps and bitmaps.
// The colormap list is a small catalogue read once per process, so that a user can
// pick a colormap by number.
#include <array>
#include <string>
#include <vector>

#include <zep/foundation.hpp>
#include <zep/workstation.hpp>

#include "workstation/data_files.hpp"

#include "foundation/fixed_text.hpp"
#include "foundation/list_reader.hpp"
#include "foundation/report_context.hpp"
#include "foundation/units.hpp"

namespace zep {
namespace {

constexpr std::size_t kTextWidth = 80;
constexpr int kMaxListEntries = 99;
// Legal list records hold two quoted 80-character texts; longer lines are cut.
constexpr std::size_t kListRecordWidth = 512;
// cfsrch builds its candidates in 160 characters.
constexpr std::size_t kPathWidth = 160;
// 99 entries of two quoted 80-character texts fit many times over.
constexpr std::size_t kMaxListBytes = std::size_t{1} << 20;

enum class Suffixes { none, byWorkstation };

struct FileParameter {
  std::string_view name;
  Suffixes suffixes;
};

constexpr FileParameter kFileParameters[] = {
    {"FONT1", Suffixes::none},   {"FONT2", Suffixes::none},          {"CL2TN", Suffixes::none},
    {"CMAPLIST", Suffixes::none}, {"CLRMAP", Suffixes::byWorkstation}, {"BITMAP", Suffixes::byWorkstation},
};

struct ColormapList {
  bool loaded = false;
  int count = 0;
  std::array<std::string, kMaxListEntries> files;
  std::array<std::string, kMaxListEntries> descriptions;
};

ColormapList& colormapList() {
  static ColormapList list;
  return list;
}

bool listLoaded(std::string_view routine) {
  if (colormapList().loaded) return true;
  msgdmp("E", routine, "COLORMAP LIST FILE SHOULD BE READ FIRST USING \"SWCMLL\"");
  return false;
}

bool entryInRange(int i, std::string_view routine) {
  if (i >= 1 && i <= colormapList().count) return true;
  std::string message = "COLORMAP NUMBER <##> IS OUT OF RANGE.";
  chngi(message, "##", i, "(I2)");
  msgdmp("E", routine, message);
  return false;
}

void copyEntry(int i, std::span<char> out, std::string_view routine, bool description) {
  if (!listLoaded(routine) || !entryInRange(i, routine)) return;
  const ColormapList& list = colormapList();
  const std::size_t k = static_cast<std::size_t>(i - 1);
  text::assign(out, description ? list.descriptions[k] : list.files[k]);
}

const FileParameter* fileParameter(std::string_view name) {
  const FileParameter* parameter = nullptr;
  for (const FileParameter& p : kFileParameters)
    if (lchreq(name, p.name)) parameter = &p;
  return parameter;
}

struct Search {
  std::string userDir = std::string(kTextWidth, ' ');
  std::string systemDir = std::string(kTextWidth, ' ');
  std::vector<std::string> candidates;  // empty for a blank name
};

Search searchFor(const FileParameter& parameter) {
  Search search;
  glcget("DUPATH", search.userDir);
  glcget("DSPATH", search.systemDir);
  search.userDir = text::asDirectory(search.userDir);
  search.systemDir = text::asDirectory(search.systemDir);
  std::string value(kTextWidth, ' ');
  swcget(parameter.name, value);
  const std::string stem(text::trimmed(value));
  // A blank name names no file (and would otherwise "find" the directories).
  if (stem.empty()) return search;
  if (parameter.suffixes == Suffixes::none) {
    search.candidates = {stem};
  } else {
    int iws = 0;
    swiget("IWS", iws);
    if (iws == 2 || iws == 3) search.candidates = {stem + ".psx", stem, stem + ".x11"};
    else search.candidates = {stem + ".x11", stem, stem + ".psx"};
  }
  return search;
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

}  // namespace

namespace data_files {

std::vector<std::string> notFoundLines(std::string_view parameterName) {
  const FileParameter* parameter = fileParameter(parameterName);
  if (parameter == nullptr) return {};
  const Search search = searchFor(*parameter);
  if (search.candidates.empty()) return {"SW PARAMETER " + std::string(parameter->name) + " IS BLANK."};
  auto directory = [](std::string_view label, const std::string& dir) {
    const std::string_view d = text::trimmed(dir);
    return std::string(label) + (d.empty() ? std::string(" (BLANK: THE WORKING DIRECTORY)") : " " + std::string(d));
  };
  return {"FILE " + joined(search.candidates) + " (SW " + std::string(parameter->name) + ") SEARCHED IN:",
          "THE WORKING DIRECTORY", directory("DUPATH", search.userDir), directory("DSPATH", search.systemDir)};
}

bool climbsOut(std::string_view name) {
  const std::string_view n = text::trimmed(name);
  std::size_t from = 0;
  while (from <= n.size()) {
    const std::size_t to = std::min(n.find('/', from), n.size());
    if (n.substr(from, to - from) == "..") return true;
    from = to + 1;
  }
  return false;
}

}  // namespace data_files

void swqfnm(std::string_view name, std::span<char> file) {
  const FileParameter* parameter = fileParameter(name);
  if (parameter == nullptr) {
    msgdmp("E", "SWQFNM", "PARAMETER NAME <" + std::string(text::trimmed(name)) + "> IS INVALID.");
    text::assign(file, "");
    return;
  }
  const Search search = searchFor(*parameter);
  if (search.candidates.empty()) {
    text::assign(file, "");
    return;
  }
  const std::string_view directories[] = {" ", search.userDir, search.systemDir};
  std::vector<std::string_view> names(search.candidates.begin(), search.candidates.end());
  cfsrch(directories, 3, names.data(), static_cast<int>(names.size()), file);
}

void swcmll() {
  ColormapList& list = colormapList();
  if (list.loaded) return;

  std::string path(kPathWidth, ' ');
  swqfnm("CMAPLIST", path);
  if (lenz(path) == 0) {
    const reports::ErrorContext context(data_files::notFoundLines("CMAPLIST"));
    msgdmp("E", "SWCMLL", "COLORMAP LIST DOES NOT EXIST.");
    return;
  }

  const std::string listPath(text::trimmed(path));
  units::ScopedUnit unit(listPath, "r", kMaxListBytes);
  if (!unit.isOpen()) {
    const reports::ErrorContext context("FILE " + listPath + " " + units::describe(unit.problem(), kMaxListBytes));
    msgdmp("E", "SWCMLL", "COLORMAP LIST IS INVALID");
    return;
  }
  // Every report about the list's contents says which file it is.
  const reports::ErrorContext context("IN FILE " + listPath);
  listio::ListReader reader(unit.unit(), kListRecordWidth);

  int n = -1;
  if (reader.read({&n}) != listio::ReadStatus::ok || n < 0) {
    msgdmp("E", "SWCMLL", "COLORMAP LIST IS INVALID");
    return;
  }
  if (n > kMaxListEntries) {
    msgdmp("E", "SWCMLL", "COLORMAP LIST OVERFLOWS");
    return;
  }

  // Read into a fresh copy: a list that turns out to be invalid half-way leaves
  // nothing half-loaded behind.
  ColormapList fresh;
  for (int i = 0; i < n; ++i) {
    std::string fileName(kTextWidth, ' ');
    std::string description(kTextWidth, ' ');
    if (reader.read({std::span<char>(fileName), std::span<char>(description)}) != listio::ReadStatus::ok) {
      msgdmp("E", "SWCMLL", "COLORMAP LIST IS INVALID");
      return;
    }
    // A listed colormap is looked for in the data directories; a name that
    // climbs out of them is refused and left blank, which names no file.
    if (data_files::climbsOut(fileName)) {
      const reports::ErrorContext entry("ENTRY " + std::to_string(i + 1) + ": " + std::string(text::trimmed(fileName)));
      msgdmp("E", "SWCMLL", "COLORMAP LIST ENTRY CLIMBS OUT OF ITS DIRECTORY.");
      fileName.assign(kTextWidth, ' ');
    }
    fresh.files[static_cast<std::size_t>(i)] = std::move(fileName);
    fresh.descriptions[static_cast<std::size_t>(i)] = std::move(description);
  }
  fresh.count = n;
  fresh.loaded = true;
  list = std::move(fresh);
}

void swqcmn(int& n) {
  if (!listLoaded("SWQCMN")) {
    n = 0;
    return;
  }
  n = colormapList().count;
}

void swqcmf(int i, std::span<char> file) { copyEntry(i, file, "SWQCMF", false); }

void swqcmd(int i, std::span<char> text) { copyEntry(i, text, "SWQCMD", true); }

}  // namespace zep
