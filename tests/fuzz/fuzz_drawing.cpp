// Drawing through the whole pipeline into the recording driver double: random
// sequences of window, viewport, transformation (map projections and their
// parameters included), clipping and interpolation settings, and polylines
// and segments with finite and non-finite points. Whatever the input, every
// coordinate the driver receives must be a finite number.
#include "fuzz_support.hpp"

#include <cmath>
#include <cstring>
#include <vector>

#include <zep/zep.hpp>

#include "support/recording_port.hpp"

namespace {

void finitePoint(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) std::abort();
}

const zep::workstation::DriverPort& checkingPort() {
  static const zep::workstation::DriverPort port = [] {
    zep::workstation::DriverPort p = zeptest::recordingPort();
    p.gmov = finitePoint;
    p.gplt = finitePoint;
    p.oopn = [](std::string_view, std::string_view) {};
    p.ocls = [](std::string_view) {};
    p.txt = [](double x, double y, double, std::string_view, int, double, int) { finitePoint(x, y); };
    p.clip = [](double x0, double x1, double y0, double y1) {
      finitePoint(x0, x1);
      finitePoint(y0, y1);
    };
    return p;
  }();
  return port;
}

// Transformation numbers worth drawing through: axes, polar, every map, the
// user projection (its projection chosen first) and one invalid number.
constexpr int kTransformations[] = {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                    20, 21, 22, 23, 24, 30, 31, 32, 33, 34, 99, 7};

// Numbers that a parameter or a point is made of: the byte chooses one of a
// few telling values, or takes the next four bytes as a float as they are.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool more() const { return size_ > 0; }
  int byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  float number() {
    static constexpr float kValues[] = {0.0F, 1.0F, -1.0F, 0.5F, 0.1F, 0.9F, 90.0F, -90.0F, 180.0F, -180.0F,
                                        360.0F, 45.0F, 1e-7F, 1e30F, -1e30F, 999.0F, -999.0F};
    const int b = byte();
    if (b < 200) {
      const auto n = static_cast<int>(sizeof kValues / sizeof kValues[0]);
      if (b % 20 < n) return kValues[b % 20];
      return (static_cast<float>(b % 20) - 18.0F) * 37.5F;
    }
    if (b < 210) return NAN;
    if (b < 220) return b % 2 ? INFINITY : -INFINITY;
    float v = 0;
    if (size_ >= 4) {
      std::memcpy(&v, data_, 4);
      data_ += 4;
      size_ -= 4;
    }
    return v;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace

// The map and similarity parameters and the polyline type an input may change,
// and their values at the start, so that every input starts from the same
// settings and a finding can be reproduced from its input alone (a dashed type
// left by one input made the long segments of later ones slow).
constexpr const char* kMapReals[] = {"PLX", "PLY", "PLROT", "STLAT1", "STLAT2", "RSAT", "SIMFAC",
                                     "VXOFF", "VYOFF", "TXMIN", "TXMAX", "TYMIN", "TYMAX"};
float initialMapReals[std::size(kMapReals)];
bool initialDegrees = true;
int initialPolylineType = 1;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::quietReports();
  zep::workstation::setDriverPort(&checkingPort());
  zep::sgopn(2);
  zep::sgfrm();
  for (std::size_t i = 0; i < std::size(kMapReals); ++i) zep::sgrget(kMapReals[i], initialMapReals[i]);
  zep::sglget("LDEG", initialDegrees);
  zep::sgqplt(initialPolylineType);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  // Start every input from the same settings.
  for (std::size_t i = 0; i < std::size(kMapReals); ++i) zep::sgrset(kMapReals[i], initialMapReals[i]);
  zep::sglset("LDEG", initialDegrees);
  zep::sgsplt(initialPolylineType);
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgstrn(1);
  zep::sgstrf();
  for (const char* name : {"LCLIP", "LLNINT", "LMISS"}) zep::sglset(name, false);
  zep::sglset("LGCINT", true);
  zep::gllset("LMISS", false);
  for (int ops = 0; in.more() && ops < 64; ++ops) {
    switch (in.byte() % 9) {
      case 0: {
        const float a = in.number(), b = in.number(), c = in.number(), d = in.number();
        zep::sgswnd(a, b, c, d);
        break;
      }
      case 1: {
        const float a = in.number(), b = in.number(), c = in.number(), d = in.number();
        zep::sgsvpt(a, b, c, d);
        break;
      }
      case 2: {
        const int itr = kTransformations[static_cast<std::size_t>(in.byte()) % std::size(kTransformations)];
        if (itr == 99) zep::stnusr(100 + in.byte() % 5);
        zep::sgstrn(itr);
        break;
      }
      case 3: {
        // Map and similarity parameters, then the finalization.
        static constexpr const char* kReals[] = {"PLX", "PLY", "PLROT", "STLAT1", "STLAT2", "RSAT", "SIMFAC",
                                                 "VXOFF", "VYOFF", "TXMIN", "TXMAX", "TYMIN", "TYMAX"};
        const int n = in.byte() % 4;
        for (int i = 0; i < n; ++i) zep::sgrset(kReals[static_cast<std::size_t>(in.byte()) % std::size(kReals)], in.number());
        zep::sgstrf();
        break;
      }
      case 4:
      case 5: {
        const int n = in.byte() % 48;
        std::vector<float> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
          x[static_cast<std::size_t>(i)] = in.number();
          y[static_cast<std::size_t>(i)] = in.number();
        }
        if (n >= 2) zep::sgplu(n, x.data(), y.data());
        break;
      }
      case 6: {
        const float a = in.number(), b = in.number(), c = in.number(), d = in.number();
        zep::sglnu(a, b, c, d);
        break;
      }
      case 7: {
        const int b = in.byte();
        static constexpr const char* kFlags[] = {"LCLIP", "LLNINT", "LGCINT", "LDEG"};
        zep::sglset(kFlags[b % 4], (b / 4) % 2 == 1);
        if (b >= 128) zep::gllset("LMISS", b % 2 == 1);
        break;
      }
      case 8:
        zep::sgsplt(1 + in.byte() % 4);
        break;
    }
  }
  zeptest::driverLog().clear();
  return 0;
}
