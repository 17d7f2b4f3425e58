#include "app/panels/texture_subframe.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>
#include <tuple>

#include "app/dialogs.h"
#include "app/panels/panel_input.h"
#include "app/row_list.h"
#include "editing/selection.h"
#include "editing/texture_tools.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/bitmap.h"
#include "viewport/bitmap_image.h"
#include "viewport/texture_objects.h"

namespace tamsel {

TextureSubFrame::TextureSubFrame(PanelHost& host, QWidget* parent)
    : PropertyFrame(host, "texturesubframe", "", parent) {
  auto* layout = new QGridLayout(this);
  AsSubFrame(this, layout);

  auto* coords = new QGridLayout;
  const auto made = AddHeadedLists(coords, this,
                                   {{"Ucoordlist", "U texture vertex coords", "U"},
                                    {"Vcoordlist", "V texture vertex coords", "V"}},
                                   2);
  std::copy(made.begin(), made.end(), coordLists_.begin());
  layout->addLayout(coords, 0, 0);
  auto* column = new QVBoxLayout;
  files_ = new RowList(this, false);
  files_->setObjectName("texturelist");
  // Wide enough for a name an import gives ("sample_TEX00012.BMP") to read whole.
  files_->setMinimumWidth(files_->fontMetrics().horizontalAdvance("sample_TEX00012.BMP") +
                          files_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
  auto* filter = TextBox(this, "texturefilter", "show the bitmaps whose names hold this");
  filter->setPlaceholderText("Filter");
  filter->setClearButtonEnabled(true);
  connect(filter, &QLineEdit::textChanged, files_, &RowList::SetFilter);
  column->addWidget(filter);
  column->addWidget(files_);
  column->addWidget(preview_ = Picture(this, "texturepreview"));
  layout->addLayout(column, 0, 1);
  layout->addWidget(viewer_ = Picture(this, "textureviewer"), 0, 2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(new QLabel("U, V", this), 0, 0);
  boxes->addWidget(u_ = TextBox(this, "Ucoordtext", "texture coordinate U"), 0, 1);
  boxes->addWidget(v_ = TextBox(this, "Vcoordtext", "texture coordinate V"), 0, 2);
  vector1_ = AddXYZRow(boxes, 1, this, "Vector 1", "1vectortext", "@1 software vector");
  vector2_ = AddXYZRow(boxes, 2, this, "Vector 2", "2vectortext", "@2 software vector");
  BuddyRows(boxes);
  layout->addLayout(boxes, 1, 0, 1, 3);

  auto* fg = Frame(this, "fgframe", "FG Color");
  auto* fgLayout = new QGridLayout(fg);
  fgLayout->setHorizontalSpacing(2);
  fgLayout->setContentsMargins(4, 4, 4, 4);
  auto* group = new QButtonGroup(fg);
  const char* names[] = {"redfgsel", "yellowfgsel", "bluefgsel", "greenfgsel"};
  const char* captions[] = {"Red", "Yellow", "Blue", "Green"};
  const char* backs[] = {"#ff8080", "#ffff80", "#8080ff", "#80ff80"};
  for (int i = 0; i < 4; ++i) {
    auto* option = Option(fg, names[i], captions[i]);
    option->setStyleSheet(QString("background-color: %1").arg(backs[i]));
    group->addButton(option, i);
    fgLayout->addWidget(option, 0, i);
    fgLayout->setColumnStretch(i, 1);
    colours_[static_cast<std::size_t>(i)] = option;
    connect(option, &QRadioButton::clicked, this, [this, i] { ShowFlightGroupColor(i); });
  }
  colours_[0]->setChecked(true);
  auto* onOff = new QButtonGroup(fg);
  fgOn_ = Option(fg, "fgonop", "FG on");
  fgOff_ = Option(fg, "fgoffop", "FG off");
  onOff->addButton(fgOn_);
  onOff->addButton(fgOff_);
  fgOff_->setChecked(true);
  // One row: the panel must fit a window of the smallest size.
  fgLayout->addWidget(fgOn_, 0, 4);
  fgLayout->addWidget(fgOff_, 0, 5);
  layout->addWidget(fg, 2, 0, 1, 3);
  // Only the user's click blanks colour slots; the face display setting the option does not.
  connect(fgOff_, &QRadioButton::clicked, this, [this] { TurnFlightGroupsOff(); });

  auto* stitch = Frame(this, "stitchframe", "Stitching");
  auto* stitchLayout = new QHBoxLayout(stitch);
  auto* smart = Button(stitch, "smartstitchbut", "Smart",
                       "Smart stitching is not available: use Front/Back, Top/Bottom or Side");
  smart->setEnabled(false);
  stitchLayout->addWidget(smart);
  const std::tuple<const char*, const char*, StitchView> stitches[] = {
      {"frontstitchbut", "Front/Back", StitchView::FrontBack},
      {"topstitchbut", "Top/Bottom", StitchView::TopBottom},
      {"sidestitchbut", "Side", StitchView::Side}};
  for (const auto& [name, caption, view] : stitches) {
    auto* button = Button(stitch, name, caption);
    stitchLayout->addWidget(button);
    connect(button, &QPushButton::clicked, this,
            [this, v = view] { StitchCoordinates(static_cast<int>(v)); });
  }
  layout->addWidget(stitch, 3, 0, 1, 3);

  auto* tools = new QHBoxLayout;
  auto* ccRotate =
      PictureButton(this, "texccrotatebut", "\u21ba", "rotate coordinates counter-clockwise");
  auto* cRotate = PictureButton(this, "texcrotatebut", "\u21bb", "rotate coordinates clockwise");
  auto* hFlip = PictureButton(this, "texhflipbut", "\u21c6", "mirror U");
  auto* vFlip = PictureButton(this, "texvflipbut", "\u21c5", "mirror V");
  for (QToolButton* b : {ccRotate, cRotate, hFlip, vFlip}) tools->addWidget(b);
  connect(cRotate, &QToolButton::clicked, this, [this] { RotateCoordinates(true); });
  connect(ccRotate, &QToolButton::clicked, this, [this] { RotateCoordinates(false); });
  connect(hFlip, &QToolButton::clicked, this, [this] { FlipCoordinates(true); });
  connect(vFlip, &QToolButton::clicked, this, [this] { FlipCoordinates(false); });
  tools->addStretch(1);
  auto* update = Button(this, "updategeotexbut", "UPDATE");
  tools->addWidget(update);
  layout->addLayout(tools, 4, 0, 1, 3);
  connect(update, &QPushButton::clicked, this, [this] { ApplyTextureBoxes(); });
  connect(files_, &RowList::MouseUp, this, [this] { PreviewListedBitmap(); });

  faceControls_ = {viewer_, preview_, files_, filter, fg, stitch, ccRotate, cRotate, hFlip, vFlip};
  for (int a = 0; a < 3; ++a) {
    faceControls_.push_back(vector1_[a]);
    faceControls_.push_back(vector2_[a]);
  }
}

void TextureSubFrame::ShowLevel(Geometry level) {
  for (QWidget* w : faceControls_) w->setVisible(level == Geometry::Face);
  for (QWidget* w : {static_cast<QWidget*>(coordLists_[0]), static_cast<QWidget*>(coordLists_[1]),
                     static_cast<QWidget*>(u_), static_cast<QWidget*>(v_)})
    w->setVisible(level == Geometry::Vertex);
}

void TextureSubFrame::Clear() {
  PropertyFrame::Clear();
  shownFace_.reset();
  shownCorner_.reset();
  shownSlot_ = shownLevel_ = -1;
}

void TextureSubFrame::Refresh(const ModelChange& change) {
  if (change.everything || change.textureList || change.folder) ShowBitmapFiles();
  const Focus& f = focus();
  const bool records = !change.recordsUnchanged || change.everything || level() != shownLevel_;
  if (records || f.face != shownFace_ || view().FlightGroupColor != shownSlot_) ShowFace();
  if (records || f.corner != shownCorner_) ShowCorner();
  shownFace_ = f.face;
  shownCorner_ = f.corner;
  shownSlot_ = view().FlightGroupColor;
  shownLevel_ = level();
}

void TextureSubFrame::ShowBitmapFiles() {
  std::vector<QString> rows;
  if (!model().ProjectPath.empty())
    for (const auto& file : BitmapFiles(model().ProjectPath))
      rows.push_back(QString::fromStdString(file.filename().string()));
  files_->SetRows(std::move(rows));
}

void TextureSubFrame::ShowFace() {
  const FaceRec* face = focus().face ? FaceAt(model(), level(), *focus().face) : nullptr;
  if (!face) return;
  ShowNumbers(vector1_, face->Vector1);
  ShowNumbers(vector2_, face->Vector2);
  (face->TextureNames[1] != kBlank ? fgOn_ : fgOff_)->setChecked(true);
  const int slot = view().FlightGroupColor;
  const std::string& name = face->TextureNames[static_cast<std::size_t>(slot)];
  for (int t = 0; t < model().TextureCount(); ++t) {
    if (model().Textures[static_cast<std::size_t>(t)].Name != name) continue;
    const QImage* picture = host_.Textures().Picture(static_cast<std::size_t>(t));
    viewer_->setPixmap(picture ? QPixmap::fromImage(*picture) : QPixmap());
    files_->DeselectAll();
    files_->SetSelected(files_->FocusRow(QString::fromStdString(name)), true);
  }
}

void TextureSubFrame::ShowCorner() {
  const VertexRec* corner = focus().corner ? CornerAt(model(), level(), *focus().corner) : nullptr;
  if (!corner) return;
  u_->setText(NumberText(corner->U));
  v_->setText(NumberText(corner->V));
}

void TextureSubFrame::PreviewListedBitmap() {
  const QString name = files_->List(files_->ListIndex());
  if (name.isEmpty()) return;
  // Read as the OPT writer reads it: a bitmap the game's file cannot take says why.
  std::string problem;
  const QImage picture =
      ReadBitmapImage(std::filesystem::path(model().ProjectPath) / name.toStdString(), &problem);
  preview_->setPixmap(QPixmap::fromImage(picture));
  preview_->setToolTip(QString::fromStdString(problem));
}

void TextureSubFrame::ApplyTextureBoxes() {
  const int level = this->level();
  if (view().GeometryLevel == Geometry::Vertex) {
    const auto u = ReadNumber(u_, host_), v = u ? ReadNumber(v_, host_) : std::nullopt;
    if (!v) return;
    host_.Edit("Texture coordinate UPDATE", [&](tamsel::Model& m) {
      SetSelectedCornersUV(m, level, static_cast<float>(*u), static_cast<float>(*v));
    });
    return;
  }
  if (view().GeometryLevel != Geometry::Face) return;
  const std::string name = files_->List(files_->ListIndex()).toStdString();
  if (name.empty() || !files_->Selected(files_->ListIndex())) return;
  const auto first = ReadNumbers(vector1_, host_);
  const auto second = first ? ReadNumbers(vector2_, host_) : std::nullopt;
  if (!second) return;
  // A texture that is new to the project must be an 8-bit bitmap the writer can use.
  const auto path = std::filesystem::path(model().ProjectPath) / name;
  const bool known = std::any_of(model().Textures.begin(), model().Textures.end(),
                                 [&](const TextureRec& t) { return t.Name == name; });
  if (!known) {
    try {
      DecodeBitmap(ReadFileBytes(path), path.string());
    } catch (const FileError& e) {
      host_.Ask().MessageBox(QString::fromStdString(e.what()), "Texture");
      return;
    }
  }
  int slot = 0;
  for (int c = 0; c < 4; ++c)
    if (colours_[static_cast<std::size_t>(c)]->isChecked()) slot = c;
  viewer_->setPixmap(preview_->pixmap());
  std::optional<FaceRef> focused = focus().face;
  if (focused && !FaceAt(model(), level, *focused)) focused.reset();
  int t = -1;
  bool added = false;
  host_.Edit("Texture UPDATE", [&](tamsel::Model& m) {
    if (AssignTexture(m, level, slot, name, focused, FaceVectors{*first, *second}) == 0) return;
    std::tie(t, added) = RegisterTexture(m, name);
  });
  // A texture new to the project is keyed at the threshold of a fresh assignment.
  if (added) {
    host_.Textures().Load(static_cast<std::size_t>(t), QString::fromStdString(path.string()), 32);
    host_.SelectionChanged(false);
  }
}

void TextureSubFrame::StitchCoordinates(int view) {
  const int level = this->level();
  host_.Edit("Stitch", [&](tamsel::Model& m) { Stitch(m, level, static_cast<StitchView>(view)); });
}

void TextureSubFrame::RotateCoordinates(bool clockwise) {
  const int level = this->level();
  host_.Edit("Rotate coordinates",
             [&](tamsel::Model& m) { tamsel::RotateCoordinates(m, level, clockwise); });
}

void TextureSubFrame::FlipCoordinates(bool mirrorU) {
  const int level = this->level();
  host_.Edit("Mirror coordinates", [&](tamsel::Model& m) { MirrorCoordinates(m, level, mirrorU); });
}

void TextureSubFrame::ShowFlightGroupColor(int color) {
  view().FlightGroupColor = static_cast<std::int16_t>(color);
  if (const auto face = focus().face)
    FocusFace(focus(), model(), level(), *face, color);  // the colour panels show its texture
  host_.ViewChanged();
}

void TextureSubFrame::TurnFlightGroupsOff() {
  colours_[0]->setChecked(true);
  ShowFlightGroupColor(0);
  const int level = this->level();
  host_.Edit("FG off", [level](tamsel::Model& m) { BlankFlightGroupSlots(m, level); });
}

}  // namespace tamsel
