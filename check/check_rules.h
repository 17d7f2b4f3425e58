// The rules of the craft check, each once: its stable code, how bad a finding of it is,
// what it looks for, and the fix the Check dock offers for it. A finding takes its severity
// and fix from here; only its text, naming the element, is its own.
#pragma once

#include <span>
#include <string_view>

#include "check/finding.h"

namespace tamsel {

struct CheckRule {
  std::string_view code;
  Severity severity;
  std::string_view about;  // what the rule looks for, in a few words
  FixKind fix = FixKind::None;
};

// Every rule, in the order the check runs them.
std::span<const CheckRule> CheckRules();
// The rule with the code; nullptr for none.
const CheckRule* FindRule(std::string_view code);
// The rule with the code, which the check's own parts name: one not registered is a fault of
// the check itself (std::logic_error).
const CheckRule& RuleOf(std::string_view code);

}  // namespace tamsel
