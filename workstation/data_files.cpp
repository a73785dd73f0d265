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

#include "foundation/fixed_text.hpp"
#include "foundation/list_reader.hpp"
#include "foundation/units.hpp"

namespace zep {
namespace {

constexpr std::size_t kTextWidth = 80;
constexpr int kMaxListEntries = 99;
// Legal list records hold two quoted 80-character texts; longer lines are cut.
constexpr std::size_t kListRecordWidth = 512;
// cfsrch builds its candidates in 160 characters.
constexpr std::size_t kPathWidth = 160;

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

}  // namespace

void swqfnm(std::string_view name, std::span<char> file) {
  const FileParameter* parameter = nullptr;
  for (const FileParameter& p : kFileParameters)
    if (lchreq(name, p.name)) parameter = &p;
  if (parameter == nullptr) {
    msgdmp("E", "SWQFNM", "PARAMETER NAME <" + std::string(text::trimmed(name)) + "> IS INVALID.");
    text::assign(file, "");
    return;
  }

  std::string userDir(kTextWidth, ' ');
  std::string systemDir(kTextWidth, ' ');
  glcget("DUPATH", userDir);
  glcget("DSPATH", systemDir);
  const std::string_view directories[] = {" ", userDir, systemDir};

  std::string value(kTextWidth, ' ');
  swcget(parameter->name, value);
  const std::string stem(text::trimmed(value));
  if (stem.empty()) {
    // A blank name names no file (and would otherwise "find" the directories).
    text::assign(file, "");
    return;
  }

  std::vector<std::string> candidates;
  if (parameter->suffixes == Suffixes::none) {
    candidates = {stem};
  } else {
    int iws = 0;
    swiget("IWS", iws);
    if (iws == 2 || iws == 3) candidates = {stem + ".psx", stem, stem + ".x11"};
    else candidates = {stem + ".x11", stem, stem + ".psx"};
  }
  std::vector<std::string_view> names(candidates.begin(), candidates.end());
  cfsrch(directories, 3, names.data(), static_cast<int>(names.size()), file);
}

void swcmll() {
  ColormapList& list = colormapList();
  if (list.loaded) return;

  std::string path(kPathWidth, ' ');
  swqfnm("CMAPLIST", path);
  if (lenz(path) == 0) {
    msgdmp("E", "SWCMLL", "COLORMAP LIST DOES NOT EXIST.");
    return;
  }

  units::ScopedUnit unit(text::trimmed(path), "r");
  if (!unit.isOpen()) {
    msgdmp("E", "SWCMLL", "COLORMAP LIST IS INVALID");
    return;
  }
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
