#pragma once
// Every picture of the desktop program, drawn from code: the toolbar, tab and plugin-row
// images, the program icon, the file list's default background and the analyzer's
// background and colour strips. The files in resources/ are what Draw() gives; the tool
// beside this file writes them and a test holds the two together.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace kestrel::pictures {

struct Picture {
  QString path;      // below resources/, e.g. "toolbar/start.png"
  QImage image;      // a raster picture, saved in the format its suffix names
  QByteArray bytes;  // or a text file (the SVG icon), saved as is
};

std::vector<Picture> Draw();

// Writes `picture` below `folder`; false when the file could not be written.
bool Save(const Picture& picture, const QString& folder);

}  // namespace kestrel::pictures
