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

std::optional<ItemRef> TamselWindow::FocusedHardpoint() {
  RowList* list = List("hardpointlist");
  const auto ref = ParseHardpointRow(list->List(list->ListIndex()).toStdString());
  if (!ref || !HardpointAt(model_, *ref)) return std::nullopt;
  return ref;
}

std::optional<ItemRef> TamselWindow::FocusedEngineGlow() {
  RowList* list = List("engineglowlist");
  const auto ref = ParseEngineGlowRow(list->List(list->ListIndex()).toStdString());
  if (!ref || !EngineGlowAt(model_, *ref)) return std::nullopt;
  return ref;
}

std::optional<FaceRef> TamselWindow::FocusedFaceRow() {
  const int focus = List("facelist")->ListIndex();
  if (focus < 0 || static_cast<std::size_t>(focus) >= faceRows_.size()) return std::nullopt;
  return faceRows_[static_cast<std::size_t>(focus)];
}

std::optional<CornerRef> TamselWindow::FocusedCornerRow() {
  const int focus = List("Xvertexlist")->ListIndex();
  if (focus < 0 || static_cast<std::size_t>(focus) >= cornerRows_.size()) return std::nullopt;
  return cornerRows_[static_cast<std::size_t>(focus)];
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
  const int h = AddHardpoint(model_, mesh, level);
  if (h < 0) return;
  RebuildFeatureRows(level);
  List("hardpointlist")->FocusRow(QString::fromStdString(HardpointRow(mesh, h)));
  HardpointScreens(mesh, h);
  cxxx_->CreateCall();
}

void TamselWindow::hpdeletebut_Click() {
  const auto hp = FocusedHardpoint();
  if (!hp || !DeleteHardpoint(model_, *hp)) return;
  MeshScreens(hp->mesh, view_.LevelIndex());
  cxxx_->CreateCall();
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
  HardpointAt(model_, *hp)->Position = at;
  cxxx_->CreateCall();
}

void TamselWindow::updatehpbut_Click() {
  const auto hp = FocusedHardpoint();
  if (!hp) return;
  const auto x = Number("Xhptext"), y = Number("Yhptext"), z = Number("Zhptext");
  if (!x || !y || !z) return;
  HardpointRec* rec = HardpointAt(model_, *hp);
  const int index = Control<QComboBox>("hardpointtypetext")->currentIndex();
  if (index >= 0 && index < 32)
    rec->HardpointType = index;  // the extra entry keeps the stored code
  rec->Position = {static_cast<float>(*x), static_cast<float>(*y), static_cast<float>(*z)};
  cxxx_->CreateCall();
}

void TamselWindow::engineglowlist_Click() {
  if (const auto eg = FocusedEngineGlow()) EngineGlowScreens(eg->mesh, eg->item);
}

void TamselWindow::egaddbut_Click() {
  const int mesh = List("meshlist")->ListIndex(), level = view_.LevelIndex();
  const int e = AddEngineGlow(model_, mesh, level);
  if (e < 0) return;
  RebuildFeatureRows(level);
  List("engineglowlist")->FocusRow(QString::fromStdString(EngineGlowRow(mesh, e)));
  EngineGlowScreens(mesh, e);
  cxxx_->CreateCall();
}

void TamselWindow::egdeletebut_Click() {
  const auto eg = FocusedEngineGlow();
  if (!eg || !DeleteEngineGlow(model_, *eg)) return;
  MeshScreens(eg->mesh, view_.LevelIndex());
  cxxx_->CreateCall();
}

void TamselWindow::egsetfacebut_Click() {
  const auto eg = FocusedEngineGlow();
  const auto f = FocusedFaceRow();
  const FaceRec* face = f ? FaceAt(model_, view_.LevelIndex(), *f) : nullptr;
  if (!eg || !face) return;
  SetEngineGlowToFace(*EngineGlowAt(model_, *eg), *face);
  cxxx_->CreateCall();
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
      ShowStatus("\"" + Box(name)->text() + "\" in " + name +
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
  EngineGlowRec& g = *EngineGlowAt(model_, *eg);
  g.InnerColor = {colours[0], colours[1], colours[2], colours[3]};
  g.OuterColor = {colours[4], colours[5], colours[6], colours[7]};
  g.Position = {values[0], values[1], values[2]};
  g.Size = {values[3], values[4], values[5]};
  g.Density1 = {values[6], values[7], values[8]};
  g.Density2 = {values[9], values[10], values[11]};
  g.Density3 = {values[12], values[13], values[14]};
  cxxx_->CreateCall();
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
    ShowStatus("\"" + Box("targetidtext")->text() + "\" in targetidtext is not a whole number");
    return;
  }
  MarkRefused(Box("targetidtext"), false);
  MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(m)];
  const int type = Control<QComboBox>("meshtypetext")->currentIndex();
  const int explosion = Control<QComboBox>("exptypetext")->currentIndex();
  if (type >= 0 && type < 32) mesh.MeshType = type;  // an extra entry keeps the stored code
  if (explosion >= 0 && explosion < 11) mesh.ExplosionType = explosion;
  mesh.Span = {v[0], v[1], v[2]};
  mesh.Center = {v[3], v[4], v[5]};
  mesh.Min = {v[6], v[7], v[8]};
  mesh.Max = {v[9], v[10], v[11]};
  mesh.Target = {v[12], v[13], v[14]};
  mesh.TargetId = static_cast<std::int32_t>(*id);
  cxxx_->CreateCall();
}

void TamselWindow::hitzonemenu_Click() {
  CalculateHitzones(model_);
  cxxx_->CreateCall();
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
  MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(m)];
  mesh.Pivot = {v[0], v[1], v[2]};
  mesh.Axis = {v[3], v[4], v[5]};
  mesh.Aim = {v[6], v[7], v[8]};
  mesh.Degree = {v[9], v[10], v[11]};
  cxxx_->CreateCall();
}

void TamselWindow::rotationmenu_Click() {
  CalculateRotations(model_);
  cxxx_->CreateCall();
}

}  // namespace tamsel
