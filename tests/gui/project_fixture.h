// The real window with a small project opened from a temporary folder, and the pixel at
// which a model point shows in the viewport.
#pragma once

#include <QLineEdit>
#include <QPoint>
#include <QToolButton>

#include <QToolButton>
#include "app/project_commands.h"
#include "app/row_list.h"
#include "app/window_shell.h"
#include "gui/window_fixture.h"
#include "model/file_io.h"
#include "model/opz.h"
#include "opt/bitmap.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace tamsel::test {

// Two meshes side by side, 20 units wide, each of two quads; a texture "red.BMP" whose
// texels are red, with a black column at the left.
inline Model PickModel() {
  Model model;
  model.Meshes.push_back(
      MeshWith({Quad(Corner(0, 0, 0, 0, 0), Corner(10, 0, 0, 1, 0), Corner(10, 20, 0, 1, 1),
                     Corner(0, 20, 0, 0, 1), "red.BMP"),
                Quad(Corner(10, 0, 0, 0, 0), Corner(20, 0, 0, 1, 0), Corner(20, 20, 0, 1, 1),
                     Corner(10, 20, 0, 0, 1), "red.BMP")},
               {}, "Left"));
  model.Meshes.push_back(
      MeshWith({Quad(Corner(-20, 0, 0, 0, 0), Corner(-10, 0, 0, 1, 0), Corner(-10, 20, 0, 1, 1),
                     Corner(-20, 20, 0, 0, 1), "red.BMP"),
                Quad(Corner(-10, 0, 0, 0, 0), Corner(0, 0, 0, 1, 0), Corner(0, 20, 0, 1, 1),
                     Corner(-10, 20, 0, 0, 1), "red.BMP")},
               {}, "Right"));
  TextureRec t;
  t.Name = "red.BMP";
  t.TransColors = {{255, 0, 0}};
  model.Textures.push_back(t);
  return model;
}

class ProjectTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Bitmap bitmap;
    bitmap.width = bitmap.height = 8;
    bitmap.palette[4 * 1 + 2] = 255;  // colour 1: red
    bitmap.palette[4 * 2] = 200;      // colour 2: blue 200
    bitmap.texels.assign(64, 1);
    for (int y = 0; y < 8; ++y) bitmap.texels[static_cast<std::size_t>(8 * y)] = 0;
    bitmap.texels[9] = 2;
    WriteFileAtomic(dir / "red.BMP", EncodeBitmap(bitmap));
    WriteFileAtomic(dir / "p.opz", WriteOpzText(PickModel()));
  }
  void Open() {
    ASSERT_TRUE(window->Files().OpenProjectFile(QString::fromStdString((dir / "p.opz").string())));
  }

  // Where a model point shows in the viewport, in its logical pixels.
  QPoint PixelOf(float x, float y, float z) {
    GlViewportWidget& ctl = window->ViewportWidget();
    const Matrix4 m =
        Multiply(ctl.Camera().Projection(ctl.width(), ctl.height()), ctl.Camera().ModelView());
    const double cx = m[0] * x + m[4] * y + m[8] * z + m[12],
                 cy = m[1] * x + m[5] * y + m[9] * z + m[13];
    const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    return {static_cast<int>((cx / w + 1) / 2 * ctl.width()),
            static_cast<int>((1 - cy / w) / 2 * ctl.height())};
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::RightButton, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(&window->ViewportWidget(), button, mods, at);
  }
  // A display tool-bar button by its key ("face", "texture", "high level").
  void Press(const char* key) {
    QToolButton* button = Button(QString("dispbar_") + QString(key).replace(' ', '_'));
    ASSERT_NE(button, nullptr) << key;
    button->click();
  }
  RowList* L(const char* name) { return Find<RowList>(name); }
  // A click on a list row, through the list's viewport as the user clicks.
  void ClickRow(const char* list, int row, Qt::KeyboardModifiers mods = {}) {
    RowList* l = L(list);
    ASSERT_LT(row, l->ListCount()) << list;
    QTest::mouseClick(l->viewport(), Qt::LeftButton, mods,
                      l->visualRect(l->model()->index(row, 0)).center());
  }
  QString Text(const char* name) { return Find<QLineEdit>(name)->text(); }

  TempDir dir;
};

}  // namespace tamsel::test
