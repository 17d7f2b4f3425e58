// A fresh folder under the system's temporary folder, removed again at the end of a test.
#pragma once

#include <filesystem>
#include <random>
#include <set>
#include <string>

namespace tamsel::test {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("tamsel-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Every file below the folder with its size and contents, to show that nothing changed.
  std::set<std::pair<std::string, std::string>> Snapshot() const;

 private:
  std::filesystem::path path_;
};

}  // namespace tamsel::test
