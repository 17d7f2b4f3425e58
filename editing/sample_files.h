// The files of a generated craft, written like an import's: all of them or none, and never
// in place of a file the folder already held (the same bytes are taken as they are).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/file_transaction.h"
#include "model/model.h"
#include "model/project_lock.h"
#include "opt/bitmap.h"

namespace tamsel {

class SampleFiles {
 public:
  // Makes the folder when missing and takes its lock before anything is written into it.
  // Throws FileError when it holds a project file already or another writer has it.
  explicit SampleFiles(const std::filesystem::path& folder);
  ~SampleFiles();  // a folder it made and did not fill goes again
  SampleFiles(const SampleFiles&) = delete;
  SampleFiles& operator=(const SampleFiles&) = delete;

  // Throws FileError when a different file has the name.
  void AddBitmap(const std::string& name, const Bitmap& bitmap);
  // Stages the project file and commits everything.
  void Finish(const Model& model);

 private:
  std::filesystem::path folder_;
  bool created_ = false, finished_ = false;
  std::optional<ProjectLock> lock_;
  // Let go before a folder made here is removed: its temporaries go with it.
  std::optional<FileTransaction> files_;
};

}  // namespace tamsel
