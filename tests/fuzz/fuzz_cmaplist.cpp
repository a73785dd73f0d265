// The colormap list: read from a file on a unit by the list-directed reader, in
// the reads the list loader makes (a count, then a file name and a description
// per entry), followed by reads into every item type.
//
// swcmll itself loads its list once per process, so the harness drives the same
// reads on each input instead of the loader.
#include "fuzz_support.hpp"

#include <string>

#include "foundation/list_reader.hpp"
#include "foundation/units.hpp"

using zep::listio::ListReader;
using zep::listio::ReadStatus;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  const std::string path = fuzz::writeScratch("cmaplist", data, size);
  zep::units::ScopedUnit unit(path, "r");
  if (!unit.isOpen()) return 0;
  ListReader reader(unit.unit(), 512);

  int n = -1;
  if (reader.read({&n}) == ReadStatus::ok && n >= 0 && n <= 99) {
    for (int i = 0; i < n; ++i) {
      std::string file(80, ' '), description(80, ' ');
      if (reader.read({std::span<char>(file), std::span<char>(description)}) != ReadStatus::ok) break;
    }
  }
  // Whatever is left, read as every kind of item.
  for (int round = 0; round < 64; ++round) {
    int i = 0;
    float r = 0;
    bool l = false;
    std::string t(8, ' ');
    char c = ' ';
    const ReadStatus s = reader.read({&i, &r, &l, std::span<char>(t), std::span<char>(&c, 1), std::span<char>()});
    if (s == ReadStatus::endOfFile) break;
  }

  // The value conversions on the raw input.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int i = 0;
  float r = 0;
  bool l = false;
  zep::listio::parseInteger(text, i);
  zep::listio::parseReal(text, r);
  zep::listio::parseLogical(text, l);
  return 0;
}
