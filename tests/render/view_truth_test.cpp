// What the viewport shows, held against answers from outside the drawing code: a box whose
// six sides have six plain colours seen from each preset, planes one behind the other, and
// models written in the axes of modelling tools (by hand, after the formats' own rules, and
// by the import library's exporter) coming in upright.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>

#include <QColor>
#include <QImage>
#include <map>

#include "interchange/model_export.h"
#include "interchange/model_import.h"
#include "interchange/own_gltf.h"
#include "model/bounds.h"
#include "model/file_io.h"
#include "model/project.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"
#include "viewport/craft_render.h"

namespace tamsel {
namespace {

using test::kBoxSides;

const std::map<std::string, QColor> kColours = {
    {"top", QColor(230, 30, 30)},     {"bottom", QColor(30, 200, 30)},
    {"front", QColor(40, 60, 230)},   {"back", QColor(230, 220, 30)},
    {"right", QColor(220, 40, 220)},  {"left", QColor(30, 210, 220)},
    {"ground", QColor(128, 128, 128)}};
constexpr ViewAngle kViewOf[6] = {ViewAngle::Top,  ViewAngle::Bottom, ViewAngle::Front,
                                  ViewAngle::Back, ViewAngle::Right,  ViewAngle::Left};

// The name of the colour a pixel shows, "black" for the empty view, "?" for none near.
std::string NameOf(QColor c) {
  if (c.red() < 12 && c.green() < 12 && c.blue() < 12) return "black";
  for (const auto& [name, colour] : kColours)
    if (std::abs(c.red() - colour.red()) < 24 && std::abs(c.green() - colour.green()) < 24 &&
        std::abs(c.blue() - colour.blue()) < 24)
      return name;
  return "?";
}

std::string Centre(const QImage& image) {
  return NameOf(image.pixelColor(image.width() / 2, image.height() / 2));
}

// Every side's texture a plain picture of its colour.
PictureSource PlainPictures(const Model& model) {
  return [&model](std::size_t t) {
    std::string name = model.Textures[t].Name;
    name = name.substr(0, name.find('.'));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(kColours.count(name) ? kColours.at(name) : QColor(255, 255, 255));
    return picture;
  };
}

Model WithTextures(std::vector<MeshRec> meshes) {
  Model model;
  for (const auto& [name, colour] : kColours) {
    TextureRec t;
    t.Name = name + ".BMP";
    model.Textures.push_back(t);
  }
  for (MeshRec& m : meshes) model.Meshes.push_back(std::move(m));
  CalculateBounds(model);
  return model;
}

QImage Render(const Model& model, ViewAngle angle, const PictureSource& pictures,
              const std::function<void(ViewState&)>& options = {}) {
  RenderRequest r;
  r.angle = angle;
  r.width = 160;
  r.height = 120;
  r.view.DisplayMode = Display::Texture;
  if (options) options(r.view);
  const RenderResult result = RenderCraft(model, r, pictures);
  EXPECT_FALSE(result.image.isNull()) << result.error;
  return result.image;
}

TEST(ViewTruth, EachPresetShowsTheSideItIsNamedForAndNoOther) {
  const Model model = WithTextures({test::ColouredBox()});
  for (std::size_t s = 0; s < 6; ++s) {
    const QImage picture = Render(model, kViewOf[s], PlainPictures(model));
    EXPECT_EQ(Centre(picture), kBoxSides[s].name);
    for (int y = 0; y < picture.height(); y += 3)
      for (int x = 0; x < picture.width(); x += 3) {
        const std::string seen = NameOf(picture.pixelColor(x, y));
        ASSERT_TRUE(seen == "black" || seen == kBoxSides[s].name)
            << kBoxSides[s].name << " view shows " << seen << " at " << x << "," << y;
      }
  }
  // The 3D view looks from above, in front and to the left: those three sides and no other.
  const QImage picture = Render(model, ViewAngle::Perspective, PlainPictures(model));
  std::set<std::string> seen;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) seen.insert(NameOf(picture.pixelColor(x, y)));
  seen.erase("black");
  seen.erase("?");  // edges where two sides meet
  EXPECT_EQ(seen, (std::set<std::string>{"top", "front", "left"}));
  // And with the top up the screen: the top side is above the front side in the picture.
  int topRow = -1, frontRow = -1;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const std::string name = NameOf(picture.pixelColor(x, y));
      if (name == "top" && topRow < 0) topRow = y;
      if (name == "front" && frontRow < 0) frontRow = y;
    }
  EXPECT_LT(topRow, frontRow);
}

TEST(ViewTruth, TheNearerOfTwoPlanesHidesTheFartherInEveryMode) {
  // Facing the top, one above the other: from the Top view the upper (more negative Z) one
  // shows; from the Bottom view nothing shows, as both face away.
  const Model model = WithTextures(
      {test::MeshWith({test::BoxFace(kBoxSides[0], {0, 0, -1.5f}, 1)}, {}, "upper"),
       test::MeshWith({test::BoxFace({"front", {0, 0, -1}}, {0, 0, 0.5f}, 1)}, {}, "lower")});
  EXPECT_EQ(Centre(Render(model, ViewAngle::Top, PlainPictures(model))), "top");
  EXPECT_EQ(Centre(Render(model, ViewAngle::Bottom, PlainPictures(model))), "black");
  // Seen from below with the back faces shown, the lower plane is the nearer, darker.
  const QColor back = Render(model, ViewAngle::Bottom, PlainPictures(model), [](ViewState& v) {
                        v.BackFacesShown = true;
                      }).pixelColor(80, 60);
  const QColor front = kColours.at("front");
  EXPECT_NEAR(back.blue(), front.blue() / 2, 12);
  EXPECT_NEAR(back.red(), front.red() / 2, 12);
}

TEST(ViewTruth, AnInsideOutBoxShowsItsFarSideFromWithin) {
  const Model model = WithTextures({test::ColouredBox({0, 0, 0}, 1, true)});
  // The near side is seen from behind and culled: the far side shows, from inside.
  EXPECT_EQ(Centre(Render(model, ViewAngle::Top, PlainPictures(model))), "bottom");
  EXPECT_EQ(Centre(Render(model, ViewAngle::Front, PlainPictures(model))), "back");
  // With the back faces shown the near side hides it again, at half its brightness.
  const QImage picture = Render(model, ViewAngle::Top, PlainPictures(model),
                                [](ViewState& v) { v.BackFacesShown = true; });
  const QColor c = picture.pixelColor(80, 60), top = kColours.at("top");
  EXPECT_NEAR(c.red(), top.red() / 2, 12);
  EXPECT_NEAR(c.green(), top.green() / 2, 12);
}

// A wireframe draws every edge; with Hidden Lines the edges behind a face are hidden. A
// small square lies under a large one: from the Top view the middle row crosses the edges of
// both, or of the large one only.
TEST(ViewTruth, HiddenLinesHideTheEdgesBehindFaces) {
  const Model model =
      WithTextures({test::MeshWith({test::BoxFace(kBoxSides[0], {0, 0, -1}, 2)}, {}, "large"),
                    test::MeshWith({test::BoxFace(kBoxSides[0], {0, 0, 1}, 1)}, {}, "small")});
  const auto crossings = [&](bool hidden) {
    const QImage picture =
        Render(model, ViewAngle::Top, PlainPictures(model), [hidden](ViewState& v) {
          v.DisplayMode = Display::Wire;
          v.HiddenLines = hidden;
        });
    int runs = 0;
    bool lit = false;
    for (int x = 0; x < picture.width(); ++x) {
      const bool now = picture.pixelColor(x, picture.height() / 2 + 3).lightness() > 100;
      runs += now && !lit;
      lit = now;
    }
    return runs;
  };
  EXPECT_EQ(crossings(false), 4);
  EXPECT_EQ(crossings(true), 2);
}

// A selected face is tinted towards the selection colour; on a texture of that very colour
// the tint changes nothing, so the face carries a mark of the wireframe's selection colour.
TEST(ViewTruth, ASelectedFaceStaysMarkedOnATextureOfItsTintsColour) {
  Model model = WithTextures({test::ColouredBox()});
  const auto render = [&](bool selected) {
    Model m = model;
    m.Meshes.Edit(0).LODs[0].Selected = kTrue;
    m.Meshes.Edit(0).LODs[0].Faces[0].Selected = selected ? kTrue : kFalse;
    RenderRequest r;
    r.angle = ViewAngle::Top;
    r.width = 160;
    r.height = 120;
    r.view.DisplayMode = Display::Texture;
    r.view.GeometryLevel = Geometry::Face;
    r.inputs.focusedMesh = 0;
    r.colors.PrimarySelectTexColor = r.colors.SecondarySelectTexColor = {0, 0, 255};
    return RenderCraft(m, r,
                       [](std::size_t) {
                         QImage blue(4, 4, QImage::Format_RGB32);
                         blue.fill(QColor(0, 0, 255));
                         return blue;
                       })
        .image;
  };
  const QImage plain = render(false), marked = render(true);
  ASSERT_FALSE(plain.isNull());
  long differ = 0, lit = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      lit += plain.pixel(x, y) != qRgb(0, 0, 0);
      differ += plain.pixel(x, y) != marked.pixel(x, y);
    }
  EXPECT_GT(differ, lit / 8) << "the selection shows on a texture of the tint's colour";
}

// ---- Files in the axes of modelling tools. ------------------------------------------------

// An OBJ file of a grey ground plane with a box standing on it (its top red, its sides blue,
// its underside green) and a nose cone (yellow) pointing forward, in a tool's axes: `zUp`,
// up +Z and the front facing -Y; else up +Y and the front facing +Z. Faces run
// counter-clockwise seen from outside, as the format has it.
std::string GroundBoxAndCone(bool zUp) {
  // Written as (right, up, forward) and placed in the file's axes: the model's right side
  // is the viewer's left when it faces the viewer.
  const auto put = [zUp](double r, double u, double f) {
    char line[96];
    if (zUp)
      std::snprintf(line, sizeof line, "v %g %g %g\n", -r, -f, u);
    else
      std::snprintf(line, sizeof line, "v %g %g %g\n", -r, u, f);
    return std::string(line);
  };
  std::string obj = "mtllib m.mtl\n";
  // Ground: 1-4, the box: 5-12 (bottom 5-8, top 9-12), the cone's base 13-15, tip 16.
  for (const auto& [r, f] : {std::pair{-4, -4}, {4, -4}, {4, 4}, {-4, 4}}) obj += put(r, 0, f);
  for (int level = 0; level < 2; ++level)
    for (const auto& [r, f] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}})
      obj += put(r, level * 2, f);
  obj += put(-0.5, 0.5, 1) + put(0.5, 0.5, 1) + put(0, 1.5, 1) + put(0, 1, 3);
  // Each face counter-clockwise seen from outside, in the file's axes.
  obj +=
      "o Ground\nusemtl ground\nf 1 2 3 4\n"
      "o Box\nusemtl top\nf 9 10 11 12\nusemtl bottom\nf 5 8 7 6\n"
      "usemtl front\nf 5 6 10 9\nf 6 7 11 10\nf 7 8 12 11\nf 8 5 9 12\n"
      "o Cone\nusemtl back\nf 13 16 14\nf 14 16 15\nf 15 16 13\nf 13 14 15\n";
  return obj;
}

void WriteModel(const test::TempDir& dir, bool zUp) {
  WriteFileAtomic(dir / "m.obj", GroundBoxAndCone(zUp));
  std::string mtl;
  for (const auto& [name, c] : kColours)
    mtl += "newmtl " + name + "\nKd " + std::to_string(c.redF()) + " " +
           std::to_string(c.greenF()) + " " + std::to_string(c.blueF()) + "\n";
  WriteFileAtomic(dir / "m.mtl", mtl);
}

Model Imported(const std::filesystem::path& file, const std::filesystem::path& project, UpAxis up) {
  Model model;
  std::filesystem::create_directories(project);
  NewProject(model, project);
  ModelImportOptions options;
  options.up = up;
  ImportModel(model, file, options);
  return model;
}

const MeshRec& Named(const Model& m, const std::string& name) {
  for (const MeshRec& mesh : m.Meshes)
    if (mesh.Name == name) return mesh;
  throw std::runtime_error("no mesh " + name);
}

struct Extent {
  Single3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
};
Extent ExtentOf(const MeshRec& mesh) {
  Extent e;
  for (const FaceRec& f : mesh.LODs[0].Faces)
    for (int k = 0; k < f.CornerCount(); ++k) {
      const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
      e.lo = {std::min(e.lo.x, v.X), std::min(e.lo.y, v.Y), std::min(e.lo.z, v.Z)};
      e.hi = {std::max(e.hi.x, v.X), std::max(e.hi.y, v.Y), std::max(e.hi.z, v.Z)};
    }
  return e;
}

// The box stands on the ground in the Top view, the cone's tip is the craft's nose, and
// nothing is mirrored: the cone sits on the box's front, and the views show what the
// modelling tool's views of the same sides show.
void ExpectUpright(const Model& model, const std::string& from) {
  SCOPED_TRACE(from);
  const Extent box = ExtentOf(Named(model, "Box")), ground = ExtentOf(Named(model, "Ground")),
               cone = ExtentOf(Named(model, "Cone"));
  EXPECT_EQ(box.hi.z, ground.lo.z) << "the box stands on the ground's top (-Z)";
  EXPECT_EQ(box.lo.z, ground.lo.z - 2);
  EXPECT_GT(cone.hi.y, box.hi.y + 1) << "the cone points along the nose (+Y)";
  const QImage top = Render(model, ViewAngle::Top, ProjectPictures(model));
  EXPECT_EQ(Centre(top), "top");
  EXPECT_EQ(NameOf(top.pixelColor(top.width() / 2, 4)), "black") << "beyond the ground";
  EXPECT_EQ(NameOf(top.pixelColor(top.width() / 2, top.height() / 2 + 20)), "ground");
  EXPECT_EQ(Centre(Render(model, ViewAngle::Bottom, ProjectPictures(model))), "bottom")
      << "the ground, seen from behind, is culled: the box's underside shows through";
  EXPECT_EQ(Centre(Render(model, ViewAngle::Front, ProjectPictures(model))), "back")
      << "the cone in front of the box";
  // From the front, the box stands above the ground's edge: up the screen is the top.
  const QImage front = Render(model, ViewAngle::Back, ProjectPictures(model));
  int boxRow = -1, groundRow = -1;
  for (int y = 0; y < front.height(); ++y) {
    const std::string name = NameOf(front.pixelColor(front.width() / 2, y));
    if (name == "front" && boxRow < 0) boxRow = y;
    if (name == "ground" && groundRow < 0) groundRow = y;
  }
  EXPECT_GE(boxRow, 0);
  EXPECT_TRUE(groundRow < 0 || boxRow < groundRow) << boxRow << " " << groundRow;
}

TEST(ViewTruth, ModelsOfModellingToolsComeInUpright) {
  for (const bool zUp : {true, false}) {
    test::TempDir dir;
    WriteModel(dir, zUp);
    ExpectUpright(Imported(dir / "m.obj", dir / "p", zUp ? UpAxis::Z : UpAxis::Y),
                  zUp ? "Z-up OBJ" : "Y-up OBJ");
  }
}

// The same scene passed through the import library's own glTF exporter: a file no code of
// ours wrote.
TEST(ViewTruth, AGltfOfTheImportLibrarysExporterComesInUpright) {
  test::TempDir dir;
  WriteModel(dir, false);
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile((dir / "m.obj").string(), 0);
  ASSERT_NE(scene, nullptr) << importer.GetErrorString();
  Assimp::Exporter exporter;
  ASSERT_EQ(exporter.Export(scene, "gltf2", (dir / "m.gltf").string()), AI_SUCCESS)
      << exporter.GetErrorString();
  ExpectUpright(Imported(dir / "m.gltf", dir / "p", UpAxis::Y), "exported glTF");
}

// The reproducer of a farther surface drawn over a nearer one: two quads facing the file's
// front (-Y, Z up), green before blue.
TEST(ViewTruth, TheNearerOfTwoFacingQuadsShowsFromTheFront) {
  test::TempDir dir;
  WriteFileAtomic(dir / "m.mtl",
                  "newmtl bottom\nKd 0.1176 0.7843 0.1176\nnewmtl front\nKd "
                  "0.1569 0.2353 0.902\n");
  WriteFileAtomic(dir / "two.obj",
                  "mtllib m.mtl\n"
                  "v -1 -1 -1\nv 1 -1 -1\nv 1 -1 1\nv -1 -1 1\n"
                  "v -2 0 -2\nv 2 0 -2\nv 2 0 2\nv -2 0 2\n"
                  "o Near\nusemtl bottom\nf 1 2 3 4\no Far\nusemtl front\nf 5 6 7 8\n");
  const Model model = Imported(dir / "two.obj", dir / "p", UpAxis::Z);
  EXPECT_EQ(Centre(Render(model, ViewAngle::Front, ProjectPictures(model))), "bottom");
}

// Our export read by the import library: the file's faces wind counter-clockwise seen from
// outside, the craft's top is the file's +Y, and our import gives every corner back.
TEST(ViewTruth, OurGltfWindsAsTheFormatSaysAndComesBackWhole) {
  test::TempDir dir;
  const Model model = WithTextures({test::ColouredBox({0, 0, 0}, 1)});
  const BitmapLoader bitmaps = [](const TextureRec& t) {
    const QColor colour = kColours.at(t.Name.substr(0, t.Name.find('.')));
    Bitmap b;
    b.width = b.height = 4;
    b.texels.assign(16, 1);
    b.palette[4] = static_cast<std::uint8_t>(colour.blue());
    b.palette[5] = static_cast<std::uint8_t>(colour.green());
    b.palette[6] = static_cast<std::uint8_t>(colour.red());
    return b;
  };
  ExportModel(model, bitmaps, dir / "box.gltf");
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile((dir / "box.gltf").string(), aiProcess_Triangulate);
  ASSERT_NE(scene, nullptr) << importer.GetErrorString();
  int triangles = 0, topSide = 0;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh& mesh = *scene->mMeshes[m];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      ASSERT_EQ(face.mNumIndices, 3u);
      const aiVector3D a = mesh.mVertices[face.mIndices[0]], b = mesh.mVertices[face.mIndices[1]],
                       c = mesh.mVertices[face.mIndices[2]];
      // The box is centred on the origin: outward is where the triangle lies.
      const aiVector3D centre = (a + b + c) / 3.0f;
      EXPECT_GT(((b - a) ^ (c - a)) * centre, 0) << "counter-clockwise seen from outside";
      ++triangles;
      if (centre.y > 0.9f) {
        ++topSide;
        const aiString name = scene->mMaterials[mesh.mMaterialIndex]->GetName();
        EXPECT_EQ(std::string(name.C_Str()), "top.BMP") << "the craft's top is the file's up";
      }
    }
  }
  EXPECT_EQ(triangles, 12);
  EXPECT_EQ(topSide, 2);
  const Model back = Imported(dir / "box.gltf", dir / "q", UpAxis::Y);
  ASSERT_EQ(back.MeshCount(), 1);
  const auto &was = model.Meshes[0].LODs[0].Faces, &is = back.Meshes[0].LODs[0].Faces;
  ASSERT_EQ(is.size(), was.size());
  for (std::size_t f = 0; f < was.size(); ++f)
    for (std::size_t k = 0; k < 4; ++k) {
      EXPECT_EQ(is[f].Vertices[k].X, was[f].Vertices[k].X);
      EXPECT_EQ(is[f].Vertices[k].Y, was[f].Vertices[k].Y);
      EXPECT_EQ(is[f].Vertices[k].Z, was[f].Vertices[k].Z);
    }
}

}  // namespace
}  // namespace tamsel
