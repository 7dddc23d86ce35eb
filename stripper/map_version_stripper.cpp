#include "stripper/map_version_stripper.h"

#include <vector>

#include "core/failure.h"
#include "stripper/map_copy.h"
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

[[noreturn]] void Refuse(const Run& run, const std::string& reason) {
  throw StripFailure("Refusing " + run.names.map + ": " + reason + "; nothing was changed");
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    joined += (joined.empty() ? "" : ", ") + name;
  }
  return joined;
}

// The files that stand at `path`'s name in any letter case, with the folder part as written.
std::vector<std::string> FilesAt(Run& run, const std::string& path) {
  std::vector<std::string> names;
  Check(run.fs.NamesLike(path, names), "Cannot look for " + path);
  for (std::string& name : names) {
    name = WithFileName(path, name);
  }
  return names;
}

// A missing map whose backup exists is what a run stopped between its two renames leaves: the
// backup holds the map's content, and stays untouched.
[[noreturn]] void ReportMissingMap(Run& run, platform::Error error) {
  const core::SystemFailure failure("Cannot open the map file " + run.names.map, error);
  std::vector<std::string> backups;
  if (run.fs.NamesLike(run.names.backup, backups) == 0 && backups.size() == 1) {
    backups.front() = WithFileName(run.names.backup, backups.front());
    std::vector<std::string> temporaries;
    // Only to name a leftover in the advice: when the folder cannot be read, none is named.
    static_cast<void>(run.fs.NamesLike(run.names.temporary, temporaries));
    const std::string leftover =
        temporaries.empty() ? "" : ", delete " + WithFileName(run.names.temporary, temporaries[0]);
    throw StripFailure(std::string(failure.what()) + "; " + backups.front() +
                       " holds a map's content left by an interrupted run: rename it to " +
                       run.names.map + leftover + " and run pellisk again");
  }
  throw failure;
}

// Every refusal comes before the first change. A backup or temporary file found here may be the
// only copy of a map (of this map or of another with the same stem), so it is never deleted or
// written into.
void CheckBeforeTouching(Run& run) {
  platform::FileFacts facts;
  if (const platform::Error error = run.fs.Inspect(run.names.map, facts); error != 0) {
    ReportMissingMap(run, error);
  }
  const std::vector<std::string> maps = FilesAt(run, run.names.map);
  if (maps.size() > 1) {
    Refuse(run, "its folder holds " + Joined(maps) +
                    ", names that differ only in letter case, which Windows and the map editor "
                    "cannot tell apart: rename all but one and run pellisk again");
  }
  if (maps.size() == 1) {
    // The rewritten map takes the name the file has on disk, in its letter case.
    run.names.map = maps.front();
  }
  if (facts.kind == platform::FileKind::kFolder) {
    Refuse(run, "it is a folder, not a map file");
  }
  if (facts.kind != platform::FileKind::kRegular) {
    Refuse(run, "it is not a regular file (a FIFO, a device or a socket), so not a map file");
  }
  if (facts.readOnly) {
    Refuse(run, "the map file is read-only: make it writable and run pellisk again");
  }
  if (const auto backups = FilesAt(run, run.names.backup); !backups.empty()) {
    Refuse(run, Joined(backups) +
                    " already exists and may be the only copy of a map left by an interrupted "
                    "run: check it, rename it back to its map's name or delete it, and run "
                    "pellisk again");
  }
  if (const auto temporaries = FilesAt(run, run.names.temporary); !temporaries.empty()) {
    Refuse(run, Joined(temporaries) +
                    " already exists, left by an interrupted run (pellisk's temporary files "
                    "hold only lines copied from a map that stays whole): delete it and run "
                    "pellisk again");
  }
}

CopiedMap WriteTemporary(Run& run) {
  Check(run.fs.OpenRead(run.names.map, run.map), "Cannot open the map file " + run.names.map);
  Check(run.fs.CreateNew(run.names.temporary, run.temporary),
        "Cannot create the temporary file " + run.names.temporary + " beside the map");
  run.temporaryExists = true;
  Check(run.fs.CopySettings(run.map, run.temporary),
        "Cannot give the temporary file " + run.names.temporary +
            " the owner, group and permissions (or attributes) of the map file " + run.names.map +
            ", which the rewritten map keeps");
  const CopiedMap copied =
      CopyKeptLines(run.fs, run.map, run.temporary, run.names.map, run.names.temporary);
  if (copied.holdsNul) {
    Refuse(run,
           "it holds NUL bytes, so it is not a text map (it may be a WAD, a binary .rmf map "
           "or UTF-16 text)");
  }
  Check(run.fs.Sync(run.temporary),
        "Cannot flush the temporary file " + run.names.temporary + " to disk");
  Check(run.fs.Close(run.temporary), "Cannot close the temporary file " + run.names.temporary);
  Check(run.fs.Close(run.map), "Cannot close the map file " + run.names.map);
  return copied;
}

void ReplaceMap(Run& run) {
  Check(run.fs.Rename(run.names.map, run.names.backup),
        "Cannot set the map file " + run.names.map + " aside as " + run.names.backup);
  run.mapSetAside = true;
  Check(run.fs.Rename(run.names.temporary, run.names.map),
        "Cannot rename the temporary file " + run.names.temporary + " to " + run.names.map);
  run.temporaryExists = false;
  run.newMapInPlace = true;
  Check(run.fs.Delete(run.names.backup), "Cannot delete the backup " + run.names.backup);
  run.mapSetAside = false;
  run.newMapInPlace = false;
}

// Undoes what the run did, in reverse order, each step keeping the map's old content under the
// map's name or the backup name. Returns what could not be put back and how to finish by hand,
// or the empty text.
std::string PutBack(Run& run) {
  const MapNames& names = run.names;
  // The run is failing already; what is put back is judged by the renames that follow.
  static_cast<void>(run.fs.Close(run.temporary));
  static_cast<void>(run.fs.Close(run.map));
  if (run.newMapInPlace) {
    if (run.fs.Rename(names.map, names.temporary) != 0) {
      return names.map + " is rewritten and its old content is in " + names.backup + ": delete " +
             names.backup + " to keep the rewritten map, or delete " + names.map + " and rename " +
             names.backup + " to " + names.map + " to undo";
    }
    run.temporaryExists = true;
  }
  if (run.mapSetAside && run.fs.Rename(names.backup, names.map) != 0) {
    return "the map's content is in " + names.backup + ": rename it to " + names.map +
           (run.temporaryExists ? ", delete " + names.temporary : "") + " and run pellisk again";
  }
  if (run.temporaryExists && run.fs.Delete(names.temporary) != 0) {
    return names.map + " is as it was, but the temporary file " + names.temporary +
           " is left behind: delete it before running pellisk again";
  }
  return {};
}

std::string FormatWarning(const Run& run) {
  return run.names.map +
         " has Valve 220 faces (texture axes in \"[ ]\") but no longer its \"mapversion\" line: "
         "compilers that take the face format from that key (such as hlcsg) will reject it; for "
         "them, put the line \"mapversion\" \"220\" back into worldspawn after its \"classname\" "
         "line";
}

}  // namespace

std::string MapVersionStripper(const std::string& argumentText, platform::FileSystem& fs) {
  Run run{.fs = fs, .names = NamesOfMap(MapFileName(argumentText)), .map = {}, .temporary = {}};
  if (BackupIsMapItself(run.names)) {
    throw StripFailure("Refusing " + run.names.map + ": its backup name " + run.names.backup +
                       " is the file itself");
  }
  try {
    CheckBeforeTouching(run);
  } catch (const core::SystemFailure& failure) {
    throw StripFailure(std::string(failure.what()) + "; nothing was changed");
  }
  CopiedMap copied;
  try {
    copied = WriteTemporary(run);
    ReplaceMap(run);
  } catch (const std::exception& failure) {
    const std::string note = PutBack(run);
    if (!note.empty()) {
      throw StripFailure(std::string(failure.what()) + "; " + note);
    }
    if (dynamic_cast<const StripFailure*>(&failure) != nullptr) {
      throw;
    }
    throw StripFailure(std::string(failure.what()) + "; " + run.names.map + " is unchanged");
  }
  return copied.valveFaces && copied.formatKeyDropped ? FormatWarning(run) : std::string();
}

}  // namespace stripper
