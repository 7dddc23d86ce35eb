#include "wadconv/converter_run.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "wadconv/conversion.h"
#include "wadconv/fault.h"
#include "wadconv/letter_case.h"

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

struct LoadedFile {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
};

// Reads the whole file into one buffer of its own length, which bounds the allocation.
Fault ReadWholeFile(platform::FileSystem& fs, const std::string& name, LoadedFile& loaded) {
  std::int64_t length = 0;
  if (platform::Error error = fs.Length(name, length)) {
    return SystemFault("cannot read " + Quote(name), error);
  }
  if (length < 0 ||
      static_cast<std::uint64_t>(length) > std::numeric_limits<std::uint32_t>::max()) {
    return Quote(name) + " is larger than the 4 GiB that WAD offsets reach";
  }
  platform::File file;
  if (platform::Error error = fs.OpenRead(name, file)) {
    return SystemFault("cannot open " + Quote(name), error);
  }
  try {
    loaded.data = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    fs.Close(file);
    return "not enough memory to read " + Quote(name) + " of " + std::to_string(length) + " bytes";
  }
  loaded.size = 0;
  while (loaded.size < static_cast<std::size_t>(length)) {
    std::size_t got = 0;
    char* at = reinterpret_cast<char*>(loaded.data.get() + loaded.size);
    if (platform::Error error = fs.Read(file, at, length - loaded.size, got)) {
      fs.Close(file);
      return SystemFault("cannot read " + Quote(name), error);
    }
    if (got == 0) {
      break;
    }
    loaded.size += got;
  }
  fs.Close(file);
  return std::nullopt;
}

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
    }
  }

  platform::FileSystem& fs_;
  platform::File file_;
  std::vector<std::uint8_t> buffer_;
  platform::Error error_ = 0;
};

// Writes the whole output to `name` and flushes it to the disk; removes it again on failure.
Fault WriteOutputFile(platform::FileSystem& fs, const std::string& name, const ConversionPlan& plan,
                      Bytes input) {
  platform::File file;
  if (platform::Error error = fs.Create(name, file)) {
    return SystemFault("cannot create " + Quote(name), error);
  }
  FileSink sink(fs, file);
  WriteConversion(plan, input, sink);
  platform::Error error = sink.Finish();
  if (error == 0) {
    error = fs.Sync(file);
  }
  const platform::Error closeError = fs.Close(file);
  if (error == 0) {
    error = closeError;
  }
  if (error != 0) {
    fs.Delete(name);
    return SystemFault("cannot write " + Quote(name), error);
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
      fs.Delete(temporary);
      return SystemFault("cannot replace the older " + Quote(output), error);
    }
  }
  if (platform::Error error = fs.Rename(temporary, output)) {
    fs.Delete(temporary);
    return SystemFault("cannot rename " + Quote(temporary) + " to " + Quote(output), error);
  }
  return std::nullopt;
}

}  // namespace

std::string NameFromArguments(const std::string& argumentText) {
  const std::string text = TrimSpaces(argumentText);
  const std::size_t optionEnd = std::min(text.find(' '), text.size());
  if (!SameIgnoringCase(text.substr(0, optionEnd), kOption)) {
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

  LoadedFile input;
  if (Fault fault = ReadWholeFile(fileSystem, name, input)) {
    fail(*fault);
    return outcome;
  }
  const Bytes bytes(input.data.get(), input.size);
  ConversionPlan plan = PlanConversion(bytes);
  outcome.lines.insert(outcome.lines.end(), plan.lines.begin(), plan.lines.end());
  if (plan.kind == ConversionKind::kFailed) {
    fail("no output written: " + Quote(name) + " cannot be converted");
    return outcome;
  }
  if (Fault fault = WriteOutputFile(fileSystem, temporary, plan, bytes)) {
    fail(*fault);
    return outcome;
  }
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
