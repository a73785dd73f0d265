// Output driver: readers of the colormap and the tone bitmap pattern files, and
// the colour table they fill. Both files are read completely at once; a file
// that cannot be read, or does not hold what it declares, ends the process.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"
#include "foundation/units.hpp"

namespace zep {

namespace {

// Reads a text the way the C scanf family reads "%d", "%Nd", "%s" and literal
// characters, but within bounds and without undefined behaviour on overflow.
class Scanner {
 public:
  explicit Scanner(std::string text) : text_(std::move(text)) {}

  void skip_space() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  // An integer of at most `width` characters (sign included) after blanks.
  std::optional<long> integer(std::size_t width = 20) {
    skip_space();
    std::size_t p = pos_, end = std::min(text_.size(), pos_ + width);
    bool negative = false;
    if (p < end && (text_[p] == '+' || text_[p] == '-')) negative = text_[p++] == '-';
    std::size_t digits_start = p;
    long value = 0;
    while (p < end && std::isdigit(static_cast<unsigned char>(text_[p]))) {
      if (value < 1000000000L) value = value * 10 + (text_[p] - '0');
      ++p;
    }
    if (p == digits_start) return std::nullopt;
    pos_ = p;
    return negative ? -value : value;
  }

  bool literal(char c) {
    skip_space();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  // A word of non-blank characters; none, or more than max_length, fails.
  std::optional<std::string> word(std::size_t max_length) {
    skip_space();
    std::size_t p = pos_;
    while (p < text_.size() && !std::isspace(static_cast<unsigned char>(text_[p]))) ++p;
    if (p == pos_ || p - pos_ > max_length) return std::nullopt;
    std::string w = text_.substr(pos_, p - pos_);
    pos_ = p;
    return w;
  }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

// 255 colours or 300 patterns take a few tens of kilobytes.
constexpr std::size_t kMaxDataFileBytes = std::size_t{1} << 20;

[[noreturn]] void fail(const char* what, const std::string& file, const char* reason = nullptr) {
  std::fputs(kZgErrorPrefix, stderr);
  std::fprintf(stderr, "Allocation failed for %s (%s).\n", what, file.c_str());
  if (reason != nullptr) {
    std::fputs(kZgErrorPrefix, stderr);
    std::fprintf(stderr, "%s %s\n", file.c_str(), reason);
  }
  std::exit(1);
}

// The whole file, read only when it is a regular file of a sane size: a device
// or a FIFO would never end or would block.
std::string read_whole(const char* what, const std::string& file) {
  units::OpenProblem problem = units::OpenProblem::none;
  auto text = units::readDataFile(file, kMaxDataFileBytes, problem);
  if (text) return std::move(*text);
  switch (problem) {
    case units::OpenProblem::notRegular: fail(what, file, "is not a regular file.");
    case units::OpenProblem::tooLarge: fail(what, file, "is larger than 1048576 bytes.");
    default: fail(what, file);
  }
}

}  // namespace

void zgreadcolormap(std::string_view file_arg, bool lfgbg) {
  ZgState& s = zgstate();
  // The whole resolved path counts: a data directory may make it long.
  const std::string file = zgtrim(file_arg, file_arg.size());
  Scanner in(read_whole("colormap", file));
  auto n = in.integer();
  if (!n || !in.literal(':') || !in.word(std::string::npos)) fail("colormap", file);
  if (*n < 1 || *n > kZgColors) fail("colormap", file);

  std::vector<ZgColor> colors(static_cast<std::size_t>(*n));
  for (ZgColor& c : colors) {
    long rgb[3];
    for (long& v : rgb) {
      auto value = in.integer(6);
      if (!value || *value < 0 || *value > 65535) fail("colormap", file);
      v = *value;
    }
    if (!in.literal(':') || !in.word(std::string::npos)) fail("colormap", file);
    c = {static_cast<std::uint16_t>(rgb[0]), static_cast<std::uint16_t>(rgb[1]),
         static_cast<std::uint16_t>(rgb[2])};
  }
  if (lfgbg && colors.size() > 1) std::swap(colors[0], colors[1]);

  for (std::size_t i = 0; i < s.cx.size(); ++i) s.cx[i] = colors[i % colors.size()];
}

void zgreadbitmap(std::string_view file_arg) {
  ZgState& s = zgstate();
  const std::string file = zgtrim(file_arg, file_arg.size());
  Scanner in(read_whole("bitmap", file));
  auto m = in.integer();
  if (!m || *m < 0 || *m > kZgMaxBitmaps) fail("bitmap", file);

  std::vector<ZgBitmapRecord> records(static_cast<std::size_t>(*m));
  for (ZgBitmapRecord& r : records) {
    auto nn1 = in.integer(4), nn2 = in.integer(4), nx = in.integer(3), ny = in.integer(3);
    if (!nn1 || !nn2 || !nx || !ny) fail("bitmap", file);
    auto line = in.word(kZgMaxBitmapWord);
    if (!line) fail("bitmap", file);
    r = {static_cast<int>(*nn1), static_cast<int>(*nn2), static_cast<int>(*nx),
         static_cast<int>(*ny), std::move(*line)};
  }
  s.nbmap = static_cast<int>(records.size());
  s.bitmaps = std::move(records);
}

void zgclini(std::string_view file, bool lfgbg) {
  ZgState& s = zgstate();
  zgreadcolormap(file, lfgbg);
  s.lclatrz = true;
  if (s.cr) zgsetcolor(s.cr.get(), 0);
}

}  // namespace zep
