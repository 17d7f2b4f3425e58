#include "app/panels/feature_frames.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs.h"
#include "app/event_watcher.h"
#include "app/panels/panel_input.h"
#include "app/row_list.h"
#include "editing/selection.h"
#include "editing/ship_features.h"
#include "editing/type_names.h"
#include "model/number_text.h"

namespace tamsel {
namespace {

int RowOf(const std::vector<ItemRef>& rows, const std::optional<ItemRef>& ref) {
  if (!ref) return -1;
  const auto at = std::find(rows.begin(), rows.end(), *ref);
  return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

std::vector<QString> Texts(const std::vector<ItemRef>& rows,
                           std::string (*text)(int mesh, int item)) {
  std::vector<QString> texts;
  texts.reserve(rows.size());
  for (const ItemRef& r : rows) texts.push_back(QString::fromStdString(text(r.mesh, r.item)));
  return texts;
}

QPushButton* AddButton(QBoxLayout* row, QWidget* parent, const char* name, const char* caption) {
  auto* button = Button(parent, name, caption);
  row->addWidget(button);
  return button;
}

}  // namespace

ItemListFrame::ItemListFrame(PanelHost& host, const Kind& kind, const QString& name,
                             const QString& title, QWidget* parent)
    : PropertyFrame(host, name, title, parent), kind_(kind) {}

void ItemListFrame::Clear() {
  PropertyFrame::Clear();
  rows_.clear();
  shown_.reset();
}

std::optional<ItemRef> ItemListFrame::Focused() {
  const auto ref = focus().*kind_.focused;
  return ref && kind_.exists(model(), *ref) && RowOf(rows_, ref) >= 0 ? ref : std::nullopt;
}

void ItemListFrame::Refresh(const ModelChange& change) {
  rows_ = kind_.rows(model(), level());
  list_->SetRows(Texts(rows_, kind_.text));
  const auto focused = Focused();
  list_->SetListIndex(RowOf(rows_, focused));
  const bool fresh = change.everything || focused != shown_;
  shown_ = focused;
  if (model().MeshCount() == 0) return PropertyFrame::Clear();
  if (focused && (fresh || !change.recordsUnchanged)) Show(*focused);
}

void ItemListFrame::ListClick() {
  const int row = list_->ListIndex();
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
  focus().*kind_.focused = rows_[static_cast<std::size_t>(row)];
  host_.SelectionChanged(false);
}

void ItemListFrame::FocusAdded(int mesh, int item) {
  focus().*kind_.focused = ItemRef{mesh, item};
  host_.SelectionChanged(false);
}

HardpointFrame::HardpointFrame(PanelHost& host, QWidget* parent)
    : ItemListFrame(host,
                    {&Focus::hardpoint, HardpointRows, HardpointRow,
                     [](const Model& m, ItemRef r) { return HardpointAt(m, r) != nullptr; }},
                    "hardpointframe", "Hardpoint", parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_ = ListBox(this, "hardpointlist", "Hardpoint List"), 1);
  auto* buttons = new QHBoxLayout;
  auto* add = AddButton(buttons, this, "hpaddbut", "Add HP");
  auto* remove = AddButton(buttons, this, "hpdeletebut", "Delete");
  auto* toFace = AddButton(buttons, this, "hpsetfacebut", "Set to Face");
  auto* toVertex = AddButton(buttons, this, "hpsetvertexbut", "Set to Vertex");
  layout->addLayout(buttons);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Type", this), 0, 0);
  QStringList types;
  for (std::string_view name : kHardpointTypeNames)
    types << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + " ";
  grid->addWidget(type_ = DropDown(this, "hardpointtypetext", "hardpoint type", types), 0, 1, 1, 3);
  position_ = AddXYZRow(grid, 1, this, "Position", "hptext", "@ position");
  auto* update = Button(this, "updatehpbut", "UPDATE");
  grid->addWidget(update, 2, 3);
  layout->addLayout(grid);
  PrefixCaptions(this, "Hardpoint");

  connect(list_, &RowList::MouseUp, this, [this] { ListClick(); });
  connect(add, &QPushButton::clicked, this, [this] { AddHardpoint(); });
  connect(remove, &QPushButton::clicked, this, [this] { DeleteHardpoint(); });
  connect(toFace, &QPushButton::clicked, this, [this] { PlaceHardpointAtFocus(false); });
  connect(toVertex, &QPushButton::clicked, this, [this] { PlaceHardpointAtFocus(true); });
  connect(update, &QPushButton::clicked, this, [this] { ApplyHardpointBoxes(); });
}

void HardpointFrame::Show(ItemRef item) {
  const HardpointRec* hp = HardpointAt(model(), item);
  ShowCode(type_, hp->HardpointType, 32);
  ShowNumbers(position_, hp->Position);
}

void HardpointFrame::AddHardpoint() {
  const int mesh = focus().mesh, level = this->level();
  int h = -1;
  if (!host_.Edit("Add hardpoint",
                  [&](tamsel::Model& m) { h = tamsel::AddHardpoint(m, mesh, level); }) ||
      h < 0)
    return;
  FocusAdded(mesh, h);
}

void HardpointFrame::DeleteHardpoint() {
  const auto hp = Focused();
  if (hp)
    host_.Edit("Delete hardpoint", [&](tamsel::Model& m) { tamsel::DeleteHardpoint(m, *hp); });
}

void HardpointFrame::PlaceHardpointAtFocus(bool toVertex) {
  const auto hp = Focused();
  if (!hp) return;
  const int level = this->level();
  Single3 at;
  if (toVertex) {
    const VertexRec* v = focus().corner ? CornerAt(model(), level, *focus().corner) : nullptr;
    if (!v) return;
    at = {v->X, v->Y, v->Z};
  } else {
    const FaceRec* face = focus().face ? FaceAt(model(), level, *focus().face) : nullptr;
    if (!face) return;
    at = face->BoxCenter;
  }
  host_.Edit("Set hardpoint", [&](tamsel::Model& m) { UpdateHardpoint(m, *hp, std::nullopt, at); });
}

void HardpointFrame::ApplyHardpointBoxes() {
  const auto hp = Focused();
  if (!hp) return;
  std::optional<double> v[3];
  for (int a = 0; a < 3; ++a)
    if (!(v[a] = ReadNumber(position_[a], host_))) return;
  const int index = type_->currentIndex();
  // The extra entry (a code the list does not offer) keeps the stored code.
  const auto type = index >= 0 && index < 32 ? std::optional<std::int32_t>(index) : std::nullopt;
  host_.Edit("Hardpoint UPDATE", [&](tamsel::Model& m) {
    UpdateHardpoint(
        m, *hp, type,
        {static_cast<float>(*v[0]), static_cast<float>(*v[1]), static_cast<float>(*v[2])});
  });
}

EngineGlowFrame::EngineGlowFrame(PanelHost& host, QWidget* parent)
    : ItemListFrame(host,
                    {&Focus::engineGlow, EngineGlowRows, EngineGlowRow,
                     [](const Model& m, ItemRef r) { return EngineGlowAt(m, r) != nullptr; }},
                    "engineglowframe", "Engine Glow", parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_ = ListBox(this, "engineglowlist", "Engine Glow List"), 1);
  auto* buttons = new QHBoxLayout;
  auto* add = AddButton(buttons, this, "egaddbut", "Add EG");
  auto* toFace = AddButton(buttons, this, "egsetfacebut", "Set to Face");
  auto* remove = AddButton(buttons, this, "egdeletebut", "Delete");
  layout->addLayout(buttons);

  auto* grid = new QGridLayout;
  const char* channels[] = {"R", "G", "B", "A"};
  // The colour columns carry their channel's heading.
  for (int c = 0; c < 4; ++c) {
    auto* heading = new QLabel(channels[c], this);
    heading->setAlignment(Qt::AlignHCenter);
    grid->addWidget(heading, 0, c + 1);
  }
  grid->addWidget(new QLabel("Inner", this), 1, 0);
  grid->addWidget(new QLabel("Outer", this), 2, 0);
  for (int c = 0; c < 4; ++c) {
    const QString channel = channels[c];
    QLineEdit* inner = TextBox(this, channel + "eginnertext", "inner " + channel);
    QLineEdit* outer = TextBox(this, channel + "egoutertext", "outer " + channel);
    SetCaption(inner, "inner colour " + channel);
    SetCaption(outer, "outer colour " + channel);
    grid->addWidget(inner, 1, c + 1);
    grid->addWidget(outer, 2, c + 1);
    inner_[static_cast<std::size_t>(c)] = inner;
    outer_[static_cast<std::size_t>(c)] = outer;
  }
  innerSwatch_ = Swatch(this, "eginnerdisplay");
  outerSwatch_ = Swatch(this, "egouterdisplay");
  for (QFrame* swatch : {innerSwatch_, outerSwatch_}) swatch->setCursor(Qt::PointingHandCursor);
  grid->addWidget(innerSwatch_, 1, 5);
  grid->addWidget(outerSwatch_, 2, 5);
  position_ = AddXYZRow(grid, 3, this, "Position", "egtext", "@ position");
  grid->addWidget(new QLabel("Size", this), 4, 0);
  size_ = {TextBox(this, "Widthegtext", "width"), TextBox(this, "Heightegtext", "height"),
           TextBox(this, "Lengthegtext", "length")};
  for (int a = 0; a < 3; ++a) grid->addWidget(size_[a], 4, a + 1);
  const char* abc[] = {"A", "B", "C"};
  for (int d = 0; d < 3; ++d) {
    grid->addWidget(new QLabel(QString("Density %1").arg(d + 1), this), 5 + d, 0);
    QLineEdit* boxes[3];
    for (int k = 0; k < 3; ++k) {
      boxes[k] = TextBox(this, QString("%1density%2egtext").arg(abc[k]).arg(d + 1),
                         QString("density %1%2").arg(d + 1).arg(abc[k]));
      grid->addWidget(boxes[k], 5 + d, k + 1);
    }
    density_[d] = {boxes[0], boxes[1], boxes[2]};
  }
  auto* update = Button(this, "updateegbut", "UPDATE");
  grid->addWidget(update, 8, 4, 1, 2);
  layout->addLayout(grid);
  PrefixCaptions(this, "Engine glow");

  connect(list_, &RowList::MouseUp, this, [this] { ListClick(); });
  connect(add, &QPushButton::clicked, this, [this] { AddEngineGlow(); });
  connect(toFace, &QPushButton::clicked, this, [this] { PlaceGlowOnFocusedFace(); });
  connect(remove, &QPushButton::clicked, this, [this] { DeleteEngineGlow(); });
  connect(update, &QPushButton::clicked, this, [this] { ApplyEngineGlowBoxes(); });
  new EventWatcher(innerSwatch_, {QEvent::MouseButtonRelease},
                   [this](QEvent*) { ChooseGlowColor(true); });
  new EventWatcher(outerSwatch_, {QEvent::MouseButtonRelease},
                   [this](QEvent*) { ChooseGlowColor(false); });
}

void EngineGlowFrame::Show(ItemRef item) {
  const EngineGlowRec* g = EngineGlowAt(model(), item);
  const std::uint8_t inner[4] = {g->InnerColor.R, g->InnerColor.G, g->InnerColor.B,
                                 g->InnerColor.A};
  const std::uint8_t outer[4] = {g->OuterColor.R, g->OuterColor.G, g->OuterColor.B,
                                 g->OuterColor.A};
  for (std::size_t c = 0; c < 4; ++c) {
    inner_[c]->setText(QString::number(inner[c]));
    outer_[c]->setText(QString::number(outer[c]));
  }
  SetBackColor(innerSwatch_, inner[0], inner[1], inner[2]);
  SetBackColor(outerSwatch_, outer[0], outer[1], outer[2]);
  ShowNumbers(position_, g->Position);
  ShowNumbers(size_, g->Size);
  ShowNumbers(density_[0], g->Density1);
  ShowNumbers(density_[1], g->Density2);
  ShowNumbers(density_[2], g->Density3);
}

void EngineGlowFrame::AddEngineGlow() {
  const int mesh = focus().mesh, level = this->level();
  int e = -1;
  if (!host_.Edit("Add engine glow",
                  [&](tamsel::Model& m) { e = tamsel::AddEngineGlow(m, mesh, level); }) ||
      e < 0)
    return;
  FocusAdded(mesh, e);
}

void EngineGlowFrame::DeleteEngineGlow() {
  const auto eg = Focused();
  if (eg)
    host_.Edit("Delete engine glow", [&](tamsel::Model& m) { tamsel::DeleteEngineGlow(m, *eg); });
}

void EngineGlowFrame::PlaceGlowOnFocusedFace() {
  const auto eg = Focused();
  const FaceRec* face = focus().face ? FaceAt(model(), level(), *focus().face) : nullptr;
  if (!eg || !face) return;
  EngineGlowRec glow = *EngineGlowAt(model(), *eg);
  SetEngineGlowToFace(glow, *face);
  host_.Edit("Set engine glow", [&](tamsel::Model& m) { UpdateEngineGlow(m, *eg, glow); });
}

void EngineGlowFrame::ChooseGlowColor(bool inner) {
  const auto& boxes = inner ? inner_ : outer_;
  const auto channel = [&](std::size_t c) {
    const auto v = ParseInteger(boxes[c]->text().toStdString());
    return v && *v >= 0 && *v <= 255 ? static_cast<int>(*v) : 0;
  };
  const auto chosen = host_.Ask().ChooseColor(QColor(channel(0), channel(1), channel(2)));
  if (!chosen) return;  // Cancel keeps the boxes
  boxes[0]->setText(QString::number(chosen->red()));
  boxes[1]->setText(QString::number(chosen->green()));
  boxes[2]->setText(QString::number(chosen->blue()));
  SetBackColor(inner ? innerSwatch_ : outerSwatch_, chosen->red(), chosen->green(), chosen->blue());
}

void EngineGlowFrame::ApplyEngineGlowBoxes() {
  const auto eg = Focused();
  if (!eg) return;
  std::uint8_t colours[8];
  for (std::size_t c = 0; c < 8; ++c) {
    QLineEdit* box = c < 4 ? inner_[c] : outer_[c - 4];
    const auto v = ReadWhole(box, 0, 255, host_, "a colour value from 0 to 255");
    if (!v) return;
    colours[c] = static_cast<std::uint8_t>(*v);
  }
  EngineGlowRec g;
  g.InnerColor = {colours[0], colours[1], colours[2], colours[3]};
  g.OuterColor = {colours[4], colours[5], colours[6], colours[7]};
  for (auto [boxes, value] :
       {std::pair{&position_, &g.Position}, std::pair{&size_, &g.Size},
        std::pair{&density_[0], &g.Density1}, std::pair{&density_[1], &g.Density2},
        std::pair{&density_[2], &g.Density3}}) {
    const auto read = ReadNumbers(*boxes, host_);
    if (!read) return;
    *value = *read;
  }
  host_.Edit("Engine glow UPDATE", [&](tamsel::Model& m) { UpdateEngineGlow(m, *eg, g); });
}

}  // namespace tamsel
