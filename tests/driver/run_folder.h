#pragma once

// A temporary WINEPREFIX per test program whose drive c: holds the editor's texture folder, with
// helpers that write Quake WADs, stand-in converters and stamps there, and run the driver on the
// memory window.

#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/support/host_files.h"
#include "tests/support/wine_prefix.h"

#include "window/memory/memory_window.h"

namespace driver_testing {

// Host path of "c:\program files\worldcraft\textures", created if missing.
std::filesystem::path TextureFolder();
using test_support::DriveC;

// A Quake WAD2 holding `textures` miptex lumps of 16 x 16 pixels, the pixels varied by `seed`,
// and a picture lump (not a texture) of `pictureBytes` when that is not 0.
std::string QuakeWad(int textures, int seed = 0, int pictureBytes = 0);
using test_support::ReadHostFile;
using test_support::WriteHostFile;
// Writes a shell script as "wadconv.exe" in the texture folder; the batch finds it before the real
// converter. The script gets "-wad2hl NAME" as $1 and $2.
void DropStandInConverter(const std::string& script);
// Moves a file's modification time by `seconds`.
void ShiftModificationTime(const std::filesystem::path& path, int seconds);

// What the window showed of a run: the run log as it stood when the driver unloaded the window.
struct RunOutcome {
  std::string text1;
  bool everShown = false;
  bool label2Visible = false;
  bool command1Visible = false;
  std::int32_t batchStarts = 0;
};

// A memory window that keeps what it showed when it is unloaded.
class WatchedWindow : public window::MemoryWindow {
 public:
  void Show() override;
  void Unload() override;
  RunOutcome seen;
};

// Runs the driver on a watched memory window with the real batch start. Done is clicked as soon
// as it shows, unless `pressDone` is false (then the window is closed through its frame).
RunOutcome RunKorvane(bool pressDone = true);

// Pattern text: `literal` with every character that means something to std::regex escaped.
std::string Literal(const std::string& literal);

}  // namespace driver_testing
