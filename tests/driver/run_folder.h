#pragma once

// The driver tests' kit: a temporary WINEPREFIX per test program with the editor's texture folder,
// Quake WADs and stand-in converters there, runs of the driver and of the program without a
// display.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "driver/conversion_driver.h"
#include "tests/support/host_files.h"
#include "tests/support/program_run.h"
#include "tests/support/wine_prefix.h"
#include "window/memory/memory_window.h"

namespace driver_testing {

using test_support::DriveC;
using test_support::ReadHostFile;
using test_support::WriteHostFile;

// Host path of "c:\program files\worldcraft\textures", created if missing.
std::filesystem::path TextureFolder();
void EmptyTextureFolder();
// The host path of `name` (UTF-8, "/" between folders) in the texture folder.
std::filesystem::path In(const std::string& name);
// `name` in the texture folder as the driver spells it in the run log.
std::string DriverPath(const std::string& name);

inline bool Mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The run log's verdict on one WAD, each followed by its HL WAD's path.
inline constexpr char kConverted[] = "Conversion successful for ";
inline constexpr char kFailed[] = "Error creating HLWAD: ";

// Files in the texture folder by name, with what they hold: kAFolder makes or stands for a folder,
// kAbsent for no file at all, kAFile for a file whatever it holds.
using Files = std::vector<std::pair<std::string, std::string>>;
inline constexpr char kAFolder[] = "<a folder>";
inline constexpr char kAbsent[] = "<absent>";
inline constexpr char kAFile[] = "<a file>";
void WriteFiles(const Files& files);
void ExpectFiles(const Files& files);

// A Quake WAD2 holding `textures` miptex lumps of 16 x 16 pixels, the pixels varied by `seed`,
// and a picture lump (not a texture) of `pictureBytes` when that is not 0.
std::string QuakeWad(int textures, int seed = 0, int pictureBytes = 0);
// Writes a shell script as "wadconv.exe" in the texture folder; the batch finds it before the real
// converter. The script gets "-wad2hl NAME" as $1 and $2.
void DropStandInConverter(const std::string& script);
void ShiftModificationTime(const std::filesystem::path& path, int seconds);

// What a run told the user, and what the window showed of it when the driver unloaded it.
struct RunOutcome : driver::RunResult {
  bool everShown = false;
  bool label2Visible = false;
  bool command1Visible = false;
};

using User = std::function<void(window::MemoryWindow&)>;
void PressDone(window::MemoryWindow& window);

RunOutcome RunKorvane(const User& user = PressDone,
                      driver::StartFunction start = platform::StartProcess,
                      platform::FileSystem& files = platform::NativeFileSystem());

// No display for a program: no X11 or Wayland server, no platform chosen for Qt.
std::vector<std::pair<std::string, std::string>> Headless();
// Runs `program` without a display in `scratch`, its output captured there.
test_support::ProgramRun RunHeadless(const std::string& program,
                                     const std::filesystem::path& scratch,
                                     const std::vector<std::string>& arguments = {});

}  // namespace driver_testing
