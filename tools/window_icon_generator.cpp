// Draws Korvane's application icon at 16, 32 and 48 pixels: a brick-laid Quake texture tile behind
// a Half-Life texture tile with a chevron that points from the one to the other. Writes
// korvane-N.png into the folder given as the first argument, and the same three images as one
// Windows icon file, named by the second argument.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdint>
#include <cstdio>
#include <vector>

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

void PutLittleEndian(QByteArray& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

// One image of an icon file: a 32-bit device-independent bitmap of twice the image's height (the
// colour rows, then the transparency mask), rows from the bottom up.
QByteArray IconImage(const QImage& image) {
  const int size = image.width();
  const int maskRowBytes = (size + 31) / 32 * 4;
  QByteArray bytes;
  PutLittleEndian(bytes, 40, 4);  // header size
  PutLittleEndian(bytes, static_cast<std::uint32_t>(size), 4);
  PutLittleEndian(bytes, static_cast<std::uint32_t>(2 * size), 4);
  PutLittleEndian(bytes, 1, 2);   // planes
  PutLittleEndian(bytes, 32, 2);  // bits per pixel
  PutLittleEndian(bytes, 0, 4);   // no compression
  PutLittleEndian(bytes, static_cast<std::uint32_t>(size * size * 4 + size * maskRowBytes), 4);
  bytes.append(QByteArray(16, '\0'));  // resolution and palette: unused
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      PutLittleEndian(bytes, image.pixel(x, y), 4);  // 0xAARRGGBB is B, G, R, A in memory
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    QByteArray row(maskRowBytes, '\0');
    for (int x = 0; x < size; ++x) {
      if (qAlpha(image.pixel(x, y)) == 0) {
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
      }
    }
    bytes.append(row);
  }
  return bytes;
}

// The Windows icon file format: a directory of the images, then the images.
QByteArray IconFile(const std::vector<QImage>& images) {
  QByteArray directory;
  PutLittleEndian(directory, 0, 2);
  PutLittleEndian(directory, 1, 2);  // an icon, not a cursor
  PutLittleEndian(directory, static_cast<std::uint32_t>(images.size()), 2);
  QByteArray data;
  const std::uint32_t dataStart = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (const QImage& image : images) {
    const QByteArray bitmap = IconImage(image);
    directory.append(static_cast<char>(image.width()));
    directory.append(static_cast<char>(image.height()));
    PutLittleEndian(directory, 0, 2);   // no palette
    PutLittleEndian(directory, 1, 2);   // planes
    PutLittleEndian(directory, 32, 2);  // bits per pixel
    PutLittleEndian(directory, static_cast<std::uint32_t>(bitmap.size()), 4);
    PutLittleEndian(directory, dataStart + static_cast<std::uint32_t>(data.size()), 4);
    data.append(bitmap);
  }
  return directory + data;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_icon_generator PNG-FOLDER ICON-FILE\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  std::vector<QImage> images;
  for (const int size : {16, 32, 48}) {
    images.push_back(DrawIcon(size));
    const QString path = folder.filePath(QStringLiteral("korvane-%1.png").arg(size));
    if (!images.back().save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  QFile icon(QString::fromLocal8Bit(argv[2]));
  const QByteArray iconBytes = IconFile(images);
  if (!icon.open(QIODevice::WriteOnly) || icon.write(iconBytes) != iconBytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
