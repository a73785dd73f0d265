// The process-wide unit table: numbered connections to files and the standard
// streams. Units 0 (standard error), 5 (standard input) and 6 (standard output)
// are connected from the start; 1 to 99 are handed out by iufopn for files.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace zep::units {

constexpr int kFirstFileUnit = 1;
constexpr int kLastFileUnit = 99;

// A data file is read only when it is a regular file of a sane size: a device
// (/dev/zero), a FIFO or a directory would block or read without end.
constexpr std::size_t kDefaultMaxFileBytes = std::size_t{1} << 20;

enum class OpenProblem { none, cannotOpen, notRegular, tooLarge };

// The end of a report about a data file, e.g. "IS NOT A REGULAR FILE."
std::string describe(OpenProblem problem, std::size_t maxBytes);

// Opens `path` for reading when it is a regular file of at most `maxBytes`;
// nullptr and the reason otherwise. Never blocks on a FIFO.
std::FILE* openDataFile(std::string_view path, const char* mode, std::size_t maxBytes, OpenProblem& problem);

// The whole content of a data file, or nothing and the reason.
std::optional<std::string> readDataFile(std::string_view path, std::size_t maxBytes, OpenProblem& problem);

bool isConnected(int unit);
// Connects `path` to `unit` with an fopen mode; false when the file cannot be opened
// or the unit is out of range or already connected. Reading modes open data files
// only (see openDataFile), and reads through the unit stop after `maxBytes`.
bool open(int unit, std::string_view path, const char* mode, std::size_t maxBytes = kDefaultMaxFileBytes);
bool open(int unit, std::string_view path, const char* mode, std::size_t maxBytes, OpenProblem& problem);
void close(int unit);
// The stream of a connected unit, nullptr otherwise.
std::FILE* stream(int unit);

// Reads one text record (a line without its end), cut or blank-padded to `width`
// characters however long the line is; false at end of file, on a read error, or
// when the unit's byte budget is spent.
bool readRecord(int unit, std::string& record, std::size_t width);

// Writes one record (a line) to a unit; unconnected units fall back to standard error
// so that no report is lost.
void writeRecord(int unit, std::string_view record);

// Owns a unit connected to a file for the lifetime of a read: opens on a free unit
// and closes on every path out.
class ScopedUnit {
 public:
  ScopedUnit(std::string_view path, const char* mode, std::size_t maxBytes = kDefaultMaxFileBytes);
  ~ScopedUnit();
  ScopedUnit(const ScopedUnit&) = delete;
  ScopedUnit& operator=(const ScopedUnit&) = delete;
  bool isOpen() const { return open_; }
  int unit() const { return unit_; }
  // Why the file is not open (none when it is, or when no unit was free).
  OpenProblem problem() const { return problem_; }

 private:
  int unit_ = 0;
  bool open_ = false;
  OpenProblem problem_ = OpenProblem::none;
};

}  // namespace zep::units
