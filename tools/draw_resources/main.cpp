// kestrel-draw-resources FOLDER: draws every picture of the desktop program into FOLDER
// (the repository's resources/ when they are to change).
#include <cstdio>

#include "pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  int failed = 0;
  try {
    for (const kestrel::pictures::Picture& picture : kestrel::pictures::Draw()) {
      if (!kestrel::pictures::Save(picture, folder)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(picture.path));
        ++failed;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return failed == 0 ? 0 : 1;
}
