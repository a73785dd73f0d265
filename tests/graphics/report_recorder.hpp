// Records every report (errors included, which then return to the caller) for
// the lifetime of the object, so that a test can check both the reports and
// what the reporting routine left behind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <zep/zep.hpp>

namespace zeptest {

struct Report {
  std::string level;
  std::string routine;  // as passed, padding included
  std::string text;
  bool operator==(const Report&) const = default;
};

inline std::vector<Report>& recordedReports() {
  static std::vector<Report> reports;
  return reports;
}

inline void recordReport(std::string_view level, std::string_view routine, std::string_view text) {
  recordedReports().push_back({std::string(level), std::string(routine), std::string(text)});
}

inline std::ostream& operator<<(std::ostream& os, const Report& r) {
  return os << r.level << " [" << r.routine << "] " << r.text;
}

class ReportRecorder {
 public:
  ReportRecorder() {
    recordedReports().clear();
    zep::set_msgdmp_func(recordReport);
  }
  ~ReportRecorder() { zep::set_msgdmp_func(zep::msgdmp_zeporig); }
  ReportRecorder(const ReportRecorder&) = delete;
  ReportRecorder& operator=(const ReportRecorder&) = delete;

  const std::vector<Report>& reports() const { return recordedReports(); }
  void clear() { recordedReports().clear(); }
};

}  // namespace zeptest
