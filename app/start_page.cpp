#include "app/start_page.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/tool_bars.h"

namespace tamsel {

namespace {

QPushButton* StartButton(QWidget* parent, const QString& name, const QString& text,
                         const QString& icon, const QString& tip) {
  auto* button = new QPushButton(ThemeIcon(icon), text, parent);
  button->setObjectName(name);
  button->setToolTip(tip);
  button->setMinimumHeight(32);
  return button;
}

}  // namespace

StartPage::StartPage(QWidget* parent) : QFrame(parent) {
  setObjectName("startpage");
  setAutoFillBackground(true);
  setFrameShape(QFrame::StyledPanel);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(24, 20, 24, 20);
  auto* title = new QLabel("<h2>Start</h2>", this);
  column->addWidget(title);
  auto* open = StartButton(this, "startopen", "&Open a Project…", "document-open",
                           "Open an .opz project file (Ctrl+O)");
  auto* make = StartButton(this, "startnew", "&New Project…", "document-new",
                           "Make an empty project in a folder of its own (Ctrl+N)");
  auto* import = StartButton(this, "startimport", "&Import a Model…", "insert-object",
                             "Make a project and bring in an OPT, DXF, glTF, OBJ, FBX or 3DS file");
  auto* sample =
      StartButton(this, "startsample", "Open the &Sample Fighter", "starred",
                  "A small fighter that shows every feature, to look at and try things on");
  for (QPushButton* b : {open, make, import, sample}) column->addWidget(b);
  column->addWidget(new QLabel("Recent projects:", this));
  recent_ = new QListWidget(this);
  recent_->setObjectName("startrecent");
  recent_->setToolTip("Double-click or press Enter to open");
  column->addWidget(recent_, 1);
  auto* hint = new QLabel("Or drop an .opz, .opt or .dxf file on the window.", this);
  hint->setWordWrap(true);
  column->addWidget(hint);
  connect(open, &QPushButton::clicked, this, &StartPage::OpenChosen);
  connect(make, &QPushButton::clicked, this, &StartPage::NewChosen);
  connect(import, &QPushButton::clicked, this, &StartPage::ImportChosen);
  connect(sample, &QPushButton::clicked, this, &StartPage::SampleChosen);
  connect(recent_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    emit RecentChosen(item->data(Qt::UserRole).toString());
  });
}

void StartPage::SetRecent(const QStringList& projects) {
  recent_->clear();
  for (const QString& path : projects) {
    auto* item = new QListWidgetItem(path, recent_);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
  }
  if (projects.isEmpty()) {
    auto* none = new QListWidgetItem("(none yet)", recent_);
    none->setFlags(Qt::NoItemFlags);
  }
}

}  // namespace tamsel
