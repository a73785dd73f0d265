// The message dumper and the process-name stack.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>
#include <utility>

#include <zep/foundation.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/report_context.hpp"
#include "foundation/units.hpp"

namespace zep {
namespace {

constexpr std::size_t kReportWidth = 200;
constexpr std::size_t kNameWidth = 32;
constexpr int kMaxLevel = 16;

MsgDumper activeDumper = &msgdmp_zeporig;
MsgErrorCallback errorCallback = nullptr;
MsgFinisher finisher = nullptr;
// Warnings and messages written so far by each dumper, against GL MAXMSG.
int zeporigCount = 0;
int replaceableCount = 0;

struct DumperSettings {
  int unit = 0;
  int maxmsg = 20;
  int msglev = 0;
  int linesize = 78;
  bool longForm = false;
};

DumperSettings fetchSettings() {
  DumperSettings s;
  gliget("MSGUNIT", s.unit);
  gliget("MAXMSG", s.maxmsg);
  gliget("MSGLEV", s.msglev);
  gliget("NLNSIZE", s.linesize);
  gllget("LLMSG", s.longForm);
  return s;
}

// A line size or message budget that cannot work is replaced by its default for
// the report at hand and reported once per bad value; the report is the caller's
// to make, since it has to go out with settings that work.
std::optional<std::string> repairSettings(DumperSettings& s) {
  static std::optional<int> reportedLinesize;
  static std::optional<int> reportedMaxmsg;
  std::optional<std::string> problem;
  if (s.linesize < 1 || s.linesize > 999) {
    if (reportedLinesize != s.linesize)
      problem = "NLNSIZE = " + std::to_string(s.linesize) + " IS OUT OF ITS RANGE, 1 TO 999.";
    reportedLinesize = s.linesize;
    s.linesize = DumperSettings{}.linesize;
  }
  if (s.maxmsg < 0) {
    if (!problem && reportedMaxmsg != s.maxmsg)
      problem = "MAXMSG = " + std::to_string(s.maxmsg) + " IS OUT OF ITS RANGE, 0 OR MORE.";
    if (problem) reportedMaxmsg = s.maxmsg;
    s.maxmsg = DumperSettings{}.maxmsg;
  }
  return problem;
}

std::vector<std::vector<std::string>>& contextStack() {
  static std::vector<std::vector<std::string>> stack;
  return stack;
}

// ---- process-name stack ----

std::array<std::string, kMaxLevel + 1>& processSlots() {
  static std::array<std::string, kMaxLevel + 1> slots = [] {
    std::array<std::string, kMaxLevel + 1> init;
    init.fill(std::string(kNameWidth, ' '));
    init[0] = text::padded("MAIN", kNameWidth);
    return init;
  }();
  return slots;
}
int processLevel = 0;

const std::string& outermostProcess() { return processSlots()[static_cast<std::size_t>(std::min(processLevel, 1))]; }

std::string compose(char level, std::string_view routine, std::string_view message, bool longForm);

// Lets what was written be completed before an error ends the process. The
// finisher leaves its slot before it runs, so an error inside it cannot recurse.
void runFinisher(int unit, int linesize, bool longForm) {
  const MsgFinisher f = std::exchange(finisher, nullptr);
  if (f == nullptr) return;
  const std::string note = f();
  if (!note.empty()) mszdmp(compose('E', "-CNT.-", note, longForm), unit, linesize);
}

// Stack faults are written straight to the message unit and end the process:
// the stack is what the reports themselves quote, so they cannot go through them.
[[noreturn]] void stackFault(std::string_view routine, std::string_view what) {
  int unit = 0;
  int linesize = 78;
  gliget("MSGUNIT", unit);
  gliget("NLNSIZE", linesize);
  mszdmp("*** ERROR (" + std::string(routine) + " IN " + outermostProcess() + ") * " + std::string(what), unit,
         linesize);
  runFinisher(unit, linesize, false);
  osabrt();
}

char upperLevel(std::string_view level) {
  const char c = level.empty() ? ' ' : level[0];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string compose(char level, std::string_view routine, std::string_view message, bool longForm) {
  const std::string r = text::padded(routine, kNameWidth);
  std::string report;
  if (longForm) {
    const char* head = level == 'E' ? "*** Error (" : level == 'W' ? "- Warning (" : "- Message (";
    report = std::string(head) + std::string(text::trimmed(r)) + "@ " + std::string(text::trimmed(outermostProcess())) +
             ") " + std::string(text::trimmed(message));
  } else {
    const char* head = level == 'E' ? "***** ERROR (" : level == 'W' ? "*** WARNING (" : "*** MESSAGE (";
    report = std::string(head) + r.substr(0, 6) + ") ***  " + std::string(text::trimmed(message));
  }
  if (report.size() > kReportWidth) report.resize(kReportWidth);
  return report;
}

// Steps shared by both dumpers once an error has been dealt with: the budget,
// the level filter and the suppression line.
void dumpWarningOrMessage(int& count, char level, std::string_view routine, std::string_view message,
                          const DumperSettings& s) {
  if (count >= s.maxmsg) return;
  if ((level == 'W' && s.msglev <= 1) || (level == 'M' && s.msglev <= 0)) {
    ++count;
    mszdmp(compose(level, routine, message, s.longForm), s.unit, s.linesize);
    if (count == s.maxmsg) mszdmp("+++ THE FOLLOWING MESSAGES ARE SUPPRESSED.", s.unit, s.linesize);
  }
}

}  // namespace

void msgdmp(std::string_view level, std::string_view routine, std::string_view text) {
  activeDumper(level, routine, text);
}

namespace reports {

ErrorContext::ErrorContext(std::vector<std::string> lines) { contextStack().push_back(std::move(lines)); }
ErrorContext::~ErrorContext() { contextStack().pop_back(); }

std::vector<std::string> contextLines() {
  std::vector<std::string> lines;
  for (const auto& context : contextStack()) lines.insert(lines.end(), context.begin(), context.end());
  return lines;
}

bool errorsReturn() { return activeDumper == &msgdmp_err_replaceable && errorCallback != nullptr; }

std::string finishOutput() {
  const MsgFinisher f = std::exchange(finisher, nullptr);
  return f != nullptr ? f() : std::string();
}

void writeError(std::string_view routine, std::string_view text) {
  DumperSettings s = fetchSettings();
  repairSettings(s);
  mszdmp(compose('E', routine, text, s.longForm), s.unit, s.linesize);
}

void restoreFreshDumper() {
  zeporigCount = replaceableCount = 0;
  activeDumper = &msgdmp_zeporig;
  errorCallback = nullptr;
  finisher = nullptr;
}

}  // namespace reports

void msgdmp_zeporig(std::string_view level, std::string_view routine, std::string_view text) {
  int& count = zeporigCount;
  DumperSettings s = fetchSettings();
  const std::optional<std::string> settingsProblem = repairSettings(s);
  if (settingsProblem) mszdmp(compose('E', "MSGDMP", *settingsProblem, s.longForm), s.unit, s.linesize);
  const char lev = upperLevel(level);
  if (lev == 'E') {
    mszdmp(compose(lev, routine, text, s.longForm), s.unit, s.linesize);
    for (const std::string& line : reports::contextLines())
      mszdmp(compose(lev, "-CNT.-", line, s.longForm), s.unit, s.linesize);
    runFinisher(s.unit, s.linesize, s.longForm);
    osabrt();
  }
  dumpWarningOrMessage(count, lev, routine, text, s);
  if (settingsProblem) {
    runFinisher(s.unit, s.linesize, s.longForm);
    osabrt();
  }
}

void msgdmp_err_replaceable(std::string_view level, std::string_view routine, std::string_view text) {
  int& count = replaceableCount;
  const char lev = upperLevel(level);
  // Without a callback to hand it to, an error must not vanish: report and end.
  if (lev == 'E' && errorCallback == nullptr) msgdmp_zeporig(level, routine, text);
  DumperSettings s = fetchSettings();
  if (const std::optional<std::string> settingsProblem = repairSettings(s)) {
    if (errorCallback != nullptr) errorCallback("MSGDMP", *settingsProblem);
    else msgdmp_zeporig("E", "MSGDMP", *settingsProblem);
  }
  // The callback receives the report as its routine made it; the continuation
  // lines of a context are for the written form.
  if (lev == 'E') errorCallback(routine, text);
  dumpWarningOrMessage(count, lev, routine, text, s);
}

void set_msgdmp_func(MsgDumper dumper) { activeDumper = dumper != nullptr ? dumper : &msgdmp_zeporig; }

void set_msgdmp_fin_func(MsgFinisher f) { finisher = f; }

void set_msgdmp_err_func(MsgErrorCallback callback) {
  errorCallback = callback;
  activeDumper = &msgdmp_err_replaceable;
}

void mszdmp(std::string_view text, int unit, int linesize) {
  const std::string buffer = text::padded(text, kReportWidth);
  // The line width is a three-digit field; anything outside it would loop or divide by zero.
  const std::size_t width = static_cast<std::size_t>(std::clamp(linesize, 1, 999));
  const std::size_t n = static_cast<std::size_t>(lenc(buffer));
  const std::size_t lines = (n - 1) / width + 1;
  for (std::size_t i = 0; i < lines; ++i) {
    const std::size_t from = i * width;
    const std::size_t to = std::min((i + 1) * width, kReportWidth);
    units::writeRecord(unit, " " + buffer.substr(from, to - from));
  }
}

void osabrt() { std::abort(); }

void prcopn(std::string_view name) {
  if (processLevel >= kMaxLevel) {
    msgdmp("E", "PRCOPN", "TOO MANY NESTED PROCESSES (>16).");
    return;
  }
  ++processLevel;
  processSlots()[static_cast<std::size_t>(processLevel)] = text::padded(name, kNameWidth);
}

void prccls(std::string_view name) {
  if (processLevel <= 0) {
    msgdmp("E", "PRCCLS", "THERE IS NO PROCESS TO BE CLOSED.");
    return;
  }
  std::string& innermost = processSlots()[static_cast<std::size_t>(processLevel)];
  if (text::padded(name, kNameWidth) != innermost)
    stackFault("PRCCLS", "PROCESS " + innermost + " HAS NOT BEEN CLOSED YET.");
  innermost.assign(kNameWidth, ' ');
  --processLevel;
}

void prclvl(int& level) { level = processLevel; }

void prcnam(int level, std::span<char> name) {
  if (level < 0) {
    msgdmp("E", "PRCNAM", "PROCESS LEVEL IS NEGATIVE.");
    text::assign(name, "");
    return;
  }
  if (level > processLevel) stackFault("PRCNAM", "TOO LARGE PROCESS LEVEL (NLEV).");
  text::assign(name, processSlots()[static_cast<std::size_t>(level)]);
}

}  // namespace zep
