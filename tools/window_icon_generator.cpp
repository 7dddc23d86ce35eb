// Draws Korvane's application icon at 16, 32 and 48 pixels and writes korvane-N.png into the
// folder given as the only argument: a brick-laid Quake texture tile behind a Half-Life texture
// tile with a chevron that points from the one to the other.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdio>

namespace {

const QColor kOutline(40, 24, 10);
const QColor kBrick(128, 86, 48);
const QColor kMortar(70, 46, 22);
const QColor kTile(232, 128, 32);
const QColor kTileLight(250, 190, 96);
const QColor kChevron(255, 255, 240);

void DrawBrickTile(QPainter& painter, const QRect& tile, int unit) {
  painter.fillRect(tile, kBrick);
  painter.setPen(Qt::NoPen);
  const int rows = 3;
  const int rowHeight = tile.height() / rows;
  for (int row = 1; row < rows; ++row) {
    painter.fillRect(tile.left(), tile.top() + row * rowHeight, tile.width(), unit, kMortar);
  }
  for (int row = 0; row < rows; ++row) {
    const int x = tile.left() + (row % 2 == 0 ? tile.width() / 2 : tile.width() / 4);
    painter.fillRect(x, tile.top() + row * rowHeight, unit, rowHeight, kMortar);
  }
  painter.setPen(QPen(kOutline, unit, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(tile.adjusted(0, 0, -unit, -unit));
}

void DrawFrontTile(QPainter& painter, const QRect& tile, int unit) {
  painter.fillRect(tile, kTile);
  painter.fillRect(tile.left() + unit, tile.top() + unit, tile.width() - 2 * unit, unit,
                   kTileLight);
  painter.fillRect(tile.left() + unit, tile.top() + unit, unit, tile.height() - 2 * unit,
                   kTileLight);
  painter.setPen(QPen(kOutline, unit, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(tile.adjusted(0, 0, -unit, -unit));

  const int reach = tile.width() / 4;
  const QPoint middle = tile.center();
  painter.setPen(QPen(kChevron, unit + unit / 2 + (unit > 1 ? 1 : 0), Qt::SolidLine, Qt::SquareCap,
                      Qt::MiterJoin));
  painter.drawPolyline(QPolygon({middle + QPoint(-reach / 2, -reach), middle + QPoint(reach / 2, 0),
                                 middle + QPoint(-reach / 2, reach)}));
}

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  const int unit = size / 16;
  const int tile = size * 5 / 8;
  const int margin = unit;
  DrawBrickTile(painter, QRect(margin, margin, tile, tile), unit);
  DrawFrontTile(painter, QRect(size - margin - tile, size - margin - tile, tile, tile), unit);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_icon_generator FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (const int size : {16, 32, 48}) {
    const QString path = folder.filePath(QStringLiteral("korvane-%1.png").arg(size));
    if (!DrawIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
