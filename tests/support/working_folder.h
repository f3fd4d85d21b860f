#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder under the system's temporary folder, made the working folder for the object's
// lifetime (the program reads and writes its files by bare name there) and removed afterwards
// with all it holds, write-protected entries included. Needs no Qt, so tests of the rules
// without windows use it too.
class TWorkingFolder {
 public:
  TWorkingFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvolin-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
    if (!path_.empty()) std::filesystem::current_path(path_);
  }
  ~TWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    if (path_.empty()) return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TWorkingFolder(const TWorkingFolder&) = delete;
  TWorkingFolder& operator=(const TWorkingFolder&) = delete;

  // Empty when the folder could not be made (the tests then fail on their first file).
  const std::filesystem::path& Path() const { return path_; }
  std::string FilePath(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// The whole of a file as bytes; empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
