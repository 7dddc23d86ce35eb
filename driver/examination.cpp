#include "driver/examination.h"

#include <string>
#include <vector>

#include "core/file_ops.h"
#include "core/paths.h"
#include "core/text_box.h"
#include "driver/run_paths.h"
#include "driver/stamp_record.h"
#include "platform/common/ascii.h"
#include "platform/platform.h"

namespace driver {

namespace {

// A WAD is up to date when its stamp holds the current times and lengths of the WAD and its HL WAD,
// and none of the files is empty.
bool IsUpToDate(platform::FileSystem& fs, const WadPaths& paths) {
  if (core::DetectIfAFileExistsTrueFalseAbs(paths.stampFile, fs) != -1) {
    return false;
  }
  const bool wadExists = core::DetectIfAFileExistsTrueFalseAbs(paths.wadFile, fs) == -1;
  const bool hlwadExists = core::DetectIfAFileExistsTrueFalseAbs(paths.hlwadFile, fs) == -1;
  if (!wadExists || !hlwadExists) {
    return false;
  }
  const StampRecord current = CurrentStampRecord(fs, paths.wadFile, paths.hlwadFile);
  const StampRecord stored = ReadStampRecord(fs, paths.stampFile);
  return StampsMatch(stored, current) && stored.WadLength > 0 && stored.HlwadLength > 0 &&
         current.WadLength > 0 && current.HlwadLength > 0;
}

// The WAD listed before `index` whose name differs from it at most in letter case up to the
// extension, so that both would make one HL WAD, one stamp and one log; empty when there is none.
std::string EarlierNamesake(const std::vector<std::string>& names, std::size_t index) {
  const std::string stem = core::NameWithoutExtension(names[index]);
  for (std::size_t earlier = 0; earlier < index; ++earlier) {
    if (platform::ascii::SameIgnoringCase(core::NameWithoutExtension(names[earlier]), stem)) {
      return names[earlier];
    }
  }
  return {};
}

// The WAD's time and length now, or why it fails before the batch.
ListedWad Prepared(platform::FileSystem& fs, const std::string& listedName, const WadPaths& paths) {
  ListedWad wad;
  wad.name = listedName;
  if (const platform::Error error = FileTimeAndLength(fs, paths.wadFile, wad.time, wad.length);
      error != 0) {
    wad.failure = FailureText("Cannot read the time and length of " + paths.wadFile, error);
  } else if (const std::int16_t killed =
                 core::KillFileWithoutErrorIfNotExistTermOnFailureAbs(paths.stampFile, fs);
             killed != -1) {
    wad.failure = FailureText("Cannot delete the old stamp " + paths.stampFile, killed);
  }
  return wad;
}

void DecideOne(window::ProgressWindow& window, RunState& state,
               const std::vector<std::string>& names, std::size_t index) {
  const std::string& listedName = names[index];
  const WadPaths paths = PathsOfWad(listedName);
  const std::string column = core::FixedWidth(paths.wadFile, 40) + ": ";
  if (const std::string namesake = EarlierNamesake(names, index); !namesake.empty()) {
    const std::string clash =
        listedName + " shares its HL WAD name with " + namesake + ": rename one";
    core::AppendLineToTextBox(window.Text1(), column + clash);
    state.wads.push_back(ListedWad{.name = listedName, .time = 0, .length = 0, .failure = clash});
    return;
  }
  if (IsUpToDate(state.fs, paths)) {
    core::AppendLineToTextBox(window.Text1(), column + "Ok");
    return;
  }
  core::AppendLineToTextBox(window.Text1(), column + "Convert");
  ListedWad wad = Prepared(state.fs, listedName, paths);
  if (wad.failure.empty()) {
    window.List1AddItem(listedName);
  }
  state.wads.push_back(std::move(wad));
}

}  // namespace

void ExamineWads(window::ProgressWindow& window, RunState& state) {
  const std::string folder = platform::CurrentFolder();
  // Listed here rather than through the window's file list, which shows a folder that cannot be
  // listed as an empty one: that must fail the run, not read as nothing to do.
  std::vector<std::string> names;
  if (const platform::Error error = state.fs.List(folder, "*.wad", names); error != 0) {
    RunFailure(window, state,
               "Cannot list the texture folder " + core::PathWithoutTrailingSlash(folder), error);
    state.halted = true;
    names.clear();
  }
  state.startTime = platform::LocalNow();
  window.DoEvents();

  core::AppendLineToTextBox(window.Text1(),
                            "Number of Quake WADS found = " + std::to_string(names.size()));
  for (std::size_t index = 0; index < names.size(); ++index) {
    DecideOne(window, state, names, index);
  }

  if (state.wads.empty() && state.runFailures == 0) {
    window.Unload();
    return;
  }
  window.Show();
  window.Refresh();
  const std::int32_t toConvert = window.List1ListCount();
  window.SetText3(std::to_string(toConvert));
  core::AppendLineToTextBox(window.Text1(), kRuleLine);
  core::AppendLineToTextBox(window.Text1(),
                            "Number of WADs to Convert  = " + std::to_string(toConvert));
}

}  // namespace driver
