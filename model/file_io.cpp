#include "model/file_io.h"

#include <cctype>
#include <fstream>
#include <random>
#include <system_error>

#include "model/file_error.h"

namespace tamsel {
namespace fs = std::filesystem;

Bytes ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path.string(), "", "cannot open the file for reading");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw FileError(path.string(), "", "cannot read the file");
  in.seekg(0);
  Bytes bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw FileError(path.string(), "", "cannot read the file");
  return bytes;
}

std::string ReadFileText(const fs::path& path) {
  const Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteFileAtomic(const fs::path& path, std::string_view contents) {
  static std::mt19937_64 random{std::random_device{}()};
  const fs::path temp =
      path.parent_path() / (path.filename().string() + ".tmp" + std::to_string(random() % 1000000));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(path.string(), "", "cannot create the file");
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw FileError(path.string(), "", "cannot write the file (disk full?)");
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw FileError(path.string(), "", "cannot replace the file: " + ec.message());
  }
}

void WriteFileAtomic(const fs::path& path, const Bytes& contents) {
  WriteFileAtomic(
      path, std::string_view(reinterpret_cast<const char*>(contents.data()), contents.size()));
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < 32 || c == 127 || c == '/' || c == '\\') return false;
  return true;
}

std::string SanitizeNamePart(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text)
    out += (std::isalnum(c) || c == '-' || c == '_' || c == '.') ? static_cast<char>(c) : '_';
  if (out.find_first_not_of('.') == std::string::npos) out.insert(out.begin(), '_');
  return out;
}

bool HasExtension(const fs::path& path, std::string_view extension) {
  const std::string ext = path.extension().string();
  if (ext.size() != extension.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(ext[i])) !=
        std::tolower(static_cast<unsigned char>(extension[i])))
      return false;
  return true;
}

}  // namespace tamsel
