#include "dxf/dxf_import.h"

#include <gtest/gtest.h>

#include "model/file_error.h"
#include "model/file_io.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

std::string Pairs(std::initializer_list<std::pair<int, const char*>> pairs,
                  const char* eol = "\n") {
  std::string s;
  for (const auto& [code, value] : pairs) s += "  " + std::to_string(code) + eol + value + eol;
  return s;
}

// An R12 drawing: no handles, no subclass markers.
std::string R12() {
  return Pairs({{0, "SECTION"},  {2, "HEADER"},   {9, "$ACADVER"}, {1, "AC1009"}, {0, "ENDSEC"},
                {0, "SECTION"},  {2, "ENTITIES"}, {0, "3DFACE"},   {8, "HULL"},   {10, "0"},
                {20, "0"},       {30, "0"},       {11, "1"},       {21, "0"},     {31, "0"},
                {12, "1"},       {22, "1"},       {32, "0"},       {13, "0"},     {23, "1"},
                {33, "0"},       {0, "3DFACE"},   {8, "WING"},     {10, "5"},     {20, "0"},
                {30, "0"},       {11, "6"},       {21, "0"},       {31, "0"},     {12, "6"},
                {22, "1"},       {32, "0"},       {0, "3DFACE"},   {8, "HULL"},   {10, "0"},
                {20, "0"},       {30, "1"},       {11, "1"},       {21, "0"},     {31, "1"},
                {12, "1"},       {22, "1"},       {32, "1"},       {13, "1"},     {23, "1"},
                {33, "1"},       {0, "3DFACE"},   {8, "HULL"},     {10, "2"},     {20, "0"},
                {30, "0"},       {11, "3"},       {21, "0"},       {31, "0"},     {12, "3"},
                {22, "1.5E+00"}, {32, "0"},       {13, "3"},       {23, "1.5"},   {33, "0"},
                {0, "ENDSEC"},   {0, "EOF"}});
}

// The same faces as a newer writer lays them out: handles, owner handles before the
// subclass markers, an edge-visibility flag after the corners, other entities between.
std::string R2000(const char* eol) {
  return Pairs({{0, "SECTION"}, {2, "ENTITIES"},     {0, "LINE"},   {5, "2A"},
                {330, "1F"},    {100, "AcDbEntity"}, {8, "HULL"},   {100, "AcDbLine"},
                {10, "9"},      {20, "9"},           {30, "9"},     {11, "8"},
                {21, "8"},      {31, "8"},           {0, "3DFACE"}, {5, "2B"},
                {330, "1F"},    {100, "AcDbEntity"}, {8, "HULL"},   {100, "AcDbFace"},
                {10, "0"},      {20, "0"},           {30, "0"},     {11, "1"},
                {21, "0"},      {31, "0"},           {12, "1"},     {22, "1"},
                {32, "0"},      {13, "0"},           {23, "1"},     {33, "0"},
                {70, "0"},      {0, "TEXT"},         {5, "2C"},     {8, "WING"},
                {1, "label"},   {10, "4"},           {20, "4"},     {30, "4"},
                {0, "3DFACE"},  {5, "2D"},           {330, "1F"},   {100, "AcDbEntity"},
                {8, "WING"},    {100, "AcDbFace"},   {10, "5"},     {20, "0"},
                {30, "0"},      {11, "6"},           {21, "0"},     {31, "0"},
                {12, "6"},      {22, "1"},           {32, "0"},     {70, "15"},
                {0, "3DFACE"},  {5, "2E"},           {8, "HULL"},   {62, "5"},
                {10, "0"},      {20, "0"},           {30, "1"},     {11, "1"},
                {21, "0"},      {31, "1"},           {12, "1"},     {22, "1"},
                {32, "1"},      {13, "1"},           {23, "1"},     {33, "1"},
                {0, "3DFACE"},  {8, "HULL"},         {13, "3"},     {23, "1.5"},
                {33, "0"},      {10, "2"},           {20, "0"},     {30, "0"},
                {11, "3"},      {21, "0"},           {31, "0"},     {12, "3"},
                {22, "1.5"},    {32, "0"},           {0, "ENDSEC"}, {0, "EOF"}},
               eol);
}

void ExpectCraft(const std::vector<MeshRec>& meshes) {
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(meshes[0].Name, "HULL");
  EXPECT_EQ(meshes[1].Name, "WING");
  ASSERT_EQ(meshes[0].LODCount(), 1);
  const auto& hull = meshes[0].LODs[0].Faces;
  ASSERT_EQ(hull.size(), 3u);  // in file order
  EXPECT_EQ(hull[0].Vertices[3].Y, 1.0f);
  EXPECT_EQ(hull[1].Vertices[0].Z, 1.0f);
  // A fourth corner equal to the third is how a drawing writes a triangle: corner 3 then
  // repeats corner 0, as the project stores triangles.
  EXPECT_EQ(hull[2].CornerCount(), 3);
  EXPECT_EQ(hull[2].Vertices[3].X, 2.0f);
  EXPECT_EQ(hull[2].Vertices[3].Y, 0.0f);
  EXPECT_EQ(hull[2].Vertices[2].Y, 1.5f);
  // No corner 3: a triangle, corner 3 repeating corner 0 with an id of its own.
  const FaceRec& tri = meshes[1].LODs[0].Faces[0];
  EXPECT_TRUE(tri.IsTriangle());
  EXPECT_EQ(tri.Vertices[3].X, 5.0f);
  EXPECT_NE(tri.Vertices[3].Id, tri.Vertices[0].Id);
  EXPECT_EQ(tri.TextureNames[0], "default.bmp");
  EXPECT_EQ(tri.TextureNames[3], "BLANK");
}

TEST(DxfImport, ReadsR12AndNewerLayoutsAlike) {
  IdCounters ids;
  ExpectCraft(ReadDxfFaces(R12(), "r12.dxf", ids));
  IdCounters lf, crlf;
  ExpectCraft(ReadDxfFaces(R2000("\n"), "r2000.dxf", lf));
  ExpectCraft(ReadDxfFaces(R2000("\r\n"), "r2000.dxf", crlf));
  EXPECT_EQ(lf.NextFaceId, 2004);
  EXPECT_EQ(lf.NextMeshId, 1002);
}

TEST(DxfImport, BadDrawingsAreClearErrors) {
  IdCounters ids;
  EXPECT_THROW(ReadDxfFaces(Pairs({{0, "SECTION"}, {2, "HEADER"}, {0, "ENDSEC"}}), "none.dxf", ids),
               FileError);
  std::string bad = R12();
  bad.replace(bad.find("1.5E+00"), 7, "1,5");
  try {
    ReadDxfFaces(bad, "comma.dxf", ids);
    FAIL() << "accepted";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("comma.dxf, line 112"), std::string::npos) << e.what();
  }
  std::string missing = R12();
  missing.replace(missing.find(" 32\n0\n  13"), 7, " 99\n0\n");
  EXPECT_THROW(ReadDxfFaces(missing, "missing.dxf", ids), FileError);
  EXPECT_EQ(ids.NextMeshId, 1000);
}

TEST(DxfImport, TheDefaultTextureIsMadeTheSameFromAnyWorkingFolder) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "start");
  std::filesystem::create_directories(dir / "project");
  WriteFileAtomic(dir / "ship.dxf", R12());
  Model model;
  model.ProjectPath = (dir / "project").string();
  model.StartFolder = (dir / "start").string();
  // No default.bmp where the program started: a plain one is made in the project.
  EXPECT_EQ(ImportDxf(model, dir / "ship.dxf"), 0u);
  ASSERT_EQ(model.TextureCount(), 1);
  EXPECT_EQ(model.Textures[0].Name, "default.bmp");
  EXPECT_EQ(ReadFileBytes(dir / "project" / "default.bmp").size(), 1078u + 64 * 64);
  // A second import adds meshes again but no texture.
  EXPECT_EQ(ImportDxf(model, dir / "ship.dxf"), 1u);
  EXPECT_EQ(model.MeshCount(), 4);
  EXPECT_EQ(model.TextureCount(), 1);
  EXPECT_GT(model.ViewExtent, 0);

  // Whatever lies in the folder the program runs in (a text file named default.bmp here),
  // the result is the same: the plain bitmap, which the project holds already.
  Model other;
  other.ProjectPath = (dir / "project").string();
  other.StartFolder = (dir / "start").string();
  WriteFileAtomic(dir / "start" / "default.bmp", std::string("the start folder's"));
  ImportDxf(other, dir / "ship.dxf");
  EXPECT_EQ(other.Textures[0].Name, "default.bmp");
  EXPECT_EQ(ReadFileBytes(dir / "project" / "default.bmp").size(), 1078u + 64 * 64);
  EXPECT_FALSE(std::filesystem::exists(dir / "project" / "default_2.bmp"));
  // A project's own different default.bmp stays; the plain one comes in beside it.
  std::filesystem::create_directories(dir / "mine");
  WriteFileAtomic(dir / "mine" / "default.bmp", std::string("the project's own"));
  Model mine;
  mine.ProjectPath = (dir / "mine").string();
  ImportDxf(mine, dir / "ship.dxf");
  EXPECT_EQ(ReadFileText(dir / "mine" / "default.bmp"), "the project's own");
  EXPECT_EQ(mine.Meshes[0].LODs[0].Faces[0].TextureNames[0], "default_2.bmp");
  EXPECT_EQ(ReadFileBytes(dir / "mine" / "default_2.bmp").size(), 1078u + 64 * 64);

  // A folder in the project with the bitmap's name stops the import, which names it.
  std::filesystem::create_directories(dir / "blocked" / "default.bmp");
  Model blocked;
  blocked.ProjectPath = (dir / "blocked").string();
  try {
    ImportDxf(blocked, dir / "ship.dxf");
    ADD_FAILURE() << "imported past a folder named default.bmp";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("default.bmp"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("in the way"), std::string::npos) << e.what();
  }
  EXPECT_EQ(blocked.MeshCount(), 0);

  WriteFileAtomic(dir / "empty.dxf", Pairs({{0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"}}));
  const auto withEmpty = dir.Snapshot();
  Model untouched;
  untouched.ProjectPath = (dir / "fresh").string();
  EXPECT_THROW(ImportDxf(untouched, dir / "empty.dxf"), FileError);
  EXPECT_EQ(untouched.TextureCount(), 0);
  EXPECT_EQ(dir.Snapshot(), withEmpty);
}

}  // namespace
}  // namespace tamsel
