#include "cli/check_command.h"

#include <iostream>
#include <stdexcept>

#include "cli/craft_source.h"
#include "cli/json_out.h"
#include "model/bounds.h"

namespace tamsel {
namespace {

std::string_view KindName(Element::Kind kind) {
  switch (kind) {
    case Element::Kind::Craft:
      return "craft";
    case Element::Kind::Mesh:
      return "mesh";
    case Element::Kind::Level:
      return "level";
    case Element::Kind::Faces:
      return "faces";
    case Element::Kind::Texture:
      return "texture";
    case Element::Kind::Hardpoint:
      return "hardpoint";
    case Element::Kind::EngineGlow:
      break;
  }
  return "engine-glow";
}

std::string Counts(const FindingCounts& c) {
  const auto n = [](int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
  };
  return n(c.errors, "error", "errors") + ", " + n(c.warnings, "warning", "warnings") + ", " +
         n(c.notes, "note", "notes");
}

}  // namespace

Profile ProfileOption(const std::map<std::string, std::string>& options) {
  const auto it = options.find("--profile");
  if (it == options.end()) return Profile::Original;
  const auto profile = ProfileNamed(it->second);
  if (!profile) throw std::invalid_argument("--profile takes original or patched");
  return *profile;
}

void PrintFindings(std::ostream& out, const std::vector<Finding>& findings, Profile profile) {
  for (const Finding& f : findings)
    out << SeverityName(f.severity) << ": " << f.code << ": " << f.text << "\n";
  out << Counts(CountFindings(findings)) << " (the " << ProfileName(profile) << " game)\n";
}

std::string FindingsJson(const std::vector<Finding>& findings, Profile profile) {
  const FindingCounts counts = CountFindings(findings);
  JsonOut out;
  out["profile"] = ProfileName(profile);
  out["errors"] = counts.errors;
  out["warnings"] = counts.warnings;
  out["notes"] = counts.notes;
  out["findings"] = JsonOut::array();
  for (const Finding& f : findings) {
    const Element& e = f.element;
    JsonOut element;
    element["kind"] = KindName(e.kind);
    if (e.mesh >= 0) element["mesh"] = e.mesh;
    if (e.level >= 0) element["level"] = e.level;
    if (e.kind == Element::Kind::Faces) element["faces"] = e.faces;
    if (e.texture >= 0) element["texture"] = e.texture;
    if (e.item >= 0) element["item"] = e.item;
    JsonOut finding;
    finding["severity"] = SeverityName(f.severity);
    finding["code"] = f.code;
    finding["element"] = std::move(element);
    finding["text"] = JsonText(f.text);
    if (f.fix != FixKind::None) finding["fix"] = FixName(f.fix);
    out["findings"].push_back(std::move(finding));
  }
  return JsonLine(out);
}

int CheckCommand(const std::vector<std::string>& positional,
                 const std::map<std::string, std::string>& options) {
  if (positional.size() != 1) throw std::invalid_argument("wrong number of arguments");
  const Profile profile = ProfileOption(options);
  CraftSource craft;
  try {
    craft = ReadCraft(positional[0]);
  } catch (const std::bad_alloc&) {
    std::cerr << "tamsel-cli: " << positional[0] << ": the file is too large for memory\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "tamsel-cli: " << e.what() << "\n";
    return 2;
  }
  const BitmapFactsSource facts = craft.fromOpt ? LoadedBitmapFacts(craft.bitmaps)
                                                : ProjectBitmapFacts(craft.model.ProjectPath);
  const std::vector<Finding> findings = CheckCraft(craft.model, profile, facts);
  if (options.count("--json"))
    std::cout << FindingsJson(findings, profile);
  else
    PrintFindings(std::cout, findings, profile);
  return CountFindings(findings).errors > 0 ? 1 : 0;
}

}  // namespace tamsel
