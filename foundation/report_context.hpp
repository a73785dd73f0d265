// Context for error reports: while an ErrorContext lives, every error report is
// followed by its continuation lines ("-CNT.-"), so that a report made deep in a
// conversion can say which parameter, source or file the bad text came from.
#pragma once

#include <string>
#include <vector>

namespace zep::reports {

class ErrorContext {
 public:
  explicit ErrorContext(std::vector<std::string> lines);
  explicit ErrorContext(std::string line) : ErrorContext(std::vector<std::string>{std::move(line)}) {}
  ~ErrorContext();
  ErrorContext(const ErrorContext&) = delete;
  ErrorContext& operator=(const ErrorContext&) = delete;
};

// The continuation lines of every context alive now, outermost first.
std::vector<std::string> contextLines();

}  // namespace zep::reports
