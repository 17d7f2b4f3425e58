// The Check dock checks a copy of the model on another thread while the window goes on
// editing the document: the copy shares the records, and every edit copies what it writes.
// Under ThreadSanitizer this is where a write into a shared record would show.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "check/craft_check.h"
#include "editing/document.h"
#include "editing/geometry_edits.h"
#include "editing/normals.h"
#include "editing/sample_craft.h"
#include "model/opz.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

TEST(BackgroundCheck, ACheckOfASnapshotSeesItAsItWasWhileTheDocumentEdits) {
  test::TempDir dir;
  Document doc;
  GenerateSample(doc.model(), dir.path() / "craft", {6, 400, 3, 16});
  doc.Reset();
  const Model snapshot = doc.model();
  const std::string before = WriteOpzText(snapshot);
  const auto facts = [](const TextureRec&) {
    BitmapFacts f;
    f.readable = true;
    f.width = f.height = 16;
    f.bitsPerPixel = 8;
    return f;
  };
  const std::vector<Finding> expected = CheckCraft(snapshot, Profile::Original, facts);

  std::atomic<bool> editing{true};
  std::vector<std::vector<Finding>> seen;
  std::thread checker([&] {
    while (editing) seen.push_back(CheckCraft(snapshot, Profile::Original, facts));
  });
  for (int round = 0; round < 20; ++round) {
    for (MeshRec& mesh : doc.model().Meshes.EditAll()) mesh.LODs[0].Selected = kTrue;
    doc.Apply("Mesh UPDATE", [](Model& m) { UpdateSelectedMeshes(m, 0, {1, 101, 0.5, 0, 0}); });
    doc.Apply("Rename mesh", [&](Model& m) { RenameMesh(m, 0, "Hull " + std::to_string(round)); });
    doc.Apply("Vertex Normals", [](Model& m) { CalculateVertexNormals(m); });
    if (round % 3 == 0) doc.Undo();
  }
  editing = false;
  checker.join();

  ASSERT_FALSE(seen.empty());
  for (const auto& findings : seen) {
    ASSERT_EQ(findings.size(), expected.size());
    for (std::size_t i = 0; i < findings.size(); ++i) EXPECT_EQ(findings[i].text, expected[i].text);
  }
  EXPECT_EQ(WriteOpzText(snapshot), before) << "an edit reached the snapshot's records";
}

}  // namespace
}  // namespace tamsel
