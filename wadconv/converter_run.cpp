#include "wadconv/converter_run.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <span>
#include <utility>

#include "platform/common/ascii.h"
#include "wadconv/conversion.h"
#include "wadconv/fault.h"

namespace wadconv {

namespace {

constexpr char kOption[] = "-wad2hl";
constexpr std::size_t kWriteBufferBytes = std::size_t{1} << 20;

std::string Quote(const std::string& name) {
  return "\"" + name + "\"";
}

std::string SystemFault(const std::string& step, platform::Error error) {
  return step + ": " + platform::ErrorDescription(error);
}

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The input file, read at positions; it is closed when this goes.
class FileSource final : public ByteSource {
 public:
  FileSource(platform::FileSystem& fs, std::string name) : fs_(fs), name_(std::move(name)) {}
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  ~FileSource() override { Close(); }

  Fault Open() {
    std::int64_t length = 0;
    if (platform::Error error = fs_.Length(name_, length)) {
      return SystemFault("cannot read " + Quote(name_), error);
    }
    if (length < 0 ||
        static_cast<std::uint64_t>(length) > std::numeric_limits<std::uint32_t>::max()) {
      return Quote(name_) + " is larger than the 4 GiB that WAD offsets reach";
    }
    if (platform::Error error = fs_.OpenRead(name_, file_)) {
      return SystemFault("cannot open " + Quote(name_), error);
    }
    size_ = static_cast<std::uint64_t>(length);
    return std::nullopt;
  }

  // The file was only read: closing it loses nothing.
  void Close() { static_cast<void>(fs_.Close(file_)); }

  std::uint64_t Size() const override { return size_; }

  Fault ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      std::size_t got = 0;
      if (platform::Error error =
              fs_.ReadAt(file_, static_cast<std::int64_t>(offset + done),
                         reinterpret_cast<char*>(out.data() + done), out.size() - done, got)) {
        return SystemFault("cannot read " + Quote(name_), error);
      }
      if (got == 0) {
        return Quote(name_) + " ends at byte " + std::to_string(offset + done) +
               " although it had " + std::to_string(size_) +
               " bytes when the conversion began: it changed meanwhile";
      }
      done += got;
    }
    return std::nullopt;
  }

 private:
  platform::FileSystem& fs_;
  std::string name_;
  platform::File file_;
  std::uint64_t size_ = 0;
};

// Collects small pieces into large writes; remembers the first failure and drops what follows.
class FileSink : public ByteSink {
 public:
  FileSink(platform::FileSystem& fs, platform::File file) : fs_(fs), file_(file) {
    buffer_.reserve(kWriteBufferBytes);
  }

  void Put(Bytes bytes) override {
    if (buffer_.size() + bytes.size() > kWriteBufferBytes) {
      Flush();
    }
    if (bytes.size() >= kWriteBufferBytes) {
      Write(bytes);
    } else {
      buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
  }

  platform::Error Finish() {
    Flush();
    return error_;
  }

 private:
  void Flush() {
    Write(buffer_);
    buffer_.clear();
  }

  void Write(Bytes bytes) {
    if (error_ == 0 && !bytes.empty()) {
      error_ = fs_.Write(file_, reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (error_ == 0) {
        writeBack_.Wrote(fs_, file_, bytes.size());
      }
    }
  }

  platform::FileSystem& fs_;
  platform::File file_;
  std::vector<std::uint8_t> buffer_;
  platform::WriteBackPacer writeBack_;
  platform::Error error_ = 0;
};

// A file at the temporary name is a leftover of a run that was stopped, or a link that would lead
// the write elsewhere; either is removed (a link itself, not its target) and never written into.
Fault RemoveLeftover(platform::FileSystem& fs, const std::string& temporary) {
  const platform::Error error = fs.Delete(temporary);
  double oleDate = 0;
  std::int64_t length = 0;
  if (error != 0 &&
      (fs.ModificationTime(temporary, oleDate) == 0 || fs.Length(temporary, length) == 0)) {
    return SystemFault("cannot remove the leftover " + Quote(temporary), error);
  }
  return std::nullopt;
}

// Writes the whole output to `name` and flushes it to the disk; removes it again on failure.
Fault WriteOutputFile(platform::FileSystem& fs, const std::string& name, const ConversionPlan& plan,
                      ByteSource& input) {
  if (Fault fault = RemoveLeftover(fs, name)) {
    return fault;
  }
  platform::OwnedFile file(fs);
  if (platform::Error error = fs.Create(name, file.get())) {
    return SystemFault("cannot create " + Quote(name), error);
  }
  FileSink sink(fs, file.get());
  const Fault readFault = WriteConversion(plan, input, sink);
  platform::Error error = sink.Finish();
  if (error == 0) {
    error = fs.Sync(file.get());
  }
  const platform::Error closeError = file.Close();
  if (error == 0) {
    error = closeError;
  }
  if (readFault || error != 0) {
    // Best effort: the failure returned is what counts; a partial file is never the output.
    static_cast<void>(fs.Delete(name));
    return readFault ? readFault : SystemFault("cannot write " + Quote(name), error);
  }
  return std::nullopt;
}

// Puts the complete temporary file in the place of the output. Rename does not replace, so an
// older output goes first; until then it stays untouched.
Fault MoveIntoPlace(platform::FileSystem& fs, const std::string& temporary,
                    const std::string& output) {
  double oleDate = 0;
  if (fs.ModificationTime(output, oleDate) == 0) {
    if (platform::Error error = fs.Delete(output)) {
      // Best effort, as above: the failure returned is what counts.
      static_cast<void>(fs.Delete(temporary));
      return SystemFault("cannot replace the older " + Quote(output), error);
    }
  }
  if (platform::Error error = fs.Rename(temporary, output)) {
    // Best effort, as above: the failure returned is what counts.
    static_cast<void>(fs.Delete(temporary));
    return SystemFault("cannot rename " + Quote(temporary) + " to " + Quote(output), error);
  }
  return std::nullopt;
}

}  // namespace

std::string NameFromArguments(const std::string& argumentText) {
  const std::string text = TrimSpaces(argumentText);
  const std::size_t optionEnd = std::min(text.find(' '), text.size());
  if (!platform::ascii::SameIgnoringCase(text.substr(0, optionEnd), kOption)) {
    return {};
  }
  std::string name = TrimSpaces(text.substr(optionEnd));
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
    name = name.substr(1, name.size() - 2);
  }
  return name;
}

std::string OutputName(const std::string& name) {
  const std::size_t folderEnd = name.find_last_of("\\/:");
  std::string fileName = folderEnd == std::string::npos ? name : name.substr(folderEnd + 1);
  return fileName.substr(0, fileName.rfind('.')) + ".hlwad";
}

RunOutcome RunWadconv(platform::FileSystem& fileSystem, const std::string& argumentText) {
  RunOutcome outcome;
  const auto fail = [&outcome](const std::string& fault) {
    outcome.lines.push_back(std::string(kErrorMarker) + " " + fault);
    outcome.exitCode = kExitFailed;
  };
  const std::string name = NameFromArguments(argumentText);
  if (name.empty()) {
    fail("usage: wadconv -wad2hl NAME");
    outcome.exitCode = kExitUsage;
    return outcome;
  }
  const std::string output = OutputName(name);
  const std::string temporary = output + ".tmp";
  outcome.lines.push_back("wadconv: converting " + Quote(name) + " to " + Quote(output));

  FileSource input(fileSystem, name);
  if (Fault fault = input.Open()) {
    fail(*fault);
    return outcome;
  }
  ConversionPlan plan = PlanConversion(input);
  // Moved, not copied: there is a line for every lump of the WAD.
  outcome.lines.insert(outcome.lines.end(), std::make_move_iterator(plan.lines.begin()),
                       std::make_move_iterator(plan.lines.end()));
  if (plan.kind == ConversionKind::kFailed) {
    fail("no output written: " + Quote(name) + " cannot be converted");
    return outcome;
  }
  if (Fault fault = WriteOutputFile(fileSystem, temporary, plan, input)) {
    fail(*fault);
    return outcome;
  }
  // Closed before the older output goes, which Windows refuses while that is the open input.
  input.Close();
  if (Fault fault = MoveIntoPlace(fileSystem, temporary, output)) {
    fail(*fault);
    return outcome;
  }
  outcome.lines.push_back("Wrote " + Quote(output) + ", " + std::to_string(plan.outputBytes) +
                          " bytes");
  outcome.exitCode = kExitConverted;
  return outcome;
}

}  // namespace wadconv
