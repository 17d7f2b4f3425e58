// The display routines: they fill the panels' boxes and rebuild the lists from the model.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <filesystem>

#include "app/controls.h"
#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "editing/selection.h"
#include "model/number_text.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

QString Num(float v) {
  return QString::fromStdString(FormatSingle(v));
}

void SetTriple(const TamselWindow& w, const char* stem, const Single3& v) {
  w.Box(QString("X") + stem)->setText(Num(v.x));
  w.Box(QString("Y") + stem)->setText(Num(v.y));
  w.Box(QString("Z") + stem)->setText(Num(v.z));
}

// A code outside the list shows as one extra entry holding the number, so that it is
// visible and kept until another entry is chosen.
void ShowCode(QComboBox* combo, int code, int known) {
  while (combo->count() > known) combo->removeItem(combo->count() - 1);
  if (code >= 0 && code < known) {
    combo->setCurrentIndex(code);
    return;
  }
  combo->addItem(QString::number(code));
  combo->setCurrentIndex(known);
}

void Grey(QWidget* swatch, int level) {
  const int g = std::clamp(level, 0, 255);
  SetBackColor(swatch, g, g, g);
}

// Paints in magenta every pixel within tolerance of one of the colour rows.
QImage Marked(const QImage& picture, const std::vector<RGB>& rows, int tolerance) {
  QImage image = picture.convertToFormat(QImage::Format_RGB32);
  if (rows.empty()) return image;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
      for (const RGB& c : rows)
        if (std::abs(r - c[0]) <= tolerance && std::abs(g - c[1]) <= tolerance &&
            std::abs(b - c[2]) <= tolerance) {
          line[x] = qRgb(255, 0, 255);
          break;
        }
    }
  }
  return image;
}

void FillColourLists(const TamselWindow& w, const char* prefix, const std::vector<RGB>& rows) {
  const char* channels[3] = {"redtintlist", "greentintlist", "bluetintlist"};
  for (int c = 0; c < 3; ++c) {
    std::vector<QString> values;
    for (const RGB& row : rows) values.push_back(QString::number(row[static_cast<std::size_t>(c)]));
    w.List(QString(prefix) + channels[c])->SetRows(std::move(values));
  }
}

}  // namespace

void TamselWindow::ShowStartsOfBoxes() {
  // A number filled in shows from its start (0.36184406, not 36184406) in a narrow box; the
  // box being typed in keeps its cursor.
  for (QLineEdit* box : propertyStack_->findChildren<QLineEdit*>())
    if (!box->hasFocus()) box->setCursorPosition(0);
}

void TamselWindow::MeshScreens(int M, int L) {
  FillMeshBoxes(M, L, true);
  if (M < 0 || M >= model_.MeshCount() || !model_.Meshes[static_cast<std::size_t>(M)].HasLevel(L))
    return;
  List("meshlist")->SetListIndex(M);
  RebuildFaceRows(L);
  RebuildFeatureRows(L);
  if (view_.GeometryLevel == "mesh") List("meshlist")->setFocus();
}

void TamselWindow::FillMeshBoxes(int M, int L, bool resetChanges) {
  static const char* const boxes[] = {"Xmeshtext",      "Ymeshtext",      "Zmeshtext",
                                      "Xmeshangletext", "Ymeshangletext", "Zmeshangletext",
                                      "meshsizetext",   "meshloddisttext"};
  const bool has =
      M >= 0 && M < model_.MeshCount() && model_.Meshes[static_cast<std::size_t>(M)].HasLevel(L);
  for (const char* name : boxes) Box(name)->setEnabled(has);
  if (!has) return;
  const MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(M)];
  // The translation, angle and size boxes hold a change to apply, not a value of the mesh:
  // they start afresh for a newly chosen mesh, and keep what was typed across its edits.
  if (resetChanges) {
    for (int i = 0; i < 6; ++i) Box(boxes[i])->setText("0");
    Box("meshsizetext")->setText("100");
  }
  Box("meshloddisttext")->setText(Num(mesh.LODs[static_cast<std::size_t>(L)].Distance));
  ShowCode(Control<QComboBox>("meshtypetext"), mesh.MeshType, 32);
  ShowCode(Control<QComboBox>("exptypetext"), mesh.ExplosionType, 11);
  SetTriple(*this, "spantext", mesh.Span);
  SetTriple(*this, "centertext", mesh.Center);
  SetTriple(*this, "mintext", mesh.Min);
  SetTriple(*this, "maxtext", mesh.Max);
  SetTriple(*this, "targettext", mesh.Target);
  SetTriple(*this, "pivottext", mesh.Pivot);
  SetTriple(*this, "axistext", mesh.Axis);
  SetTriple(*this, "aimtext", mesh.Aim);
  SetTriple(*this, "degreetext", mesh.Degree);
  Box("targetidtext")->setText(QString::number(mesh.TargetId));
  // UPDATE in these frames changes only this mesh, however many are selected: say which.
  const QString name = QString::fromStdString(mesh.Name);
  Control<QGroupBox>("hitzoneframe")->setTitle("Hitzone: " + name);
  Control<QGroupBox>("rotationframe")->setTitle("Rotation: " + name);
}

void TamselWindow::FaceScreens(int M, int L, int F, int T) {
  if (!FaceAt(model_, L, {M, F}) || T < 0 || T > 3) return;
  FillFaceBoxes(M, L, F, T);
  List("meshlist")->SetListIndex(M);
  RebuildCornerRows(L);
  if (view_.GeometryLevel == "face") List("facelist")->setFocus();
}

void TamselWindow::FillFaceBoxes(int M, int L, int F, int T) {
  const FaceRec* face = FaceAt(model_, L, {M, F});
  if (!face || T < 0 || T > 3) return;
  SetTriple(*this, "facetext", face->BoxCenter);
  for (const char* name : {"Xfaceangletext", "Yfaceangletext", "Zfaceangletext"})
    Box(name)->setText("0");
  Box("facesizetext")->setText("100");
  Box("Ifacenormtext")->setText(Num(face->Normal.x));
  Box("Jfacenormtext")->setText(Num(face->Normal.y));
  Box("Kfacenormtext")->setText(Num(face->Normal.z));
  SetTriple(*this, "1vectortext", face->Vector1);
  SetTriple(*this, "2vectortext", face->Vector2);
  (face->TextureNames[1] != kBlank ? Control<QRadioButton>("fgonop")
                                   : Control<QRadioButton>("fgoffop"))
      ->setChecked(true);

  const std::string& name = face->TextureNames[static_cast<std::size_t>(T)];
  for (int t = 0; t < model_.TextureCount(); ++t) {
    if (model_.Textures[static_cast<std::size_t>(t)].Name != name) continue;
    const QImage* picture = cxxx_->Textures().Picture(static_cast<std::size_t>(t));
    Control<QLabel>("textureviewer")->setPixmap(picture ? QPixmap::fromImage(*picture) : QPixmap());
    List("transtexturelist")->SetListIndex(t);
    List("illumtexturelist")->SetListIndex(t);
    TextureScreens(t);
    RowList* files = List("texturelist");
    files->DeselectAll();
    files->SetSelected(files->FocusRow(QString::fromStdString(name)), true);
  }
}

void TamselWindow::VertexScreens(int M, int L, int F, int V) {
  if (!CornerAt(model_, L, {M, F, V})) return;
  // Every corner list focuses the row of this corner (the lists share their rows).
  const auto row = std::find(cornerRows_.begin(), cornerRows_.end(), CornerRef{M, F, V});
  if (row != cornerRows_.end())
    for (const char* name : {"Yvertexlist", "Zvertexlist", "Ivertnormlist", "Jvertnormlist",
                             "Kvertnormlist", "Ucoordlist", "Vcoordlist"})
      List(name)->SetListIndex(static_cast<int>(row - cornerRows_.begin()));
  FillCornerBoxes(M, L, F, V);
  if (view_.GeometryLevel == "vertex") List("Xvertexlist")->setFocus();
}

void TamselWindow::FillCornerBoxes(int M, int L, int F, int V) {
  const VertexRec* corner = CornerAt(model_, L, {M, F, V});
  if (!corner) return;
  const auto values = CornerValues(*corner);
  const char* boxes[8] = {"Xvertextext",   "Yvertextext",   "Zvertextext", "Ivertnormtext",
                          "Jvertnormtext", "Kvertnormtext", "Ucoordtext",  "Vcoordtext"};
  for (int i = 0; i < 8; ++i) Box(boxes[i])->setText(Num(values[static_cast<std::size_t>(i)]));
}

void TamselWindow::TextureScreens(int t) {
  if (t < 0 || t >= model_.TextureCount()) return;
  const TextureRec& tex = model_.Textures[static_cast<std::size_t>(t)];
  List("transtexturelist")->SetSelected(t, tex.TransOpacity != 255);
  List("illumtexturelist")->SetSelected(t, tex.IllumColorCount() != 0);

  Control<QScrollBar>("transopacitybar")->setValue(tex.TransOpacity);
  Control<QScrollBar>("illumbrightnessbar")->setValue(tex.IllumBrightness);
  Box("transopacitytext")->setText(QString::number(tex.TransOpacity));
  Box("illumbrightnesstext")->setText(QString::number(tex.IllumBrightness));
  Grey(Control("transopacitydisplay"), 255 - tex.TransOpacity);
  Grey(Control("illumbrightnessdisplay"), (tex.IllumBrightness - 1) * 17);
  Control<QScrollBar>("transcolortolerancebar")->setValue(tex.TransTolerance);
  Control<QScrollBar>("illumcolortolerancebar")->setValue(tex.IllumTolerance);
  Box("transcolortolerancetext")->setText(QString::number(tex.TransTolerance));
  Box("illumcolortolerancetext")->setText(QString::number(tex.IllumTolerance));
  FillColourLists(*this, "trans", tex.TransColors);
  FillColourLists(*this, "illum", tex.IllumColors);

  const QImage* picture = cxxx_->Textures().Picture(static_cast<std::size_t>(t));
  const QImage plain = picture ? *picture : QImage();
  Control<QLabel>("transtextureviewer")
      ->setPixmap(QPixmap::fromImage(
          Marked(plain, tex.TransColors, Control<QScrollBar>("transcolortolerancebar")->value())));
  Control<QLabel>("illumtextureviewer")
      ->setPixmap(QPixmap::fromImage(
          Marked(plain, tex.IllumColors, Control<QScrollBar>("illumcolortolerancebar")->value())));
}

}  // namespace tamsel
