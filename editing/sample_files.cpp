#include "editing/sample_files.h"

#include <system_error>

#include "model/file_error.h"
#include "model/project.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

fs::path MadeFolder(const fs::path& folder, bool& created) {
  std::error_code ec;
  if (fs::exists(ProjectFilePath(folder), ec))
    throw FileError(ProjectFilePath(folder).string(), "",
                    "a project is there already; a sample is written into a new folder");
  created = !fs::exists(folder, ec);
  fs::create_directories(folder, ec);
  if (ec) throw FileError(folder.string(), "", "cannot create the folder: " + ec.message());
  return folder;
}

}  // namespace

SampleFiles::SampleFiles(const fs::path& folder) : folder_(folder) {
  MadeFolder(folder, created_);
  try {
    // Before the first write: a second writer (an import into the same new folder) waits
    // its turn rather than writing beside the sample.
    lock_.emplace(folder, "Tamsel sample");
    files_.emplace(folder);
  } catch (...) {
    std::error_code ignored;
    if (created_) fs::remove(folder_, ignored);
    throw;
  }
}

SampleFiles::~SampleFiles() {
  files_.reset();  // its temporaries, if it did not commit
  lock_.reset();
  std::error_code ignored;
  if (created_ && !finished_) fs::remove(folder_, ignored);  // only when still empty
}

void SampleFiles::AddBitmap(const std::string& name, const Bitmap& bitmap) {
  if (files_->Bring(name, EncodeBitmap(bitmap)) != name)
    throw FileError((folder_ / name).string(), "",
                    "a different file of that name is there; a sample is written into a new "
                    "folder");
}

void SampleFiles::Finish(const Model& model) {
  WriteProjectFile(*files_, model);
  files_->Commit(false);
  finished_ = true;
}

}  // namespace tamsel
