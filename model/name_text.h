// Text that comes from files shown safely: as a name the project file can hold again, in a
// message, and in JSON.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace tamsel {

// Control characters become '_': what a name needs to be written to a line of the project
// file and read back the same.
std::string WithoutControlCharacters(std::string_view text);

// Control characters and bytes that are not UTF-8 become "\xNN", so that a message shows
// what the file holds and cannot move the terminal's cursor; line breaks stay when asked.
std::string Printable(std::string_view text, bool keepLineBreaks = false);

// The text with ASCII letters in lower case: file names compared as the user's file
// systems may compare them.
std::string LowerCase(std::string_view text);

// `wanted`, or "STEM_2.EXT", "STEM_3.EXT" ... when an earlier name took it (compared without
// case); the name given is added to `takenLowerCase`.
std::string UniqueFileName(const std::string& wanted, std::set<std::string>& takenLowerCase);

// The length of the well-formed UTF-8 sequence at text[at], or 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t at);

}  // namespace tamsel
