#include "tests/driver/run_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "driver/run_paths.h"
#include "platform/platform.h"
#include "tests/support/environment.h"
#include "tests/support/wine_prefix.h"
#include "tools/wad_generator.h"

namespace driver_testing {

namespace {

namespace fs = std::filesystem;

bool IsInside(const fs::path& path, const fs::path& folder) {
  const fs::path relative =
      fs::weakly_canonical(path).lexically_relative(fs::weakly_canonical(folder));
  return !relative.empty() && *relative.begin() != "..";
}

class PrefixEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    prefix_ = test_support::MakeTemporaryWinePrefix("driver-tests");
    // Where drive c: is the machine's own (on Windows), the runs would replace the editor's real
    // texture folder: they go on only in a throw-away Wine prefix, which make test-windows marks.
    if (!IsInside(DriveC(), prefix_) && std::getenv("KORVANE_SCRATCH_DRIVE_C") == nullptr) {
      std::fprintf(stderr, "drive c: is %s; the driver tests run only on a scratch drive c:\n",
                   DriveC().string().c_str());
      std::exit(1);
    }
    // The batch finds the real converter on PATH, after a stand-in in the texture folder.
    const char* path = std::getenv("PATH");
    test_support::SetEnvironment("PATH", fs::absolute(WADCONV_FOLDER).make_preferred().string() +
                                             test_support::kPathListSeparator +
                                             (path == nullptr ? "" : path));
  }
  void TearDown() override { fs::remove_all(prefix_); }

 private:
  fs::path prefix_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrefixEnvironment);

// A memory window that notes in `outcome` what it showed when it is unloaded.
class WatchedWindow : public window::MemoryWindow {
 public:
  WatchedWindow(platform::FileSystem& files, RunOutcome& outcome)
      : MemoryWindow(files), outcome_(outcome) {}
  void Show() override {
    outcome_.everShown = true;
    MemoryWindow::Show();
  }
  void Unload() override {
    outcome_.label2Visible = Label2Visible();
    outcome_.command1Visible = Command1Visible();
    MemoryWindow::Unload();
  }

 private:
  RunOutcome& outcome_;
};

}  // namespace

fs::path TextureFolder() {
  const fs::path folder = DriveC() / "program files" / "worldcraft" / "textures";
  fs::create_directories(folder);
  return folder;
}

void EmptyTextureFolder() {
  fs::remove_all(TextureFolder());
  TextureFolder();
}

fs::path In(const std::string& name) {
  return TextureFolder() / fs::path(std::u8string(name.begin(), name.end()));
}

std::string DriverPath(const std::string& name) {
  return std::string(driver::kTextureFolder) + "\\" + name;
}

void WriteFiles(const Files& files) {
  for (const auto& [name, content] : files) {
    if (content == kAFolder) {
      fs::create_directories(In(name));
    } else {
      WriteHostFile(In(name), content);
    }
  }
}

void ExpectFiles(const Files& files) {
  for (const auto& [name, content] : files) {
    if (content == kAFile) {
      EXPECT_TRUE(fs::is_regular_file(In(name))) << name;
    } else if (content == kAFolder || content == kAbsent) {
      EXPECT_EQ(fs::is_directory(In(name)), content == kAFolder) << name;
      EXPECT_EQ(fs::exists(In(name)), content == kAFolder) << name;
    } else {
      EXPECT_EQ(ReadHostFile(In(name)), content) << name;
    }
  }
}

std::string QuakeWad(int textures, int seed, int pictureBytes) {
  std::vector<wadgen::Lump> lumps;
  for (int t = 0; t < textures; ++t) {
    const wadgen::Texture texture =
        wadgen::MakeTexture("tex" + std::to_string(t), wadgen::Pattern::kCheckers, 16, 16,
                            static_cast<std::uint32_t>(seed + t));
    lumps.push_back({texture.name, 0x44, 0, wadgen::MiptexLump(texture)});
  }
  if (pictureBytes > 0) {
    lumps.push_back(
        {"picture", 0x42, 0, std::vector<std::uint8_t>(static_cast<std::size_t>(pictureBytes), 7)});
  }
  const std::vector<std::uint8_t> wad = wadgen::AssembleWad2(lumps, false);
  return {wad.begin(), wad.end()};
}

void DropStandInConverter(const std::string& script) {
  const fs::path path = TextureFolder() / "wadconv.exe";
  WriteHostFile(path, "#!/bin/sh\n" + script + "\n");
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

void ShiftModificationTime(const fs::path& path, int seconds) {
  fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
}

void PressDone(window::MemoryWindow& window) {
  if (window.Command1Visible()) {
    window.ClickDone();
  }
}

RunOutcome RunKorvane(const User& user, driver::StartFunction start, platform::FileSystem& files) {
  // Each run stands for a fresh start of Korvane: Done pressed in an earlier run of the same test
  // must not end this run's wait for the user.
  window::DonePressed = false;
  RunOutcome outcome;
  WatchedWindow window(files, outcome);
  window.OnDoEvents(user);
  static_cast<driver::RunResult&>(outcome) = driver::ConversionDriver(window, start, files);
  return outcome;
}

std::vector<std::pair<std::string, std::string>> Headless() {
  return {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
}

test_support::ProgramRun RunHeadless(const std::string& program, const fs::path& scratch,
                                     const std::vector<std::string>& arguments) {
  return test_support::RunProgram(scratch, program, arguments, scratch, Headless());
}

}  // namespace driver_testing
