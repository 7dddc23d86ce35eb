// Runs Korvane's conversion, through the Qt window on Qt's offscreen platform, on a texture folder
// where one of three WADs is damaged, and saves the window as it stands in the wait for Done: the
// whole run log, the red banner and the Done button. The only argument names the PNG.

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "driver/conversion_driver.h"
#include "tools/wad_generator.h"
#include "window/qt/qt_progress_window.h"

namespace {

namespace fs = std::filesystem;

// The window as a user sees it when the run ends with failures: pictured, then Done is pressed.
class PicturedWindow : public window::QtProgressWindow {
 public:
  explicit PicturedWindow(QString path) : path_(std::move(path)) {}

  // Pictured as someone at a display would see it, so the run waits at Done.
  bool Watched() const override { return true; }

  void DoEvents() override {
    QtProgressWindow::DoEvents();
    auto* done = Form() != nullptr ? Form()->findChild<QAbstractButton*>("Command1") : nullptr;
    if (done == nullptr || !done->isVisible()) {
      return;
    }
    if (++turnsAtDone_ < 5) {
      return;
    }
    saved = Form()->grab().save(path_, "PNG");
    done->click();
  }

  bool saved = false;

 private:
  QString path_;
  int turnsAtDone_ = 0;
};

void WriteWad(const fs::path& path, std::uint32_t seed, std::size_t keep) {
  wadgen::WadOptions options;
  options.seed = seed;
  std::vector<wadgen::Texture> textures;
  const std::vector<std::uint8_t> bytes =
      wadgen::AssembleWad2(wadgen::MakeLumps(options, textures), false);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(std::min(keep, bytes.size())));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: korvane_run_screenshot FILE.png\n");
    return 2;
  }
  const QString picture = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  std::random_device random;
  const fs::path prefix =
      fs::temp_directory_path() / ("korvane-screenshot-" + std::to_string(random()));
  const fs::path textures = prefix / "drive_c" / "program files" / "worldcraft" / "textures";
  fs::create_directories(textures);
  setenv("WINEPREFIX", prefix.c_str(), 1);
  WriteWad(textures / "Base.wad", 1, SIZE_MAX);
  WriteWad(textures / "Castle.wad", 2, SIZE_MAX);
  WriteWad(textures / "Dungeon.wad", 3, 5000);

  PicturedWindow progress(picture);
  driver::ConversionDriver(progress);
  fs::remove_all(prefix);
  if (!progress.saved) {
    std::fprintf(stderr, "korvane_run_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
