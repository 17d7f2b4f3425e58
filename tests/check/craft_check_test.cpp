// The craft check over generated craft with one fault each: the finding names the right
// element with the right severity, and its fix leaves the check clean and the rest of the
// craft as it was.
#include "check/craft_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>

#include "check/check_rules.h"
#include "check/craft_fixes.h"
#include "editing/document.h"
#include "editing/normals.h"
#include "editing/sample_fighter.h"
#include "model/bounds.h"
#include "support/model_builders.h"
#include "support/opt_bytes.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using test::Corner;

// Bitmaps held in memory by name, as facts and as a loader for the fixes.
struct Bitmaps {
  std::map<std::string, Bitmap> files;
  BitmapFactsSource Facts() const { return LoadedBitmapFacts(Loader()); }
  BitmapLoader Loader() const {
    return [this](const TextureRec& t) {
      const auto it = files.find(t.Name);
      if (it == files.end()) throw FileError(t.Name, "", "the bitmap file is missing");
      return it->second;
    };
  }
};

// A sound craft: a closed box of quads (outward normals, vectors, vertex normals, boxes,
// hitzone) with one 64 x 64 texture, and room for one fault.
struct BoxCraft {
  Model model;
  Bitmaps bitmaps;

  BoxCraft() {
    const float s = 10;
    const VertexRec p[8] = {Corner(-s, -s, -s, 0, 0), Corner(s, -s, -s, 1, 0),
                            Corner(s, s, -s, 1, 1),   Corner(-s, s, -s, 0, 1),
                            Corner(-s, -s, s, 0, 0),  Corner(s, -s, s, 1, 0),
                            Corner(s, s, s, 1, 1),    Corner(-s, s, s, 0, 1)};
    const int sides[6][4] = {{0, 1, 2, 3}, {7, 6, 5, 4}, {0, 4, 5, 1},
                             {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    std::vector<FaceRec> faces;
    for (const auto& q : sides) {
      FaceRec f = test::Quad(p[q[0]], p[q[1]], p[q[2]], p[q[3]], "hull.BMP");
      f.Vertices[1].U = 1, f.Vertices[2].U = 1, f.Vertices[2].V = 1, f.Vertices[3].V = 1;
      faces.push_back(f);
    }
    model.Meshes.push_back(test::MeshWith(faces, {}, "Box"));
    TextureRec hull;
    hull.Name = "hull.BMP";
    model.Textures.push_back(hull);
    bitmaps.files["hull.BMP"] = test::PlainBitmap(64, 64);
    Settle();
  }
  // What a modeller's Calculate commands leave: normals, vectors, boxes, hitzones.
  void Settle() {
    CalculateFaceNormals(model);
    CalculateSoftwareVectors(model);
    CalculateVertexNormals(model);
    CalculateBounds(model);
    for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
      Finding fit;
      fit.fix = FixKind::HitzoneBox;
      fit.element.mesh = static_cast<int>(m);
      FileTransaction none("/nonexistent");
      ApplyFix(model, fit, Profile::Original, none, bitmaps.Loader());
    }
  }
  std::vector<Finding> Check(Profile profile = Profile::Original) const {
    return CheckCraft(model, profile, facts ? facts : bitmaps.Facts());
  }
  BitmapFactsSource facts;  // the bitmaps' facts when not those of `bitmaps`
  MeshRec& Mesh(std::size_t m = 0) { return model.Meshes.Edit(m); }
};

std::string Codes(const std::vector<Finding>& findings) {
  std::string codes;
  for (const Finding& f : findings)
    codes += std::string(SeverityName(f.severity)) + ":" + f.code + " ";
  return codes;
}

const Finding* Find(const std::vector<Finding>& findings, const std::string& code) {
  for (const Finding& f : findings)
    if (f.code == code) return &f;
  return nullptr;
}

// Applies the fix of `code`'s finding and expects the check clean afterwards.
void FixAndExpectClean(BoxCraft& craft, const std::string& code,
                       Profile profile = Profile::Original) {
  const auto findings = craft.Check(profile);
  const Finding* f = Find(findings, code);
  ASSERT_NE(f, nullptr) << Codes(findings);
  test::TempDir dir;
  FileTransaction files(dir.path());
  ASSERT_TRUE(ApplyFix(craft.model, *f, profile, files, craft.bitmaps.Loader())) << code;
  CalculateBounds(craft.model);
  EXPECT_EQ(Codes(craft.Check(profile)), "") << "after fixing " << code;
}

TEST(CraftCheck, ASoundCraftAndTheSampleFighterCheckCleanUnderBothProfiles) {
  const BoxCraft craft;
  EXPECT_EQ(Codes(craft.Check(Profile::Original)), "");
  EXPECT_EQ(Codes(craft.Check(Profile::Patched)), "");
  test::TempDir dir;
  Model fighter;
  GenerateFighter(fighter, dir.path() / "fighter");
  for (const Profile p : {Profile::Original, Profile::Patched})
    EXPECT_EQ(Codes(CheckCraft(fighter, p, ProjectBitmapFacts(fighter.ProjectPath))), "")
        << ProfileName(p);
}

// 513 distinct positions: over the original game's 512, under the patched game's 65 535.
TEST(CraftCheck, AMeshOverTheVertexLimitIsAnErrorOnlyInTheOriginalAndSplitsUnderIt) {
  BoxCraft craft;
  std::vector<FaceRec> strip;
  for (int i = 0; i < 171; ++i) {  // 171 triangles, 3 fresh corners each: 513 positions
    const auto x = static_cast<float>(i) * 3;
    FaceRec f = test::Triangle(Corner(x, 0, 0, 0, 0), Corner(x + 1, 1, 0, 1, 0),
                               Corner(x + 2, 0, 0, 1, 1), "hull.BMP");
    f.Id = 5000 + i;
    strip.push_back(f);
  }
  craft.model.Meshes.push_back(test::MeshWith(strip, {}, "Strip"));
  craft.Mesh(1).Hardpoints.push_back({1, {5, 0, 0}});
  craft.Settle();
  const auto original = craft.Check(Profile::Original);
  const Finding* f = Find(original, "mesh-vertices");
  ASSERT_NE(f, nullptr) << Codes(original);
  EXPECT_EQ(f->severity, Severity::Error);
  EXPECT_EQ(f->element.kind, Element::Kind::Mesh);
  EXPECT_EQ(f->element.mesh, 1);
  EXPECT_NE(f->text.find("513"), std::string::npos) << f->text;
  EXPECT_EQ(Codes(craft.Check(Profile::Patched)), "");

  const MeshRec before = craft.model.Meshes[1];
  FixAndExpectClean(craft, "mesh-vertices");
  ASSERT_EQ(craft.model.MeshCount(), 3);
  EXPECT_EQ(craft.model.Meshes[1].Name, "Strip");
  EXPECT_EQ(craft.model.Meshes[2].Name, "Strip 2");
  // Every face is in exactly one part, in its order, with its texture; the features stay
  // with the first part.
  std::vector<std::int32_t> ids, faceIds;
  for (const FaceRec& face : before.LODs[0].Faces) faceIds.push_back(face.Id);
  for (int m = 1; m <= 2; ++m) {
    std::vector<std::int32_t> part;
    for (const FaceRec& face : craft.model.Meshes[static_cast<std::size_t>(m)].LODs[0].Faces) {
      part.push_back(face.Id);
      EXPECT_EQ(face.TextureNames[0].str(), "hull.BMP");
    }
    EXPECT_TRUE(std::is_sorted(part.begin(), part.end())) << "faces keep their order";
    ids.insert(ids.end(), part.begin(), part.end());
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, faceIds);
  EXPECT_EQ(craft.model.Meshes[1].Hardpoints, before.Hardpoints);
  EXPECT_TRUE(craft.model.Meshes[2].Hardpoints.empty());
  EXPECT_EQ(craft.model.Meshes[2].Min, before.Min) << "each part keeps the hitzone";
  EXPECT_EQ(craft.model.Meshes[0], BoxCraft().model.Meshes[0]) << "the other mesh stays";
}

TEST(CraftCheck, ATextureOfThreeHundredByTwoHundredIsResampledToAPowerOfTwo) {
  BoxCraft craft;
  craft.bitmaps.files["hull.BMP"] = test::PlainBitmap(300, 200);
  const auto findings = craft.Check();
  const Finding* f = Find(findings, "texture-size");
  ASSERT_NE(f, nullptr) << Codes(findings);
  EXPECT_EQ(f->severity, Severity::Error);
  EXPECT_EQ(f->element.kind, Element::Kind::Texture);
  EXPECT_EQ(f->element.texture, 0);
  EXPECT_NE(f->text.find("300 x 200"), std::string::npos);

  test::TempDir dir;
  FileTransaction files(dir.path());
  ASSERT_TRUE(ApplyFix(craft.model, *f, Profile::Original, files, craft.bitmaps.Loader()));
  files.Commit();
  const std::string name = craft.model.Textures[0].Name;
  EXPECT_EQ(name, "hull_256x256.BMP");
  for (const FaceRec& face : craft.model.Meshes[0].LODs[0].Faces)
    EXPECT_EQ(face.TextureNames[0].str(), name);
  const Bitmap resampled = DecodeBitmap(ReadFileBytes(dir.path() / name), name);
  EXPECT_EQ(resampled.width, 256);
  EXPECT_EQ(resampled.height, 256);
  EXPECT_EQ(resampled.palette, craft.bitmaps.files["hull.BMP"].palette);
  craft.bitmaps.files[name] = resampled;
  EXPECT_EQ(Codes(craft.Check()), "");
  // A power of two over the original's 256 is fine for the patched game.
  craft.bitmaps.files[name] = test::PlainBitmap(512, 128);
  EXPECT_NE(Find(craft.Check(Profile::Original), "texture-size"), nullptr);
  EXPECT_EQ(Find(craft.Check(Profile::Patched), "texture-size"), nullptr);
}

// Through the document, as the window applies it: one step, whose undo takes the new
// bitmap away again and whose redo brings it back; the user's bitmap is never touched.
TEST(CraftCheck, TheResampleIsOneUndoStepThatTakesItsBitmapAlong) {
  test::TempDir dir;
  Document doc;
  BoxCraft craft;
  craft.bitmaps.files["hull.BMP"] = test::PlainBitmap(300, 200);
  const Bytes original = EncodeBitmap(craft.bitmaps.files["hull.BMP"]);
  WriteFileAtomic(dir.path() / "hull.BMP", original);
  doc.model() = craft.model;
  doc.model().ProjectPath = dir.path().string();
  const auto findings =
      CheckCraft(doc.model(), Profile::Original, ProjectBitmapFacts(dir.path().string()));
  const Finding* f = Find(findings, "texture-size");
  ASSERT_NE(f, nullptr) << Codes(findings);
  FileTransaction files(dir.path());
  ASSERT_EQ(
      doc.Apply(
          "resample",
          [&](Model& m) { ApplyFix(m, *f, Profile::Original, files, ProjectBitmaps(m)); }, &files),
      std::nullopt);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "hull_256x256.BMP"));
  EXPECT_EQ(
      Codes(CheckCraft(doc.model(), Profile::Original, ProjectBitmapFacts(dir.path().string()))),
      "");
  ASSERT_TRUE(doc.Undo());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "hull_256x256.BMP"));
  EXPECT_EQ(doc.model().Textures[0].Name, "hull.BMP");
  ASSERT_TRUE(doc.Redo());
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "hull_256x256.BMP"));
  EXPECT_EQ(ReadFileBytes(dir.path() / "hull.BMP"), original);
}

TEST(CraftCheck, ZeroFaceNormalsAreAnErrorThatTheFixCalculates) {
  BoxCraft craft;
  craft.Mesh().LODs[0].Faces[2].Normal = {0, 0, 0};
  craft.Mesh().LODs[0].Faces[4].Normal = {0, 0, 0};
  const auto findings = craft.Check();
  const Finding* f = Find(findings, "face-normal-missing");
  ASSERT_NE(f, nullptr) << Codes(findings);
  EXPECT_EQ(f->severity, Severity::Error);
  EXPECT_EQ(f->element.kind, Element::Kind::Faces);
  EXPECT_EQ(f->element.faces, (std::vector<int>{2, 4}));
  FixAndExpectClean(craft, "face-normal-missing");
  EXPECT_EQ(craft.model.Meshes[0], BoxCraft().model.Meshes[0]) << "exactly the calculated normals";
}

TEST(CraftCheck, BackwardNormalsAreWarningsAndMissingVectorsNotes) {
  BoxCraft backward;
  Single3& n = backward.Mesh().LODs[0].Faces[1].Normal;
  n = {-n.x, -n.y, -n.z};
  const auto findings = backward.Check();
  ASSERT_EQ(Codes(findings), "warning:face-normal-backward ");
  EXPECT_EQ(findings[0].element.faces, std::vector<int>{1});
  FixAndExpectClean(backward, "face-normal-backward");

  BoxCraft flat;
  flat.Mesh().LODs[0].Faces[3].Vector1 = {0, 0, 0};
  ASSERT_EQ(Codes(flat.Check()), "note:face-vectors-missing ");
  EXPECT_EQ(flat.Check()[0].element.faces, std::vector<int>{3});
  FixAndExpectClean(flat, "face-vectors-missing");
}

TEST(CraftCheck, AConcaveQuadABentQuadAndDegenerateAndRepeatedFacesAreFound) {
  BoxCraft craft;
  auto& faces = craft.Mesh().LODs[0].Faces;
  // A dart: corner 2 pulled in past the diagonal.
  faces.push_back(test::Quad(Corner(30, 0, 0), Corner(40, 0, 0), Corner(32, 2, 0),
                             Corner(30, 10, 0), "hull.BMP"));
  faces.push_back(test::Quad(Corner(50, 0, 0), Corner(60, 0, 0), Corner(60, 10, 3),
                             Corner(50, 10, 0), "hull.BMP"));
  faces.push_back(test::Triangle(Corner(70, 0, 0), Corner(71, 0, 0), Corner(72, 0, 0), "hull.BMP"));
  faces.push_back(faces[0]);
  std::rotate(faces.back().Vertices.begin(), faces.back().Vertices.begin() + 1,
              faces.back().Vertices.end());  // the same corners, turned
  craft.Settle();
  const auto findings = craft.Check();
  const std::map<std::string, std::vector<int>> expected = {
      {"quad-concave", {6}}, {"quad-bent", {7}}, {"face-degenerate", {8}}, {"face-duplicate", {9}}};
  for (const auto& [code, list] : expected) {
    const Finding* f = Find(findings, code);
    ASSERT_NE(f, nullptr) << code << ": " << Codes(findings);
    EXPECT_EQ(f->element.faces, list) << code;
    EXPECT_EQ(f->severity, Severity::Warning) << code;
    EXPECT_EQ(f->fix, FixKind::None) << code << " has no sound automatic fix";
  }
}

TEST(CraftCheck, MissingBitmapsAndTexturesAreErrorsNamingWhatIsMissing) {
  BoxCraft craft;
  craft.bitmaps.files.clear();
  auto findings = craft.Check();
  const Finding* f = Find(findings, "bitmap-unreadable");
  ASSERT_NE(f, nullptr) << Codes(findings);
  EXPECT_EQ(f->severity, Severity::Error);
  EXPECT_EQ(f->element.texture, 0);
  EXPECT_NE(f->text.find("hull.BMP"), std::string::npos);
  EXPECT_NE(f->text.find("missing"), std::string::npos);

  BoxCraft named;
  named.Mesh().LODs[0].Faces[0].TextureNames[0] = TextureName("gone.BMP");
  named.Mesh().LODs[0].Faces[1].TextureNames[0] = TextureName(kBlank);
  named.Mesh().LODs[0].Faces[2].TextureNames[2] = TextureName("red.BMP");
  findings = named.Check();
  ASSERT_NE(Find(findings, "texture-not-listed"), nullptr) << Codes(findings);
  EXPECT_EQ(Find(findings, "texture-not-listed")->element.faces, std::vector<int>{0});
  EXPECT_NE(Find(findings, "texture-not-listed")->text.find("\"gone.BMP\""), std::string::npos);
  ASSERT_NE(Find(findings, "face-untextured"), nullptr);
  EXPECT_EQ(Find(findings, "face-untextured")->element.faces, std::vector<int>{1});
  ASSERT_NE(Find(findings, "flight-group-not-listed"), nullptr);
  EXPECT_EQ(Find(findings, "flight-group-not-listed")->element.faces, std::vector<int>{2});
}

TEST(CraftCheck, AHardpointTenKilometresAwayIsAWarningOnThatHardpoint) {
  BoxCraft craft;
  craft.Mesh().Hardpoints = {{0, {0, 0, 5}}, {1, {10000 * 40.96f, 0, 0}}};
  const auto findings = craft.Check();
  const Finding* f = Find(findings, "hardpoint-far");
  ASSERT_NE(f, nullptr) << Codes(findings);
  EXPECT_EQ(f->severity, Severity::Warning);
  EXPECT_EQ(f->element.kind, Element::Kind::Hardpoint);
  EXPECT_EQ(f->element.mesh, 0);
  EXPECT_EQ(f->element.item, 1);
  EXPECT_EQ(Codes(findings), "warning:hardpoint-far ");
}

TEST(CraftCheck, CountsPastTheLimitsAreErrorsOnTheFirstElementNotLoaded) {
  BoxCraft craft;
  for (int m = 1; m < 51; ++m) {
    MeshRec copy = craft.model.Meshes[0];
    copy.Name = "Box " + std::to_string(m);
    craft.model.Meshes.push_back(copy);
  }
  auto findings = craft.Check(Profile::Original);
  const Finding* f = Find(findings, "mesh-count");
  ASSERT_NE(f, nullptr) << Codes(findings);
  EXPECT_EQ(f->severity, Severity::Error);
  EXPECT_EQ(f->element.mesh, 50);
  EXPECT_NE(f->text.find("51 meshes"), std::string::npos);
  EXPECT_EQ(Find(craft.Check(Profile::Patched), "mesh-count"), nullptr);

  BoxCraft glows;
  for (int g = 0; g < 17; ++g) glows.Mesh().EngineGlows.push_back(EngineGlowRec{});
  findings = glows.Check(Profile::Original);
  ASSERT_NE(Find(findings, "engine-glow-count"), nullptr) << Codes(findings);
  EXPECT_EQ(Find(findings, "engine-glow-count")->element.item, 16);
  EXPECT_EQ(Find(glows.Check(Profile::Patched), "engine-glow-count"), nullptr);
}

TEST(CraftCheck, OutOfOrderDistancesAreSortedByTheFix) {
  BoxCraft craft;
  MeshRec& mesh = craft.Mesh();
  mesh.LODs.push_back(mesh.LODs[0]);
  mesh.LODs[0].Distance = 900;
  mesh.LODs[1].Distance = 200;
  const auto findings = craft.Check();
  const Finding* f = Find(findings, "level-distances");
  ASSERT_NE(f, nullptr) << Codes(findings);
  EXPECT_EQ(f->element.mesh, 0);
  EXPECT_EQ(f->fix, FixKind::SortDistances);
  FixAndExpectClean(craft, "level-distances");
  EXPECT_EQ(craft.model.Meshes[0].LODs[0].Distance, 200);
  EXPECT_EQ(craft.model.Meshes[0].LODs[1].Distance, 900);
}

TEST(CraftCheck, UnusedTexturesAreNotesRemovedWithoutTheirFiles) {
  BoxCraft craft;
  TextureRec spare;
  spare.Name = "spare.BMP";
  craft.model.Textures.push_back(spare);
  const auto findings = craft.Check();
  ASSERT_EQ(Codes(findings), "note:texture-unused ");
  EXPECT_EQ(findings[0].element.texture, 1);
  FixAndExpectClean(craft, "texture-unused");
  ASSERT_EQ(craft.model.TextureCount(), 1);
  EXPECT_EQ(craft.model.Textures[0].Name, "hull.BMP");
}

TEST(CraftCheck, ColoursThatMatchNothingInTheBitmapAreWarnings) {
  BoxCraft craft;
  Bitmap& b = craft.bitmaps.files["hull.BMP"];
  std::fill(b.texels.begin(), b.texels.end(), 7);                // one colour only, one the game's
  b.palette[28] = 16, b.palette[29] = 100, b.palette[30] = 248;  // 16-bit palette holds
  TextureRec& hull = craft.model.Textures.Edit(0);
  hull.TransColors = {{248, 100, 16}};
  EXPECT_EQ(Codes(craft.Check()), "");
  // The game tests transparency on its 16-bit colours: 249, 101, 17 is not 248, 100, 16.
  hull.TransColors = {{249, 101, 17}};
  EXPECT_EQ(Codes(craft.Check()), "warning:transparent-colour-unused ");
  hull.TransTolerance = 1;
  EXPECT_EQ(Codes(craft.Check()), "");
  hull.TransColors = {{1, 250, 3}};
  hull.IllumColors = {{2, 200, 9}};
  EXPECT_EQ(Codes(craft.Check()),
            "warning:transparent-colour-unused warning:illuminated-colour-unused ");
  hull.IllumTolerance = 255;
  EXPECT_EQ(Codes(craft.Check()), "warning:transparent-colour-unused ");
}

TEST(CraftCheck, RotatingPartsWithoutAnAxisAndHitzonesThatMissTheMeshAreWarnings) {
  BoxCraft craft;
  craft.Mesh().MeshType = 21;  // a rotating gun turret
  craft.Mesh().Axis = {0, 0, 0};
  auto findings = craft.Check();
  ASSERT_NE(Find(findings, "rotation-axis-zero"), nullptr) << Codes(findings);
  craft.Mesh().Axis = {0, 0, 32767};
  craft.Mesh().Max = {1, 1, 1};
  findings = craft.Check();
  ASSERT_EQ(Codes(findings), "warning:hitzone-box ");
  FixAndExpectClean(craft, "hitzone-box");
}

TEST(CraftCheck, ProfilesAreNamedAsTheSettingsAndTheCommandLineName) {
  EXPECT_EQ(ProfileNamed("original"), Profile::Original);
  EXPECT_EQ(ProfileNamed("patched"), Profile::Patched);
  EXPECT_EQ(ProfileNamed("Original"), std::nullopt);
  EXPECT_EQ(LimitsOf(Profile::Original).meshVertices, 512);
  EXPECT_EQ(LimitsOf(Profile::Patched).textures, 1024);
  EXPECT_EQ(NearestPowerOfTwo(300, 256), 256);
  EXPECT_EQ(NearestPowerOfTwo(200, 256), 256);
  EXPECT_EQ(NearestPowerOfTwo(90, 0), 64);
  EXPECT_EQ(NearestPowerOfTwo(100, 0), 128);
  EXPECT_EQ(NearestPowerOfTwo(1, 0), 1);
}

// Every rule of the registry, each with a fault that makes it speak: the finding has the
// rule's severity and fix. A rule added without a case here fails the last test.
struct RuleCase {
  const char* code;
  std::function<void(BoxCraft&)> spoil;
  Profile profile = Profile::Original;
};

FaceRec& FirstFace(BoxCraft& craft) {
  return craft.Mesh().LODs[0].Faces[0];
}

void AddMeshes(BoxCraft& craft, int count, std::int32_t type = 0) {
  for (int m = 0; m < count; ++m) {
    MeshRec copy = craft.model.Meshes[0];
    copy.Name = "Box " + std::to_string(m + 2);
    copy.MeshType = type;
    craft.model.Meshes.push_back(copy);
  }
}

const std::vector<RuleCase>& RuleCases() {
  static const std::vector<RuleCase> cases = {
      {"mesh-no-levels", [](BoxCraft& c) { c.Mesh().LODs.clear(); }},
      {"mesh-vertices",
       [](BoxCraft& c) {
         auto& faces = c.Mesh().LODs[0].Faces;
         for (int i = 0; i < 130; ++i)
           faces.push_back(test::Quad(Corner(i, 0, 20), Corner(i + 0.5f, 0, 20),
                                      Corner(i + 0.5f, 1, 20), Corner(i, 1, 20), "hull.BMP"));
         c.Settle();
       }},
      {"level-empty",
       [](BoxCraft& c) {
         c.Mesh().LODs.push_back(c.Mesh().LODs[0]);
         c.Mesh().LODs[1].Faces.clear();
       }},
      {"face-not-finite",
       [](BoxCraft& c) { FirstFace(c).Vertices[0].X = std::numeric_limits<float>::quiet_NaN(); }},
      {"face-normal-missing",
       [](BoxCraft& c) {
         FirstFace(c).Normal = {0, 0, 0};
       }},
      {"face-normal-backward",
       [](BoxCraft& c) {
         Single3& n = FirstFace(c).Normal;
         n = {-n.x, -n.y, -n.z};
       }},
      {"face-vectors-missing",
       [](BoxCraft& c) {
         FirstFace(c).Vector1 = FirstFace(c).Vector2 = {0, 0, 0};
       }},
      {"face-degenerate",
       [](BoxCraft& c) {
         FaceRec& f = FirstFace(c);
         f.Vertices[1] = f.Vertices[2] = f.Vertices[3] = f.Vertices[0];
       }},
      {"quad-bent", [](BoxCraft& c) { FirstFace(c).Vertices[2].Z += 5; }},
      {"quad-concave",
       [](BoxCraft& c) {
         VertexRec& v = FirstFace(c).Vertices[2];
         v.X = -5, v.Y = -5;
       }},
      {"face-duplicate",
       [](BoxCraft& c) { c.Mesh().LODs[0].Faces.push_back(c.model.Meshes[0].LODs[0].Faces[0]); }},
      {"face-box-stale",
       [](BoxCraft& c) {
         FirstFace(c).BoxMin = FirstFace(c).BoxMax = {0, 0, 0};
       }},
      {"vertex-normals-missing",
       [](BoxCraft& c) {
         for (FaceRec& f : c.Mesh().LODs[0].Faces)
           for (VertexRec& v : f.Vertices) v.I = v.J = v.K = 0;
       }},
      {"level-more-faces",
       [](BoxCraft& c) {
         LODRec low = c.model.Meshes[0].LODs[0];
         low.Faces.push_back(low.Faces[0]);
         low.Distance = 500;
         c.Mesh().LODs.push_back(low);
       }},
      {"level-low-missing",
       [](BoxCraft& c) {
         // The first side cut into 300 strips: many faces, one level.
         auto& faces = c.Mesh().LODs[0].Faces.Edit();
         const FaceRec side = faces[0];
         faces.erase(faces.begin());
         for (int i = 0; i < 300; ++i) {
           FaceRec strip = side;
           const float t0 = static_cast<float>(i) / 300, t1 = static_cast<float>(i + 1) / 300;
           const auto along = [&](int a, int b, float t) {
             VertexRec v = side.Vertices[static_cast<std::size_t>(a)];
             const VertexRec& w = side.Vertices[static_cast<std::size_t>(b)];
             v.X += (w.X - v.X) * t, v.Y += (w.Y - v.Y) * t, v.Z += (w.Z - v.Z) * t;
             v.U += (w.U - v.U) * t, v.V += (w.V - v.V) * t;
             return v;
           };
           strip.Vertices = {along(0, 1, t0), along(0, 1, t1), along(3, 2, t1), along(3, 2, t0)};
           faces.push_back(strip);
         }
         c.Settle();
       }},
      {"face-untextured", [](BoxCraft& c) { FirstFace(c).TextureNames[0] = kBlank; }},
      {"texture-not-listed", [](BoxCraft& c) { FirstFace(c).TextureNames[0] = "other.BMP"; }},
      {"flight-group-not-listed",
       [](BoxCraft& c) {
         FaceRec& f = FirstFace(c);
         f.TextureNames[1] = "hull.BMP";
         f.TextureNames[2] = "red.BMP";
         f.TextureNames[3] = "hull.BMP";
       }},
      {"texture-unused",
       [](BoxCraft& c) {
         TextureRec spare;
         spare.Name = "spare.BMP";
         c.model.Textures.push_back(spare);
       }},
      {"bitmap-unreadable", [](BoxCraft& c) { c.bitmaps.files.clear(); }},
      {"bitmap-not-8-bit",
       [](BoxCraft& c) {
         c.facts = [](const TextureRec&) {
           BitmapFacts facts;
           facts.readable = true;
           facts.width = facts.height = 64;
           facts.bitsPerPixel = 24;
           return facts;
         };
       }},
      {"texture-size",
       [](BoxCraft& c) { c.bitmaps.files["hull.BMP"] = test::PlainBitmap(300, 200); }},
      {"transparent-colour-unused",
       [](BoxCraft& c) {
         c.model.Textures.Edit(0).TransColors = {{1, 250, 3}};
       }},
      {"illuminated-colour-unused",
       [](BoxCraft& c) {
         c.model.Textures.Edit(0).IllumColors = {{2, 200, 9}};
       }},
      {"texture-count",
       [](BoxCraft& c) {
         for (int t = 0; t < 100; ++t) {
           TextureRec texture;
           texture.Name = "t" + std::to_string(t) + ".BMP";
           c.model.Textures.push_back(texture);
           c.bitmaps.files[texture.Name] = test::PlainBitmap(8, 8);
           FaceRec face = c.model.Meshes[0].LODs[0].Faces[0];
           face.TextureNames[0] = texture.Name;
           c.Mesh().LODs[0].Faces.push_back(face);
         }
       }},
      {"mesh-count", [](BoxCraft& c) { AddMeshes(c, 50); }},
      {"hardpoint-count", [](BoxCraft& c) { c.Mesh().Hardpoints.assign(128, HardpointRec{}); }},
      {"hardpoint-far",
       [](BoxCraft& c) {
         c.Mesh().Hardpoints.push_back({1, {10000, 0, 0}});
       }},
      {"engine-glow-count", [](BoxCraft& c) { c.Mesh().EngineGlows.assign(17, EngineGlowRec{}); }},
      {"engine-glow-far",
       [](BoxCraft& c) {
         EngineGlowRec glow;
         glow.Position = {0, 10000, 0};
         c.Mesh().EngineGlows.push_back(glow);
       }},
      {"rotating-parts",
       [](BoxCraft& c) {
         c.Mesh().MeshType = 21;
         AddMeshes(c, 16, 21);
       }},
      {"rotation-axis-zero",
       [](BoxCraft& c) {
         c.Mesh().MeshType = 21;
         c.Mesh().Axis = {0, 0, 0};
       }},
      {"hitzone-box",
       [](BoxCraft& c) {
         c.Mesh().Max = {1, 1, 1};
       }},
      {"level-distances",
       [](BoxCraft& c) {
         c.Mesh().LODs.push_back(c.model.Meshes[0].LODs[0]);
         c.Mesh().LODs[0].Distance = 900;
         c.Mesh().LODs[1].Distance = 200;
       }},
      {"mesh-name-duplicate",
       [](BoxCraft& c) {
         AddMeshes(c, 1);
         c.model.Meshes.Edit(1).Name = c.model.Meshes[0].Name;
       }},
  };
  return cases;
}

TEST(CheckRules, EachRuleSpeaksOfItsFaultWithItsOwnSeverityAndFix) {
  for (const RuleCase& rule : RuleCases()) {
    const CheckRule* registered = FindRule(rule.code);
    ASSERT_NE(registered, nullptr) << rule.code << " is not a registered rule";
    BoxCraft craft;
    ASSERT_EQ(Codes(craft.Check(rule.profile)), "");
    rule.spoil(craft);
    const auto findings = craft.Check(rule.profile);
    const Finding* f = Find(findings, rule.code);
    ASSERT_NE(f, nullptr) << rule.code << " did not speak; the check said: " << Codes(findings);
    EXPECT_EQ(f->severity, registered->severity) << rule.code;
    EXPECT_EQ(f->fix, registered->fix) << rule.code;
    EXPECT_FALSE(f->text.empty()) << rule.code;
  }
}

TEST(CheckRules, EveryRegisteredRuleHasACaseAndEveryCodeIsUnique) {
  std::set<std::string_view> withCase, registered;
  for (const RuleCase& rule : RuleCases())
    EXPECT_TRUE(withCase.insert(rule.code).second) << rule.code;
  for (const CheckRule& rule : CheckRules()) {
    EXPECT_TRUE(registered.insert(rule.code).second) << rule.code << " is registered twice";
    EXPECT_TRUE(withCase.count(rule.code)) << rule.code << " has no case that makes it speak";
    EXPECT_FALSE(rule.about.empty()) << rule.code;
  }
  EXPECT_EQ(withCase, registered);
}

}  // namespace
}  // namespace tamsel
