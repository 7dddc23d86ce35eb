#include "core/file_ops.h"

#include <new>
#include <stdexcept>

#include "core/failure.h"
#include "core/paths.h"
#include "core/trace.h"
#include "platform/platform.h"

namespace core {

namespace {

// A trapped section: every step runs even after a failure, and the number of the last failing step
// is what the section reports.
struct TrappedSection {
  platform::Error lastError = 0;

  void Step(platform::Error error) {
    if (error != 0) {
      lastError = error;
    }
  }
};

// Error numbers travel in 16-bit results; none of the OS's numbers comes near the limit.
std::int16_t Narrow(platform::Error error) {
  return static_cast<std::int16_t>(error);
}

}  // namespace

void SetCHDriveCHDir(std::string absolutePath) {
  TraceEnter("SetCHDriveCHDir");
  TraceLine("AbsolutePath = " + absolutePath);
  const char drive = absolutePath.empty() ? '\0' : absolutePath.front();
  if (const platform::Error error = platform::ChangeDrive(drive); error != 0) {
    throw SystemFailure("Cannot make drive " + std::string(1, drive) + ": current", error);
  }
  const std::string folder = PathWithoutTrailingSlash(absolutePath);
  if (const platform::Error error = platform::ChangeFolder(folder); error != 0) {
    throw SystemFailure("Cannot make " + folder + " the current folder", error);
  }
  TraceExit();
}

std::int16_t DetectIfAFileExistsTrueFalseAbs(std::string absoluteFileName,
                                             platform::FileSystem& fs) {
  TraceEnter("DetectIfAFileExistsTrueFalseAbs");
  TraceLine("AbsoluteFileName = " + absoluteFileName);
  double time = 0;
  TrappedSection section;
  section.Step(fs.ModificationTime(absoluteFileName, time));
  const std::int16_t result = section.lastError == 0 ? -1 : 0;
  TraceLine(result == -1 ? "File exists" : "File does not exist");
  TraceExit();
  return result;
}

std::int16_t KillFileWithoutErrorIfNotExistTermOnFailureAbs(std::string absoluteFileName,
                                                            platform::FileSystem& fs) {
  TraceEnter("KillFileWithoutErrorIfNotExistTermOnFailureAbs");
  TraceLine("AbsoluteFileName = " + absoluteFileName);
  std::int16_t result = -1;
  if (DetectIfAFileExistsTrueFalseAbs(absoluteFileName, fs) == 0) {
    TraceLine("File was deleted if it existed");
  } else {
    TraceLine("File exists");
    TrappedSection section;
    section.Step(fs.Delete(absoluteFileName));
    if (section.lastError != 0) {
      TraceLine("Unable to reset file " + absoluteFileName +
                ".  Error Code:" + std::to_string(section.lastError));
      result = Narrow(section.lastError);
    } else {
      TraceLine("File was deleted if it existed");
    }
  }
  TraceExit();
  return result;
}

std::int32_t MakeDirIfDoesNotExistReturnErrorCodeAbs(std::string absolutePath,
                                                     platform::FileSystem& fs) {
  TraceEnter("MakeDirIfDoesNotExistReturnErrorCodeAbs");
  TraceLine("AbsolutePathToMake =" + absolutePath);
  const std::string path = PathWithoutTrailingSlash(absolutePath);
  std::int32_t result = -1;
  if (DetectIfAFileExistsTrueFalseAbs(path, fs) == -1) {
    TraceLine("Folder created or already exists");
  } else {
    TraceLine("Folder does not exist, attempt to create ...");
    TrappedSection section;
    section.Step(fs.MakeFolder(path));
    if (section.lastError != 0) {
      TraceLine("Folder could not be created: Error " + std::to_string(section.lastError));
      result = section.lastError;
    } else {
      TraceLine("Folder created or already exists");
    }
  }
  TraceExit();
  return result;
}

std::int32_t StringToFile(std::string text, std::string fileName, platform::FileSystem& fs) {
  TraceEnter("StringToFile");
  TraceLine(fileName);
  std::int32_t result = -1;
  const std::int16_t killed = KillFileWithoutErrorIfNotExistTermOnFailureAbs(fileName, fs);
  if (killed != -1) {
    TraceLine("Deleting file before write file failed " + std::to_string(killed));
    result = killed;
  } else {
    TraceLine("Opening file for output");
    platform::File file;
    TrappedSection section;
    // A file that was not created is not written either, so that the error reported is the
    // creation's own.
    section.Step(fs.Create(fileName, file));
    if (section.lastError == 0) {
      section.Step(fs.Write(file, text.data(), text.size()));
    }
    section.Step(fs.Close(file));
    TraceLine("Closing output file");
    if (section.lastError != 0) {
      TraceLine("Write file failed " + std::to_string(section.lastError));
      result = section.lastError;
    } else {
      TraceLine("Succesfully wrote file");
    }
  }
  TraceExit();
  return result;
}

std::string StringFromFile(std::string fileName, platform::FileSystem& fs) {
  TraceEnter("StringFromFile");
  TraceLine(fileName);
  platform::File file;
  std::int64_t length = 0;
  std::string content;
  TrappedSection section;
  section.Step(fs.OpenRead(fileName, file));
  section.Step(fs.Length(fileName, length));
  // A file too large for memory is a failed read like any other, not an escaping exception.
  try {
    content.assign(static_cast<std::size_t>(length > 0 ? length : 0), ' ');
  } catch (const std::bad_alloc&) {
    section.Step(platform::kNotEnoughMemory);
  } catch (const std::length_error&) {
    section.Step(platform::kNotEnoughMemory);
  }
  std::size_t filled = 0;
  while (section.lastError == 0 && filled < content.size()) {
    std::size_t got = 0;
    section.Step(fs.Read(file, content.data() + filled, content.size() - filled, got));
    if (got == 0) {
      break;
    }
    filled += got;
  }
  section.Step(fs.Close(file));
  if (section.lastError != 0) {
    TraceLine("Read file failed " + std::to_string(section.lastError));
    content.clear();
  }
  TraceExit();
  return content;
}

}  // namespace core
