#include "app/texture_shelf.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

namespace tamsel {

namespace {
constexpr int kThumb = 64;
}

TextureShelf::TextureShelf(QWidget* parent) : QWidget(parent) {
  setObjectName("texturespanel");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  list_ = new QListWidget(this);
  list_->setObjectName("texturethumbs");
  list_->setViewMode(QListView::IconMode);
  list_->setIconSize(QSize(kThumb, kThumb));
  list_->setGridSize(QSize(kThumb + 72, kThumb + 40));
  list_->setResizeMode(QListView::Adjust);
  list_->setWordWrap(true);
  list_->setMovement(QListView::Static);
  list_->setToolTip("The project's textures; click one to show it in the texture panels");
  slots_ = new QLabel(this);
  slots_->setObjectName("fgslots");
  slots_->setWordWrap(true);
  slots_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(list_, 1);
  column->addWidget(slots_);
  ShowFace(nullptr);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) emit TextureChosen(row);
  });
}

void TextureShelf::Show(const Model& model,
                        const std::function<const QImage*(std::size_t)>& picture) {
  const QSignalBlocker quiet(list_);
  const int current = list_->currentRow();
  list_->clear();
  for (std::size_t t = 0; t < model.Textures.size(); ++t) {
    const QString name = QString::fromStdString(model.Textures[t].Name);
    auto* item = new QListWidgetItem(name, list_);
    item->setToolTip(name);
    if (const QImage* p = picture(t))
      item->setIcon(QPixmap::fromImage(p->scaled(kThumb, kThumb, Qt::KeepAspectRatio)));
  }
  if (current >= 0 && current < list_->count()) list_->setCurrentRow(current);
}

void TextureShelf::ShowFace(const FaceRec* face) {
  if (!face) {
    slots_->setText("Choose a face to see its flight-group textures.");
    return;
  }
  static const char* const colours[4] = {"Red", "Yellow", "Blue", "Green"};
  QString text;
  for (std::size_t s = 0; s < 4; ++s)
    text +=
        QString("%1: %2\n").arg(colours[s], QString::fromStdString(face->TextureNames[s].str()));
  slots_->setText(text.trimmed());
}

}  // namespace tamsel
