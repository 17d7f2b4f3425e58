// tamsel-cli: the editor's file commands without a window, for batch work and scripts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <future>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "check/texture_pack.h"
#include "cli/check_command.h"
#include "cli/craft_source.h"
#include "cli/isolated.h"
#include "cli/json_out.h"
#ifdef TAMSEL_RENDER
#include "cli/render_command.h"
#endif
#include "dxf/dxf_import.h"
#include "editing/generate_lod.h"
#include "editing/sample_craft.h"
#include "editing/sample_fighter.h"
#include "editing/smooth_normals.h"
#include "interchange/model_export.h"
#include "interchange/model_import.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/number_text.h"
#include "model/opz.h"
#include "model/project.h"
#include "model/project_lock.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

const char* kUsage =
    "usage:\n"
    "  tamsel-cli import-opt FILE.opt PROJECT_DIR\n"
    "  tamsel-cli import-dxf FILE.dxf PROJECT_DIR\n"
    "  tamsel-cli merge-opz OTHER.opz PROJECT_DIR\n"
    "  tamsel-cli import-model FILE PROJECT_DIR [--up y|z] [--scale S] [--max-size N] "
    "[--no-dither]\n"
    "                          [--avoid-names-in DIR] [--time-limit SECONDS] [--memory-limit MB]\n"
    "                          [--smooth-angle DEG]\n"
    "  tamsel-cli export PROJECT.opz|FILE.opt OUT.gltf|OUT.glb|OUT.obj\n"
    "  tamsel-cli create-opt PROJECT_DIR [--seed N] [-o OUT.opt] [--profile original|patched]\n"
    "                        [--strict]\n"
    "  tamsel-cli check PROJECT.opz|FILE.opt|DIR [--profile original|patched] [--json]\n"
    "  tamsel-cli info FILE [--json]\n"
    "  tamsel-cli render PROJECT.opz|FILE.opt OUT.png [--view 3d|top|front|right|bottom|back|left] "
    "[--size WxH|N]\n"
    "                    [--wire|--textured] [--level high|low] [--grid] [--axes] [--gradient]\n"
    "                    [--thumbnail]\n"
    "  tamsel-cli lod PROJECT_DIR [--ratio R] [--error E] [--mesh N]\n"
    "  tamsel-cli smooth PROJECT_DIR --angle DEG\n"
    "  tamsel-cli pack-textures PROJECT_DIR [--profile original|patched]\n"
    "  tamsel-cli sample PROJECT_DIR [--meshes N] [--faces N] [--textures N] [--size S]\n"
    "      (without the size options: a small fighter showing every feature)\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Positional arguments and "--name value" options ("--json" takes no value).
struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  bool Has(const std::string& name) const { return options.count(name) > 0; }
  std::int64_t Number(const std::string& name, std::int64_t fallback, std::int64_t lo,
                      std::int64_t hi) const {
    auto it = options.find(name);
    if (it == options.end()) return fallback;
    const auto v = ParseInteger(it->second);
    if (!v || *v < lo || *v > hi)
      throw UsageError(name + " takes a whole number from " + std::to_string(lo) + " to " +
                       std::to_string(hi));
    return *v;
  }
};

// Each command's options: a name, and whether a value follows it.
struct CommandOption {
  const char* name;
  bool takesValue;
};
const std::map<std::string, std::vector<CommandOption>>& CommandOptions() {
  static const std::map<std::string, std::vector<CommandOption>> table = {
      {"import-opt", {}},
      {"import-dxf", {}},
      {"merge-opz", {}},
      {"import-model",
       {{"--up", true},
        {"--scale", true},
        {"--max-size", true},
        {"--no-dither", false},
        {"--avoid-names-in", true},
        {"--time-limit", true},
        {"--memory-limit", true},
        {"--smooth-angle", true}}},
      {"export", {}},
      {"create-opt", {{"--seed", true}, {"-o", true}, {"--profile", true}, {"--strict", false}}},
      {"check", {{"--profile", true}, {"--json", false}}},
      {"info", {{"--json", false}}},
      {"render",
       {{"--view", true},
        {"--size", true},
        {"--wire", false},
        {"--textured", false},
        {"--level", true},
        {"--grid", false},
        {"--axes", false},
        {"--gradient", false},
        {"--thumbnail", false}}},
      {"sample", {{"--meshes", true}, {"--faces", true}, {"--textures", true}, {"--size", true}}},
      {"lod", {{"--ratio", true}, {"--error", true}, {"--mesh", true}}},
      {"smooth", {{"--angle", true}}},
      {"pack-textures", {{"--profile", true}}},
  };
  return table;
}

// The command's arguments: only its own options, each once; anything else is a usage error,
// so that a mistyped option ("--profle") never passes for the default.
Args Parse(const std::string& command, int argc, char** argv) {
  const auto known = CommandOptions().find(command);
  if (known == CommandOptions().end()) throw UsageError("unknown command \"" + command + "\"");
  Args a;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') {
      const CommandOption* option = nullptr;
      for (const CommandOption& o : known->second)
        if (arg == o.name) option = &o;
      if (!option) throw UsageError(command + " has no option " + arg);
      if (a.options.count(arg)) throw UsageError(arg + " is given twice");
      if (option->takesValue && i + 1 >= argc) throw UsageError(arg + " needs a value");
      a.options[arg] = option->takesValue ? argv[++i] : "";
    } else {
      a.positional.push_back(arg);
    }
  }
  return a;
}

void Expect(const Args& a, std::size_t n) {
  if (a.positional.size() != n) throw UsageError("wrong number of arguments");
}

// Opens PROJECT_DIR's project, or makes an empty project in the folder.
Model OpenOrNew(const fs::path& dir) {
  Model model;
  if (fs::exists(ProjectFilePath(dir)))
    OpenProject(model, ProjectFilePath(dir));
  else
    NewProject(model, fs::absolute(dir));
  return model;
}

Model OpenExisting(const fs::path& dir) {
  if (!fs::exists(ProjectFilePath(dir)))
    throw FileError(ProjectFilePath(dir).string(), "", "no project file in this folder");
  Model model;
  OpenProject(model, ProjectFilePath(dir));
  return model;
}

using AddFile = std::function<void(Model&, const fs::path&, FileTransaction&)>;

// FILE PROJECT_DIR: runs `add` on the project's model, saves it and says what was added,
// holding the project's lock meanwhile. Every file the command writes (bitmaps and the
// project file) is committed together: a failure leaves the folder as it was, and a folder
// made for the command goes again. `isolated`: the work runs in a child process (see
// RunIsolated), under the lock this process holds.
int AppendCommand(const Args& a, bool createProject, const std::string& command, const char* verb,
                  const char* what, const AddFile& add, const IsolationLimits* isolated = nullptr) {
  Expect(a, 2);
  const fs::path dir = a.positional[1];
  if (!createProject && !fs::exists(ProjectFilePath(dir)))
    throw FileError(ProjectFilePath(dir).string(), "", "no project file in this folder");
  bool created = false;
  int status = 1;
  try {
    std::error_code ec;
    if (!fs::exists(dir, ec)) {
      fs::create_directories(dir, ec);
      if (ec)
        throw FileError(dir.string(), "", "cannot create the project folder: " + ec.message());
      created = true;
    }
    const ProjectLock lock(dir, "tamsel-cli " + command);
    const auto work = [&] {
      Model model = createProject ? OpenOrNew(dir) : OpenExisting(dir);
      const std::size_t before = model.Meshes.size();
      FileTransaction files(model.ProjectPath);
      add(model, a.positional[0], files);
      WriteProjectFile(files, model);
      // A child whose command was ended commits nothing: no one waits for it any more.
      if (IsolatedParentGone()) return 1;
      files.Commit(false);
      for (const std::string& note : files.Notes()) std::cerr << "note: " << note << "\n";
      std::cout << verb << " " << model.Meshes.size() - before << " " << what << " into "
                << ProjectFilePath(model.ProjectPath).string() << "\n";
      return 0;
    };
    status = isolated ? RunIsolated(work, a.positional[0], *isolated) : work();
  } catch (...) {
    std::error_code ec;
    if (created) fs::remove(dir, ec);  // empty again: nothing was committed
    throw;
  }
  std::error_code ec;
  if (status != 0 && created) fs::remove(dir, ec);
  return status;
}

int ImportOptCommand(const Args& a) {
  return AppendCommand(
      a, true, "import-opt", "imported", "meshes",
      [](Model& m, const fs::path& f, FileTransaction& t) { ImportOpt(m, f, &t); });
}

int ImportDxfCommand(const Args& a) {
  return AppendCommand(a, true, "import-dxf", "imported", "layers",
                       [](Model& m, const fs::path& f, FileTransaction& t) {
                         m.StartFolder = fs::current_path().string();
                         ImportDxf(m, f, &t);
                       });
}

int MergeOpzCommand(const Args& a) {
  std::vector<std::string> notes;
  const int status = AppendCommand(
      a, false, "merge-opz", "merged", "meshes",
      [&](Model& m, const fs::path& f, FileTransaction& t) { MergeProject(m, f, &t, &notes); });
  for (const std::string& note : notes) std::cerr << "note: " << note << "\n";
  return status;
}

ModelImportOptions ImportOptionsOf(const Args& a) {
  ModelImportOptions o;
  if (a.Has("--up")) {
    const std::string up = a.options.at("--up");
    if (up != "y" && up != "z") throw UsageError("--up takes y or z");
    o.up = up == "z" ? UpAxis::Z : UpAxis::Y;
  }
  if (a.Has("--scale")) {
    const auto s = ParseDouble(a.options.at("--scale"));
    if (!s || !(*s > 0) || !std::isfinite(*s)) throw UsageError("--scale takes a number above 0");
    o.scale = *s;
  }
  o.texture.maxSize = static_cast<int>(a.Number("--max-size", o.texture.maxSize, 1, 8192));
  o.texture.dither = !a.Has("--no-dither");
  if (a.Has("--avoid-names-in")) o.avoidNamesIn = a.options.at("--avoid-names-in");
  if (a.Has("--smooth-angle")) {
    const auto angle = ParseDouble(a.options.at("--smooth-angle"));
    if (!angle || *angle < 0 || *angle > 180)
      throw UsageError("--smooth-angle takes a number of degrees from 0 to 180");
    o.smoothAngle = *angle;
  }
  return o;
}

// The import library is a packaged one: the import runs in a child process, so that a
// crash of the library on a damaged file ends the child and the project is not touched.
int ImportModelCommand(const Args& a) {
  const ModelImportOptions options = ImportOptionsOf(a);
  IsolationLimits limits;
  limits.seconds = static_cast<double>(a.Number("--time-limit", 120, 1, 86400));
  limits.megabytes = a.Number("--memory-limit", 0, 16, 1 << 30);
  std::vector<std::string> warnings;
  return AppendCommand(
      a, true, "import-model", "imported", "meshes",
      [&](Model& m, const fs::path& f, FileTransaction& t) {
        ImportModel(m, f, options, &t, &warnings);
        for (const std::string& w : warnings) std::cout << "warning: " << w << "\n";
      },
      &limits);
}

int ExportCommand(const Args& a) {
  Expect(a, 2);
  CraftSource craft = ReadCraft(a.positional[0]);
  const Model& model = craft.model;
  const ExportReport report = ExportModel(model, craft.bitmaps, a.positional[1]);
  // Every file the export wrote is named, and so is each file it replaced.
  for (const fs::path& file : report.written) {
    const bool replaced =
        std::find(report.replaced.begin(), report.replaced.end(), file) != report.replaced.end();
    std::cerr << (replaced ? "note: replaced " : "note: wrote ") << file.string() << "\n";
  }
  std::cout << "wrote " << a.positional[1] << ": " << model.MeshCount() << " meshes, "
            << TotalFaceCount(model) << " faces, " << model.TextureCount() << " textures\n";
  return 0;
}

int CreateOptCommand(const Args& a) {
  Expect(a, 1);
  if (!fs::exists(ProjectFilePath(a.positional[0])))
    throw FileError(ProjectFilePath(a.positional[0]).string(), "",
                    "no project file in this folder");
  const ProjectLock lock(a.positional[0], "tamsel-cli create-opt");
  Model model = OpenExisting(a.positional[0]);
  std::optional<std::uint32_t> seed;
  if (a.Has("--seed")) seed = static_cast<std::uint32_t>(a.Number("--seed", 0, 0, 4294967295LL));
  fs::path out = OptFilePath(model);
  if (a.Has("-o")) out = a.options.at("-o");
  // The check first: what the game cannot load is said before the file is written, and
  // with --strict it fails the command, the file written all the same.
  Profile profile;
  try {
    profile = ProfileOption(a.options);
  } catch (const std::invalid_argument& e) {
    throw UsageError(e.what());
  }
  // The check runs beside the writer, which is mostly waiting for the disk; its findings
  // are printed before the file is said to be written, or before the writer's error.
  auto checking = std::async(std::launch::async, [&] {
    return CheckCraft(model, profile, ProjectBitmapFacts(model.ProjectPath));
  });
  const auto report = [&] {
    const auto findings = checking.get();
    if (!findings.empty()) PrintFindings(std::cerr, findings, profile);
    return CountFindings(findings).errors > 0;
  };
  std::mt19937 random(seed ? *seed : std::random_device{}());
  bool errors = false;
  try {
    RemoveStaleTemporaries(fs::absolute(out).parent_path(), out.filename().string());
    WriteFileAtomic(out, WriteOptBytes(model, ProjectBitmaps(model), random));
  } catch (...) {
    report();
    throw;
  }
  errors = report();
  std::cout << "wrote " << out.string() << "\n";
  return errors && a.Has("--strict") ? 1 : 0;
}

struct TextureInfo {
  std::string name;
  int width = 0, height = 0, transparent = 0, illuminated = 0;
};

// What info tells of a mesh.
struct LevelInfo {
  float distance = 0;
  int faces = 0, triangles = 0;
};
struct MeshInfo {
  std::string name;
  int hardpoints = 0, engineGlows = 0;
  std::vector<LevelInfo> levels;
};

MeshInfo InfoOf(const MeshRec& mesh) {
  MeshInfo info{mesh.Name, mesh.HardpointCount(), mesh.EngineGlowCount(), {}};
  for (const LODRec& level : mesh.LODs) {
    int triangles = 0;
    for (const FaceRec& f : level.Faces) triangles += f.IsTriangle();
    info.levels.push_back({level.Distance, level.FaceCount(), triangles});
  }
  return info;
}

int InfoCommand(const Args& a) {
  Expect(a, 1);
  const fs::path file = a.positional[0];
  std::vector<MeshInfo> meshes;
  std::vector<TextureInfo> textures;
  IdCounters ids;
  if (HasExtension(file, ".opt")) {
    OptImportResult r = ReadOptImport(ReadFileBytes(file), file.string(), ids, 0);
    for (const MeshRec& mesh : r.meshes) meshes.push_back(InfoOf(mesh));
    for (const auto& [name, bitmap] : r.bitmaps)
      textures.push_back({name, bitmap.width, bitmap.height, 0, 0});
  } else {
    // Mesh by mesh: the counts are all info says, so no mesh is kept.
    const auto records =
        ScanProjectFile(file, [&](MeshRec&& mesh) { meshes.push_back(InfoOf(mesh)); });
    for (const TextureRec& t : records) {
      TextureInfo info{t.Name, 0, 0, t.TransColorCount(), t.IllumColorCount()};
      try {
        const Bitmap b = DecodeBitmap(ReadFileBytes(file.parent_path() / t.Name), t.Name);
        info.width = b.width, info.height = b.height;
      } catch (const FileError&) {
        // A missing bitmap shows as size 0 x 0.
      }
      textures.push_back(info);
    }
  }
  if (a.Has("--json")) {
    JsonOut out;
    out["meshes"] = JsonOut::array();
    for (const MeshInfo& mesh : meshes) {
      JsonOut lods = JsonOut::array();
      for (const LevelInfo& level : mesh.levels)
        lods.push_back({{"distance", JsonSingle(level.distance)},
                        {"faces", level.faces},
                        {"triangles", level.triangles}});
      out["meshes"].push_back({{"name", JsonText(mesh.name)},
                               {"lods", std::move(lods)},
                               {"hardpoints", mesh.hardpoints},
                               {"engineGlows", mesh.engineGlows}});
    }
    out["textures"] = JsonOut::array();
    for (const TextureInfo& t : textures)
      out["textures"].push_back({{"name", JsonText(t.name)},
                                 {"width", t.width},
                                 {"height", t.height},
                                 {"transparentColors", t.transparent},
                                 {"illuminatedColors", t.illuminated}});
    std::cout << JsonLine(out);
    return 0;
  }
  std::cout << meshes.size() << " meshes, " << textures.size() << " textures\n";
  for (std::size_t m = 0; m < meshes.size(); ++m) {
    std::cout << "mesh " << m + 1 << " \"" << meshes[m].name << "\": " << meshes[m].hardpoints
              << " hardpoints, " << meshes[m].engineGlows << " engine glows\n";
    for (std::size_t l = 0; l < meshes[m].levels.size(); ++l)
      std::cout << "  level " << l + 1 << ": distance "
                << FormatSingle(meshes[m].levels[l].distance) << ", " << meshes[m].levels[l].faces
                << " faces (" << meshes[m].levels[l].triangles << " triangles)\n";
  }
  for (const TextureInfo& t : textures)
    std::cout << "texture " << t.name << ": " << t.width << " x " << t.height << ", "
              << t.transparent << " transparent, " << t.illuminated << " illuminated colours\n";
  return 0;
}

// A number option within [lo, hi]; `fallback` when it is not given.
double RealOption(const Args& a, const std::string& name, double fallback, double lo, double hi) {
  if (!a.Has(name)) return fallback;
  const auto v = ParseDouble(a.options.at(name));
  if (!v || *v < lo || *v > hi)
    throw UsageError(name + " takes a number from " + FormatSingle(static_cast<float>(lo)) +
                     " to " + FormatSingle(static_cast<float>(hi)));
  return *v;
}

// PROJECT_DIR: changes the project's model and saves it, under the project's lock. The
// project file is written whole or not at all.
int EditProjectCommand(const Args& a, const std::string& command,
                       const std::function<std::string(Model&)>& change) {
  Expect(a, 1);
  const fs::path dir = a.positional[0];
  if (!fs::exists(ProjectFilePath(dir)))
    throw FileError(ProjectFilePath(dir).string(), "", "no project file in this folder");
  const ProjectLock lock(dir, "tamsel-cli " + command);
  Model model = OpenExisting(dir);
  const std::string said = change(model);
  FileTransaction files(model.ProjectPath);
  WriteProjectFile(files, model);
  files.Commit(false);
  std::cout << said << "\n";
  return 0;
}

int LodCommand(const Args& a) {
  LodOptions options;
  options.ratio = RealOption(a, "--ratio", options.ratio, 1e-6, 1);
  options.error = RealOption(a, "--error", options.error, 0, 1);
  std::vector<int> meshes;
  if (a.Has("--mesh")) meshes.push_back(static_cast<int>(a.Number("--mesh", 1, 1, 1 << 30)) - 1);
  return EditProjectCommand(a, "lod", [&](Model& model) {
    if (!meshes.empty() && meshes[0] >= model.MeshCount())
      throw UsageError("--mesh: the project has " + std::to_string(model.MeshCount()) + " meshes");
    std::string said;
    int before = 0, after = 0;
    double worst = 0;
    const auto reports = GenerateLowLevels(model, meshes, options);
    for (const LodReport& r : reports) {
      said += "mesh " + std::to_string(r.mesh + 1) + " \"" +
              model.Meshes[static_cast<std::size_t>(r.mesh)].Name +
              "\": " + std::to_string(r.facesBefore) + " -> " + std::to_string(r.facesAfter) +
              " faces, deviation " + FormatSingle(static_cast<float>(r.deviation * 100)) +
              " % of its size" + (r.sloppy ? " (sloppy)" : "") + "\n";
      before += r.facesBefore;
      after += r.facesAfter;
      worst = std::max(worst, r.deviation);
    }
    return said + "low levels for " + std::to_string(reports.size()) +
           " meshes: " + std::to_string(before) + " -> " + std::to_string(after) +
           " faces, largest deviation " + FormatSingle(static_cast<float>(worst * 100)) +
           " %, distance " + FormatSingle(LowLevelDistance(model)) + " km";
  });
}

int SmoothCommand(const Args& a) {
  if (!a.Has("--angle")) throw UsageError("smooth needs --angle DEG");
  const double degrees = RealOption(a, "--angle", 30, 0, 180);
  return EditProjectCommand(a, "smooth", [&](Model& model) {
    const std::int64_t corners = SmoothNormalsByAngle(model, degrees);
    return "vertex normals by angle (" + FormatSingle(static_cast<float>(degrees)) +
           " degrees) for " + std::to_string(corners) + " corners";
  });
}

int PackTexturesCommand(const Args& a) {
  Profile profile;
  try {
    profile = ProfileOption(a.options);
  } catch (const std::invalid_argument& e) {
    throw UsageError(e.what());
  }
  Expect(a, 1);
  const fs::path dir = a.positional[0];
  if (!fs::exists(ProjectFilePath(dir)))
    throw FileError(ProjectFilePath(dir).string(), "", "no project file in this folder");
  const ProjectLock lock(dir, "tamsel-cli pack-textures");
  Model model = OpenExisting(dir);
  FileTransaction files(model.ProjectPath);
  const PackReport report = PackTextures(model, profile, files, ProjectBitmaps(model));
  WriteProjectFile(files, model);
  files.Commit(false);
  for (const std::string& note : files.Notes()) std::cerr << "note: " << note << "\n";
  std::cout << "packed " << report.packed << " textures into " << report.atlases.size()
            << " atlases of " << AtlasSide(profile) << " texels: " << report.texturesBefore
            << " -> " << report.texturesAfter << " textures";
  for (const std::string& atlas : report.atlases)
    std::cout << (atlas == report.atlases.front() ? " (" : ", ") << atlas;
  std::cout << (report.atlases.empty() ? "" : ")") << "\n";
  return 0;
}

int SampleCommand(const Args& a) {
  Expect(a, 1);
  Model model;
  const fs::path folder = fs::absolute(a.positional[0]);
  // Without size options, the fighter; with any, the sized craft of tests and benchmarks.
  const bool sized =
      a.Has("--meshes") || a.Has("--faces") || a.Has("--textures") || a.Has("--size");
  SampleOptions o;
  o.meshes = static_cast<int>(a.Number("--meshes", o.meshes, 1, 10000));
  o.faces = static_cast<int>(a.Number("--faces", o.faces, 1, 10000000));
  o.textures = static_cast<int>(a.Number("--textures", o.textures, 1, 10000));
  o.size = static_cast<int>(a.Number("--size", o.size, 2, 4096));
  // The sample takes the folder's lock itself, once the folder is there.
  if (sized)
    GenerateSample(model, folder, o);
  else
    GenerateFighter(model, folder);
  std::cout << "wrote " << ProjectFilePath(model.ProjectPath).string() << ": " << model.MeshCount()
            << " meshes, " << TotalFaceCount(model) << " faces, " << model.TextureCount()
            << " textures\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  try {
    const Args args = Parse(command, argc, argv);
    if (command == "import-opt") return ImportOptCommand(args);
    if (command == "import-dxf") return ImportDxfCommand(args);
    if (command == "merge-opz") return MergeOpzCommand(args);
    if (command == "import-model") return ImportModelCommand(args);
    if (command == "export") return ExportCommand(args);
    if (command == "create-opt") return CreateOptCommand(args);
    if (command == "info") return InfoCommand(args);
    if (command == "check") {
      // 1 means the craft has errors, so a check that could not run says 2.
      try {
        return CheckCommand(args.positional, args.options);
      } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
      }
    }
    if (command == "sample") return SampleCommand(args);
    if (command == "lod") return LodCommand(args);
    if (command == "smooth") return SmoothCommand(args);
    if (command == "pack-textures") return PackTexturesCommand(args);
    if (command == "render") {
#ifdef TAMSEL_RENDER
      try {
        return RenderCommand(args.positional, args.options);
      } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
      }
#else
      throw UsageError("this tamsel-cli was built without drawing (TAMSEL_GUI off)");
#endif
    }
    throw UsageError("unknown command \"" + command + "\"");
  } catch (const UsageError& e) {
    // A call that is wrong in itself says 2, as check's "could not run" does; 1 is a file
    // that could not be read or written, or a craft with errors.
    std::cerr << "tamsel-cli: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::bad_alloc&) {
    std::cerr << "tamsel-cli: " << (argc > 2 ? argv[2] : "the file")
              << ": the file is too large for memory\n";
  } catch (const std::exception& e) {
    std::cerr << "tamsel-cli: " << e.what() << "\n";
  }
  return 1;
}
