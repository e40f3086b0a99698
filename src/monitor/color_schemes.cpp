#include "monitor/color_schemes.h"

#include <algorithm>
#include <cmath>

#include "monitor/analyzer_frame.h"

namespace kestrel {
namespace {

using analyzer::kSegmentCount;

struct Rgb {
  double r, g, b;
};

Rgb Unpack(std::uint32_t c) {
  return {static_cast<double>(c >> 16 & 0xff), static_cast<double>(c >> 8 & 0xff), static_cast<double>(c & 0xff)};
}

std::uint32_t Pack(Rgb c) {
  const auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
  return byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

Rgb Mix(Rgb a, Rgb b, double f) { return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f}; }

// The colour of segment n through stops spread evenly from segment 1 to segment 30.
template <std::size_t N>
Rgb ThroughStops(const std::array<std::uint32_t, N>& stops, int n) {
  const double at = static_cast<double>(n - 1) / (kSegmentCount - 1) * (N - 1);
  const std::size_t i = std::min(static_cast<std::size_t>(at), N - 2);
  return Mix(Unpack(stops[i]), Unpack(stops[i + 1]), at - static_cast<double>(i));
}

// Pink, orange, green, cyan, violet.
Rgb HueCycle(const ColorScheme& s, int n) {
  return ThroughStops(std::array<std::uint32_t, 5>{s.bottom, 0xffb25a, 0x7cf07c, 0x6ee4fa, s.top}, n);
}

// 1 in the middle column, falling towards the edges as on a rounded bar.
double Shade(const ColorScheme& s, int x) {
  const double middle = (s.width - 1) / 2.0;
  const double d = (x - middle) / middle;
  return 1.0 - 0.45 * d * d;
}

}  // namespace

int ColorSchemeOfRow(int row) {
  return row >= 0 && row < static_cast<int>(kColorSchemes.size()) ? row : kDefaultColorScheme;
}

std::uint32_t StripPixel(int scheme, int row, int x) {
  const ColorScheme& s = kColorSchemes[static_cast<std::size_t>(ColorSchemeOfRow(scheme))];
  const int n = kSegmentCount - std::clamp(row, 0, analyzer::kStripHeight - 1) / 2;
  x = std::clamp(x, 0, s.width - 1);
  switch (s.shape) {
    case StripShape::Ramp:
      return Pack(ThroughStops(std::array<std::uint32_t, 2>{s.bottom, s.top}, n));
    case StripShape::ShadedRamp: {
      const Rgb c = ThroughStops(std::array<std::uint32_t, 2>{s.bottom, s.top}, n);
      const double f = Shade(s, x);
      return Pack({c.r * f, c.g * f, c.b * f});
    }
    case StripShape::HueCycle:
      return Pack(HueCycle(s, n));
    case StripShape::Bands:
      return n % 2 == 1 ? s.bottom : s.top;
  }
  return s.bottom;
}

}  // namespace kestrel
