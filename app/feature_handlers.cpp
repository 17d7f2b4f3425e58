// The hardpoint, engine-glow, hitzone and rotation frames and their Calculate commands.
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "editing/selection.h"
#include "editing/ship_features.h"
#include "model/number_text.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

QString Num(float v) {
  return QString::fromStdString(FormatSingle(v));
}

const char* const kInner[4] = {"Reginnertext", "Geginnertext", "Beginnertext", "Aeginnertext"};
const char* const kOuter[4] = {"Regoutertext", "Gegoutertext", "Begoutertext", "Aegoutertext"};
const char* const kGlowSingles[15] = {
    "Xegtext",         "Yegtext",         "Zegtext",         "Widthegtext",     "Heightegtext",
    "Lengthegtext",    "Adensity1egtext", "Bdensity1egtext", "Cdensity1egtext", "Adensity2egtext",
    "Bdensity2egtext", "Cdensity2egtext", "Adensity3egtext", "Bdensity3egtext", "Cdensity3egtext"};

}  // namespace

void TamselWindow::ConnectFeatureHandlers() {
  connect(List("hardpointlist"), &RowList::MouseUp, this, &TamselWindow::hardpointlist_Click);
  connect(List("engineglowlist"), &RowList::MouseUp, this, &TamselWindow::engineglowlist_Click);
  const std::pair<const char*, std::function<void()>> buttons[] = {
      {"hpaddbut", [this] { hpaddbut_Click(); }},
      {"hpdeletebut", [this] { hpdeletebut_Click(); }},
      {"hpsetfacebut", [this] { hpset_Click(false); }},
      {"hpsetvertexbut", [this] { hpset_Click(true); }},
      {"updatehpbut", [this] { updatehpbut_Click(); }},
      {"egaddbut", [this] { egaddbut_Click(); }},
      {"egdeletebut", [this] { egdeletebut_Click(); }},
      {"egsetfacebut", [this] { egsetfacebut_Click(); }},
      {"updateegbut", [this] { updateegbut_Click(); }},
      {"updatehitbut", [this] { updatehitbut_Click(); }},
      {"updaterotbut", [this] { updaterotbut_Click(); }}};
  for (const auto& [name, handler] : buttons)
    connect(Control<QPushButton>(name), &QPushButton::clicked, this, handler);
  new EventWatcher(Control("eginnerdisplay"), {QEvent::MouseButtonRelease},
                   [this](QEvent*) { egdisplay_Click(true); });
  new EventWatcher(Control("egouterdisplay"), {QEvent::MouseButtonRelease},
                   [this](QEvent*) { egdisplay_Click(false); });
  connect(MenuItem("hitzonemenu"), &QAction::triggered, this, &TamselWindow::hitzonemenu_Click);
  connect(MenuItem("rotationmenu"), &QAction::triggered, this, &TamselWindow::rotationmenu_Click);
}

namespace {

int RowOf(const std::vector<ItemRef>& rows, ItemRef ref) {
  const auto at = std::find(rows.begin(), rows.end(), ref);
  return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

template <typename Ref>
std::optional<Ref> FocusedRow(const RowList* list, const std::vector<Ref>& rows) {
  const int focus = list->ListIndex();
  if (focus < 0 || static_cast<std::size_t>(focus) >= rows.size()) return std::nullopt;
  return rows[static_cast<std::size_t>(focus)];
}

}  // namespace

std::optional<ItemRef> TamselWindow::FocusedHardpoint() {
  const auto ref = FocusedRow(List("hardpointlist"), hardpointRows_);
  return ref && HardpointAt(model_, *ref) ? ref : std::nullopt;
}

std::optional<ItemRef> TamselWindow::FocusedEngineGlow() {
  const auto ref = FocusedRow(List("engineglowlist"), engineGlowRows_);
  return ref && EngineGlowAt(model_, *ref) ? ref : std::nullopt;
}

std::optional<FaceRef> TamselWindow::FocusedFaceRow() {
  return FocusedRow(List("facelist"), faceRows_);
}

std::optional<CornerRef> TamselWindow::FocusedCornerRow() {
  return FocusedRow(List("Xvertexlist"), cornerRows_);
}

void TamselWindow::HardpointScreens(int M, int H) {
  const HardpointRec* hp = HardpointAt(model_, {M, H});
  if (!hp) return;
  auto* types = Control<QComboBox>("hardpointtypetext");
  while (types->count() > 32) types->removeItem(types->count() - 1);
  if (hp->HardpointType >= 0 && hp->HardpointType < 32) {
    types->setCurrentIndex(hp->HardpointType);
  } else {
    types->addItem(QString::number(hp->HardpointType));
    types->setCurrentIndex(32);
  }
  Box("Xhptext")->setText(Num(hp->Position.x));
  Box("Yhptext")->setText(Num(hp->Position.y));
  Box("Zhptext")->setText(Num(hp->Position.z));
}

void TamselWindow::EngineGlowScreens(int M, int E) {
  const EngineGlowRec* g = EngineGlowAt(model_, {M, E});
  if (!g) return;
  const std::uint8_t inner[4] = {g->InnerColor.R, g->InnerColor.G, g->InnerColor.B,
                                 g->InnerColor.A};
  const std::uint8_t outer[4] = {g->OuterColor.R, g->OuterColor.G, g->OuterColor.B,
                                 g->OuterColor.A};
  for (int c = 0; c < 4; ++c) {
    Box(kInner[c])->setText(QString::number(inner[c]));
    Box(kOuter[c])->setText(QString::number(outer[c]));
  }
  SetBackColor(Control("eginnerdisplay"), inner[0], inner[1], inner[2]);
  SetBackColor(Control("egouterdisplay"), outer[0], outer[1], outer[2]);
  const float values[15] = {g->Position.x, g->Position.y, g->Position.z, g->Size.x,
                            g->Size.y,     g->Size.z,     g->Density1.x, g->Density1.y,
                            g->Density1.z, g->Density2.x, g->Density2.y, g->Density2.z,
                            g->Density3.x, g->Density3.y, g->Density3.z};
  for (int i = 0; i < 15; ++i) Box(kGlowSingles[i])->setText(Num(values[i]));
}

void TamselWindow::hardpointlist_Click() {
  if (const auto hp = FocusedHardpoint()) HardpointScreens(hp->mesh, hp->item);
}

void TamselWindow::hpaddbut_Click() {
  const int mesh = List("meshlist")->ListIndex(), level = view_.LevelIndex();
  int h = -1;
  if (!Edit("Add hardpoint", [&](tamsel::Model& m) { h = AddHardpoint(m, mesh, level); }) || h < 0)
    return;
  List("hardpointlist")->SetListIndex(RowOf(hardpointRows_, ItemRef{mesh, h}));
  HardpointScreens(mesh, h);
}

void TamselWindow::hpdeletebut_Click() {
  const auto hp = FocusedHardpoint();
  if (hp) Edit("Delete hardpoint", [&](tamsel::Model& m) { DeleteHardpoint(m, *hp); });
}

void TamselWindow::hpset_Click(bool toVertex) {
  const auto hp = FocusedHardpoint();
  if (!hp) return;
  const int level = view_.LevelIndex();
  Single3 at;
  if (toVertex) {
    const auto c = FocusedCornerRow();
    const VertexRec* v = c ? CornerAt(model_, level, *c) : nullptr;
    if (!v) return;
    at = {v->X, v->Y, v->Z};
  } else {
    const auto f = FocusedFaceRow();
    const FaceRec* face = f ? FaceAt(model_, level, *f) : nullptr;
    if (!face) return;
    at = face->BoxCenter;
  }
  Edit("Set hardpoint", [&](tamsel::Model& m) { UpdateHardpoint(m, *hp, std::nullopt, at); });
}

void TamselWindow::updatehpbut_Click() {
  const auto hp = FocusedHardpoint();
  if (!hp) return;
  const auto x = Number("Xhptext"), y = Number("Yhptext"), z = Number("Zhptext");
  if (!x || !y || !z) return;
  const int index = Control<QComboBox>("hardpointtypetext")->currentIndex();
  // The extra entry (a code the list does not offer) keeps the stored code.
  const auto type = index >= 0 && index < 32 ? std::optional<std::int32_t>(index) : std::nullopt;
  Edit("Hardpoint UPDATE", [&](tamsel::Model& m) {
    UpdateHardpoint(m, *hp, type,
                    {static_cast<float>(*x), static_cast<float>(*y), static_cast<float>(*z)});
  });
}

void TamselWindow::engineglowlist_Click() {
  if (const auto eg = FocusedEngineGlow()) EngineGlowScreens(eg->mesh, eg->item);
}

void TamselWindow::egaddbut_Click() {
  const int mesh = List("meshlist")->ListIndex(), level = view_.LevelIndex();
  int e = -1;
  if (!Edit("Add engine glow", [&](tamsel::Model& m) { e = AddEngineGlow(m, mesh, level); }) ||
      e < 0)
    return;
  List("engineglowlist")->SetListIndex(RowOf(engineGlowRows_, ItemRef{mesh, e}));
  EngineGlowScreens(mesh, e);
}

void TamselWindow::egdeletebut_Click() {
  const auto eg = FocusedEngineGlow();
  if (eg) Edit("Delete engine glow", [&](tamsel::Model& m) { DeleteEngineGlow(m, *eg); });
}

void TamselWindow::egsetfacebut_Click() {
  const auto eg = FocusedEngineGlow();
  const auto f = FocusedFaceRow();
  const FaceRec* face = f ? FaceAt(model_, view_.LevelIndex(), *f) : nullptr;
  if (!eg || !face) return;
  EngineGlowRec glow = *EngineGlowAt(model_, *eg);
  SetEngineGlowToFace(glow, *face);
  Edit("Set engine glow", [&](tamsel::Model& m) { UpdateEngineGlow(m, *eg, glow); });
}

void TamselWindow::egdisplay_Click(bool inner) {
  const char* const* boxes = inner ? kInner : kOuter;
  const auto channel = [&](int c) {
    const auto v = ParseInteger(Box(boxes[c])->text().toStdString());
    return v && *v >= 0 && *v <= 255 ? static_cast<int>(*v) : 0;
  };
  const auto chosen = dialogs_.ChooseColor(QColor(channel(0), channel(1), channel(2)));
  if (!chosen) return;  // Cancel keeps the boxes
  Box(boxes[0])->setText(QString::number(chosen->red()));
  Box(boxes[1])->setText(QString::number(chosen->green()));
  Box(boxes[2])->setText(QString::number(chosen->blue()));
  SetBackColor(Control(inner ? "eginnerdisplay" : "egouterdisplay"), chosen->red(), chosen->green(),
               chosen->blue());
}

void TamselWindow::updateegbut_Click() {
  const auto eg = FocusedEngineGlow();
  if (!eg) return;
  std::uint8_t colours[8];
  for (int c = 0; c < 8; ++c) {
    const char* name = c < 4 ? kInner[c] : kOuter[c - 4];
    const auto v = ParseInteger(Box(name)->text().toStdString());
    const bool ok = v && *v >= 0 && *v <= 255;
    MarkRefused(Box(name), !ok);
    if (!ok) {
      ShowStatus("\"" + Box(name)->text() + "\" in " + Caption(Box(name)) +
                 " is not a colour value from 0 to 255");
      return;
    }
    colours[c] = static_cast<std::uint8_t>(*v);
  }
  float values[15];
  for (int i = 0; i < 15; ++i) {
    const auto v = Number(kGlowSingles[i]);
    if (!v) return;
    values[i] = static_cast<float>(*v);
  }
  EngineGlowRec g;
  g.InnerColor = {colours[0], colours[1], colours[2], colours[3]};
  g.OuterColor = {colours[4], colours[5], colours[6], colours[7]};
  g.Position = {values[0], values[1], values[2]};
  g.Size = {values[3], values[4], values[5]};
  g.Density1 = {values[6], values[7], values[8]};
  g.Density2 = {values[9], values[10], values[11]};
  g.Density3 = {values[12], values[13], values[14]};
  Edit("Engine glow UPDATE", [&](tamsel::Model& m) { UpdateEngineGlow(m, *eg, g); });
}

void TamselWindow::updatehitbut_Click() {
  const int m = List("meshlist")->ListIndex();
  if (m < 0 || m >= model_.MeshCount()) return;
  const char* stems[5] = {"spantext", "centertext", "mintext", "maxtext", "targettext"};
  float v[15];
  for (int s = 0; s < 5; ++s)
    for (int a = 0; a < 3; ++a) {
      const auto n = Number(QString("XYZ"[a]) + stems[s]);
      if (!n) return;
      v[3 * s + a] = static_cast<float>(*n);
    }
  const auto id = ParseInteger(Box("targetidtext")->text().toStdString());
  if (!id || *id < INT32_MIN || *id > INT32_MAX) {
    MarkRefused(Box("targetidtext"), true);
    ShowStatus("\"" + Box("targetidtext")->text() + "\" in " + Caption(Box("targetidtext")) +
               " is not a whole number");
    return;
  }
  MarkRefused(Box("targetidtext"), false);
  Hitzone h;
  const int type = Control<QComboBox>("meshtypetext")->currentIndex();
  const int explosion = Control<QComboBox>("exptypetext")->currentIndex();
  if (type >= 0 && type < 32) h.meshType = type;  // an extra entry keeps the stored code
  if (explosion >= 0 && explosion < 11) h.explosionType = explosion;
  h.span = {v[0], v[1], v[2]};
  h.center = {v[3], v[4], v[5]};
  h.min = {v[6], v[7], v[8]};
  h.max = {v[9], v[10], v[11]};
  h.target = {v[12], v[13], v[14]};
  h.targetId = static_cast<std::int32_t>(*id);
  Edit("Hitzone UPDATE", [&](tamsel::Model& model) { UpdateHitzone(model, m, h); });
}

void TamselWindow::hitzonemenu_Click() {
  if (Edit("Hitzones", [](tamsel::Model& m) { CalculateHitzones(m); }))
    ShowStatus(QString("Hitzones calculated for %1 meshes").arg(model_.MeshCount()));
}

void TamselWindow::updaterotbut_Click() {
  const int m = List("meshlist")->ListIndex();
  if (m < 0 || m >= model_.MeshCount()) return;
  const char* stems[4] = {"pivottext", "axistext", "aimtext", "degreetext"};
  float v[12];
  for (int s = 0; s < 4; ++s)
    for (int a = 0; a < 3; ++a) {
      const auto n = Number(QString("XYZ"[a]) + stems[s]);
      if (!n) return;
      v[3 * s + a] = static_cast<float>(*n);
    }
  const Rotation r{
      {v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}, {v[9], v[10], v[11]}};
  Edit("Rotation UPDATE", [&](tamsel::Model& model) { UpdateRotation(model, m, r); });
}

void TamselWindow::rotationmenu_Click() {
  if (Edit("Rotations", [](tamsel::Model& m) { CalculateRotations(m); }))
    ShowStatus(QString("Rotations calculated for %1 meshes").arg(model_.MeshCount()));
}

}  // namespace tamsel
