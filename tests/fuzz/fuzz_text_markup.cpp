// Backslash markup of stroke-font text turned into the engine's control
// characters (convertMarkup); control codes from the first three bytes.
#include "fuzz_support.hpp"

#include "primitives/text_markup.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  if (size < 3) return 0;
  const std::string owned(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::string out = zep::text_engine::convertMarkup(owned, data[0], data[1], data[2]);
  if (out.size() > zep::text_engine::kConvertedLength) std::abort();
  return 0;
}
