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
int CheckCommand(const std::vector<std::string>& positional,
                 const std::map<std::string, std::string>& options);

// The profile option's value; the original game when none is given.
Profile ProfileOption(const std::map<std::string, std::string>& options);

// "error: CODE: TEXT" lines and a count, as the check prints them.
void PrintFindings(std::ostream& out, const std::vector<Finding>& findings, Profile profile);

// The findings as one JSON object: profile, counts, and the findings in order.
std::string FindingsJson(const std::vector<Finding>& findings, Profile profile);

}  // namespace tamsel
