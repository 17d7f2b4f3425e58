// The texture sub-panel (assignment, coordinates, flight-group colours) and the
// transparency and illumination panels.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <filesystem>
#include <tuple>
#include <utility>

#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "editing/list_rows.h"
#include "editing/selection.h"
#include "editing/texture_tools.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/number_text.h"
#include "opt/bitmap.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

QString StrengthName(const QString& prefix) {
  return prefix == "trans" ? "opacity" : "brightness";
}

}  // namespace

void TamselWindow::ConnectTextureHandlers() {
  connect(List("texturelist"), &RowList::MouseUp, this, &TamselWindow::texturelist_Click);
  connect(Control<QPushButton>("updategeotexbut"), &QPushButton::clicked, this,
          &TamselWindow::updategeotexbut_Click);
  const std::pair<const char*, StitchView> stitches[] = {{"frontstitchbut", StitchView::FrontBack},
                                                         {"sidestitchbut", StitchView::Side},
                                                         {"topstitchbut", StitchView::TopBottom}};
  for (const auto& [name, view] : stitches)
    connect(Control<QPushButton>(name), &QPushButton::clicked, this,
            [this, v = view] { stitch_Click(static_cast<int>(v)); });
  connect(Control<QToolButton>("texcrotatebut"), &QToolButton::clicked, this,
          [this] { texrotate_Click(true); });
  connect(Control<QToolButton>("texccrotatebut"), &QToolButton::clicked, this,
          [this] { texrotate_Click(false); });
  connect(Control<QToolButton>("texhflipbut"), &QToolButton::clicked, this,
          [this] { texflip_Click(true); });
  connect(Control<QToolButton>("texvflipbut"), &QToolButton::clicked, this,
          [this] { texflip_Click(false); });
  connect(MenuItem("texturecoordinatemenu"), &QAction::triggered, this,
          &TamselWindow::texturecoordinatemenu_Click);
  const char* colours[4] = {"redfgsel", "yellowfgsel", "bluefgsel", "greenfgsel"};
  for (int c = 0; c < 4; ++c)
    connect(Control<QRadioButton>(colours[c]), &QRadioButton::clicked, this,
            [this, c] { fgsel_Click(c); });
  // Only the user's click blanks colour slots; the face display setting the option does not.
  connect(Control<QRadioButton>("fgoffop"), &QRadioButton::clicked, this,
          &TamselWindow::fgoffop_Click);

  for (const char* name : {"trans", "illum"}) {
    const QString prefix = name;
    connect(List(prefix + "texturelist"), &RowList::MouseUp, this,
            [this, prefix] { texturepanel_MouseUp(prefix); });
    auto* viewer = Control<QLabel>(prefix + "textureviewer");
    viewer->setMouseTracking(true);
    // Moves and clicks over the viewer, in its pixels; a click also picks the colour there.
    new EventWatcher(viewer, {QEvent::MouseMove, QEvent::MouseButtonRelease},
                     [this, prefix](QEvent* event) {
                       const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
                       viewer_MouseMove(prefix, p.x(), p.y());
                       if (event->type() == QEvent::MouseButtonRelease) viewer_Click(prefix);
                     });
    for (const char* channel : {"redtintlist", "greentintlist", "bluetintlist"})
      connect(List(prefix + channel), &RowList::MouseUp, this,
              [this, prefix, channel] { tintlist_MouseUp(prefix, channel); });
    connect(Control<QPushButton>(prefix + "removecolor"), &QPushButton::clicked, this,
            [this, prefix] { removecolor_Click(prefix); });
    connect(Control<QScrollBar>(prefix + StrengthName(prefix) + "bar"), &QScrollBar::valueChanged,
            this, [this, prefix] { strengthbar_Change(prefix); });
    connect(Box(prefix + StrengthName(prefix) + "text"), &QLineEdit::textEdited, this,
            [this, prefix] { strengthtext_Change(prefix); });
    connect(Control<QScrollBar>(prefix + "colortolerancebar"), &QScrollBar::valueChanged, this,
            [this, prefix] { tolerancebar_Change(prefix); });
    connect(Box(prefix + "colortolerancetext"), &QLineEdit::textEdited, this,
            [this, prefix] { tolerancetext_Change(prefix); });
    connect(Control<QPushButton>(prefix == "trans" ? "updatetextransbut" : "updatetexillumbut"),
            &QPushButton::clicked, this, [this, prefix] { updatetexpanel_Click(prefix); });
  }
}

std::optional<FaceRef> TamselWindow::ReadFaceListSelection() {
  const int level = view_.LevelIndex();
  RowList* list = List("facelist");
  for (std::size_t i = 0; i < faceRows_.size(); ++i) {
    const Boolean flag = list->Selected(static_cast<int>(i)) ? kTrue : kFalse;
    const FaceRec* seen = FaceAt(std::as_const(model_), level, faceRows_[i]);
    if (seen && seen->Selected != flag) EditFaceAt(model_, level, faceRows_[i])->Selected = flag;
  }
  const int focus = list->ListIndex();
  if (focus < 0 || static_cast<std::size_t>(focus) >= faceRows_.size()) return std::nullopt;
  return faceRows_[static_cast<std::size_t>(focus)];
}

void TamselWindow::texturelist_Click() {
  RowList* files = List("texturelist");
  const QString name = files->List(files->ListIndex());
  if (name.isEmpty()) return;
  QImage picture(QString::fromStdString(
      (std::filesystem::path(model_.ProjectPath) / name.toStdString()).string()));
  Control<QLabel>("texturepreview")->setPixmap(QPixmap::fromImage(picture));
}

void TamselWindow::updategeotexbut_Click() {
  const int level = view_.LevelIndex();
  if (view_.GeometryLevel == "vertex") {
    const auto u = Number("Ucoordtext"), v = Number("Vcoordtext");
    if (!u || !v) return;
    Edit("Texture coordinate UPDATE", [&](tamsel::Model& m) {
      SetSelectedCornersUV(m, level, static_cast<float>(*u), static_cast<float>(*v));
    });
  } else if (view_.GeometryLevel == "face") {
    RowList* files = List("texturelist");
    const std::string name = files->List(files->ListIndex()).toStdString();
    if (name.empty() || !files->Selected(files->ListIndex())) return;
    std::optional<double> v[6];
    const char* boxes[6] = {"X1vectortext", "Y1vectortext", "Z1vectortext",
                            "X2vectortext", "Y2vectortext", "Z2vectortext"};
    for (int b = 0; b < 6; ++b)
      if (!(v[b] = Number(boxes[b]))) return;
    // A texture that is new to the project must be an 8-bit bitmap the writer can use.
    const auto path = std::filesystem::path(model_.ProjectPath) / name;
    const bool known = std::any_of(model_.Textures.begin(), model_.Textures.end(),
                                   [&](const TextureRec& t) { return t.Name == name; });
    if (!known) {
      try {
        DecodeBitmap(ReadFileBytes(path), path.string());
      } catch (const FileError& e) {
        dialogs_.MessageBox(QString::fromStdString(e.what()), "Texture");
        return;
      }
    }
    int slot = 0;
    const char* colours[4] = {"redfgsel", "yellowfgsel", "bluefgsel", "greenfgsel"};
    for (int c = 0; c < 4; ++c)
      if (Control<QRadioButton>(colours[c])->isChecked()) {
        slot = c;
        break;
      }
    Control<QLabel>("textureviewer")->setPixmap(Control<QLabel>("texturepreview")->pixmap());
    const std::optional<FaceRef> focused = ReadFaceListSelection();
    const auto f = [](const std::optional<double>& d) { return static_cast<float>(*d); };
    int t = -1;
    bool added = false;
    Edit("Texture UPDATE", [&](tamsel::Model& m) {
      if (AssignTexture(m, level, slot, name, focused,
                        FaceVectors{{f(v[0]), f(v[1]), f(v[2])}, {f(v[3]), f(v[4]), f(v[5])}}) == 0)
        return;
      std::tie(t, added) = RegisterTexture(m, name);
    });
    // A texture new to the project is keyed at the threshold of a fresh assignment.
    if (added)
      cxxx_->Textures().Load(static_cast<std::size_t>(t), QString::fromStdString(path.string()),
                             32);
    Redisplay();
  }
}

void TamselWindow::stitch_Click(int view) {
  const int level = view_.LevelIndex();
  Edit("Stitch", [&](tamsel::Model& m) { Stitch(m, level, static_cast<StitchView>(view)); });
}

void TamselWindow::texrotate_Click(bool clockwise) {
  const int level = view_.LevelIndex();
  Edit("Rotate coordinates", [&](tamsel::Model& m) { RotateCoordinates(m, level, clockwise); });
}

void TamselWindow::texflip_Click(bool mirrorU) {
  const int level = view_.LevelIndex();
  Edit("Mirror coordinates", [&](tamsel::Model& m) { MirrorCoordinates(m, level, mirrorU); });
}

void TamselWindow::texturecoordinatemenu_Click() {
  if (Edit("Texture Coordinates", [](tamsel::Model& m) { ResetTextureCoordinates(m); }))
    ShowStatus(QString("Texture Coordinates reset on %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::fgsel_Click(int color) {
  view_.FlightGroupColor = static_cast<std::int16_t>(color);
  if (const auto focused = ReadFaceListSelection())
    FaceScreens(focused->mesh, view_.LevelIndex(), focused->face, color);
  Redisplay();
}

void TamselWindow::fgoffop_Click() {
  Control<QRadioButton>("redfgsel")->setChecked(true);
  fgsel_Click(0);
  const int level = view_.LevelIndex();
  Edit("FG off", [level](tamsel::Model& m) { BlankFlightGroupSlots(m, level); });
}

void TamselWindow::texturepanel_MouseUp(const QString& prefix) {
  TextureScreens(List(prefix + "texturelist")->ListIndex());
}

void TamselWindow::viewer_MouseMove(const QString& prefix, int x, int y) {
  const int t = List(prefix + "texturelist")->ListIndex();
  if (t < 0 || t >= model_.TextureCount()) return;
  // The colour is the bitmap's own, not the magenta of a mark drawn over it, so that a
  // marked colour can be picked again for the other table.
  const QImage* picture = cxxx_->Textures().Picture(static_cast<std::size_t>(t));
  const bool inside = picture && x >= 0 && y >= 0 && x < picture->width() && y < picture->height();
  if (!inside) {
    Box(prefix + "tinttext")->clear();
    return;
  }
  const QColor c = picture->pixelColor(x, y);
  SetBackColor(Control(prefix + "tintdisplay"), c.red(), c.green(), c.blue());
  Box(prefix + "tinttext")
      ->setText(QString("%1, %2, %3").arg(c.red()).arg(c.green()).arg(c.blue()));
}

void TamselWindow::viewer_Click(const QString& prefix) {
  const int t = List(prefix + "texturelist")->ListIndex();
  if (t < 0 || t >= model_.TextureCount() || Box(prefix + "tinttext")->text().isEmpty()) return;
  const QColor c = Control(prefix + "tintdisplay")->palette().color(QPalette::Window);
  List(prefix + "redtintlist")->AddItem(QString::number(c.red()));
  List(prefix + "greentintlist")->AddItem(QString::number(c.green()));
  List(prefix + "bluetintlist")->AddItem(QString::number(c.blue()));
}

void TamselWindow::tintlist_MouseUp(const QString& prefix, const QString& list) {
  const int row = List(prefix + list)->ListIndex();
  if (row < 0) return;
  QStringList values;
  for (const char* channel : {"redtintlist", "greentintlist", "bluetintlist"}) {
    List(prefix + channel)->SetListIndex(row);
    values << List(prefix + channel)->List(row);
  }
  SetBackColor(Control(prefix + "tintdisplay"), values[0].toInt(), values[1].toInt(),
               values[2].toInt());
  Box(prefix + "tinttext")->setText(values.join(", "));
}

void TamselWindow::removecolor_Click(const QString& prefix) {
  // One row goes from all three lists: the focused one, whichever list shows it.
  int row = -1;
  for (const char* channel : {"redtintlist", "greentintlist", "bluetintlist"})
    if (row < 0) row = List(prefix + channel)->ListIndex();
  if (row < 0) return;
  for (const char* channel : {"redtintlist", "greentintlist", "bluetintlist"})
    List(prefix + channel)->RemoveItem(row);
}

void TamselWindow::strengthbar_Change(const QString& prefix) {
  const int value = Control<QScrollBar>(prefix + StrengthName(prefix) + "bar")->value();
  Box(prefix + StrengthName(prefix) + "text")->setText(QString::number(value));
  const int grey = prefix == "trans" ? 255 - value : (value - 1) * 17;
  SetBackColor(Control(prefix + StrengthName(prefix) + "display"), grey, grey, grey);
}

namespace {

// Sets a slider from its box when the box holds a whole number in the slider's range;
// otherwise the box is marked and the slider keeps its value.
void BoxToSlider(QLineEdit* box, QScrollBar* bar) {
  const auto n = ParseInteger(box->text().toStdString());
  const bool ok = n && *n >= bar->minimum() && *n <= bar->maximum();
  MarkRefused(box, !ok);
  if (ok) bar->setValue(static_cast<int>(*n));
}

}  // namespace

void TamselWindow::strengthtext_Change(const QString& prefix) {
  BoxToSlider(Box(prefix + StrengthName(prefix) + "text"),
              Control<QScrollBar>(prefix + StrengthName(prefix) + "bar"));
}

void TamselWindow::tolerancebar_Change(const QString& prefix) {
  Box(prefix + "colortolerancetext")
      ->setText(QString::number(Control<QScrollBar>(prefix + "colortolerancebar")->value()));
}

void TamselWindow::tolerancetext_Change(const QString& prefix) {
  BoxToSlider(Box(prefix + "colortolerancetext"),
              Control<QScrollBar>(prefix + "colortolerancebar"));
}

void TamselWindow::updatetexpanel_Click(const QString& prefix) {
  const int t = List(prefix + "texturelist")->ListIndex();
  if (t < 0 || t >= model_.TextureCount()) return;
  RowList *red = List(prefix + "redtintlist"), *green = List(prefix + "greentintlist"),
          *blue = List(prefix + "bluetintlist");
  std::vector<RGB> colours;
  for (int i = 0; i < red->ListCount(); ++i) {
    const auto r = ParseInteger(red->List(i).toStdString()),
               g = ParseInteger(green->List(i).toStdString()),
               b = ParseInteger(blue->List(i).toStdString());
    const auto byte = [](const std::optional<std::int64_t>& v) {
      return v && *v >= 0 && *v <= 255;
    };
    if (!byte(r) || !byte(g) || !byte(b)) {
      ShowStatus(QString("Colour row %1 does not hold three values from 0 to 255").arg(i + 1));
      return;
    }
    colours.push_back({static_cast<std::uint8_t>(*r), static_cast<std::uint8_t>(*g),
                       static_cast<std::uint8_t>(*b)});
  }
  // The boxes as typed now: a box that does not hold a value of the slider's range refuses
  // the UPDATE, whatever the slider shows.
  const auto boxValue = [&](const QString& box, const QString& bar) -> std::optional<int> {
    auto* slider = Control<QScrollBar>(bar);
    const auto n = ParseInteger(Box(box)->text().toStdString());
    const bool ok = n && *n >= slider->minimum() && *n <= slider->maximum();
    MarkRefused(Box(box), !ok);
    if (!ok) {
      ShowStatus("\"" + Box(box)->text() + "\" in " + Caption(Box(box)) +
                 " is not a whole number from " + QString::number(slider->minimum()) + " to " +
                 QString::number(slider->maximum()));
      return std::nullopt;
    }
    return static_cast<int>(*n);
  };
  const auto strength =
      boxValue(prefix + StrengthName(prefix) + "text", prefix + StrengthName(prefix) + "bar");
  const auto tolerance = boxValue(prefix + "colortolerancetext", prefix + "colortolerancebar");
  if (!strength || !tolerance) return;
  const ColorTable table = prefix == "trans" ? ColorTable::Transparent : ColorTable::Illuminated;
  Edit(prefix == "trans" ? "Transparency UPDATE" : "Illumination UPDATE", [&](tamsel::Model& m) {
    UpdateTextureColors(m, t, table, *strength, *tolerance, std::move(colours));
  });
}

}  // namespace tamsel
