// Renders Korvane's window, without a display, as it stands at the end of a run with a failed
// conversion (log, red banner, Done button) and saves it as the PNG named by the only argument.

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <string>

#include "core/text_box.h"
#include "window/qt/qt_progress_window.h"

namespace {

const std::string kFolder = "c:\\program files\\worldcraft\\textures\\";
const std::string kRule(49, '=');

void WriteRunLog(core::TextBox& log) {
  log.SetText("BEGINNING EXAMINATION ...");
  core::AppendLineToTextBox(log, kRule);
  core::AppendLineToTextBox(log, "Number of Quake WADS found = 3");
  core::AppendLineToTextBox(log, core::FixedWidth(kFolder + "base.wad", 40) + ": Ok");
  core::AppendLineToTextBox(log, core::FixedWidth(kFolder + "castle.wad", 40) + ": Convert");
  core::AppendLineToTextBox(log, core::FixedWidth(kFolder + "dungeon.wad", 40) + ": Convert");
  core::AppendLineToTextBox(log, kRule);
  core::AppendLineToTextBox(log, "Number of WADs to Convert  = 2");
  core::AppendLineToTextBox(log, "Beginning conversion ....");
  log.AppendText("......... COMPLETE: 00:04 elapsed.");
  core::AppendLineToTextBox(log, "Conversion successful for " + kFolder + "castle.hlwad");
  core::AppendLineToTextBox(log, kRule);
  core::AppendLineToTextBox(log, "=  ERRORS DETECTED BY WCONV UTILITY - SEE BELOW =");
  core::AppendLineToTextBox(log, kRule);
  log.AppendText("\r\n\r\nError creating HLWAD: " + kFolder + "dungeon.hlwad ... details ...");
  log.AppendText(
      "\r\n\r\nwadconv: reading dungeon.wad\n"
      "** ERROR ** dungeon.wad: lump 12 \"+0lava\" runs past the end of the file\n");
  core::AppendLineToTextBox(log, kRule);
  core::AppendLineToTextBox(log, "END OF DATA .. Log written to " + kFolder + "error.log");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_screenshot FILE.png\n");
    return 2;
  }
  window::QtProgressWindow progress;
  progress.Load();
  progress.SetText2(kFolder.substr(0, kFolder.size() - 1));
  WriteRunLog(progress.Text1());
  progress.Show();
  progress.SetText3("2");
  progress.SetLabel2Visible(true);
  progress.SetCommand1Visible(true);
  core::ScrollTextBoxToEnd(progress.Text1());
  for (int turn = 0; turn < 5; ++turn) {
    progress.DoEvents();
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  if (!progress.Form()->grab().save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
