#include "model/read_ahead.h"

#include <gtest/gtest.h>

#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

namespace fs = std::filesystem;

Model Named(const std::string& name) {
  Model model = test::RichModel();
  model.Meshes.Edit(0).Name = name;
  return model;
}

TEST(ReadAhead, ARequestForTheSameUnchangedFileTakesTheReadOnce) {
  test::TempDir dir;
  const fs::path opz = dir / "p.opz";
  WriteFileAtomic(opz, WriteOpzText(Named("first")));
  ReadProjectAhead(opz);

  // Another file's read does not take it, nor do other id counters.
  WriteFileAtomic(dir / "q.opz", WriteOpzText(Named("other")));
  IdCounters ids;
  EXPECT_FALSE(TakeReadAhead(dir / "q.opz", ids));
  IdCounters moved;
  moved.NextFaceId = 5000;
  EXPECT_FALSE(TakeReadAhead(opz, moved));
  EXPECT_EQ(moved.NextFaceId, 5000);

  // The same file by another path is the same file; it numbers as a read of its own would.
  fs::create_symlink(opz, dir / "link.opz");
  std::optional<ProjectData> read = TakeReadAhead(dir / "link.opz", ids);
  ASSERT_TRUE(read);
  ASSERT_FALSE(read->meshes.empty());
  EXPECT_EQ(read->meshes[0].Name, "first");
  IdCounters fresh;
  const ProjectData direct = ReadOpzText(ReadFileText(opz), fresh, "p.opz");
  EXPECT_EQ(ids.NextFaceId, fresh.NextFaceId);
  EXPECT_EQ(ids.NextVertexId, fresh.NextVertexId);
  EXPECT_EQ(read->meshes, direct.meshes);
  IdCounters again;
  EXPECT_FALSE(TakeReadAhead(opz, again));  // taken once
}

TEST(ReadAhead, AFileChangedSinceOrBrokenIsReadAnew) {
  test::TempDir dir;
  const fs::path opz = dir / "p.opz";
  WriteFileAtomic(opz, WriteOpzText(Named("before")));
  ReadProjectAhead(opz);
  WriteFileAtomic(opz, WriteOpzText(Named("after")));  // a save: a new file in its place
  IdCounters ids;
  EXPECT_FALSE(TakeReadAhead(opz, ids));
  ReadProjectAhead(opz);
  Model model;
  OpenProject(model, opz);
  EXPECT_EQ(model.Meshes[0].Name, "after");

  // A broken file's read says nothing; the read in its place names the fault.
  WriteFileAtomic(opz, "1\r\n0\r\n");
  ReadProjectAhead(opz);
  EXPECT_THROW(OpenProject(model, opz), FileError);
  EXPECT_EQ(model.Meshes[0].Name, "after");
  ReadProjectAhead(dir / "missing.opz");
  EXPECT_THROW(OpenProject(model, dir / "missing.opz"), FileError);

  // A read no one took is let go.
  WriteFileAtomic(opz, WriteOpzText(Named("dropped")));
  ReadProjectAhead(opz);
  DropReadAhead();
  EXPECT_FALSE(TakeReadAhead(opz, ids));
}

}  // namespace
}  // namespace tamsel
