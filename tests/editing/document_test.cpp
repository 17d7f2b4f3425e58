#include "editing/document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "dxf/dxf_import.h"
#include "editing/element_edits.h"
#include "editing/geometry_edits.h"
#include "editing/mesh_edits.h"
#include "editing/normals.h"
#include "editing/ship_features.h"
#include "editing/surface_place.h"
#include "editing/texture_tools.h"
#include "editing/transforms.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/opz.h"
#include "model/project.h"
#include "opt/bitmap.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"
#include "support/model_builders.h"
#include "support/opt_bytes.h"
#include "support/rich_project.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The rich model with mesh 1 selected at its high level, its two faces and the first
// face's first corner selected: every edit below has something to act on.
Model Selected() {
  Model model = RichModel();
  MeshRec& mesh = model.Meshes.Edit(0);
  mesh.LODs[0].Selected = kTrue;
  mesh.LODs[0].Faces[0].Selected = kTrue;
  mesh.LODs[0].Faces[1].Selected = kTrue;  // the one with flight-group variants
  mesh.LODs[0].Faces[0].Vertices[0].Selected = kTrue;
  CalculateBounds(model);
  return model;
}

std::string Text(const Model& model) {
  return WriteOpzText(model, "x.opz");
}

struct NamedEdit {
  const char* label;
  Document::Edit edit;
};

std::vector<NamedEdit> EveryKindOfEdit() {
  const Single3 p{1.5f, 2.5f, 3.5f};
  return {
      {"Mesh UPDATE",
       [](Model& m) {
         UpdateSelectedMeshes(m, 0, {9, 50, 1, 2, 3});
       }},
      {"Face UPDATE",
       [p](Model& m) {
         UpdateFocusedFaceNormal(m, 0, {0, 0}, p);
       }},
      {"Vertex UPDATE",
       [p](Model& m) {
         UpdateSelectedCorners(m, 0, p, CornerRef{0, 0, 0}, p);
       }},
      {"Rename mesh", [](Model& m) { RenameMesh(m, 1, "Tail"); }},
      {"Delete mesh", [](Model& m) { DeleteSelectedMeshes(m, 0); }},
      {"Assign LOD", [](Model& m) { AssignLowLevel(m, 1); }},
      {"Quad2Tri", [](Model& m) { Quad2Tri(m); }},
      {"Vertex Order", [](Model& m) { ReverseVertexOrder(m); }},
      {"Face Normals", [](Model& m) { CalculateFaceNormals(m); }},
      {"Vertex Normals", [](Model& m) { CalculateVertexNormals(m); }},
      {"Software Vectors", [](Model& m) { CalculateSoftwareVectors(m); }},
      {"Texture coordinate UPDATE", [](Model& m) { SetSelectedCornersUV(m, 0, 0.25f, 0.75f); }},
      {"Texture UPDATE",
       [](Model& m) {
         AssignTexture(m, 0, 2, "new.BMP", FaceRef{0, 0}, FaceVectors{{1, 2, 3}, {4, 5, 6}});
         RegisterTexture(m, "new.BMP");
       }},
      {"Stitch", [](Model& m) { Stitch(m, 0, StitchView::Side); }},
      {"Rotate coordinates", [](Model& m) { RotateCoordinates(m, 0, true); }},
      {"Mirror coordinates", [](Model& m) { MirrorCoordinates(m, 0, false); }},
      {"Texture Coordinates", [](Model& m) { ResetTextureCoordinates(m); }},
      {"FG off", [](Model& m) { BlankFlightGroupSlots(m, 0); }},
      {"Transparency UPDATE",
       [](Model& m) {
         UpdateTextureColors(m, 1, ColorTable::Transparent, 7, 9, {{1, 2, 3}});
       }},
      {"Illumination UPDATE",
       [](Model& m) { UpdateTextureColors(m, 0, ColorTable::Illuminated, 3, 4, {}); }},
      {"Add hardpoint", [](Model& m) { AddHardpoint(m, 1, 0); }},
      {"Delete hardpoint",
       [](Model& m) {
         DeleteHardpoint(m, {0, 0});
       }},
      {"Hardpoint UPDATE",
       [p](Model& m) {
         UpdateHardpoint(m, {0, 0}, 7, p);
       }},
      {"Add engine glow", [](Model& m) { AddEngineGlow(m, 1, 0); }},
      {"Delete engine glow",
       [](Model& m) {
         DeleteEngineGlow(m, {0, 0});
       }},
      {"Engine glow UPDATE",
       [](Model& m) {
         UpdateEngineGlow(m, {0, 0}, EngineGlowRec{});
       }},
      {"Hitzone UPDATE",
       [p](Model& m) {
         UpdateHitzone(m, 1, {3, std::nullopt, p, p, p, p, p, 4});
       }},
      {"Rotation UPDATE",
       [p](Model& m) {
         UpdateRotation(m, 0, {p, p, p, p});
       }},
      {"Hitzones", [](Model& m) { CalculateHitzones(m); }},
      {"Rotations", [](Model& m) { CalculateRotations(m); }},
      {"Move X 12.5",
       [](Model& m) {
         TransformTarget(m, {TargetKind::Meshes, 0, {}}, Transform::Move(12.5, 0, 0));
       }},
      {"Rotate Y 15°",
       [](Model& m) {
         TransformTarget(m, {TargetKind::Faces, 0, {}}, Transform::Rotate(Axis::Y, 15));
       }},
      {"Move Z 1",
       [](Model& m) {
         TransformTarget(m, {TargetKind::Corners, 0, {}}, Transform::Move(0, 0, 1));
       }},
      {"Scale -100 %",
       [](Model& m) {
         TransformTarget(m, {TargetKind::Faces, 0, {}}, Transform::Scale(-1, 1, 1));
       }},
      {"Delete faces",
       [](Model& m) {
         DeleteTarget(m, {TargetKind::Faces, 0, {}});
       }},
      {"Duplicate meshes",
       [](Model& m) {
         EditTarget t{TargetKind::Meshes, 0, {}};
         DuplicateTarget(m, t);
       }},
      {"Duplicate faces",
       [](Model& m) {
         EditTarget t{TargetKind::Faces, 0, {}};
         DuplicateTarget(m, t);
       }},
      {"New Box",
       [](Model& m) {
         NewMesh(m, NewShape::Box, 2, {1, 2, 3}, "a.BMP");
       }},
      {"Merge Meshes",
       [](Model& m) {
         m.Meshes.Edit(1).LODs[0].Selected = kTrue;
         MergeMeshes(m, 0);
       }},
      {"Separate", [](Model& m) { SeparateFaces(m, 0); }},
      {"Move Down", [](Model& m) { MoveMesh(m, 0, 1); }},
      {"Centre Craft", [](Model& m) { CentreCraft(m); }},
      {"Scale Craft", [](Model& m) { ScaleCraft(m, 2); }},
      {"Place hardpoint", [p](Model& m) { PlaceHardpoint(m, 1, std::nullopt, p); }},
      {"Mirror engine glow",
       [](Model& m) {
         MirrorEngineGlow(m, {0, 0});
       }},
  };
}

TEST(Document, EveryKindOfEditUndoesToTheSameProjectBytesAndRedoesToTheEdited) {
  for (const NamedEdit& e : EveryKindOfEdit()) {
    Document doc;
    doc.model() = Selected();
    const std::string before = Text(doc.model());
    ASSERT_EQ(doc.Apply(e.label, e.edit), std::nullopt) << e.label;
    const std::string after = Text(doc.model());
    ASSERT_NE(after, before) << e.label << " changed nothing, so the test shows nothing";
    EXPECT_EQ(doc.UndoLabel(), e.label);
    ASSERT_TRUE(doc.Undo()) << e.label;
    EXPECT_EQ(Text(doc.model()), before) << e.label;
    EXPECT_EQ(doc.RedoLabel(), e.label);
    ASSERT_TRUE(doc.Redo()) << e.label;
    EXPECT_EQ(Text(doc.model()), after) << e.label;
  }
}

TEST(Document, AMixedSequenceUndoesToTheStartAndRedoesToTheEnd) {
  Document doc;
  doc.model() = Selected();
  const std::string start = Text(doc.model());
  const auto edits = EveryKindOfEdit();
  for (const NamedEdit& e : edits) {
    const std::string label = e.label;
    if (label == "Delete mesh" || label == "Assign LOD") continue;  // the others need both meshes
    ASSERT_EQ(doc.Apply(e.label, e.edit), std::nullopt) << e.label;
  }
  const std::size_t steps = doc.HistorySteps();
  EXPECT_GT(steps, 20u);  // a few find nothing left to change (the glow was deleted)
  const std::string end = Text(doc.model());
  std::size_t undone = 0;
  while (doc.Undo()) ++undone;
  EXPECT_EQ(undone, steps);
  EXPECT_EQ(Text(doc.model()), start);
  while (doc.Redo()) {
  }
  EXPECT_EQ(Text(doc.model()), end);
  // A new step after an undo drops what could have been redone.
  doc.Undo();
  doc.Apply("Rename mesh", [](Model& m) { RenameMesh(m, 0, "Other"); });
  EXPECT_FALSE(doc.CanRedo());
}

TEST(Document, AStepCopiesOnlyTheMeshItChangesAndTheHistoryIsBounded) {
  Document doc;
  Model& model = doc.model();
  for (int m = 0; m < 3; ++m)
    model.Meshes.push_back(MeshWith(
        {Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0))}, {}, "M"));
  model.Meshes.Edit(1).LODs[0].Selected = kTrue;
  std::vector<const void*> identities;
  for (std::size_t m = 0; m < 3; ++m) identities.push_back(model.Meshes.Identity(m));

  ASSERT_EQ(doc.Apply("Mesh UPDATE",
                      [](Model& m) {
                        UpdateSelectedMeshes(m, 0, {1, 100, 1, 0, 0});
                      }),
            std::nullopt);
  // Meshes 1 and 3 are the same records as before, shared with the history; mesh 2 is new.
  EXPECT_EQ(model.Meshes.Identity(0), identities[0]);
  EXPECT_NE(model.Meshes.Identity(1), identities[1]);
  EXPECT_EQ(model.Meshes.Identity(2), identities[2]);
  EXPECT_FALSE(model.Meshes.IsOwn(0));
  // The changed mesh is kept as what differs from the model's: less than the whole mesh.
  EXPECT_GT(doc.HistoryBytes(), 0u);
  EXPECT_LT(doc.HistoryBytes(), RecordBytes(model.Meshes[1]));

  for (std::size_t i = 0; i < Document::kMaxSteps + 20; ++i)
    doc.Apply("Mesh UPDATE", [](Model& m) { UpdateSelectedMeshes(m, 0, {1, 100, 1, 0, 0}); });
  EXPECT_EQ(doc.HistorySteps(), Document::kMaxSteps);
  EXPECT_LT(doc.HistoryBytes(), Document::kMaxSteps * RecordBytes(model.Meshes[1]));
}

// An edit of a mesh's own values (its name, its hitzone) copies none of its faces: the model
// and the history hold the very same faces, and the step costs a few hundred bytes.
TEST(Document, AnEditOfAMeshsOwnValuesCopiesNoFacesAndUndoesExactly) {
  Document doc;
  Model& model = doc.model();
  std::vector<FaceRec> faces;
  for (int i = 0; i < 2000; ++i)
    faces.push_back(
        Quad(Corner(i, 0, 0), Corner(i + 1, 0, 0), Corner(i + 1, 1, 0), Corner(i, 1, 0)));
  model.Meshes.push_back(MeshWith(faces, faces, "Hull"));
  CalculateBounds(model);
  const std::string projectBefore = WriteOpzText(model);
  const FaceRec* high = model.Meshes[0].LODs[0].Faces.data();
  const FaceRec* low = model.Meshes[0].LODs[1].Faces.data();

  ASSERT_EQ(doc.Apply("Rename mesh", [](Model& m) { RenameMesh(m, 0, "Nose"); }), std::nullopt);
  EXPECT_EQ(model.Meshes[0].Name, "Nose");
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces.data(), high) << "renaming copied the faces";
  EXPECT_EQ(model.Meshes[0].LODs[1].Faces.data(), low);
  EXPECT_LT(doc.HistoryBytes(), 1024u);

  // A hitzone typed in is no different.
  ASSERT_EQ(doc.Apply("Hitzone UPDATE",
                      [](Model& m) {
                        m.Meshes.Edit(0).Span = {4, 5, 6};
                      }),
            std::nullopt);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces.data(), high);
  // A value that is not a finite Single is still refused, faces shared or not.
  EXPECT_NE(doc.Apply("Hitzone UPDATE",
                      [](Model& m) {
                        m.Meshes.Edit(0).Center.x = std::numeric_limits<float>::infinity();
                      }),
            std::nullopt);
  EXPECT_TRUE(std::isfinite(model.Meshes[0].Center.x));

  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(WriteOpzText(model), projectBefore);
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(model.Meshes[0].Name, "Nose");

  // Moving the corners afterwards makes the faces the model's own and their boxes follow.
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  ASSERT_EQ(doc.Apply("Mesh UPDATE",
                      [](Model& m) {
                        UpdateSelectedMeshes(m, 0, {1, 100, 1, 0, 0});
                      }),
            std::nullopt);
  EXPECT_NE(model.Meshes[0].LODs[0].Faces.data(), high);
  EXPECT_EQ(model.Meshes[0].LODs[1].Faces.data(), low) << "the low level was not moved";
  EXPECT_FLOAT_EQ(model.Meshes[0].LODs[0].Faces[0].BoxMin.x,
                  model.Meshes[0].LODs[0].Faces[0].Vertices[0].X);
  EXPECT_GT(model.ModelMax.x, 2000.0f) << "the model box did not follow the move";
}

// A hundred moves of a mesh of thousands of faces: the history keeps what differs, and
// undoing them all, redoing them all and undoing again gives every bit back.
TEST(Document, PatchedStepsUndoAndRedoBitForBit) {
  Document doc;
  Model& model = doc.model();
  std::vector<FaceRec> faces;
  for (int i = 0; i < 2000; ++i) {
    const auto x = static_cast<float>(i % 50) * 1.37f, y = static_cast<float>(i / 50) * 0.91f;
    FaceRec f = Quad(Corner(x, y, 0.5f, 0.1f, 0.2f), Corner(x + 1, y, 0.25f, 0.9f, 0.2f),
                     Corner(x + 1, y + 1, 0, 0.9f, 0.8f), Corner(x, y + 1, -0.5f, 0.1f, 0.8f));
    f.Id = 3000 + i;
    faces.push_back(f);
  }
  model.Meshes.push_back(MeshWith(faces, {faces.begin(), faces.begin() + 500}, "Big"));
  model.Meshes.push_back(MeshWith({faces[0]}, {}, "Small"));
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  const Model start = model;
  std::vector<MeshRec> states{model.Meshes[0]};
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(
        doc.Apply("Mesh UPDATE",
                  [i](Model& m) {
                    // moves by 1 along x, now and then scaling a little too
                    UpdateSelectedMeshes(m, 0, {1, i % 10 ? 100.0 : 101.0, 1, 0, 0.25 * (i % 3)});
                  }),
        std::nullopt);
    states.push_back(model.Meshes[0]);
  }
  EXPECT_LT(doc.HistoryBytes(), 100 * RecordBytes(model.Meshes[0]) / 2)
      << "at most half of whole copies";
  for (int i = 100; i > 0; --i) {
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(model.Meshes[0], states[static_cast<std::size_t>(i - 1)]) << "undo to " << i - 1;
  }
  EXPECT_EQ(model.Meshes[0], start.Meshes[0]);
  EXPECT_TRUE(model.Meshes.SharesWith(start.Meshes, 1)) << "the untouched mesh is never copied";
  for (int i = 1; i <= 100; ++i) {
    ASSERT_TRUE(doc.Redo());
    ASSERT_EQ(model.Meshes[0], states[static_cast<std::size_t>(i)]) << "redo to " << i;
  }
  for (int i = 0; i < 50; ++i) doc.Undo();
  EXPECT_EQ(model.Meshes[0], states[50]);
}

TEST(Document, SelectionIsNoStepAndAnEditThatChangesNothingIsNoStep) {
  Document doc;
  doc.model() = Selected();
  std::vector<ModelChange> heard;
  doc.AddListener([&](const ModelChange& c) { heard.push_back(c); });
  doc.model().Meshes.Edit(1).LODs[0].Selected = kTrue;
  ModelChange selection;
  selection.recordsUnchanged = true;
  doc.Changed(selection);
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.IsModified());
  // Meshes selected at a level nobody has: the UPDATE finds nothing to change.
  EXPECT_EQ(doc.Apply("Mesh UPDATE", [](Model& m) { UpdateSelectedMeshes(m, 5, {}); }),
            std::nullopt);
  EXPECT_FALSE(doc.CanUndo());
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_TRUE(heard[0].recordsUnchanged);

  // The notice names the mesh that changed, and undo names it again.
  doc.Apply("Rename mesh", [](Model& m) { RenameMesh(m, 1, "Fin"); });
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_FALSE(heard[1].meshList);
  EXPECT_EQ(heard[1].meshes, std::vector<int>{1});
  doc.Undo();
  EXPECT_EQ(heard.back().meshes, std::vector<int>{1});
  doc.Apply("Delete mesh", [](Model& m) { DeleteSelectedMeshes(m, 0); });
  EXPECT_TRUE(heard.back().meshList);
}

TEST(Document, ModifiedFollowsTheRevisionAndUndoingToTheSavedOneClearsIt) {
  Document doc;
  doc.model() = Selected();
  doc.Reset();
  EXPECT_FALSE(doc.IsModified());
  doc.Apply("Rename mesh", [](Model& m) { RenameMesh(m, 0, "A"); });
  EXPECT_TRUE(doc.IsModified());
  doc.MarkSaved();
  EXPECT_FALSE(doc.IsModified());
  doc.Apply("Rename mesh", [](Model& m) { RenameMesh(m, 0, "B"); });
  EXPECT_TRUE(doc.IsModified());
  doc.Undo();
  EXPECT_FALSE(doc.IsModified());
  doc.Undo();
  EXPECT_TRUE(doc.IsModified());
  doc.Redo();
  EXPECT_FALSE(doc.IsModified());
  doc.Reset();
  EXPECT_FALSE(doc.CanUndo() || doc.CanRedo() || doc.IsModified());
}

TEST(Document, AResultThatIsNotAFiniteSingleOrAThrowChangesNothingButTheIds) {
  Document doc;
  doc.model() = Selected();
  const std::string before = Text(doc.model());
  // 3e38 fits a Single; added twice it does not.
  const auto shift = [](Model& m) { UpdateSelectedMeshes(m, 0, {0, 100, 3e38, 0, 0}); };
  ASSERT_EQ(doc.Apply("Mesh UPDATE", shift), std::nullopt);
  const std::string once = Text(doc.model());
  const auto error = doc.Apply("Mesh UPDATE", shift);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("mesh 1 (Hull)"), std::string::npos) << *error;
  EXPECT_EQ(Text(doc.model()), once);
  EXPECT_EQ(doc.HistorySteps(), 1u);

  // A scale that overflows a corner is refused the same way.
  EXPECT_TRUE(doc.Apply("Mesh UPDATE", [](Model& m) {
    UpdateSelectedMeshes(m, 0, {0, 1e39, 0, 0, 0});
  }));
  EXPECT_EQ(Text(doc.model()), once);

  const std::int32_t nextFace = doc.model().Ids.NextFaceId;
  const auto thrown = doc.Apply("Quad2Tri", [](Model& m) {
    Quad2Tri(m);
    throw std::runtime_error("disk full");
  });
  EXPECT_EQ(thrown, "disk full");
  EXPECT_EQ(Text(doc.model()), once);
  EXPECT_GT(doc.model().Ids.NextFaceId, nextFace);  // ids handed out are never handed again
  doc.Undo();
  EXPECT_EQ(Text(doc.model()), before);
  EXPECT_GT(doc.model().Ids.NextFaceId, nextFace);
}

TEST(Document, ImportsUndoToTheProjectBeforeThemAndUnregisterTheirTextures) {
  TempDir dir;
  Model source = RichProject(dir);
  const auto opt = CreateOpt(source, 3);
  SaveProject(source);
  WriteFileAtomic(
      dir / "craft.dxf",
      "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n"
      "0\n12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n0\nENDSEC\n0\nEOF\n");

  Document doc;
  fs::create_directories(dir / "target");
  NewProject(doc.model(), dir / "target");
  doc.Reset();
  const std::pair<const char*, Document::Edit> imports[] = {
      {"import .OPT", [&](Model& m) { ImportOpt(m, opt); }},
      {"import .OPZ", [&](Model& m) { MergeProject(m, ProjectFilePath(dir.path())); }},
      {"import .DXF", [&](Model& m) { ImportDxf(m, dir / "craft.dxf"); }}};
  for (const auto& [label, edit] : imports) {
    const std::string before = Text(doc.model());
    const int textures = doc.model().TextureCount();
    ASSERT_EQ(doc.Apply(label, edit), std::nullopt) << label;
    const std::string after = Text(doc.model());
    EXPECT_GT(doc.model().TextureCount(), textures) << label;
    doc.Undo();
    EXPECT_EQ(Text(doc.model()), before) << label;
    EXPECT_EQ(doc.model().TextureCount(), textures) << label;
    doc.Redo();
    EXPECT_EQ(Text(doc.model()), after) << label;
  }
  // A file that cannot be read is no step and changes nothing.
  const std::string before = Text(doc.model());
  EXPECT_TRUE(doc.Apply("import .OPT", [&](Model& m) { ImportOpt(m, dir / "missing.opt"); }));
  EXPECT_EQ(Text(doc.model()), before);
  EXPECT_EQ(doc.UndoLabel(), "import .DXF");
}

TEST(Writers, RefuseNumbersThatAreNotFiniteNamingWhereAndWriteNoFile) {
  TempDir dir;
  Model model = RichProject(dir);
  model.Meshes.Edit(1).LODs[0].Faces[0].Vertices[2].Y = std::numeric_limits<float>::infinity();
  const std::string where = "mesh 2 (Wing 2), level 1, face 1, corner 3 Y";
  try {
    SaveProject(model);
    ADD_FAILURE() << "saved";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
  }
  try {
    CreateOpt(model, 1);
    ADD_FAILURE() << "created";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
  }
  model.Meshes.Edit(1).LODs[0].Faces[0].Vertices[2].Y = 0;
  model.Meshes.Edit(0).EngineGlows[0].Density2.z = std::numeric_limits<float>::quiet_NaN();
  EXPECT_THROW(SaveProject(model), FileError);
  EXPECT_FALSE(fs::exists(ProjectFilePath(model.ProjectPath)));
  EXPECT_FALSE(fs::exists(OptFilePath(model)));
}

}  // namespace
}  // namespace tamsel
