// The run of the driver through the Qt window, on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QWidget>
#include <regex>

#include "driver/conversion_driver.h"
#include "tests/driver/run_folder.h"
#include "window/qt/qt_progress_window.h"

namespace {

namespace fs = std::filesystem;
using driver_testing::ReadHostFile;
using driver_testing::TextureFolder;
using driver_testing::WriteHostFile;

const std::string kFolder = "c:\\program files\\worldcraft\\textures\\";

// The Qt window as a user meets it: it keeps the run log it held when unloaded, and during the
// final wait it presses Done or closes the window through its frame.
class UserAtQtWindow : public window::QtProgressWindow {
 public:
  explicit UserAtQtWindow(bool pressDone) : pressDone_(pressDone) {}

  void Show() override {
    everShown = true;
    QtProgressWindow::Show();
  }
  void Unload() override {
    text1 = Text1().Text();
    QtProgressWindow::Unload();
  }
  // Someone sits at the window, although the offscreen platform draws it nowhere.
  bool Watched() const override { return true; }
  void DoEvents() override {
    QtProgressWindow::DoEvents();
    auto* done = Form() != nullptr ? Form()->findChild<QAbstractButton*>("Command1") : nullptr;
    if (done != nullptr && done->isVisible()) {
      bannerShown = Form()->findChild<QWidget*>("Label2")->isVisible();
      if (pressDone_) {
        done->click();
      } else {
        Form()->close();
      }
    }
  }

  std::string text1;
  bool everShown = false;
  bool bannerShown = false;

 private:
  bool pressDone_;
};

TEST(QtRun, RoadOfOneRunClosesTheWindowByItself) {
  WriteHostFile(TextureFolder() / "Base.wad", driver_testing::QuakeWad(2));
  driver_testing::RunKorvane();
  WriteHostFile(TextureFolder() / "Castle.wad", driver_testing::QuakeWad(3, 5));
  UserAtQtWindow progress(true);

  driver::ConversionDriver(progress);

  EXPECT_TRUE(progress.everShown);
  EXPECT_FALSE(progress.bannerShown);
  EXPECT_EQ(progress.Form(), nullptr);
  const std::string runLog = ReadHostFile(TextureFolder() / "successful.log");
  EXPECT_EQ(progress.text1,
            runLog + "\r\nEND OF DATA .. Log written to " + kFolder + "successful.log");
  EXPECT_TRUE(std::regex_search(
      runLog,
      std::regex(
          R"(\\Bas: Ok\r\n.*\\Cas: Convert\r\n=+\r\nNumber of WADs to Convert  = 1\r\n)"
          R"(Beginning conversion \.\.\.\.(\.\.\.)*\.\.\. COMPLETE: \d\d:\d\d elapsed\.\r\n)"
          R"(Conversion successful for c:\\program files\\worldcraft\\textures\\castle\.hlwad\r\n)")))
      << runLog;
}

TEST(QtRun, FailedRunWaitsUntilTheWindowIsClosedThroughItsFrame) {
  WriteHostFile(TextureFolder() / "broken.wad", "WAD2 but nothing more");
  UserAtQtWindow progress(false);
  window::DonePressed = false;

  driver::ConversionDriver(progress);

  EXPECT_TRUE(progress.bannerShown);
  EXPECT_FALSE(window::DonePressed);
  EXPECT_NE(
      progress.text1.find("Error creating HLWAD: " + kFolder + "broken.hlwad ... details ..."),
      std::string::npos)
      << progress.text1;
  EXPECT_TRUE(fs::exists(TextureFolder() / "error.log"));
}

}  // namespace
