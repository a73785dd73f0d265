// Unit table, file search and unit allocation.
#include "foundation/units.hpp"

#include <array>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"

namespace zep {
namespace units {
namespace {

struct Connection {
  std::FILE* file = nullptr;
  bool owned = false;
  std::size_t budget = static_cast<std::size_t>(-1);  // bytes the record reader may still take
};

std::array<Connection, kLastFileUnit + 1>& table() {
  static std::array<Connection, kLastFileUnit + 1> t = [] {
    std::array<Connection, kLastFileUnit + 1> init{};
    init[0] = {stderr, false, static_cast<std::size_t>(-1)};
    init[5] = {stdin, false, static_cast<std::size_t>(-1)};
    init[6] = {stdout, false, static_cast<std::size_t>(-1)};
    return init;
  }();
  return t;
}

bool inRange(int unit) { return unit >= 0 && unit <= kLastFileUnit; }

bool isReadMode(const char* mode) { return mode != nullptr && mode[0] == 'r'; }

}  // namespace

std::string describe(OpenProblem problem, std::size_t maxBytes) {
  switch (problem) {
    case OpenProblem::none: return "";
    case OpenProblem::cannotOpen: return "CANNOT BE OPENED.";
    case OpenProblem::notRegular: return "IS NOT A REGULAR FILE.";
    case OpenProblem::tooLarge: return "IS LARGER THAN " + std::to_string(maxBytes) + " BYTES.";
  }
  return "";
}

std::FILE* openDataFile(std::string_view path, const char* mode, std::size_t maxBytes, OpenProblem& problem) {
  // Non-blocking, so that a FIFO without a writer cannot hold the open; the type
  // is checked on the descriptor itself, not on a name that might change.
  const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    problem = OpenProblem::cannotOpen;
    return nullptr;
  }
  struct stat info {};
  problem = OpenProblem::none;
  if (::fstat(fd, &info) != 0) problem = OpenProblem::cannotOpen;
  else if (!S_ISREG(info.st_mode)) problem = OpenProblem::notRegular;
  else if (static_cast<unsigned long long>(info.st_size) > maxBytes) problem = OpenProblem::tooLarge;
  const int flags = problem == OpenProblem::none ? ::fcntl(fd, F_GETFL) : -1;
  if (problem == OpenProblem::none && (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0))
    problem = OpenProblem::cannotOpen;
  std::FILE* f = problem == OpenProblem::none ? ::fdopen(fd, mode) : nullptr;
  if (f == nullptr) {
    if (problem == OpenProblem::none) problem = OpenProblem::cannotOpen;
    ::close(fd);
  }
  return f;
}

std::optional<std::string> readDataFile(std::string_view path, std::size_t maxBytes, OpenProblem& problem) {
  std::FILE* f = openDataFile(path, "rb", maxBytes, problem);
  if (f == nullptr) return std::nullopt;
  std::string content;
  char buffer[4096];
  std::size_t n = 0;
  // The size was checked at open; the read is bounded all the same, for files
  // whose size says nothing (those of /proc) or that grow meanwhile.
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    content.append(buffer, n);
    if (content.size() > maxBytes) {
      problem = OpenProblem::tooLarge;
      break;
    }
  }
  if (problem == OpenProblem::none && std::ferror(f)) problem = OpenProblem::cannotOpen;
  std::fclose(f);
  if (problem != OpenProblem::none) return std::nullopt;
  return content;
}

bool isConnected(int unit) { return inRange(unit) && table()[static_cast<std::size_t>(unit)].file != nullptr; }

bool open(int unit, std::string_view path, const char* mode, std::size_t maxBytes, OpenProblem& problem) {
  problem = OpenProblem::none;
  if (!inRange(unit) || isConnected(unit)) return false;
  std::FILE* f = isReadMode(mode) ? openDataFile(path, mode, maxBytes, problem)
                                  : std::fopen(std::string(path).c_str(), mode);
  if (f == nullptr) {
    if (problem == OpenProblem::none) problem = OpenProblem::cannotOpen;
    return false;
  }
  table()[static_cast<std::size_t>(unit)] = {f, true, isReadMode(mode) ? maxBytes : static_cast<std::size_t>(-1)};
  return true;
}

bool open(int unit, std::string_view path, const char* mode, std::size_t maxBytes) {
  OpenProblem problem = OpenProblem::none;
  return open(unit, path, mode, maxBytes, problem);
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
  std::size_t& budget = table()[static_cast<std::size_t>(unit)].budget;
  record.clear();
  int ch = 0;
  bool any = false;
  while (budget > 0 && (ch = std::fgetc(f)) != EOF) {
    --budget;
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

ScopedUnit::ScopedUnit(std::string_view path, const char* mode, std::size_t maxBytes) : unit_(iufopn()) {
  open_ = unit_ >= kFirstFileUnit && unit_ <= kLastFileUnit && units::open(unit_, path, mode, maxBytes, problem_);
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
