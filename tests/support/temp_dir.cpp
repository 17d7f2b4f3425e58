#include "support/temp_dir.h"

#include <fstream>
#include <sstream>

namespace tamsel::test {

std::set<std::pair<std::string, std::string>> TempDir::Snapshot() const {
  std::set<std::pair<std::string, std::string>> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    files.emplace(entry.path().lexically_relative(path_).string(), contents.str());
  }
  return files;
}

}  // namespace tamsel::test
