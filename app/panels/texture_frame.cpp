#include "app/panels/texture_frame.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/panels/color_subframe.h"

namespace tamsel {

TextureFrame::TextureFrame(PanelHost& host, QWidget* parent)
    : PropertyFrame(host, "textureframe", "Texture", parent) {
  auto* layout = new QVBoxLayout(this);
  stack_ = new QStackedWidget(this);
  stack_->setObjectName("texturesubstack");
  stack_->addWidget(transparency_ = new ColorSubFrame(host, ColorSubFrame::kTransparency, stack_));
  stack_->addWidget(illumination_ = new ColorSubFrame(host, ColorSubFrame::kIllumination, stack_));
  layout->addWidget(stack_);
}

void TextureFrame::Refresh(const ModelChange& change) {
  transparency_->Refresh(change);
  illumination_->Refresh(change);
}

void TextureFrame::Clear() {
  transparency_->Clear();
  illumination_->Clear();
}

}  // namespace tamsel
