// The viewport's drawing pinned by pictures: the sample fighter and a small see-through
// craft drawn headless in each view and mode, compared with baselines under
// tests/render/baselines. A change to what the viewport draws fails here; after a change
// meant to be seen, TAMSEL_UPDATE_BASELINES=1 writes the new pictures to be committed.
#include <gtest/gtest.h>

#include <QPainter>

#include "editing/sample_fighter.h"
#include "model/bounds.h"
#include "render/image_compare.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"
#include "viewport/craft_render.h"

namespace tamsel {
namespace {

constexpr int kWidth = 320, kHeight = 240;

class RenderBaselineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test::TempDir;
    fighter_ = new Model;
    GenerateFighter(*fighter_, folder_->path());
    CalculateBounds(*fighter_);
  }
  static void TearDownTestSuite() {
    delete fighter_;
    delete folder_;
  }

  static RenderRequest Request(ViewAngle angle, const std::string& mode) {
    RenderRequest r;
    r.angle = angle;
    r.width = kWidth;
    r.height = kHeight;
    r.view.DisplayMode = mode == "texture" ? Display::Texture : Display::Wire;
    r.view.NormalsShown = false;
    return r;
  }

  static QImage Render(const Model& model, const RenderRequest& request,
                       const PictureSource& pictures) {
    const RenderResult result = RenderCraft(model, request, pictures);
    EXPECT_FALSE(result.image.isNull()) << result.error;
    EXPECT_TRUE(result.missing.empty());
    return result.image;
  }
  static QImage RenderFighter(const RenderRequest& request) {
    return Render(*fighter_, request, ProjectPictures(*fighter_));
  }
  static QImage RenderFighter(const Model& model, const RenderRequest& request) {
    return Render(model, request, ProjectPictures(model));
  }

  // The fighter with every mesh selected at the request's level, the first one focused.
  static Model SelectedFighter(const std::string& level) {
    Model model = *fighter_;
    for (MeshRec& mesh : model.Meshes.EditAll())
      for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
        LODRec& lod = mesh.LODs[l];
        lod.Selected = true;
        if (level == "mesh") continue;
        for (std::size_t f = 0; f < lod.Faces.size(); f += 3) {
          lod.Faces[f].Selected = true;
          if (level == "vertex") lod.Faces[f].Vertices[0].Selected = true;
        }
      }
    return model;
  }

  static test::TempDir* folder_;
  static Model* fighter_;
};

test::TempDir* RenderBaselineTest::folder_ = nullptr;
Model* RenderBaselineTest::fighter_ = nullptr;

TEST_F(RenderBaselineTest, FighterInEveryViewAndMode) {
  const std::pair<ViewAngle, const char*> views[] = {{ViewAngle::Perspective, "3d"},
                                                     {ViewAngle::Top, "top"},
                                                     {ViewAngle::Front, "front"},
                                                     {ViewAngle::Right, "right"}};
  for (const auto& [angle, name] : views)
    for (const char* mode : {"texture", "wire"}) {
      const QString picture = QString("fighter_%1_%2").arg(name, mode);
      EXPECT_EQ(test::MatchBaseline(picture, RenderFighter(Request(angle, mode))), "");
    }
}

TEST_F(RenderBaselineTest, FighterLowLevelAndFlightGroupColour) {
  RenderRequest low = Request(ViewAngle::Perspective, "texture");
  low.view.CurrentLOD = Detail::Low;
  EXPECT_EQ(test::MatchBaseline("fighter_3d_low", RenderFighter(low)), "");
  RenderRequest blue = Request(ViewAngle::Top, "texture");
  blue.view.FlightGroupColor = 2;
  EXPECT_EQ(test::MatchBaseline("fighter_top_blue_group", RenderFighter(blue)), "");
}

TEST_F(RenderBaselineTest, SelectionColoursAtEachLevel) {
  for (const char* mode : {"wire", "texture"}) {
    RenderRequest meshes = Request(ViewAngle::Perspective, mode);
    meshes.inputs.focusedMesh = 0;
    EXPECT_EQ(test::MatchBaseline(QString("selected_meshes_%1").arg(mode),
                                  RenderFighter(SelectedFighter("mesh"), meshes)),
              "");
  }
  RenderRequest faces = Request(ViewAngle::Top, "wire");
  faces.view.GeometryLevel = Geometry::Face;
  faces.inputs.focusedMesh = 0;
  faces.inputs.focusedFace = FaceRef{0, 3};
  EXPECT_EQ(
      test::MatchBaseline("selected_faces_wire", RenderFighter(SelectedFighter("face"), faces)),
      "");
}

TEST_F(RenderBaselineTest, NormalsAndCornersAtTheVertexLevel) {
  RenderRequest r = Request(ViewAngle::Front, "wire");
  r.view.GeometryLevel = Geometry::Vertex;
  r.view.NormalsShown = true;
  r.inputs.focusedMesh = 0;
  r.inputs.focusedCorner = CornerRef{0, 3, 0};
  EXPECT_EQ(test::MatchBaseline("vertex_normals_wire", RenderFighter(SelectedFighter("vertex"), r)),
            "");
}

TEST_F(RenderBaselineTest, PanelDrawings) {
  const std::tuple<const char*, Panel, int> panels[] = {{"hardpoint", Panel::Hardpoint, -1},
                                                        {"engine glow", Panel::EngineGlow, -1},
                                                        {"hitzone", Panel::Hitzone, 0},
                                                        {"rotation", Panel::Rotation, 6}};
  for (const auto& [panel, shown, focus] : panels) {
    RenderRequest r = Request(ViewAngle::Perspective, "texture");
    r.view.PropertyPanel = shown;
    r.inputs.focusedMesh = focus;
    QString name = QString("panel_%1").arg(panel).replace(' ', '_');
    EXPECT_EQ(test::MatchBaseline(name, RenderFighter(SelectedFighter("mesh"), r)), "");
  }
}

// A see-through panel (black keyed out, drawn at half opacity) above an opaque green one,
// seen from the top (-Z): both must show, each where it should.
TEST_F(RenderBaselineTest, TransparencyLetsTheFaceBehindShow) {
  Model model;
  QImage stripes(16, 16, QImage::Format_RGB32);
  stripes.fill(Qt::black);
  {
    QPainter p(&stripes);
    p.fillRect(0, 0, 16, 4, QColor(255, 255, 255));
    p.fillRect(0, 8, 16, 4, QColor(255, 255, 255));
  }
  QImage green(4, 4, QImage::Format_RGB32);
  green.fill(QColor(0, 200, 0));
  TextureRec glass;
  glass.Name = "glass.BMP";
  glass.TransOpacity = 128;
  glass.TransTolerance = 8;
  TextureRec plate;
  plate.Name = "plate.BMP";
  model.Textures.push_back(glass);
  model.Textures.push_back(plate);
  using test::Corner;
  model.Meshes.push_back(
      test::MeshWith({test::Quad(Corner(-4, -4, -2, 0, 0), Corner(4, -4, -2, 1, 0),
                                 Corner(4, 4, -2, 1, 1), Corner(-4, 4, -2, 0, 1), "glass.BMP"),
                      test::Quad(Corner(-6, -2, 0, 0, 0), Corner(6, -2, 0, 1, 0),
                                 Corner(6, 2, 0, 1, 1), Corner(-6, 2, 0, 0, 1), "plate.BMP")}));
  CalculateBounds(model);
  const PictureSource pictures = [&](std::size_t t) { return t == 0 ? stripes : green; };
  RenderRequest r = Request(ViewAngle::Top, "texture");
  const QImage picture = Render(model, r, pictures);
  // Through a keyed-out stripe the plate shows dimmed by the glass; a white stripe hides it.
  const QRgb through = picture.pixel(kWidth / 2, kHeight * 2 / 5);
  EXPECT_GT(qGreen(through), 40);
  EXPECT_LT(qGreen(through), 180);
  EXPECT_LT(qRed(through), 20);
  EXPECT_EQ(picture.pixel(kWidth / 2, kHeight * 3 / 5), qRgb(255, 255, 255));
  EXPECT_EQ(test::MatchBaseline("transparency_top", picture), "");
}

// The comparison is what makes the baselines a net: a changed colour must fail it, and a
// picture is never compared with a baseline of another size.
TEST_F(RenderBaselineTest, ComparisonCatchesAChangedDrawing) {
  RenderRequest r = Request(ViewAngle::Perspective, "wire");
  r.inputs.focusedMesh = 0;
  const QImage before = RenderFighter(SelectedFighter("mesh"), r);
  r.colors.PrimarySelectWireColor = {255, 255, 255};
  const QImage after = RenderFighter(SelectedFighter("mesh"), r);
  const test::ImageDifference changed = test::CompareImages(before, after, 24);
  EXPECT_TRUE(changed.sameSize);
  EXPECT_GT(changed.differing, changed.total / 1000);
  const test::ImageDifference same = test::CompareImages(before, before, 0);
  EXPECT_EQ(same.differing, 0);
  EXPECT_FALSE(test::CompareImages(before, before.scaled(100, 100), 24).sameSize);
}

TEST_F(RenderBaselineTest, SizesOutsideTheBufferAreRefused) {
  RenderRequest r = Request(ViewAngle::Top, "wire");
  r.width = 0;
  const RenderResult result = RenderCraft(*fighter_, r, ProjectPictures(*fighter_));
  EXPECT_TRUE(result.image.isNull());
  EXPECT_NE(result.error.find("8192"), std::string::npos);
}

TEST_F(RenderBaselineTest, MissingBitmapsDrawUntexturedAndAreNamed) {
  const RenderResult result = RenderCraft(*fighter_, Request(ViewAngle::Top, "texture"),
                                          [](std::size_t) { return QImage(); });
  ASSERT_FALSE(result.image.isNull());
  EXPECT_EQ(result.missing.size(), fighter_->Textures.size());
}

TEST_F(RenderBaselineTest, TheGroundGridLiesUnderTheCraft) {
  RenderRequest r = Request(ViewAngle::Perspective, "texture");
  r.view.GridShown = true;
  const QImage picture = RenderFighter(r);
  EXPECT_EQ(test::MatchBaseline("grid_3d_texture", picture), "");
  // The corner of the picture, empty without the grid, shows its lines.
  RenderRequest plain = Request(ViewAngle::Perspective, "texture");
  const QImage without = RenderFighter(plain);
  long differ = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) differ += picture.pixel(x, y) != without.pixel(x, y);
  EXPECT_GT(differ, picture.width()) << "grid lines drawn";
}

// The gizmo in its corner and the gradient behind the craft, in the turned 3D view.
TEST_F(RenderBaselineTest, TheAxesGizmoAndTheGradientFrameTheCraft) {
  RenderRequest r = Request(ViewAngle::Perspective, "texture");
  r.view.AxesShown = true;
  r.view.GradientShown = true;
  const QImage picture = RenderFighter(r);
  EXPECT_EQ(test::MatchBaseline("gizmo_gradient_3d_texture", picture), "");
  // The top row is lighter than the bottom row, and neither is the plain black.
  const QColor top = picture.pixelColor(picture.width() / 2, 0);
  const QColor bottom = picture.pixelColor(picture.width() / 2, picture.height() - 1);
  EXPECT_GT(top.blue(), bottom.blue() + 30)
      << top.name().toStdString() << " over " << bottom.name().toStdString();
  EXPECT_GT(bottom.blue(), 0);
}

}  // namespace
}  // namespace tamsel
