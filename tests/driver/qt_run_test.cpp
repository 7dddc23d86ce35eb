// The run of the driver through the Qt window, on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QWidget>

#include "driver/conversion_driver.h"
#include "tests/driver/run_folder.h"
#include "window/qt/qt_progress_window.h"

namespace {

using namespace driver_testing;

// The Qt window as a user meets it: it keeps the run log it held when unloaded, and when Done
// shows, the user closes the window through its frame.
class UserAtQtWindow : public window::QtProgressWindow {
 public:
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
      Form()->close();
    }
  }

  std::string text1;
  bool everShown = false;
  bool bannerShown = false;
};

TEST(QtRun, ASuccessClosesTheWindowByItselfAFailureWaitsUntilTheUserClosesIt) {
  EmptyTextureFolder();
  WriteHostFile(In("good.wad"), QuakeWad(2));
  UserAtQtWindow success;

  driver::ConversionDriver(success);

  EXPECT_TRUE(success.everShown);
  EXPECT_FALSE(success.bannerShown);
  EXPECT_EQ(success.Form(), nullptr);
  EXPECT_TRUE(success.text1.starts_with(ReadHostFile(In("successful.log")) + "\r\n"))
      << success.text1;
  EXPECT_NE(success.text1.find(kConverted + DriverPath("good.hlwad")), std::string::npos);

  WriteHostFile(In("broken.wad"), "WAD2 but nothing more");
  UserAtQtWindow failure;

  driver::ConversionDriver(failure);

  EXPECT_TRUE(failure.bannerShown);
  EXPECT_FALSE(window::DonePressed);
  EXPECT_EQ(failure.Form(), nullptr);
  EXPECT_TRUE(failure.text1.starts_with(ReadHostFile(In("error.log")) + "\r\n")) << failure.text1;
  EXPECT_NE(failure.text1.find(kFailed + DriverPath("broken.hlwad")), std::string::npos);
}

}  // namespace
