// Context for error reports: while an ErrorContext lives, every error report is
// followed by its continuation lines ("-CNT.-"), so that a report made deep in a
// conversion can say which parameter, source or file the bad text came from.
#pragma once

#include <string>
#include <string_view>
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

// Whether an error report returns to its caller (an error callback is installed).
bool errorsReturn();
// Runs the output finisher now, once (as an ending error report would); its note, if any.
std::string finishOutput();
// Writes an error report without ending the process and without the finisher,
// for a caller that ends the process itself.
void writeError(std::string_view routine, std::string_view text);
// The budget of warnings and messages (GL MAXMSG per run) and the dumper as a
// fresh process has them: nothing counted yet, the library's own dumper.
void restoreFreshDumper();

}  // namespace zep::reports
