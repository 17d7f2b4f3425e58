// The error every reader and writer throws: it names the file, the place and what was wrong.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "model/name_text.h"

namespace tamsel {

class FileError : public std::runtime_error {
 public:
  FileError(const std::string& file, const std::string& where, const std::string& what)
      : std::runtime_error(Printable(file) + (where.empty() ? "" : ", " + where) + ": " +
                           Printable(what, true)),
        file_(file) {}
  const std::string& file() const { return file_; }

  static std::string Line(std::int64_t line) { return "line " + std::to_string(line); }
  static std::string Offset(std::int64_t offset) { return "byte " + std::to_string(offset); }

 private:
  std::string file_;
};

}  // namespace tamsel
