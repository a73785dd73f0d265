// The driver's conversion of the library's text escapes into Pango markup
// (zgmarkup), the fixed-buffer form (zeptext2pangomarkup) and the width query
// that lays the markup out (zgqtxw). The first byte picks the count passed with
// the text, so that counts shorter and longer than the text are both tried.
#include "fuzz_support.hpp"

#include <vector>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::quietReports();
  // fontconfig fills its caches for the life of the process at the first layout;
  // that happens here, not inside an input, so it does not look like a leak.
  float wx = 0, wy = 0;
  zep::zgqtxw("A\\o{x}\x01\x90-&<>", 16, wx, wy);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 512) return 0;
  const std::string owned(reinterpret_cast<const char*>(data + 1), size - 1);
  const int n = data[0] == 255 ? -1 : static_cast<int>(owned.size()) + (data[0] % 16) - 8;
  const std::string markup = zep::zgmarkup(owned, n, 10240.0);
  std::vector<char> out(1 + data[0] % 64);
  zep::zeptext2pangomarkup(owned, n, out, 10240.0);
  float wx = 0, wy = 0;
  zep::zgqtxw(owned, n, wx, wy);
  return 0;
}
