// tamsel-cli check, and the check that create-opt runs before it writes.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "check/craft_check.h"

namespace tamsel {

// PROJECT.opz|FILE.opt [--profile original|patched] [--json]: the findings on stdout;
// 0 without errors, 1 with errors, 2 when the file cannot be read. Throws
// std::invalid_argument for a wrong option value.
//
// DIR: every OPT file and project file under the folder (its subfolders too, in name
// order), each checked alone, one line each ("PATH: 1 error, 2 warnings, 0 notes"), then
// the total; 1 when any file has errors or cannot be read. With --json an array of the
// single files' objects, each with its "path" first (and "unreadable" with the reason for
// a file that cannot be read).
int CheckCommand(const std::vector<std::string>& positional,
                 const std::map<std::string, std::string>& options);

// The profile option's value; the original game when none is given.
Profile ProfileOption(const std::map<std::string, std::string>& options);

// "error: CODE: TEXT" lines and a count, as the check prints them.
void PrintFindings(std::ostream& out, const std::vector<Finding>& findings, Profile profile);

// The findings as one JSON object: profile, counts, and the findings in order.
std::string FindingsJson(const std::vector<Finding>& findings, Profile profile);

// The OPT and project files under a folder, in the order the folder check takes them.
std::vector<std::string> CraftFilesUnder(const std::string& folder);

}  // namespace tamsel
