// Helpers shared by the test suites.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace zeptest {

// Escapes a literal text for the regular expressions of death tests.
inline std::string quoteRegex(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) out += '\\';
    out += c;
  }
  return out;
}

// A regular expression that matches exactly one whole line of output. Report
// lines are fixed-width slices, so trailing blanks may follow the text.
inline std::string lineRegex(const std::string& s) { return "(^|\n)" + quoteRegex(s) + " *(\n|$)"; }

inline std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline std::vector<std::string> readLines(const std::filesystem::path& p) {
  std::vector<std::string> lines;
  std::ifstream in(p);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A fresh temporary directory that becomes the working directory for the
// lifetime of the object; the previous one is restored afterwards.
class TempWorkDir {
 public:
  TempWorkDir() : previous_(std::filesystem::current_path()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zeptest-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    if (made == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = made;
    std::filesystem::current_path(path_);
  }
  ~TempWorkDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempWorkDir(const TempWorkDir&) = delete;
  TempWorkDir& operator=(const TempWorkDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// Runs a shell command and returns what it wrote on standard output.
inline std::string runCommand(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int rc = ::pclose(p);
  if (status != nullptr) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

// Runs `body` in a fresh copy of the test program (the death-test machinery
// re-executes it), so process-wide state such as message counts and first-use
// flags starts from scratch. The body returns an empty string on success or a
// description of what went wrong.
#define ZEP_EXPECT_ISOLATED(...)                                            \
  do {                                                                         \
    GTEST_FLAG_SET(death_test_style, "threadsafe");                            \
    EXPECT_EXIT(                                                               \
        {                                                                      \
          const std::string zepFailure = (__VA_ARGS__)();                             \
          if (!zepFailure.empty()) std::fprintf(stderr, "FAILED: %s\n", zepFailure.c_str()); \
          std::fflush(nullptr);                                                \
          std::_Exit(zepFailure.empty() ? 0 : 1);                              \
        },                                                                     \
        ::testing::ExitedWithCode(0), "");                                     \
  } while (0)

}  // namespace zeptest
