// Reads back what a PDF file holds: its streams, inflated, one after the other.
#pragma once

#include <zlib.h>

#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace zeptest {

inline std::string pdfContent(const std::string& file) {
  const std::string pdf = readFile(file);
  std::string out;
  for (auto at = pdf.find("stream\n"); at != std::string::npos; at = pdf.find("stream\n", at + 1)) {
    const auto begin = at + 7, end = pdf.find("endstream", begin);
    if (end == std::string::npos) break;
    std::vector<unsigned char> buf(1 << 23);
    uLongf size = buf.size();
    if (uncompress(buf.data(), &size, reinterpret_cast<const Bytef*>(pdf.data() + begin), end - begin) == Z_OK)
      out.append(reinterpret_cast<const char*>(buf.data()), size);
    at = end + 9;  // past "endstream", whose tail is not a stream of its own
  }
  return out;
}

}  // namespace zeptest
