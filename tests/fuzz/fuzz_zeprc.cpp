// Configuration file (.zeprc): read by rpnxfl, then every name the input holds
// (the text before the first blank of each line) is looked up as an integer, a
// real, a logical and a text, so that arbitrary values go through the number and
// logical conversions; so do a few real parameter names.
#include "fuzz_support.hpp"

#include <vector>

#include <zep/foundation.hpp>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::quietReports();
  // The configuration file is this harness's scratch file.
  const std::string path = fuzz::writeScratch("zeprc", nullptr, 0);
  zep::glcset("ZEPRC", path);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::writeScratch("zeprc", data, size);
  zep::rpnxfl();

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> names;
  for (std::size_t start = 0; start < text.size() && names.size() < 16;) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    names.push_back(line.substr(0, std::min(line.find(' '), std::size_t{80})));
    start = end + 1;
  }
  for (std::string_view name : names) {
    int i = 0;
    float r = 0;
    bool l = false;
    std::string c(80, ' ');
    zep::rlixfl(name, i);
    zep::rlrxfl(name, r);
    zep::rllxfl(name, l);
    zep::rlcxfl(name, c);
  }
  int i = 0;
  float r = 0;
  bool l = false;
  std::string c(80, ' ');
  zep::rtixfl("GL", "MAXMSG", i);
  zep::rtrxfl("GL", "RMISS", r);
  zep::rtlxfl("GL", "LMISS", l);
  zep::rtcxfl("GL", "DUPATH", c);
  return 0;
}
