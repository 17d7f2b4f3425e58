// The files a model names (MTL files, images, buffers), found as the modeller's tools meant
// them, and never outside the model's own folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace tamsel {

// The regular file that `named` means inside `folder` (or below it): "\" is read as a
// separator; a path whose letters differ in case from the files' is matched without case;
// a path that leads nowhere (an absolute path of another machine, a folder renamed) finds a
// file of its name anywhere below the folder, the shallowest first. A path that resolves
// outside the folder, a link leading out of it, a FIFO or a device is never returned.
std::optional<std::filesystem::path> FindModelFile(const std::filesystem::path& folder,
                                                   std::string_view named);

}  // namespace tamsel
