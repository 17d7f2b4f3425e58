#include "app/panels/panel_host.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>

#include "app/controls.h"
#include "app/row_list.h"

namespace tamsel {

PropertyFrame::PropertyFrame(PanelHost& host, const QString& name, const QString& title,
                             QWidget* parent)
    : QGroupBox(title, parent), host_(host) {
  setObjectName(name);
}

void PropertyFrame::Clear() {
  for (QLineEdit* box : findChildren<QLineEdit*>()) {
    box->clear();
    MarkRefused(box, false);
  }
  for (RowList* list : findChildren<RowList*>()) list->Clear();
  for (QLabel* picture : findChildren<QLabel*>())
    if (!picture->pixmap().isNull()) picture->setPixmap(QPixmap());
}

void AsSubFrame(QGroupBox* frame, QLayout* layout) {
  frame->setFlat(true);
  frame->setStyleSheet("QGroupBox#" + frame->objectName() +
                       " { border: 0; margin: 0; padding: 0; }");
  layout->setContentsMargins(0, 0, 0, 0);
}

}  // namespace tamsel
