// "Save As": the project file and its bitmaps written into another folder, which becomes
// the project's folder. The old folder keeps everything it had.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/model.h"

namespace tamsel {

struct SaveAsPlan {
  std::filesystem::path folder;                 // the new project folder
  std::vector<std::filesystem::path> replaced;  // files there that hold other bytes
  std::vector<std::string> missing;             // bitmaps the present folder lacks
};

// The folder a chosen project file path stands for: "…/craft2/craft2.opz" is the folder
// craft2 it is in; "…/craft2.opz" (or "…/craft2") is a folder craft2 beside it, as a
// project file is always named after its folder.
std::filesystem::path SaveAsFolder(const std::filesystem::path& chosen);

// What saving into `folder` would do, for the caller to ask about before anything is
// written. Throws FileError when a folder or device stands where a file would go.
SaveAsPlan PlanSaveAs(const Model& model, const std::filesystem::path& folder);

// Writes the project file and every bitmap the records name that the present folder has,
// all or none (FileError), making the folder when it is missing (and removing it again on
// failure). The model's project folder then is `folder`.
void SaveProjectAs(Model& model, const std::filesystem::path& folder);

}  // namespace tamsel
