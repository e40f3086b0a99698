// The pictures: the committed files are what the drawing code gives (so neither drifts from
// the other), each is compiled in where the windows look for it, at its size, and the
// runtime folder holds the list background as a BMP.
#include <algorithm>
#include <cstdlib>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>

#include "monitor/color_schemes.h"
#include "pictures.h"

// This program shows no window, so nothing else pulls the pictures out of the GUI library.
static void RegisterPictures() { Q_INIT_RESOURCE(resources); }

namespace kestrel::test {
namespace {

// The largest difference of one colour channel between two pictures of the same size, -1 for
// different sizes. Qt's rasteriser picks its vector paths by processor, and their antialiased and
// gradient pixels can round one step apart.
int LargestChannelDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
  int largest = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int column = 0; column < x.width(); ++column) {
      for (const int shift : {0, 8, 16, 24}) {
        const int channel = static_cast<int>(p[column] >> shift & 0xFF), other = static_cast<int>(q[column] >> shift & 0xFF);
        largest = std::max(largest, std::abs(channel - other));
      }
    }
  }
  return largest;
}

}  // namespace

class ResourcesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterPictures(); }

  void CommittedFilesAreWhatTheDrawingGives() {
    const QString folder = QStringLiteral(KESTREL_RESOURCES_DIR);
    const std::vector<pictures::Picture> drawn = pictures::Draw();
    QVERIFY(drawn.size() >= 38);
    for (const pictures::Picture& picture : drawn) {
      const QString path = folder + "/" + picture.path;
      if (picture.image.isNull()) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QVERIFY2(file.readAll() == picture.bytes, qPrintable(path + " differs; regenerate resources/"));
        continue;
      }
      const QImage committed(path);
      QVERIFY2(!committed.isNull(), qPrintable(path));
      const int difference = LargestChannelDifference(committed, picture.image);
      QVERIFY2(difference >= 0 && difference <= 2,
               qPrintable(path + " differs by " + QString::number(difference) + "; regenerate resources/"));
    }
  }

  void EveryPictureIsCompiledInAtItsSize() {
    const auto check = [](const QString& path, QSize size) {
      const QImage image(path);
      QVERIFY2(image.size() == size, qPrintable(path));
    };
    for (const char* name : {"previous", "start", "pause", "stop", "next", "import", "volume"}) {
      check(QStringLiteral(":/toolbar/%1.png").arg(name), QSize(16, 15));
    }
    for (const char* name : {"file_list", "playlist_editor", "player_option", "wave_decode", "plugin", "misc_option"}) {
      check(QStringLiteral(":/tabs/%1.png").arg(name), QSize(16, 16));
    }
    check(QStringLiteral(":/icons/plugin.png"), QSize(16, 16));
    for (const int size : {16, 32, 48, 64, 128, 256}) {
      check(QStringLiteral(":/icons/kestrel-spu-player-%1.png").arg(size), QSize(size, size));
    }
    for (const pictures::Picture& picture : pictures::Draw()) {
      if (picture.path != QLatin1String("image/default.bmp")) QVERIFY2(QFile::exists(":/" + picture.path), qPrintable(picture.path));
    }
    check(QStringLiteral(":/toolbar/start@2x.png"), QSize(32, 30));
    check(QStringLiteral(":/tabs/plugin@2x.png"), QSize(32, 32));
    check(QStringLiteral(":/analyzer/background.png"), QSize(310, 120));
    for (int scheme = 0; scheme < 15; ++scheme) {
      check(QStringLiteral(":/analyzer/scheme_%1.png").arg(scheme, 2, 10, QLatin1Char('0')),
            QSize(kColorSchemes[static_cast<std::size_t>(scheme)].width, 60));
    }
  }

  void RuntimeFolderHoldsTheListBackgroundAsBmp() {
    QImageReader reader(QStringLiteral(KESTREL_RUNTIME_DIR "/image/default.bmp"));
    QCOMPARE(reader.format(), QByteArray("bmp"));
    const QImage image = reader.read();
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
             QImage(QStringLiteral(KESTREL_RESOURCES_DIR "/image/default.bmp")).convertToFormat(QImage::Format_RGB32));
  }
};

}  // namespace kestrel::test

QTEST_MAIN(kestrel::test::ResourcesTest)
#include "resources_test.moc"
