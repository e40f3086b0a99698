#pragma once
// The analyzer's fifteen colour schemes. Each is a strip of 30 two-row segments (row 0 at
// the top, segment 1 at the bottom) that the front end builds once from StripPixel and
// copies segments from.

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrel {

enum class StripShape {
  Ramp,        // bottom to top, the same across the strip
  ShadedRamp,  // bottom to top, darker towards the strip's edges
  HueCycle,    // through pink, orange, green and cyan to violet
  Bands,       // alternate segments in the bottom and the top colour
};

struct ColorScheme {
  std::string_view name;
  std::uint32_t bottom;  // 0xRRGGBB of segment 1 at the strip's middle column
  std::uint32_t top;     // of segment 30
  StripShape shape;
  int width;  // pixels; a column shows the first 9
};

inline constexpr int kDefaultColorScheme = 0;

inline constexpr std::array<ColorScheme, 15> kColorSchemes = {{
    {"Kestrel Fire (Default)", 0xffe800, 0xff0f00, StripShape::Ramp, 9},  // yellow to red
    {"Forest Bath", 0x16ff7a, 0xf0ff43, StripShape::Ramp, 9},
    {"Blue Sky", 0x78f7ff, 0x0787ff, StripShape::Ramp, 9},
    {"Purple Twilight", 0xddf3ff, 0x8687ff, StripShape::Ramp, 9},
    {"Unrequited Peach Love", 0xfff3f9, 0xff87c3, StripShape::Ramp, 9},
    {"Wine Red Heart", 0xdb006d, 0x1d000e, StripShape::ShadedRamp, 9},
    {"Japanese Radish", 0xe5f2e5, 0x128912, StripShape::Ramp, 9},
    {"Monotone World", 0xe8e8e8, 0x0f0f0f, StripShape::Ramp, 9},  // grey ramp
    {"Red Apple", 0xffdea7, 0xff2018, StripShape::ShadedRamp, 9},
    {"Rainbow Road", 0xfe82e6, 0xd97efb, StripShape::HueCycle, 9},
    {"Gold Rush", 0xe1e17f, 0xe1e17f, StripShape::ShadedRamp, 9},
    {"White Snow", 0xffffff, 0xffffff, StripShape::Ramp, 9},
    {"Carrot Building", 0xffbf7f, 0xffbf7f, StripShape::ShadedRamp, 9},
    {"African Zebra", 0xffffff, 0x000000, StripShape::Bands, 10},
    {"Fresh Green Salad", 0x00ff00, 0x00ff00, StripShape::Ramp, 9},
}};

// The scheme of a row of the option page's list; an unknown row is the default scheme.
int ColorSchemeOfRow(int row);

// The colour 0xRRGGBB of pixel (x, row) of a scheme's strip, row 0 .. 59 from the top and
// x from 0 to its width - 1 (values outside are held to the strip).
std::uint32_t StripPixel(int scheme, int row, int x);

}  // namespace kestrel
