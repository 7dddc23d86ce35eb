#include "stripper/map_version_stripper.h"

#include "core/failure.h"
#include "core/text_file.h"
#include "stripper/line_filter.h"
#include "stripper/map_names.h"

namespace stripper {

namespace {

// What one run has done so far, so that a failure can undo exactly that.
struct Run {
  platform::FileSystem& fs;
  MapNames names;
  platform::File map;
  platform::File temporary;
  bool temporaryExists = false;
  bool mapSetAside = false;
  bool newMapInPlace = false;
};

void Check(platform::Error error, const std::string& step) {
  if (error != 0) {
    throw core::SystemFailure(step, error);
  }
}

bool Exists(platform::FileSystem& fs, const std::string& name) {
  double time = 0;
  return fs.ModificationTime(name, time) == 0;
}

void OpenMap(Run& run) {
  const platform::Error error = run.fs.OpenRead(run.names.map, run.map);
  if (error != 0 && Exists(run.fs, run.names.backup)) {
    // What an interrupted run leaves: the map's content lies under the backup name, and it
    // stays there untouched.
    throw core::SystemFailure("Cannot open the map file " + run.names.map + " (its backup " +
                                  run.names.backup + " exists and is kept)",
                              error);
  }
  Check(error, "Cannot open the map file " + run.names.map);
}

void CopyKeptLines(Run& run) {
  core::LineReader reader(run.fs, run.map);
  core::LineWriter writer(run.fs, run.temporary);
  const std::string readStep = "Cannot read the map file " + run.names.map;
  const std::string writeStep = "Cannot write the temporary file " + run.names.temporary;
  std::string line;
  while (!reader.AtEnd()) {
    Check(reader.ReadLine(line), readStep);
    if (!HoldsMapVersion(line)) {
      Check(writer.WriteLine(line), writeStep);
    }
  }
  Check(reader.error(), readStep);
  Check(writer.Flush(), writeStep);
}

void WriteTemporary(Run& run) {
  Check(run.fs.Create(run.names.temporary, run.temporary),
        "Cannot create the temporary file " + run.names.temporary);
  run.temporaryExists = true;
  CopyKeptLines(run);
  Check(run.fs.Sync(run.temporary),
        "Cannot flush the temporary file " + run.names.temporary + " to disk");
  Check(run.fs.Close(run.temporary), "Cannot close the temporary file " + run.names.temporary);
  Check(run.fs.Close(run.map), "Cannot close the map file " + run.names.map);
}

// An old backup goes without a question, but only now that the map is known to exist, so that
// the backup of an interrupted run is never taken for an old one.
void RemoveOldBackup(Run& run) {
  if (Exists(run.fs, run.names.backup)) {
    Check(run.fs.Delete(run.names.backup), "Cannot delete the old backup " + run.names.backup);
  }
}

void Rename(Run& run, const std::string& from, const std::string& to) {
  Check(run.fs.Rename(from, to), "Cannot rename " + from + " to " + to);
}

void ReplaceMap(Run& run) {
  Rename(run, run.names.map, run.names.backup);
  run.mapSetAside = true;
  Rename(run, run.names.temporary, run.names.map);
  run.temporaryExists = false;
  run.newMapInPlace = true;
  Check(run.fs.Delete(run.names.backup), "Cannot delete the backup " + run.names.backup);
  run.mapSetAside = false;
  run.newMapInPlace = false;
}

// Undoes what the run did, in reverse order, each step keeping the map's old content under the
// map's name or the backup name. Returns what could not be put back, or the empty text.
std::string PutBack(Run& run) {
  run.fs.Close(run.temporary);
  run.fs.Close(run.map);
  if (run.newMapInPlace) {
    if (run.fs.Rename(run.names.map, run.names.temporary) != 0) {
      return "the map is rewritten and its old content is kept as " + run.names.backup;
    }
    run.temporaryExists = true;
  }
  if (run.mapSetAside && run.fs.Rename(run.names.backup, run.names.map) != 0) {
    return "the map's content is kept as " + run.names.backup;
  }
  if (run.temporaryExists && run.fs.Delete(run.names.temporary) != 0) {
    return "the temporary file " + run.names.temporary + " is left behind";
  }
  return {};
}

}  // namespace

void MapVersionStripper(const std::string& argumentText, platform::FileSystem& fs) {
  Run run{.fs = fs, .names = NamesOfMap(MapFileName(argumentText)), .map = {}, .temporary = {}};
  if (BackupIsMapItself(run.names)) {
    throw StripFailure("Refusing " + run.names.map + ": its backup name " + run.names.backup +
                       " is the file itself");
  }
  try {
    OpenMap(run);
    WriteTemporary(run);
    RemoveOldBackup(run);
    ReplaceMap(run);
  } catch (const std::exception& failure) {
    const std::string note = PutBack(run);
    if (note.empty()) {
      throw;
    }
    throw StripFailure(std::string(failure.what()) + "; " + note);
  }
}

}  // namespace stripper
