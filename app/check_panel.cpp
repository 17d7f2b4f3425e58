#include "app/check_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <utility>

#include "app/dialogs.h"
#include "app/panels/property_panels.h"
#include "app/tamsel_window.h"
#include "app/view_bars.h"
#include "check/craft_fixes.h"
#include "editing/focus.h"
#include "editing/select_many.h"

namespace tamsel {
namespace {

const char* const kProfileKey = "check/profile";
constexpr int kPauseMs = 150;  // edits closer together than this are checked once
constexpr int kOpenedPauseMs = 600;

QString Plural(int n, const char* one, const char* many) {
  return QString::number(n) + " " + (n == 1 ? one : many);
}

// A tool bar button pressed as the user presses it.
void Press(QAction* button) {
  if (!button->isChecked()) button->trigger();
}

}  // namespace

CheckPanel::CheckPanel(TamselWindow& window) : window_(window) {
  setObjectName("checkpanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* top = new QHBoxLayout;
  profile_ = new QComboBox(this);
  profile_->setObjectName("checkprofile");
  profile_->addItem("Original game", "original");
  profile_->addItem("Patched game", "patched");
  profile_->setToolTip(
      "The limits to check against: the original game's, or those of the game "
      "with the modding community's patches");
  const QString kept = QSettings().value(kProfileKey, "original").toString();
  profile_->setCurrentIndex(std::max(0, profile_->findData(kept)));
  top->addWidget(profile_, 1);
  layout->addLayout(top);
  summary_ = new QLabel(this);
  summary_->setObjectName("checksummary");
  layout->addWidget(summary_);
  list_ = new QTreeWidget(this);
  list_->setObjectName("checklist");
  list_->setHeaderHidden(true);
  list_->setWordWrap(true);
  list_->setUniformRowHeights(false);
  list_->setTextElideMode(Qt::ElideNone);
  list_->header()->setStretchLastSection(true);
  layout->addWidget(list_, 1);
  fix_ = new QPushButton("Fix", this);
  fix_->setObjectName("checkfix");
  fix_->setEnabled(false);
  fix_->setToolTip(
      "Apply the chosen finding's automatic fix (of every chosen finding of its kind), one undo "
      "step");
  layout->addWidget(fix_);
  fixAll_ = new QPushButton("Fix All", this);
  fixAll_->setObjectName("checkfixall");
  fixAll_->setEnabled(false);
  fixAll_->setToolTip(
      "Apply the same fix to every finding of the chosen one's kind, one undo step");
  layout->addWidget(fixAll_);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);

  pause_ = new QTimer(this);
  pause_->setSingleShot(true);
  connect(pause_, &QTimer::timeout, this, &CheckPanel::Start);
  connect(&watcher_, &QFutureWatcher<std::vector<Finding>>::finished, this, [this] {
    running_ = false;
    if (std::exchange(stale_, false)) return;
    Show(watcher_.result());
    if (again_) Schedule();
  });
  connect(profile_, &QComboBox::currentIndexChanged, this, [this] {
    QSettings().setValue(kProfileKey, profile_->currentData());
    Schedule();
  });
  connect(list_, &QTreeWidget::currentItemChanged, this, &CheckPanel::FollowChoice);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CheckPanel::FollowChoice);
  connect(list_, &QTreeWidget::itemClicked, this, [this] {
    if (const int i = Chosen(); i >= 0) ShowFinding(i);
  });
  connect(fix_, &QPushButton::clicked, this, [this] {
    if (const int i = Chosen(); i >= 0) FixAllLike(i, true);
  });
  connect(fixAll_, &QPushButton::clicked, this, [this] {
    if (const int i = Chosen(); i >= 0) FixAllLike(i);
  });
  Show({});
}

CheckPanel::~CheckPanel() {
  watcher_.disconnect();
  watcher_.waitForFinished();
}

Profile CheckPanel::CurrentProfile() const {
  return ProfileNamed(profile_->currentData().toString().toStdString()).value_or(Profile::Original);
}

void CheckPanel::Schedule(bool opened) {
  // A large craft's first frame comes before its check, which would otherwise take a core
  // from the drawing (and hold a quick exit until it ends).
  pause_->start(opened ? kOpenedPauseMs : kPauseMs);
}

bool CheckPanel::Busy() const {
  return pause_->isActive() || running_;
}

void CheckPanel::Start() {
  if (running_) {
    again_ = true;  // the running check is of an older craft: check again when it is done
    return;
  }
  again_ = false;
  const Model& model = window_.Model();
  if (model.ProjectPath.empty()) {
    Show({});
    return;
  }
  running_ = true;
  stale_ = false;  // a watcher given a new future drops the old one's pending signals
  // The copy shares every record with the document: edits made meanwhile copy what they
  // change, so the check reads the craft as it was, safely, on another thread.
  watcher_.setFuture(
      QtConcurrent::run([snapshot = model, profile = CurrentProfile(), bitmaps = bitmaps_] {
        return CheckCraft(snapshot, profile, ProjectBitmapFacts(snapshot.ProjectPath, bitmaps));
      }));
}

const std::vector<Finding>& CheckPanel::CheckNow() {
  pause_->stop();
  watcher_.waitForFinished();  // its findings are older than these; they are dropped
  stale_ = running_;
  running_ = false;
  again_ = false;
  const Model& model = window_.Model();
  Show(model.ProjectPath.empty()
           ? std::vector<Finding>{}
           : CheckCraft(model, CurrentProfile(), ProjectBitmapFacts(model.ProjectPath, bitmaps_)));
  return findings_;
}

QString CheckPanel::TabTitle() const {
  const FindingCounts c = CountFindings(findings_);
  const int shown = c.errors + c.warnings;
  return shown ? QString("Check (%1)").arg(shown) : QString("Check");
}

QString CheckPanel::StatusText() const {
  const FindingCounts c = CountFindings(findings_);
  if (c.errors + c.warnings == 0) return "Check: no problems";
  return "Check: " + Plural(c.errors, "error", "errors") + ", " +
         Plural(c.warnings, "warning", "warnings");
}

void CheckPanel::Show(std::vector<Finding> findings) {
  findings_ = std::move(findings);
  list_->clear();
  const FindingCounts counts = CountFindings(findings_);
  const std::pair<Severity, QString> groups[] = {
      {Severity::Error, Plural(counts.errors, "Error", "Errors")},
      {Severity::Warning, Plural(counts.warnings, "Warning", "Warnings")},
      {Severity::Note, Plural(counts.notes, "Note", "Notes")}};
  for (const auto& [severity, title] : groups) {
    QTreeWidgetItem* group = nullptr;
    for (std::size_t i = 0; i < findings_.size(); ++i) {
      if (findings_[i].severity != severity) continue;
      if (!group) {
        group = new QTreeWidgetItem(list_, {title});
        group->setFlags(Qt::ItemIsEnabled);
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
      }
      auto* row = new QTreeWidgetItem(group, {QString::fromStdString(findings_[i].text)});
      row->setData(0, Qt::UserRole, static_cast<int>(i));
      row->setToolTip(0, QString::fromStdString(findings_[i].text));
    }
  }
  list_->expandAll();
  summary_->setText(counts.errors + counts.warnings + counts.notes == 0
                        ? QString("No findings")
                        : Plural(counts.errors, "error", "errors") + ", " +
                              Plural(counts.warnings, "warning", "warnings") + ", " +
                              Plural(counts.notes, "note", "notes"));
  fix_->setEnabled(false);
  fix_->setText("Fix");
  fixAll_->setEnabled(false);
  fixAll_->setText("Fix All");
  emit Counted();
}

int CheckPanel::Chosen() const {
  const QTreeWidgetItem* item = list_->currentItem();
  if (!item || !item->data(0, Qt::UserRole).isValid()) return -1;
  const int i = item->data(0, Qt::UserRole).toInt();
  return i >= 0 && static_cast<std::size_t>(i) < findings_.size() ? i : -1;
}

void CheckPanel::ShowFinding(int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= findings_.size()) return;
  const Element e = findings_[static_cast<std::size_t>(i)].element;
  Model& model = window_.Model();
  Focus& focus = window_.Doc().focus();
  const DisplayBarActions& disp = window_.Bars().DisplayActions();
  const PanelBarActions& props = window_.Panels().BarActions();
  if (e.kind == Element::Kind::Texture) {
    if (e.texture >= model.TextureCount()) return;
    Press(props.texture);
    focus.texture = e.texture;
    window_.SelectionChanged(false);
    return;
  }
  if (e.mesh < 0 || e.mesh >= model.MeshCount()) return;
  const int level = e.level >= 0 ? e.level : window_.View().LevelIndex();
  if (!model.Meshes[static_cast<std::size_t>(e.mesh)].HasLevel(level)) return;
  Press(level == 1 ? disp.lowLevel : disp.highLevel);
  Press(e.kind == Element::Kind::Faces ? disp.face : disp.mesh);
  const ModelChange change = SelectOnly(model, level, e.mesh, e.faces);
  focus.mesh = e.mesh;
  if (e.kind == Element::Kind::Faces && !e.faces.empty())
    FocusFace(focus, model, level, {e.mesh, e.faces.front()}, window_.View().FlightGroupColor);
  if (e.kind == Element::Kind::Hardpoint || e.kind == Element::Kind::EngineGlow) {
    const bool hp = e.kind == Element::Kind::Hardpoint;
    Press(hp ? props.hardpoint : props.engineGlow);
    (hp ? focus.hardpoint : focus.engineGlow) = ItemRef{e.mesh, e.item};
  }
  window_.Doc().Changed(change);
}

void CheckPanel::FollowChoice() {
  const int i = Chosen();
  const FixKind fix = i >= 0 ? findings_[static_cast<std::size_t>(i)].fix : FixKind::None;
  fix_->setEnabled(fix != FixKind::None);
  fix_->setText(fix != FixKind::None ? QString::fromUtf8(FixName(fix).data()) : QString("Fix"));
  const auto alike = std::count_if(findings_.begin(), findings_.end(),
                                   [&](const Finding& f) { return f.fix == fix; });
  const bool together = FixesTogether(fix) && alike > 1;
  fixAll_->setEnabled(together);
  fixAll_->setText(
      together ? QString("%1: all %2").arg(QString::fromUtf8(FixName(fix).data())).arg(alike)
               : QString("Fix All"));
}

bool CheckPanel::FixAllLike(int i, bool chosenOnly) {
  if (i < 0 || static_cast<std::size_t>(i) >= findings_.size()) return false;
  const FixKind fix = findings_[static_cast<std::size_t>(i)].fix;
  if (!FixesTogether(fix)) return FixFinding(i);
  std::vector<Finding> alike;
  for (std::size_t k = 0; k < findings_.size(); ++k) {
    if (findings_[k].fix != fix) continue;
    if (chosenOnly && static_cast<int>(k) != i) {
      bool chosen = false;
      for (const QTreeWidgetItem* item : list_->selectedItems())
        chosen = chosen || item->data(0, Qt::UserRole) == QVariant(static_cast<int>(k));
      if (!chosen) continue;
    }
    alike.push_back(findings_[k]);
  }
  if (alike.size() == 1) return FixFinding(i);
  Model& model = window_.Model();
  FileTransaction files(model.ProjectPath);
  int changed = 0;
  const auto error = window_.Doc().Apply(
      std::string(FixName(fix)) + " (" + std::to_string(alike.size()) + ")",
      [&](Model& m) { changed = ApplyFixes(m, alike, CurrentProfile(), files, ProjectBitmaps(m)); },
      &files);
  if (error) {
    window_.Ask().MessageBox(QString::fromStdString(*error), "Check");
    return false;
  }
  return changed > 0;
}

bool CheckPanel::FixFinding(int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= findings_.size()) return false;
  const Finding finding = findings_[static_cast<std::size_t>(i)];
  if (finding.fix == FixKind::None) return false;
  Model& model = window_.Model();
  FileTransaction files(model.ProjectPath);
  bool changed = false;
  const auto error = window_.Doc().Apply(
      std::string(FixName(finding.fix)),
      [&](Model& m) { changed = ApplyFix(m, finding, CurrentProfile(), files, ProjectBitmaps(m)); },
      &files);
  if (error) {
    window_.Ask().MessageBox(QString::fromStdString(*error), "Check");
    return false;
  }
  return changed;
}

}  // namespace tamsel
