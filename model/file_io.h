// Whole-file reads and atomic writes, and the rule for names that become file names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tamsel {

using Bytes = std::vector<std::uint8_t>;

// Throws FileError naming the file when it cannot be read.
Bytes ReadFileBytes(const std::filesystem::path& path);
std::string ReadFileText(const std::filesystem::path& path);

// Writes to a temporary file beside the target and renames it into place, so that a
// failed write never destroys the previous file. Throws FileError.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view contents);
void WriteFileAtomic(const std::filesystem::path& path, const Bytes& contents);

// True when name is a plain file name that stays inside its folder: not empty, no path
// separator, not "." or "..", no control character.
bool IsSafeFileName(std::string_view name);

// Makes text from a file usable inside a file name: characters other than letters,
// digits, '-', '_' and '.' become '_', and a name made only of dots gets a leading '_'.
// Ordinary names ("TEX00012") come back unchanged.
std::string SanitizeNamePart(std::string_view text);

// Case-insensitive match of a file's extension (".bmp" matches ".BMP").
bool HasExtension(const std::filesystem::path& path, std::string_view extension);

}  // namespace tamsel
