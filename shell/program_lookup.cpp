#include "shell/program_lookup.h"

namespace shell {

namespace {

bool HasFolderPart(const std::string& name) {
  return name.find_first_of("\\/:") != std::string::npos;
}

// The name itself and, when it ends in ".exe" (any letter case), the name without it.
std::vector<std::string> NameForms(const std::string& name) {
  std::vector<std::string> forms{name};
  const std::size_t n = name.size();
  if (n > 4 && name[n - 4] == '.' && (name[n - 3] | 0x20) == 'e' && (name[n - 2] | 0x20) == 'x' &&
      (name[n - 1] | 0x20) == 'e') {
    forms.push_back(name.substr(0, n - 4));
  }
  return forms;
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string FirstRegularFile(platform::FileSystem& fs, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    std::int64_t length = 0;
    if (fs.Length(path, length) == 0) {
      return path;
    }
  }
  return {};
}

}  // namespace

std::vector<std::string> ProgramCandidates(const std::string& name, const SearchPlaces& places) {
  const std::vector<std::string> forms = NameForms(name);
  std::vector<std::string> candidates = forms;
  if (HasFolderPart(name)) {
    return candidates;
  }
  std::vector<std::string> folders{places.ownFolder};
  folders.insert(folders.end(), places.pathFolders.begin(), places.pathFolders.end());
  for (const std::string& folder : folders) {
    if (folder.empty()) {
      continue;
    }
    for (const std::string& form : forms) {
      candidates.push_back(JoinHostPath(folder, form));
    }
  }
  return candidates;
}

std::string FindProgram(platform::FileSystem& fs, const std::string& name,
                        const SearchPlaces& places) {
  return name.empty() ? std::string() : FirstRegularFile(fs, ProgramCandidates(name, places));
}

std::string FindOnPath(platform::FileSystem& fs, const std::string& name,
                       const std::vector<std::string>& pathFolders) {
  std::vector<std::string> candidates;
  for (const std::string& folder : pathFolders) {
    if (!folder.empty()) {
      candidates.push_back(JoinHostPath(folder, name));
    }
  }
  return FirstRegularFile(fs, candidates);
}

bool IsWindowsProgram(platform::FileSystem& fs, const std::string& path) {
  platform::OwnedFile file(fs);
  if (fs.OpenRead(path, file.get()) != 0) {
    return false;
  }
  char head[2] = {};
  std::size_t have = 0;
  std::size_t got = 1;
  while (have < sizeof head && got > 0 &&
         fs.Read(file.get(), head + have, sizeof head - have, got) == 0) {
    have += got;
  }
  return have == sizeof head && head[0] == 'M' && head[1] == 'Z';
}

}  // namespace shell
