#include "pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

#include "monitor/analyzer_frame.h"
#include "monitor/color_schemes.h"

namespace kestrel::pictures {
namespace {

// ---------------------------------------------------------------------------------------
// Pixel art: one character a pixel, '.' transparent. Small images are drawn pixel by pixel
// so that they stay sharp at 16 pixels.

using Palette = std::map<char, QRgb>;

QRgb Mix(QRgb a, QRgb b, double f) {
  const auto mix = [f](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * f)); };
  return qRgba(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)),
               mix(qAlpha(a), qAlpha(b)));
}

// 'f' is the glyph colour, shaded from light at the top to dark at the bottom.
constexpr QRgb kGlyphTop = 0xff6f93b6;
constexpr QRgb kGlyphBottom = 0xff2a4460;

QImage Grid(int width, std::initializer_list<const char*> rows, const Palette& palette) {
  const int height = static_cast<int>(rows.size());
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  int y = 0;
  for (const char* row : rows) {
    if (static_cast<int>(std::char_traits<char>::length(row)) != width) {
      throw std::runtime_error("pixel row " + std::to_string(y) + " is not " + std::to_string(width) + " wide: " + row);
    }
    for (int x = 0; x < width; ++x) {
      const char c = row[x];
      if (c == '.') continue;
      if (c == 'f') {
        image.setPixel(x, y, Mix(kGlyphTop, kGlyphBottom, static_cast<double>(y) / (height - 1)));
        continue;
      }
      const auto found = palette.find(c);
      if (found == palette.end()) throw std::runtime_error(std::string("no colour for '") + c + "'");
      image.setPixel(x, y, found->second);
    }
    ++y;
  }
  return image;
}

const Palette kToolbarPalette = {
    {'o', 0xff3b4450},  // outline
    {'w', 0xfffdfdf8},  // paper
    {'s', 0xffc9ced6},  // paper shade, the fold
    {'n', 0xff1f4f8a},  // note
    {'a', 0xff3d7ccc},  // sound waves
};

// The toolbar's seven 16 x 15 images.
std::vector<Picture> Toolbar() {
  const Palette& p = kToolbarPalette;
  std::vector<Picture> out;
  out.push_back({"toolbar/previous.png",
                 Grid(16, {"................",  //
                           "................",  //
                           ".......f......f.",  //
                           "......ff.....ff.",  //
                           ".....fff....fff.",  //
                           "....ffff...ffff.",  //
                           "...fffff..fffff.",  //
                           "..ffffff.ffffff.",  //
                           "...fffff..fffff.",  //
                           "....ffff...ffff.",  //
                           ".....fff....fff.",  //
                           "......ff.....ff.",  //
                           ".......f......f.",  //
                           "................",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"toolbar/start.png",
                 Grid(16, {"................",  //
                           ".....f..........",  //
                           ".....ff.........",  //
                           ".....fff........",  //
                           ".....ffff.......",  //
                           ".....fffff......",  //
                           ".....ffffff.....",  //
                           ".....fffffff....",  //
                           ".....ffffff.....",  //
                           ".....fffff......",  //
                           ".....ffff.......",  //
                           ".....fff........",  //
                           ".....ff.........",  //
                           ".....f..........",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"toolbar/pause.png",
                 Grid(16, {"................",  //
                           "................",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "....fff..fff....",  //
                           "................",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"toolbar/stop.png",
                 Grid(16, {"................",  //
                           "................",  //
                           "................",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "...ffffffffff...",  //
                           "................",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"toolbar/next.png",
                 Grid(16, {"................",  //
                           "................",  //
                           ".f......f.......",  //
                           ".ff.....ff......",  //
                           ".fff....fff.....",  //
                           ".ffff...ffff....",  //
                           ".fffff..fffff...",  //
                           ".ffffff.ffffff..",  //
                           ".fffff..fffff...",  //
                           ".ffff...ffff....",  //
                           ".fff....fff.....",  //
                           ".ff.....ff......",  //
                           ".f......f.......",  //
                           "................",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"toolbar/import.png",
                 Grid(16, {"..oooooooo......",  //
                           "..owwwwwwoo.....",  //
                           "..owwwwwwoso....",  //
                           "..owwwwwwosso...",  //
                           "..owwwwwwoooo...",  //
                           "..owwwnnnnnwo...",  //
                           "..owwwnnnnnwo...",  //
                           "..owwwnwwwnwo...",  //
                           "..owwwnwwwnwo...",  //
                           "..owwwnwwwnwo...",  //
                           "..ownnnwnnnwo...",  //
                           "..ownnnwnnnwo...",  //
                           "..owwwwwwwwwo...",  //
                           "..owwwwwwwwwo...",  //
                           "..ooooooooooo..."},
                      p),
                 {}});
  out.push_back({"toolbar/volume.png",
                 Grid(16, {"................",  //
                           "......f.........",  //
                           ".....ff.....a...",  //
                           "....fff..a...a..",  //
                           "...ffff...a...a.",  //
                           "ffffffff..a...a.",  //
                           "fffffff....a..a.",  //
                           "fffffff....a..a.",  //
                           "fffffff....a..a.",  //
                           "ffffffff..a...a.",  //
                           "...ffff...a...a.",  //
                           "....fff..a...a..",  //
                           ".....ff.....a...",  //
                           "......f.........",  //
                           "................"},
                      p),
                 {}});
  return out;
}

const Palette kTabPalette = {
    {'o', 0xff4a5562},  // outline
    {'w', 0xffffffff},  // window, paper
    {'b', 0xff2f62a8},  // title bar
    {'B', 0xff5b8fd6},  // title bar, light
    {'c', 0xff3a8a3e},  // check box
    {'l', 0xff9aa6b3},  // a line of text
    {'k', 0xff2a2f36},  // dark
    {'r', 0xffd9534f},  // red
    {'y', 0xfff2c230},  // yellow
    {'Y', 0xffc49212},  // yellow, dark
    {'t', 0xffe8c9a0},  // bare wood
    {'g', 0xff6a7786},  // metal
    {'G', 0xff9aa6b3},  // metal, light
    {'s', 0xff1e2630},  // screen
    {'e', 0xff46d16a},  // trace on the screen
    {'E', 0xff1f6b33},  // dim trace, grid
};

// A monitor with one period of a sine across its screen.
QImage WaveScreen() {
  QImage image = Grid(16, {"................",  //
                           ".oooooooooooooo.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".oEEEEEEEEEEEEo.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".osssssssssssso.",  //
                           ".oooooooooooooo.",  //
                           "......oooo......",  //
                           "....oooooooo....",  //
                           "................"},
                      kTabPalette);
  constexpr double kPi = 3.14159265358979323846;
  int previous = -1;
  for (int t = 0; t < 12; ++t) {
    const int y = static_cast<int>(std::floor(7.5 - 3.4 * std::sin(2 * kPi * (t + 0.5) / 12)));
    const int from = previous < 0 ? y : std::min(previous + (y > previous ? 1 : -1), y);
    const int to = previous < 0 ? y : std::max(previous + (y > previous ? 1 : -1), y);
    for (int j = std::min(from, to); j <= std::max(from, to); ++j) image.setPixel(2 + t, j, kTabPalette.at('e'));
    previous = y;
  }
  return image;
}

// The six 16 x 16 tab images and the plugin row's 16 x 16 icon.
std::vector<Picture> TabsAndPluginIcon() {
  const Palette& p = kTabPalette;
  std::vector<Picture> out;
  out.push_back({"tabs/file_list.png",
                 Grid(16, {"................",  //
                           ".bbbbbbbbbbbbbb.",  //
                           ".bBBBBBBBBBBBBb.",  //
                           ".oooooooooooooo.",  //
                           ".owwwwwwwwwwwwo.",  //
                           ".owccwllllllwwo.",  //
                           ".owccwllllllwwo.",  //
                           ".owwwwwwwwwwwwo.",  //
                           ".owccwllllwwwwo.",  //
                           ".owccwllllwwwwo.",  //
                           ".owwwwwwwwwwwwo.",  //
                           ".owccwlllllllwo.",  //
                           ".owccwlllllllwo.",  //
                           ".owwwwwwwwwwwwo.",  //
                           ".oooooooooooooo.",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"tabs/playlist_editor.png",
                 Grid(16, {"................",  //
                           ".oooooooooo.....",  //
                           ".owwwwwwwwo..rr.",  //
                           ".owkwllllwo.rrrr",  //
                           ".owwwwwwwwo.rrrY",  //
                           ".owkwlllwwoyyyY.",  //
                           ".owwwwwwwwyyyY..",  //
                           ".owkwllllyyyYo..",  //
                           ".owwwwwwyyyYwo..",  //
                           ".owkwlltyyYwwo..",  //
                           ".owwwwwtttwwwo..",  //
                           ".owkwlkttwwwwo..",  //
                           ".owwwwkkwwwwwo..",  //
                           ".owwwwwwwwwwwo..",  //
                           ".ooooooooooooo..",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"tabs/player_option.png",
                 Grid(16, {"................",  //
                           "......gGGg......",  //
                           "..gg..gGGg..gg..",  //
                           ".gGGgggGGgggGGg.",  //
                           ".gGGGGGGGGGGGGg.",  //
                           "..gGGGGggGGGGg..",  //
                           "..gGGGg..gGGGg..",  //
                           "gggGGg....gGGggg",  //
                           "gGGGGg....gGGGGg",  //
                           "gggGGGg..gGGGggg",  //
                           "..gGGGGggGGGGg..",  //
                           "..gGGGGGGGGGGg..",  //
                           ".gGGgggGGgggGGg.",  //
                           ".ggg..gGGg..ggg.",  //
                           "......gggg......",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"tabs/wave_decode.png", WaveScreen(), {}});
  out.push_back({"tabs/plugin.png",
                 Grid(16, {"................",  //
                           "....GG....GG....",  //
                           "....GG....GG....",  //
                           "....gg....gg....",  //
                           "..oooooooooooo..",  //
                           "..obbbbbbbbbbo..",  //
                           "..oBBBBBBBBBbo..",  //
                           "..obbbbbbbbbbo..",  //
                           "...obbbbbbbbo...",  //
                           "....obbbbbbo....",  //
                           ".....obbbbo.....",  //
                           "......oooo......",  //
                           ".......kk.......",  //
                           ".......kk.......",  //
                           "........kk......",  //
                           ".........kkkk..."},
                      p),
                 {}});
  out.push_back({"tabs/misc_option.png",
                 Grid(16, {"................",  //
                           "...k....k....k..",  //
                           "...k....k....k..",  //
                           "...k...ggg...k..",  //
                           "...k...GGG...k..",  //
                           "...k...ggg...k..",  //
                           "..ggg...k....k..",  //
                           "..GGG...k....k..",  //
                           "..ggg...k....k..",  //
                           "...k....k...ggg.",  //
                           "...k....k...GGG.",  //
                           "...k....k...ggg.",  //
                           "...k....k....k..",  //
                           "...k....k....k..",  //
                           "...k....k....k..",  //
                           "................"},
                      p),
                 {}});
  out.push_back({"icons/plugin.png",
                 Grid(16, {"................",  //
                           "...G.G.G.G.G....",  //
                           "...G.G.G.G.G....",  //
                           "..kkkkkkkkkkk...",  //
                           "..kssssssssskGG.",  //
                           "GGksGsssssssk...",  //
                           "..ksssssssssk...",  //
                           "GGksssssssssk...",  //
                           "..ksssssssssk...",  //
                           "GGksssssssssk...",  //
                           "..ksssssssssk...",  //
                           "GGksssssssssk...",  //
                           "..kkkkkkkkkkk...",  //
                           "...G.G.G.G.G....",  //
                           "...G.G.G.G.G....",  //
                           "................"},
                      p),
                 {}});
  return out;
}

// ---------------------------------------------------------------------------------------
// The program icon: a rounded tile with a level meter of six bars in the default scheme's
// yellow-to-red, each with a peak marker above it. One description gives the SVG and the
// PNGs.

constexpr double kIconUnits = 256;
constexpr double kTileInset = 16, kTileRadius = 44;
constexpr double kBarBottom = 204, kBarWidth = 24, kBarGap = 10, kBarRadius = 3;
constexpr double kBarTopMost = 48;  // where the yellow-to-red ramp ends
constexpr std::array<double, 6> kBarHeights = {104, 148, 86, 156, 122, 64};
constexpr double kPeakHeight = 8, kPeakGap = 10;
constexpr double kBaseY = 212, kBaseHeight = 6;

double BarX(std::size_t bar) {
  const double total = kBarHeights.size() * kBarWidth + (kBarHeights.size() - 1) * kBarGap;
  return (kIconUnits - total) / 2 + static_cast<double>(bar) * (kBarWidth + kBarGap);
}

QByteArray IconSvg() {
  QString svg;
  svg += QStringLiteral(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
      "  <title>Kestrel SPU Player</title>\n"
      "  <defs>\n"
      "    <linearGradient id=\"tile\" x1=\"0\" y1=\"16\" x2=\"0\" y2=\"240\" gradientUnits=\"userSpaceOnUse\">\n"
      "      <stop offset=\"0\" stop-color=\"#2b4a7a\"/>\n"
      "      <stop offset=\"1\" stop-color=\"#0f1a2e\"/>\n"
      "    </linearGradient>\n"
      "    <linearGradient id=\"level\" x1=\"0\" y1=\"%1\" x2=\"0\" y2=\"%2\" gradientUnits=\"userSpaceOnUse\">\n"
      "      <stop offset=\"0\" stop-color=\"#ffe800\"/>\n"
      "      <stop offset=\"1\" stop-color=\"#ff0f00\"/>\n"
      "    </linearGradient>\n"
      "  </defs>\n")
             .arg(kBarBottom)
             .arg(kBarTopMost);
  svg += QStringLiteral("  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" fill=\"url(#tile)\"/>\n")
             .arg(kTileInset)
             .arg(kIconUnits - 2 * kTileInset)
             .arg(kTileRadius);
  for (std::size_t i = 0; i < kBarHeights.size(); ++i) {
    const double x = BarX(i), top = kBarBottom - kBarHeights[i];
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"url(#level)\"/>\n")
               .arg(x)
               .arg(top)
               .arg(kBarWidth)
               .arg(kBarHeights[i])
               .arg(kBarRadius);
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"#ffffff\"/>\n")
               .arg(x)
               .arg(top - kPeakGap - kPeakHeight)
               .arg(kBarWidth)
               .arg(kPeakHeight)
               .arg(kBarRadius);
  }
  svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"#7d9cc8\"/>\n")
             .arg(BarX(0))
             .arg(kBaseY)
             .arg(BarX(kBarHeights.size() - 1) + kBarWidth - BarX(0))
             .arg(kBaseHeight)
             .arg(kBaseHeight / 2);
  svg += QStringLiteral("</svg>\n");
  return svg.toUtf8();
}

QImage IconPng(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kIconUnits, size / kIconUnits);
  painter.setPen(Qt::NoPen);
  QLinearGradient tile(0, kTileInset, 0, kIconUnits - kTileInset);
  tile.setColorAt(0, QColor(0x2b4a7a));
  tile.setColorAt(1, QColor(0x0f1a2e));
  painter.setBrush(tile);
  painter.drawRoundedRect(QRectF(kTileInset, kTileInset, kIconUnits - 2 * kTileInset, kIconUnits - 2 * kTileInset),
                          kTileRadius, kTileRadius);
  QLinearGradient level(0, kBarBottom, 0, kBarTopMost);
  level.setColorAt(0, QColor(0xffe800));
  level.setColorAt(1, QColor(0xff0f00));
  for (std::size_t i = 0; i < kBarHeights.size(); ++i) {
    const double x = BarX(i), top = kBarBottom - kBarHeights[i];
    painter.setBrush(level);
    painter.drawRoundedRect(QRectF(x, top, kBarWidth, kBarHeights[i]), kBarRadius, kBarRadius);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(x, top - kPeakGap - kPeakHeight, kBarWidth, kPeakHeight), kBarRadius, kBarRadius);
  }
  painter.setBrush(QColor(0x7d9cc8));
  painter.drawRoundedRect(QRectF(BarX(0), kBaseY, BarX(kBarHeights.size() - 1) + kBarWidth - BarX(0), kBaseHeight),
                          kBaseHeight / 2, kBaseHeight / 2);
  painter.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------------------
// The file list's default background: dark slate with a faint woven diagonal, tiling
// seamlessly (every period divides the tile), dark enough for the default white text.

std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

QImage ListBackground() {
  constexpr int kTile = 128;
  constexpr double kPi = 3.14159265358979323846;
  QImage image(kTile, kTile, QImage::Format_RGB32);
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      const double weave = std::sin(2 * kPi * (x + y) / 32.0) * std::sin(2 * kPi * (x - y) / 32.0);
      const double swell = std::sin(2 * kPi * (x + 2 * y) / 128.0);
      const double grain = static_cast<double>(Hash(static_cast<std::uint32_t>(y * kTile + x)) % 5) - 2.0;
      const double dark = 2.5 * weave + 2.0 * swell + grain;
      const auto at = [dark](int base) { return std::clamp(static_cast<int>(std::lround(base - 4 + dark)), 0, 255); };
      image.setPixel(x, y, qRgb(at(30), at(38), at(56)));
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------
// The analyzer: a sunken meter field with every segment's cell faintly lit, scale ticks at
// each fifth segment and the voice numbers under the columns.

using analyzer::ColumnX;
using analyzer::kColumnCount;
using analyzer::kColumnWidth;
using analyzer::kPictureHeight;
using analyzer::kPictureWidth;
using analyzer::kSegmentCount;
using analyzer::kSegmentHeight;
using analyzer::SegmentY;

// 3 x 5 digits, the bits of each row from the left.
constexpr std::array<std::array<std::uint8_t, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
}};

void DrawNumber(QImage& image, int number, int centreX, int top, QRgb colour) {
  const std::string text = std::to_string(number);
  const int width = static_cast<int>(text.size()) * 4 - 1;
  int x = centreX - width / 2;
  for (const char c : text) {
    const auto& digit = kDigits[static_cast<std::size_t>(c - '0')];
    for (int row = 0; row < 5; ++row) {
      for (int bit = 0; bit < 3; ++bit) {
        if (digit[row] >> (2 - bit) & 1) image.setPixel(x + bit, top + row, colour);
      }
    }
    x += 4;
  }
}

void FillRect(QImage& image, int x, int y, int w, int h, QRgb colour) {
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) image.setPixel(i, j, colour);
  }
}

QImage AnalyzerBackground() {
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  // The panel: a soft vertical gradient with a raised two-pixel edge.
  for (int y = 0; y < kPictureHeight; ++y) {
    const QRgb row = Mix(0xff262d36, 0xff161a20, static_cast<double>(y) / (kPictureHeight - 1));
    for (int x = 0; x < kPictureWidth; ++x) image.setPixel(x, y, row);
  }
  FillRect(image, 0, 0, kPictureWidth, 1, 0xff4a5461);
  FillRect(image, 0, 0, 1, kPictureHeight, 0xff4a5461);
  FillRect(image, 1, 1, kPictureWidth - 2, 1, 0xff353d48);
  FillRect(image, 1, 1, 1, kPictureHeight - 2, 0xff353d48);
  FillRect(image, 0, kPictureHeight - 1, kPictureWidth, 1, 0xff07080a);
  FillRect(image, kPictureWidth - 1, 0, 1, kPictureHeight, 0xff07080a);
  FillRect(image, 1, kPictureHeight - 2, kPictureWidth - 2, 1, 0xff0e1014);
  FillRect(image, kPictureWidth - 2, 1, 1, kPictureHeight - 2, 0xff0e1014);

  // The sunken field around the columns, two pixels clear of the outermost segments.
  const int left = ColumnX(0) - 4, right = ColumnX(kColumnCount - 1) + kColumnWidth + 3;
  const int top = SegmentY(kSegmentCount) - 4, bottom = SegmentY(1) + kSegmentHeight + 3;
  FillRect(image, left, top, right - left + 1, bottom - top + 1, 0xff080a0d);
  FillRect(image, left, top, right - left + 1, 1, 0xff030405);
  FillRect(image, left, top, 1, bottom - top + 1, 0xff030405);
  FillRect(image, left, bottom, right - left + 1, 1, 0xff56616f);
  FillRect(image, right, top, 1, bottom - top + 1, 0xff56616f);

  // Unlit cells; each fifth row a little brighter, so the field reads as a grid.
  for (int c = 0; c < kColumnCount; ++c) {
    for (int n = 1; n <= kSegmentCount; ++n) {
      FillRect(image, ColumnX(c), SegmentY(n), kColumnWidth, kSegmentHeight, n % 5 == 0 ? 0xff222b35 : 0xff161c23);
    }
  }

  // Scale ticks beside the field, long at each tenth segment.
  for (int n = 5; n <= kSegmentCount; n += 5) {
    const int length = n % 10 == 0 ? 5 : 3;
    const QRgb colour = n % 10 == 0 ? 0xff8793a2 : 0xff5d6876;
    FillRect(image, left - 2 - length, SegmentY(n), length, kSegmentHeight, colour);
    FillRect(image, right + 3, SegmentY(n), length, kSegmentHeight, colour);
  }

  // The voice numbers, 1 to 24.
  for (int c = 0; c < kColumnCount; ++c) {
    DrawNumber(image, c + 1, ColumnX(c) + kColumnWidth / 2, bottom + 5, c % 2 == 0 ? 0xff9aa5b3 : 0xff7a8594);
  }
  return image.convertToFormat(QImage::Format_RGB888);
}

// A scheme's strip, pixel for pixel from the schemes' own colour data.
QImage Strip(int scheme) {
  const ColorScheme& s = kColorSchemes[static_cast<std::size_t>(scheme)];
  QImage image(s.width, analyzer::kStripHeight, QImage::Format_RGB32);
  for (int row = 0; row < analyzer::kStripHeight; ++row) {
    for (int x = 0; x < s.width; ++x) image.setPixel(x, row, 0xff000000 | StripPixel(scheme, row, x));
  }
  return image.convertToFormat(QImage::Format_RGB888);
}

// Each pixel as a 2 x 2 block, the "@2x" picture Qt takes at twice the pixel ratio
// instead of blurring the small one.
Picture Doubled(const Picture& picture) {
  QString path = picture.path;
  path.insert(path.lastIndexOf('.'), QStringLiteral("@2x"));
  return {path, picture.image.scaled(picture.image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation), {}};
}

}  // namespace

std::vector<Picture> Draw() {
  std::vector<Picture> all = Toolbar();
  for (Picture& picture : TabsAndPluginIcon()) all.push_back(std::move(picture));
  for (std::size_t i = 0, small = all.size(); i < small; ++i) all.push_back(Doubled(all[i]));
  all.push_back({"icons/kestrel-spu-player.svg", {}, IconSvg()});
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    all.push_back({QStringLiteral("icons/kestrel-spu-player-%1.png").arg(size), IconPng(size), {}});
  }
  all.push_back({"image/default.bmp", ListBackground().convertToFormat(QImage::Format_RGB888), {}});
  all.push_back({"analyzer/background.png", AnalyzerBackground(), {}});
  for (int scheme = 0; scheme < static_cast<int>(kColorSchemes.size()); ++scheme) {
    all.push_back({QStringLiteral("analyzer/scheme_%1.png").arg(scheme, 2, 10, QLatin1Char('0')), Strip(scheme), {}});
  }
  return all;
}

bool Save(const Picture& picture, const QString& folder) {
  const QString path = QDir(folder).filePath(picture.path);
  if (!QDir().mkpath(QFileInfo(path).path())) return false;
  if (picture.image.isNull()) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(picture.bytes) == picture.bytes.size();
  }
  return picture.image.save(path);
}

}  // namespace kestrel::pictures
