// Number and logical texts (ifromc, jfromc, ffromc, rfromc, lfromc) and integer
// substitution into templates (chngi), on arbitrary text. Reports return through
// the error callback; the routines must then return without harm.
#include "fuzz_support.hpp"

#include <string>

#include <zep/foundation.hpp>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  // Kept in a buffer of its own size so that any read past it is caught.
  const std::string owned(reinterpret_cast<const char*>(data), size);
  const std::string_view text(owned);
  volatile int i = zep::ifromc(text);
  i = zep::jfromc(text);
  volatile float r = zep::ffromc(text);
  r = zep::rfromc(text);
  volatile bool l = zep::lfromc(text);
  (void)i, (void)r, (void)l;

  // chngi: the input split into template, pattern and format at the first two
  // NULs; the value from the first bytes.
  const std::size_t a = text.find('\0');
  const std::size_t b = a == std::string_view::npos ? a : text.find('\0', a + 1);
  if (b != std::string_view::npos) {
    std::string templ(text.substr(0, a));
    const std::string pattern(text.substr(a + 1, b - a - 1));
    const std::string format(text.substr(b + 1));
    std::uint32_t bits = 0;
    for (std::size_t k = 0; k < 4 && k < size; ++k) bits = bits << 8 | data[k];
    const int value = static_cast<int>(bits);
    zep::chngi(templ, pattern, value, format);
  }
  return 0;
}
