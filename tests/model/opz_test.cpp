#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "model/file_error.h"
#include "model/opz.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using test::Corner;
using test::MeshWith;
using test::Triangle;

// Compares what the project file keeps (not ids, selection or boxes).
void ExpectSameProject(const ProjectData& d, const Model& m) {
  ASSERT_EQ(d.meshes.size(), m.Meshes.size());
  for (std::size_t i = 0; i < d.meshes.size(); ++i) {
    const MeshRec &a = d.meshes[i], &b = m.Meshes[i];
    EXPECT_EQ(a.Name, b.Name);
    test::ExpectSameFeatures(a, b);
    ASSERT_EQ(a.LODCount(), b.LODCount());
    for (std::size_t l = 0; l < a.LODs.size(); ++l) {
      EXPECT_EQ(a.LODs[l].Distance, b.LODs[l].Distance);
      ASSERT_EQ(a.LODs[l].FaceCount(), b.LODs[l].FaceCount());
      for (std::size_t f = 0; f < a.LODs[l].Faces.size(); ++f) {
        const FaceRec &x = a.LODs[l].Faces[f], &y = b.LODs[l].Faces[f];
        for (int k = 0; k < 4; ++k) {
          EXPECT_EQ(x.Vertices[k].X, y.Vertices[k].X);
          EXPECT_EQ(x.Vertices[k].V, y.Vertices[k].V);
          EXPECT_EQ(x.Vertices[k].K, y.Vertices[k].K);
          EXPECT_EQ(x.TextureNames[k], y.TextureNames[k]);
        }
        EXPECT_EQ(x.Vector2, y.Vector2);
      }
    }
  }
  ASSERT_EQ(d.textures.size(), m.Textures.size());
  for (std::size_t t = 0; t < d.textures.size(); ++t) {
    EXPECT_EQ(d.textures[t].Name, m.Textures[t].Name);
    EXPECT_EQ(d.textures[t].TransOpacity, m.Textures[t].TransOpacity);
    EXPECT_EQ(d.textures[t].TransColors, m.Textures[t].TransColors);
    EXPECT_EQ(d.textures[t].IllumBrightness, m.Textures[t].IllumBrightness);
    EXPECT_EQ(d.textures[t].IllumColors, m.Textures[t].IllumColors);
  }
}

TEST(OpzWriter, WritesTheLayoutLineByLine) {
  Model model;
  model.Meshes.push_back(MeshWith(
      {Triangle(Corner(1, -2.5f, 0, 0.5f, 1), Corner(3, 0, 0), Corner(0, 1e-5f, 0))}, {}, "Hull"));
  model.Meshes.Edit(0).LODs[0].Distance = 1.5f;
  model.Meshes.Edit(0).MeshType = 3;
  model.Meshes.Edit(0).TargetId = -1;
  model.Meshes.Edit(0).Hardpoints = {{7, {1, 2, 3}}};
  model.Meshes.Edit(0).EngineGlows = {
      {{1, 2, 3, 4}, {5, 6, 7, 8}, {0, 0, 0}, {1, 1, 1}, {}, {}, {}}};
  TextureRec t;
  t.Name = "x.BMP";
  t.TransOpacity = 254;
  t.TransColors = {{255, 0, 255}};
  model.Textures.push_back(t);
  const std::string text = WriteOpzText(model);
  const std::string expected =
      " 1 \r\n 1 \r\nHull\r\n 1 \r\n 1 \r\n 1 \r\n 3 \r\n 0 \r\n"
      "0, 0, 0\r\n0, 0, 0\r\n0, 0, 0\r\n0, 0, 0\r\n-1 \r\n"
      "0, 0, 0\r\n0, 0, 0\r\n0, 0, 0\r\n0, 0, 0\r\n0, 0, 0\r\n"
      "LOD 1\r\n 1 \r\n 1.5 \r\nFACE 1\r\n"
      "1, -2.5, 0\r\n3, 0, 0\r\n0, 1E-05, 0\r\n1, -2.5, 0\r\n"
      "0.5, 1\r\n0, 0\r\n0, 0\r\n0.5, 1\r\n"
      "0, 0, 1\r\n0, 0, 1\r\n0, 0, 1\r\n0, 0, 1\r\n"
      "0, 0, 1\r\n0, 0, 0\r\n0, 0, 0\r\n"
      "t.BMP\r\nBLANK\r\nBLANK\r\nBLANK\r\n"
      "HP 1\r\n 7 \r\n1, 2, 3\r\n"
      "EG 1\r\n1, 2, 3, 4\r\n5, 6, 7, 8\r\n0, 0, 0\r\n1, 1, 1\r\n0, 0, 0\r\n0, 0, 0\r\n0, 0, 0\r\n"
      "x.BMP\r\n 254 \r\n 0 \r\n 1 \r\n255, 0, 255\r\n 8 \r\n 0 \r\n 0 \r\n";
  EXPECT_EQ(text, expected);
}

TEST(OpzWriter, EmptyModelIsTwoZeroCounts) {
  EXPECT_EQ(WriteOpzText(Model{}), " 0 \r\n 0 \r\n");
  IdCounters ids;
  const ProjectData d = ReadOpzText(" 0 \r\n 0 \r\n", ids, "empty.opz");
  EXPECT_TRUE(d.meshes.empty());
  EXPECT_TRUE(d.textures.empty());
}

TEST(OpzWriter, RefusesNamesThatWouldBreakTheLines) {
  Model model = test::RichModel();
  model.Meshes.Edit(0).Name = "two\nlines";
  EXPECT_THROW(WriteOpzText(model), FileError);
}

TEST(OpzRoundTrip, SaveOpenSaveIsByteIdenticalAndGivesFreshIds) {
  const Model model = test::RichModel();
  const std::string first = WriteOpzText(model);
  IdCounters ids = model.Ids;
  const ProjectData once = ReadOpzText(first, ids, "a.opz");
  ExpectSameProject(once, model);
  EXPECT_EQ(once.meshes[0].LODs[0].Id, model.Ids.NextMeshId + 1);
  EXPECT_TRUE(once.meshes[0].LODs[0].Faces[1].IsTriangle());
  Model reopened;
  reopened.Meshes = once.meshes;
  reopened.Textures = once.textures;
  EXPECT_EQ(WriteOpzText(reopened), first);
  // Reading again gives new, larger ids; the model otherwise compares equal.
  const ProjectData twice = ReadOpzText(first, ids, "a.opz");
  EXPECT_GT(twice.meshes[0].LODs[0].Faces[0].Vertices[0].Id,
            once.meshes[1].LODs[0].Faces[0].Vertices[3].Id);
  ExpectSameProject(twice, model);
}

// Mesh by mesh, for commands that only look: the same meshes in the same order as the
// whole read gives (but for the ids it gives out), and the same texture records.
TEST(OpzRoundTrip, ReadingMeshByMeshHandsTheSameMeshesInOrder) {
  const Model model = test::RichModel();
  const std::string text = WriteOpzText(model);
  IdCounters ids;
  const ProjectData whole = ReadOpzText(text, ids, "rich.opz");
  std::vector<MeshRec> seen;
  const auto textures = ReadOpzMeshes(text, "rich.opz", [&](MeshRec&& m) { seen.push_back(m); });
  ASSERT_EQ(seen.size(), whole.meshes.size());
  for (std::size_t m = 0; m < seen.size(); ++m) {
    const MeshRec& expected = whole.meshes[m];
    EXPECT_EQ(seen[m].Name, expected.Name);
    ASSERT_EQ(seen[m].LODs.size(), expected.LODs.size());
    for (std::size_t l = 0; l < expected.LODs.size(); ++l) {
      ASSERT_EQ(seen[m].LODs[l].Faces.size(), expected.LODs[l].Faces.size());
      EXPECT_EQ(seen[m].LODs[l].Distance, expected.LODs[l].Distance);
      for (std::size_t f = 0; f < expected.LODs[l].Faces.size(); ++f) {
        FaceRec a = seen[m].LODs[l].Faces[f], b = expected.LODs[l].Faces[f];
        a.Id = b.Id = 0;  // the whole read gives out ids; the look gives none
        for (std::size_t k = 0; k < 4; ++k) a.Vertices[k].Id = b.Vertices[k].Id = 0;
        EXPECT_EQ(a, b) << "mesh " << m << " level " << l << " face " << f;
      }
    }
    test::ExpectSameFeatures(seen[m], expected);
  }
  EXPECT_TRUE(textures == whole.textures);
  EXPECT_THROW(ReadOpzMeshes(text.substr(0, text.size() / 2), "cut.opz", [](MeshRec&&) {}),
               FileError);
}

TEST(OpzRoundTrip, EverySingleSurvivesExactly) {
  // Values that seven significant digits cannot hold.
  const float values[] = {16777217.0f,      0.1f + 1e-8f, 1.00000012f, 3.4028235e38f,
                          -1.17549435e-38f, 1e-45f,       123456.789f, -0.333333343f};
  Model model;
  std::vector<FaceRec> faces;
  for (float v : values)
    faces.push_back(Triangle(Corner(v, v / 3, -v, v, v * 0.5f), Corner(1, 2, 3), Corner(4, 5, 6)));
  model.Meshes.push_back(MeshWith(faces));
  model.Meshes.Edit(0).LODs[0].Distance = values[1];
  model.Meshes.Edit(0).Pivot = {values[2], values[3], values[4]};
  IdCounters ids;
  const ProjectData d = ReadOpzText(WriteOpzText(model), ids, "f.opz");
  for (std::size_t f = 0; f < faces.size(); ++f) {
    const VertexRec &a = d.meshes[0].LODs[0].Faces[f].Vertices[0], &b = faces[f].Vertices[0];
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.X), std::bit_cast<std::uint32_t>(b.X)) << values[f];
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.Y), std::bit_cast<std::uint32_t>(b.Y));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.V), std::bit_cast<std::uint32_t>(b.V));
  }
  EXPECT_EQ(d.meshes[0].LODs[0].Distance, values[1]);
  EXPECT_EQ(d.meshes[0].Pivot, model.Meshes[0].Pivot);
}

TEST(OpzReader, AcceptsLfLineEndsBlanksAndBothExponentForms) {
  Model model = test::RichModel();
  std::string text = WriteOpzText(model);
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  // Blanks around fields and a lower-case exponent.
  const std::size_t at = lf.find("1E-07");
  ASSERT_NE(at, std::string::npos);
  lf.replace(at, 5, " 1e-07 ");
  IdCounters ids;
  const ProjectData d = ReadOpzText(lf, ids, "lf.opz");
  EXPECT_EQ(d.meshes[0].LODs[0].Faces[1].Vector1.z, 1e-7f);
  ExpectSameProject(d, model);
}

struct BadLine {
  const char* find;
  const char* replace;
  const char* message;
};

TEST(OpzReader, RefusesLinesThatDoNotHoldTheirKindAndNamesTheLine) {
  const std::string good = WriteOpzText(test::RichModel());
  const BadLine cases[] = {
      {"0.5, 1, 1.5\r\n", "0.5, 1\r\n", "hitzone centre"},
      {"0.5, 1, 1.5\r\n", "0.5, nan, 1.5\r\n", "hitzone centre"},
      {"0.5, 1, 1.5\r\n", "0,5, 1, 1.5\r\n", "hitzone centre"},
      {"LOD 1\r\n", "LDO 1\r\n", "header"},
      {"FACE 1\r\n", "FOO 1\r\n", "FACE"},
      {" 100 \r\n", " 300 \r\n", "opacity"},
      {" 16 \r\n", " 17 \r\n", "brightness"},
      {" 16 \r\n", " 0 \r\n", "brightness"},
      {"a.BMP\r\n 100", "../a.BMP\r\n 100", "not a file name"},
      {"255, 0, 255\r\n", "255, 0\r\n", "colour"},
      {"255, 200, 100, 50\r\n", "255, 200, 100\r\n", "inner colour"},
  };
  for (const BadLine& c : cases) {
    std::string text = good;
    const std::size_t at = text.find(c.find);
    ASSERT_NE(at, std::string::npos) << c.find;
    text.replace(at, std::strlen(c.find), c.replace);
    IdCounters ids;
    try {
      ReadOpzText(text, ids, "bad.opz");
      ADD_FAILURE() << "accepted " << c.replace;
    } catch (const FileError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("bad.opz, line "), std::string::npos) << what;
      EXPECT_NE(what.find(c.message), std::string::npos) << what;
    }
    EXPECT_EQ(ids.NextFaceId, 2000) << "ids advanced by a failed read";
  }
}

TEST(OpzReader, CountsAreCheckedAgainstTheFile) {
  IdCounters ids;
  EXPECT_THROW(ReadOpzText(" -1 \r\n 0 \r\n", ids, "n.opz"), FileError);
  EXPECT_THROW(ReadOpzText(" 40000 \r\n 0 \r\n", ids, "n.opz"), FileError);
  EXPECT_THROW(ReadOpzText(" 99999999999999 \r\n 0 \r\n", ids, "n.opz"), FileError);
  EXPECT_THROW(ReadOpzText(" 0 \r\n 1 \r\nx.BMP\r\n", ids, "n.opz"), FileError);
  // More than 32767 faces in a level is fine: counts are 32-bit.
  Model model;
  std::vector<FaceRec> faces(40000, Triangle(Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0)));
  model.Meshes.push_back(MeshWith(faces));
  EXPECT_EQ(ReadOpzText(WriteOpzText(model), ids, "big.opz").meshes[0].LODs[0].FaceCount(), 40000);
}

TEST(OpzReader, EveryTruncationIsAnErrorWithTheModelUntouched) {
  const std::string good = WriteOpzText(test::RichModel());
  std::vector<std::size_t> lineEnds;
  for (std::size_t i = 0; i < good.size(); ++i)
    if (good[i] == '\n') lineEnds.push_back(i + 1);
  lineEnds.pop_back();  // the whole file is valid
  for (std::size_t end : lineEnds) {
    IdCounters ids;
    EXPECT_THROW(ReadOpzText(good.substr(0, end), ids, "cut.opz"), FileError) << "cut at " << end;
    EXPECT_EQ(ids.NextMeshId, 1000);
  }
}

}  // namespace
}  // namespace tamsel

namespace tamsel {
namespace {

// Levels of many faces are read side by side: the same records, the same error lines, and
// a text cut short inside them is still an error at its end.
TEST(OpzReader, LargeLevelsReadInRunsGiveTheSameRecordsAndErrorLines) {
  Model model;
  std::vector<FaceRec> faces;
  for (int f = 0; f < 5000; ++f) {
    const float x = static_cast<float>(f) * 0.37f;
    faces.push_back(Triangle(Corner(x, -x, 1.5f, 0.25f, 0.5f), Corner(x + 1, 0, 0),
                             Corner(0, x * 1e-3f, -2), f % 3 ? "a.BMP" : ""));
  }
  model.Meshes.push_back(MeshWith(faces, {}, "Big"));
  model.Meshes.push_back(MeshWith({faces[0]}, {}, "Small"));
  const std::string text = WriteOpzText(model);
  IdCounters ids;
  const ProjectData back = ReadOpzText(text, ids, "big.opz");
  ExpectSameProject(back, model);

  // Line numbers count from 1: find the start of line n.
  const auto lineStart = [&](std::int64_t n) {
    std::size_t at = 0;
    for (std::int64_t l = 1; l < n; ++l) at = text.find('\n', at) + 1;
    return at;
  };
  // The file starts with 2 count lines; the first mesh takes 1 name + 5 counts/codes + 4
  // triples + 1 code + 5 triples = 16 lines, then a LOD header, a count and a distance: face
  // f starts at line 2 + 16 + 3 + 20 f + 1.
  const auto faceLine = [](std::int64_t f) { return 2 + 16 + 3 + 20 * f + 1; };
  const std::int64_t face4321 = faceLine(4321);
  std::string broken = text;
  const std::size_t at = lineStart(face4321 + 2);  // its second corner
  broken.replace(at, broken.find('\r', at) - at, "1, two, 3");
  try {
    ReadOpzText(broken, ids, "big.opz");
    FAIL() << "a broken corner was read";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("line " + std::to_string(face4321 + 2) + ":"),
              std::string::npos)
        << e.what();
  }
  try {
    ReadOpzText(text.substr(0, lineStart(face4321 + 5)), ids, "big.opz");
    FAIL() << "a cut text was read";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("ends early"), std::string::npos) << e.what();
  }
  // Cut where a run of faces would start (for two to eight runs), and blank lines enough
  // after it for the face count to pass: the runs before it read whole, and the first
  // missing face's line is named.
  for (int face : {625, 834, 1250, 1667, 2500, 3750}) {
    const std::int64_t first = faceLine(face);
    try {
      ReadOpzText(text.substr(0, lineStart(first)) + std::string(200'000, '\n'), ids, "big.opz");
      ADD_FAILURE() << "a text cut before face " << face << " was read";
    } catch (const FileError& e) {
      EXPECT_NE(
          std::string(e.what()).find("line " + std::to_string(first) + ": expected the header"),
          std::string::npos)
          << e.what();
    }
  }
  // Two broken faces in different runs: the earlier one is named.
  std::string twice = text;
  const std::size_t late = lineStart(faceLine(4900) + 3);
  twice.replace(late, twice.find('\r', late) - late, "x");
  const std::size_t early = lineStart(faceLine(100) + 2);
  twice.replace(early, twice.find('\r', early) - early, "1, 2");
  try {
    ReadOpzText(twice, ids, "big.opz");
    FAIL() << "broken corners were read";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("line " + std::to_string(faceLine(100) + 2) + ":"),
              std::string::npos)
        << e.what();
  }
  // Lines broken by LF alone, as an editor may leave them, read the same.
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  ExpectSameProject(ReadOpzText(lf, ids, "big.opz"), model);
}

}  // namespace
}  // namespace tamsel
