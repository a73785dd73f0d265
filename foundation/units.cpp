// Unit table, file search and unit allocation.
#include "foundation/units.hpp"

#include <array>
#include <string>
#include <sys/stat.h>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"

namespace zep {
namespace units {
namespace {

struct Connection {
  std::FILE* file = nullptr;
  bool owned = false;
};

std::array<Connection, kLastFileUnit + 1>& table() {
  static std::array<Connection, kLastFileUnit + 1> t = [] {
    std::array<Connection, kLastFileUnit + 1> init{};
    init[0] = {stderr, false};
    init[5] = {stdin, false};
    init[6] = {stdout, false};
    return init;
  }();
  return t;
}

bool inRange(int unit) { return unit >= 0 && unit <= kLastFileUnit; }

}  // namespace

bool isConnected(int unit) { return inRange(unit) && table()[static_cast<std::size_t>(unit)].file != nullptr; }

bool open(int unit, std::string_view path, const char* mode) {
  if (!inRange(unit) || isConnected(unit)) return false;
  std::FILE* f = std::fopen(std::string(path).c_str(), mode);
  if (f == nullptr) return false;
  table()[static_cast<std::size_t>(unit)] = {f, true};
  return true;
}

void close(int unit) {
  if (!isConnected(unit)) return;
  Connection& c = table()[static_cast<std::size_t>(unit)];
  if (c.owned) {
    std::fclose(c.file);
    c = {};
  }
}

std::FILE* stream(int unit) { return isConnected(unit) ? table()[static_cast<std::size_t>(unit)].file : nullptr; }

bool readRecord(int unit, std::string& record, std::size_t width) {
  std::FILE* f = stream(unit);
  if (f == nullptr) return false;
  record.clear();
  int ch = 0;
  bool any = false;
  while ((ch = std::fgetc(f)) != EOF) {
    any = true;
    if (ch == '\n') break;
    if (record.size() < width) record.push_back(static_cast<char>(ch));
  }
  if (!any) return false;
  if (!record.empty() && record.back() == '\r') record.pop_back();
  record.resize(width, ' ');
  return true;
}

void writeRecord(int unit, std::string_view record) {
  std::FILE* f = stream(unit);
  if (f == nullptr) f = stderr;
  std::fwrite(record.data(), 1, record.size(), f);
  std::fputc('\n', f);
  std::fflush(f);
}

ScopedUnit::ScopedUnit(std::string_view path, const char* mode) : unit_(iufopn()) {
  open_ = unit_ >= kFirstFileUnit && unit_ <= kLastFileUnit && units::open(unit_, path, mode);
}

ScopedUnit::~ScopedUnit() {
  if (open_) units::close(unit_);
}

}  // namespace units

int iufopn() {
  for (int unit = units::kFirstFileUnit; unit <= units::kLastFileUnit; ++unit)
    if (!units::isConnected(unit)) return unit;
  msgdmp("E", "IUFOPN", "THERE IS NO UNIT TO BE OPENED.");
  return 0;
}

void cfsrch(const std::string_view* directories, int np, const std::string_view* names, int nf,
            std::span<char> path) {
  for (int i = 0; i < np; ++i) {
    for (int j = 0; j < nf; ++j) {
      const std::string_view dir = text::trimmed(directories[i]);
      std::string candidate = text::padded(dir.empty() ? std::string_view(" ") : dir, dir.empty() ? 1 : dir.size());
      candidate += names[j];
      candidate = text::padded(candidate, 160);
      cladj(candidate);
      const std::string name(text::trimmed(candidate));
      struct stat info {};
      if (name.empty() || ::stat(name.c_str(), &info) != 0) continue;
      if (name.size() <= path.size()) {
        text::assign(path, name);
        return;
      }
      msgdmp("E", "CFSRCH", "LENGTH OF CHARACTER IS TOO SHORT TO STORE FILE NAME.");
    }
  }
  text::assign(path, "");
}

}  // namespace zep
