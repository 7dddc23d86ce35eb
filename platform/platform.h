#pragma once

// The operations the programs need from the operating system. Everything above this header is
// written against Windows file-system semantics: drive letters, "\" separators (a "/" is accepted
// as well), names matched without regard to letter case. platform/posix and platform/win32
// implement it; CMake picks one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// 0 on success; otherwise a positive number that identifies the failure (errno on POSIX, the system
// error code on Windows), or one of the negative values below that no OS uses. ErrorDescription
// turns it into the OS's own text.
using Error = int;

// An open file. handle is -1 when nothing is open.
struct File {
  std::intptr_t handle = -1;
};

// What kind of thing a name stands for, as far as a program that rewrites files needs to know.
enum class FileKind { kRegular, kFolder, kOther };

struct FileFacts {
  // kOther: a FIFO, a device, a socket: nothing a program may read as a file without waiting.
  FileKind kind = FileKind::kOther;
  // The owner's write permission is missing (POSIX) or the read-only attribute is set (Windows).
  bool readOnly = false;
};

// File-system operations, as an interface so that tests can stand a failing or recording file
// system in for the real one (see NativeFileSystem).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Last-modification time as local date and time at whole seconds, encoded as an OLE Automation
  // date (days since 30 December 1899 00:00 local time). Works on folders too.
  [[nodiscard]] virtual Error ModificationTime(const std::string& path, double& oleDate) = 0;
  // Length in bytes of a regular file.
  [[nodiscard]] virtual Error Length(const std::string& path, std::int64_t& length) = 0;
  // Deletes a file (never a folder).
  [[nodiscard]] virtual Error Delete(const std::string& path) = 0;
  // Renames a file or folder; fails when `to` exists already.
  [[nodiscard]] virtual Error Rename(const std::string& from, const std::string& to) = 0;
  // Creates one folder level; the parent must exist.
  [[nodiscard]] virtual Error MakeFolder(const std::string& path) = 0;
  // Opens an existing file for reading raw bytes from its first byte.
  [[nodiscard]] virtual Error OpenRead(const std::string& path, File& file) = 0;
  // Creates a file for writing raw bytes, emptying an existing one.
  [[nodiscard]] virtual Error Create(const std::string& path, File& file) = 0;
  // Creates a new file for writing; fails (EEXIST, ERROR_FILE_EXISTS) when anything stands at the
  // name, a link or a case variant included, so that nothing is ever written through. On POSIX it
  // starts readable by its owner only, until CopySettings gives it other permissions.
  [[nodiscard]] virtual Error CreateNew(const std::string& path, File& file) = 0;
  // What a name (followed through links) stands for, found without opening it, since opening a
  // FIFO waits for a writer.
  [[nodiscard]] virtual Error Inspect(const std::string& path, FileFacts& facts) = 0;
  // The names in `path`'s folder that equal its last name without regard to letter case, as they
  // are stored (the name itself among them when it exists), in byte order; empty when there is
  // none. Where the file system ignores letter case there is at most one.
  [[nodiscard]] virtual Error NamesLike(const std::string& path,
                                        std::vector<std::string>& names) = 0;
  // Gives the open file `to` what the open file `from` has beyond its bytes: on POSIX its
  // permission bits, owner and group (EPERM, with the permission bits left alone, when the
  // process may not give that owner or group), on Windows its attributes.
  [[nodiscard]] virtual Error CopySettings(File from, File to) = 0;
  // Cuts the open file back to its first `length` bytes; the next Write continues there.
  [[nodiscard]] virtual Error Truncate(File file, std::int64_t length) = 0;
  // Reads up to `size` bytes; `got` is 0 at the end of the file.
  [[nodiscard]] virtual Error Read(File file, char* buffer, std::size_t size, std::size_t& got) = 0;
  // Reads up to `size` bytes at byte `offset`; `got` is 0 past the end. Where a later Read of the
  // same open file starts is unspecified, so a file is read with one of the two, not both.
  [[nodiscard]] virtual Error ReadAt(File file, std::int64_t offset, char* buffer, std::size_t size,
                                     std::size_t& got) = 0;
  // Writes all `size` bytes or fails.
  [[nodiscard]] virtual Error Write(File file, const char* data, std::size_t size) = 0;
  // Flushes what was written to the disk itself.
  [[nodiscard]] virtual Error Sync(File file) = 0;
  // Asks the system to start writing `length` bytes from `offset` to the disk without waiting, so
  // that a later Sync of a large file has little left to do. Only a hint: where the system has no
  // such request, or refuses it, nothing happens.
  virtual void StartWriteBack(File /*file*/, std::int64_t /*offset*/, std::int64_t /*length*/) {}
  // Closes the file and sets its handle to -1; closing a closed file does nothing.
  [[nodiscard]] virtual Error Close(File& file) = 0;
  // Bare names of the regular, non-hidden files of `folder` that match `pattern` ("*" and "?",
  // without regard to letter case), sorted by name ignoring letter case, ties in byte order.
  // Names the programs cannot pass on as they are (see kLeftOutNames) are left out like hidden
  // ones; `leftOut` counts those of them that match the pattern, so that none goes unmentioned.
  [[nodiscard]] virtual Error List(const std::string& folder, const std::string& pattern,
                                   std::vector<std::string>& names, std::size_t& leftOut) = 0;
  // As above, for callers that do not report what was left out.
  [[nodiscard]] Error List(const std::string& folder, const std::string& pattern,
                           std::vector<std::string>& names) {
    std::size_t leftOut = 0;
    return List(folder, pattern, names, leftOut);
  }
};

// Which names List leaves out, for the line that counts them: on POSIX "names Windows cannot
// hold" (control characters, < > : " | ? *, a trailing space or dot); on Windows names that are
// not text (a lone surrogate), which no batch line can spell.
extern const char kLeftOutNames[];

// The operating system's own file system.
FileSystem& NativeFileSystem();

// An open file of `fs` that is closed when its owner goes, on every path out; Close closes it
// earlier, where its error counts.
class OwnedFile {
 public:
  explicit OwnedFile(FileSystem& fs) : fs_(fs) {}
  // On a path out where another failure is reported already; Close is for where the error counts.
  ~OwnedFile() { static_cast<void>(fs_.Close(file_)); }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;

  File& get() { return file_; }
  [[nodiscard]] Error Close() { return fs_.Close(file_); }

 private:
  FileSystem& fs_;
  File file_;
};

// For a file written front to back: starts the write-back of every few MiB as they are written,
// so that the final Sync of a large file has little left to do and the copy and the disk work at
// the same time.
class WriteBackPacer {
 public:
  // Records `count` more bytes written to `file`.
  void Wrote(FileSystem& fs, File file, std::size_t count);

 private:
  std::int64_t written_ = 0;
  std::int64_t started_ = 0;
};

// --- Drives and the current folder (one per process) ---

// Makes drive `letter` ("c" or "C") current, at the folder last current on it (its root at first,
// or when that folder has gone).
[[nodiscard]] Error ChangeDrive(char letter);
// Makes `path` (absolute, drive-relative or relative) the current folder; on a drive other than the
// current one it becomes that drive's folder without changing the current drive, as on Windows.
[[nodiscard]] Error ChangeFolder(const std::string& path);
// The current drive and folder in Windows form with the letter case found on disk, such as
// "C:\Program Files\Worldcraft\Textures". Where the current folder lies on no drive (a POSIX
// process started outside every mapped drive) it is the host path.
std::string CurrentFolder();
// Where `path` lies on the host (on POSIX the resolved host path, on Windows the full path); names
// that do not exist yet are kept as written. For messages that tell the user where the program
// looked.
[[nodiscard]] Error HostPath(const std::string& path, std::string& host);
// Where drive `letter` comes from on this machine, as a clause for messages such as "drive c: is
// /home/ann/.wine/drive_c in the Wine prefix /home/ann/.wine (the default ~/.wine, as WINEPREFIX is
// not set)". Empty where drives are the system's own (Windows).
std::string DriveOrigin(char letter);
// The command a user types to make the folder `link` (not there yet) lead to the existing folder
// `target`: a directory junction on Windows, a symbolic link on POSIX (after making the folder
// that holds the link, which a Wine prefix may lack). Both are Windows paths.
std::string FolderLinkCommand(const std::string& link, const std::string& target);
// The command a user types to make the folder `path` (a Windows path) with every folder above it.
std::string MakeFolderCommand(const std::string& path);

// --- Processes ---

// Starts `commandLine` as a new process with no window and no terminal, without waiting for it.
// A command line whose program is a ".bat" file runs through the platform's command interpreter;
// the id returned is the interpreter's. The process and all it starts end when this program ends,
// however it ends (on Linux through a parent-death signal, on Windows through a job object).
[[nodiscard]] Error StartProcess(const std::string& commandLine, std::int32_t& processId);
// True while the process lives; false once it has ended or cannot be queried.
bool ProcessIsRunning(std::int32_t processId);
// Ends the process and every process it started.
void StopProcess(std::int32_t processId);

// --- Requests to stop ---

// A request from outside to end the program: a signal on POSIX, a console event on Windows.
struct StopRequest {
  // What asked, such as "SIGTERM" or "Ctrl+C"; empty while nothing has asked.
  std::string name;
  // The status the program ends with to say how it was stopped: 128 + the signal's number on
  // POSIX (130 SIGINT, 143 SIGTERM, 129 SIGHUP), 1 on Windows.
  int exitStatus = 0;
};
// From now on the system's requests to end the program (SIGINT, SIGTERM and SIGHUP on POSIX;
// Ctrl+C, Ctrl+Break and closing the console on Windows) no longer end it at once: the first one
// is kept for CaughtStopRequest, and the program stops its work and ends by itself. On POSIX a
// write to a closed pipe fails instead of ending the program.
void CatchStopRequests();
// The first request caught since CatchStopRequests; its name is empty when none has come.
StopRequest CaughtStopRequest();

// --- One run at a time ---

// An exclusive lock on a lock file, released by the system when the process ends. On POSIX the
// processes the program starts hold it too, so that it stays taken until the last of them ends.
struct RunLock {
  std::intptr_t handle = -1;
};
// What TakeRunLock returns while another process holds the lock: the one failure the platform
// layer names itself. Negative, so that no OS error number equals it, and far below -1, the core's
// "true" (success), and the small negative numbers the layers above keep for failures of their own.
inline constexpr Error kLockHeld = -1000;
// Takes the lock on `path` (a Windows path; the file is created when missing, never through a
// link). Returns 0 when taken, kLockHeld when another process holds it, or the error that
// prevented it.
[[nodiscard]] Error TakeRunLock(const std::string& path, RunLock& lock);
// Releases a lock taken by TakeRunLock and sets its handle to -1; releasing twice does nothing.
void ReleaseRunLock(RunLock& lock);

// --- Clock, errors, command line ---

// The local date and time now at whole seconds, as an OLE Automation date.
double LocalNow();
// The OS's description of an error number.
std::string ErrorDescription(Error error);
// The OS's error number for a lack of memory (ENOMEM, ERROR_NOT_ENOUGH_MEMORY).
extern const Error kNotEnoughMemory;
// The program's raw argument text: everything after its own name. On POSIX the arguments joined
// with single spaces.
std::string ArgumentText(int argc, char** argv);
// The line end for what a program prints on its standard output: LF where that is a terminal of a
// system whose terminals end lines with LF, otherwise CR LF, the line end of the programs' files.
const char* StandardOutputLineEnd();

}  // namespace platform
