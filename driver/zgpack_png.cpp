// Output driver: PNG files of image pages, written through libpng directly.
// cairo's own writer always deflates at zlib's default level with adaptive
// filters, which costs three to four times what drawing a map does; a fast
// level without filtering gives files of about the same size (flat colours
// compress well either way). The pixels are those cairo would write: opaque
// pages as RGB, others as RGBA with the premultiplied alpha undone.
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

#include "driver/zgpack_internal.hpp"

namespace zep {

namespace {

struct Sink {
  ZgPngWrite write;
  void* closure;
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
};

void write_bytes(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  if (sink->status != CAIRO_STATUS_SUCCESS) return;
  // The stream takes at most an unsigned int at a time.
  while (length > 0) {
    const auto piece = static_cast<unsigned int>(length > 0x40000000u ? 0x40000000u : length);
    sink->status = sink->write(sink->closure, data, piece);
    if (sink->status != CAIRO_STATUS_SUCCESS) {
      png_error(png, "write error");
      return;
    }
    data += piece;
    length -= piece;
  }
}

void flush_bytes(png_structp) {}

// libpng reports through longjmp; a message on standard error would be noise.
void quiet_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quiet_warning(png_structp, png_const_charp) {}

bool opaque(const unsigned char* data, int width, int height, int stride) {
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    // A whole row at a time, without a branch per pixel.
    std::uint32_t all = 0xffffffffu;
    for (int x = 0; x < width; ++x) all &= row[x];
    if ((all >> 24) != 0xffu) return false;
  }
  return true;
}

// Separate from the caller so that nothing with a destructor lives across
// setjmp: the rows belong to the caller.
bool write_rows(png_structp png, png_infop info, Sink& sink, cairo_surface_t* surface, bool rgba, int level,
                std::vector<unsigned char>& row) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  png_set_write_fn(png, &sink, &write_bytes, &flush_bytes);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // A white background, as cairo's writer states it.
  png_color_16 white{};
  white.red = white.green = white.blue = white.gray = 0xff;
  png_set_bKGD(png, info, &white);
  png_set_compression_level(png, level);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, level <= 3 ? PNG_FILTER_NONE : PNG_ALL_FILTERS);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    unsigned char* out = row.data();
    if (!rgba) {
      for (int x = 0; x < width; ++x, out += 3) {
        const std::uint32_t p = in[x];
        out[0] = static_cast<unsigned char>(p >> 16);
        out[1] = static_cast<unsigned char>(p >> 8);
        out[2] = static_cast<unsigned char>(p);
      }
      png_write_row(png, row.data());
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = in[x];
      const unsigned a = p >> 24, r = (p >> 16) & 0xffu, g = (p >> 8) & 0xffu, b = p & 0xffu;
      if (a == 0) {
        std::memset(out, 0, 4);
        out += 4;
      } else {
        *out++ = static_cast<unsigned char>((r * 255 + a / 2) / a);
        *out++ = static_cast<unsigned char>((g * 255 + a / 2) / a);
        *out++ = static_cast<unsigned char>((b * 255 + a / 2) / a);
        *out++ = static_cast<unsigned char>(a);
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

cairo_status_t zgwritepng(cairo_surface_t* surface, float imgcmp, ZgPngWrite write, void* closure) {
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  // Other formats, and an empty page, which libpng refuses, are cairo's.
  if ((format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) || width <= 0 || height <= 0 ||
      cairo_image_surface_get_data(surface) == nullptr)
    return cairo_surface_write_to_png_stream(surface, write, closure);
  cairo_surface_flush(surface);
  const bool rgba = format == CAIRO_FORMAT_ARGB32 &&
                    !opaque(cairo_image_surface_get_data(surface), width, height,
                            cairo_image_surface_get_stride(surface));
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &quiet_error, &quiet_warning);
  if (png == nullptr) return CAIRO_STATUS_NO_MEMORY;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return CAIRO_STATUS_NO_MEMORY;
  }
  Sink sink{write, closure};
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * (rgba ? 4 : 3));
  const bool done = write_rows(png, info, sink, surface, rgba, zgzliblevel(imgcmp), row);
  png_destroy_write_struct(&png, &info);
  if (sink.status != CAIRO_STATUS_SUCCESS) return sink.status;
  return done ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_PNG_ERROR;
}

}  // namespace zep
