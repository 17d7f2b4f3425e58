#include "cli/check_command.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <thread>

#include "cli/craft_source.h"
#include "cli/json_out.h"
#include "model/bounds.h"
#include "model/file_io.h"

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

JsonOut FindingsObject(const std::vector<Finding>& findings, Profile profile, JsonOut out = {}) {
  const FindingCounts counts = CountFindings(findings);
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
  return out;
}

std::string FindingsJson(const std::vector<Finding>& findings, Profile profile) {
  return JsonLine(FindingsObject(findings, profile));
}

std::vector<std::string> CraftFilesUnder(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator
           it(folder, fs::directory_options::skip_permission_denied, ec),
       end;
       !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (HasExtension(it->path(), ".opt") || HasExtension(it->path(), ".opz"))
      files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

namespace {

struct FileCheck {
  std::string path;
  std::vector<Finding> findings;
  std::string unreadable;  // why the file could not be read; "" when it was
};

FileCheck CheckOneFile(const std::string& path, Profile profile) {
  FileCheck result{path, {}, {}};
  try {
    CraftSource craft = ReadCraft(path);
    const BitmapFactsSource facts = craft.fromOpt ? LoadedBitmapFacts(craft.bitmaps)
                                                  : ProjectBitmapFacts(craft.model.ProjectPath);
    result.findings = CheckCraft(craft.model, profile, facts);
  } catch (const std::bad_alloc&) {
    result.unreadable = "the file is too large for memory";
  } catch (const std::exception& e) {
    result.unreadable = e.what();
  }
  return result;
}

// Every craft file under the folder, checked on every core, reported in name order.
int CheckFolder(const std::string& folder, Profile profile, bool json) {
  const std::vector<std::string> files = CraftFilesUnder(folder);
  std::vector<FileCheck> checks(files.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next++) < files.size();) checks[i] = CheckOneFile(files[i], profile);
  };
  std::vector<std::thread> workers;
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  for (std::size_t t = 1; t < std::min(cores, files.size()); ++t) workers.emplace_back(work);
  work();
  for (std::thread& t : workers) t.join();
  int withErrors = 0;
  FindingCounts total;
  JsonOut array = JsonOut::array();
  for (const FileCheck& c : checks) {
    const FindingCounts counts = CountFindings(c.findings);
    withErrors += !c.unreadable.empty() || counts.errors > 0;
    total.errors += counts.errors, total.warnings += counts.warnings, total.notes += counts.notes;
    if (json) {
      JsonOut head;
      head["path"] = JsonText(c.path);
      if (!c.unreadable.empty()) {
        head["unreadable"] = JsonText(c.unreadable);
        array.push_back(std::move(head));
      } else {
        array.push_back(FindingsObject(c.findings, profile, std::move(head)));
      }
    } else if (!c.unreadable.empty()) {
      std::cout << c.path << ": cannot be read: " << c.unreadable << "\n";
    } else {
      std::cout << c.path << ": " << Counts(counts) << "\n";
    }
  }
  if (json) {
    std::cout << JsonLine(array);
  } else {
    std::cout << files.size() << (files.size() == 1 ? " file" : " files") << ", " << withErrors
              << " with errors or unreadable; " << Counts(total) << " in all (the "
              << ProfileName(profile) << " game)\n";
  }
  return withErrors > 0 ? 1 : 0;
}

}  // namespace

int CheckCommand(const std::vector<std::string>& positional,
                 const std::map<std::string, std::string>& options) {
  if (positional.size() != 1) throw std::invalid_argument("wrong number of arguments");
  const Profile profile = ProfileOption(options);
  std::error_code ec;
  if (std::filesystem::is_directory(positional[0], ec))
    return CheckFolder(positional[0], profile, options.count("--json") > 0);
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
