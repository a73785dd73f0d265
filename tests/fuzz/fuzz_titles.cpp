// Page-title keywords (#PAGE, #DATE, #TIME, #PROG, #USER) expanded into
// buffers of any size, and the date and time templates filled with any
// numbers. The first bytes choose the buffer size, the page number and the
// numbers; the rest is the title and, after a NUL, the template.
#include "fuzz_support.hpp"

#include <cstring>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

namespace {

int take(const std::uint8_t*& data, std::size_t& size) {
  if (size < 4) return 0;
  int v = 0;
  std::memcpy(&v, data, 4);
  data += 4;
  size -= 4;
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::quietReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t width = data[0];
  ++data;
  --size;
  zep::sgiset("NPAGE", take(data, size));
  const int n1 = take(data, size), n2 = take(data, size), n3 = take(data, size);

  const std::string rest(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = rest.find('\0');
  const std::string title = rest.substr(0, nul);
  std::string form = nul == std::string::npos ? std::string("YYYY/MM/DD HH:MM:SS") : rest.substr(nul + 1);

  std::string out(width, '?');
  int lc = -1;
  zep::sltlcv(title, out, lc);
  if (lc < 0 || static_cast<std::size_t>(lc) > width) std::abort();

  std::string date = form, time = form;
  zep::datec3(date, n1, n2, n3);
  zep::timec3(time, n1, n2, n3);
  if (date.size() != form.size() || time.size() != form.size()) std::abort();
  // The calendar names for the same numbers.
  (void)zep::cmon(n2);
  (void)zep::cweek(n3);
  return 0;
}
