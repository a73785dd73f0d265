// The process-wide unit table: numbered connections to files and the standard
// streams. Units 0 (standard error), 5 (standard input) and 6 (standard output)
// are connected from the start; 1 to 99 are handed out by iufopn for files.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zep::units {

constexpr int kFirstFileUnit = 1;
constexpr int kLastFileUnit = 99;

bool isConnected(int unit);
// Connects `path` to `unit` with an fopen mode; false when the file cannot be opened
// or the unit is out of range or already connected.
bool open(int unit, std::string_view path, const char* mode);
void close(int unit);
// The stream of a connected unit, nullptr otherwise.
std::FILE* stream(int unit);

// Reads one text record (a line without its end), cut or blank-padded to `width`
// characters however long the line is; false at end of file or on a read error.
bool readRecord(int unit, std::string& record, std::size_t width);

// Writes one record (a line) to a unit; unconnected units fall back to standard error
// so that no report is lost.
void writeRecord(int unit, std::string_view record);

// Owns a unit connected to a file for the lifetime of a read: opens on a free unit
// and closes on every path out.
class ScopedUnit {
 public:
  ScopedUnit(std::string_view path, const char* mode);
  ~ScopedUnit();
  ScopedUnit(const ScopedUnit&) = delete;
  ScopedUnit& operator=(const ScopedUnit&) = delete;
  bool isOpen() const { return open_; }
  int unit() const { return unit_; }

 private:
  int unit_ = 0;
  bool open_ = false;
};

}  // namespace zep::units
