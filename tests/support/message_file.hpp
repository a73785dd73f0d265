// Sends the library's reports to a file on a unit of their own and reads them back.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <zep/foundation.hpp>

#include "foundation/units.hpp"
#include "support/test_support.hpp"

namespace zeptest {

class MessageFile {
 public:
  explicit MessageFile(std::filesystem::path path, int unit = 42) : path_(std::move(path)), unit_(unit) {
    zep::gliget("MSGUNIT", previous_);
    zep::units::open(unit_, path_.string(), "w");
    zep::gliset("MSGUNIT", unit_);
  }
  // The reports go back where they went, and the unit is free for the next file.
  ~MessageFile() {
    zep::gliset("MSGUNIT", previous_);
    zep::units::close(unit_);
  }
  MessageFile(const MessageFile&) = delete;
  MessageFile& operator=(const MessageFile&) = delete;
  // The lines without the trailing blanks that pad them to the line width.
  std::vector<std::string> lines() {
    std::vector<std::string> out = rawLines();
    for (auto& l : out) l.erase(l.find_last_not_of(' ') + 1);
    return out;
  }
  std::vector<std::string> rawLines() {
    std::fflush(zep::units::stream(unit_));
    return readLines(path_);
  }

 private:
  std::filesystem::path path_;
  int unit_;
  int previous_ = 0;
};

inline std::string expectLines(const std::vector<std::string>& got, const std::vector<std::string>& want) {
  if (got == want) return "";
  std::string s = "got:\n";
  for (const auto& l : got) s += "[" + l + "]\n";
  s += "want:\n";
  for (const auto& l : want) s += "[" + l + "]\n";
  return s;
}

}  // namespace zeptest
