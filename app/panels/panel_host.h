// What a property panel needs of the window around it, and the base of the panels. A
// panel owns its controls, fills them from the document when the document tells of a
// change, and applies its UPDATEs as steps of the document. Panels never call each other:
// a click that chooses an element sets the document's focus and announces it, and every
// panel follows from that one notification.
#pragma once

#include <QGroupBox>
#include <QString>

#include "editing/document.h"
#include "model/view_state.h"

namespace tamsel {

class Dialogs;
class TextureObjects;

class PanelHost {
 public:
  virtual ~PanelHost() = default;
  virtual Document& Doc() = 0;
  virtual ViewState& View() = 0;
  virtual Dialogs& Ask() = 0;
  // Runs an edit as one undo step; a refused edit says why, changes nothing and is false.
  virtual bool Edit(const QString& label, const Document::Edit& edit) = 0;
  virtual void Status(const QString& text) = 0;
  // The texture objects (and the bitmaps as loaded) of the model's texture records.
  virtual TextureObjects& Textures() = 0;

  // Tells every view that the selection changed; `chosen`: the focus changed with it.
  void SelectionChanged(bool chosen) { Doc().Changed(SelectionChange(chosen)); }
  // Tells every view that the view state changed (and with `chosen`, the focus too).
  void ViewChanged(bool chosen = false) {
    ModelChange change;
    change.recordsUnchanged = true;
    change.view = true;
    change.focus = chosen;
    Doc().Changed(change);
  }
};

class PropertyFrame : public QGroupBox {
 public:
  PropertyFrame(PanelHost& host, const QString& name, const QString& title, QWidget* parent);
  // Shows the document as the change left it.
  virtual void Refresh(const ModelChange& change) = 0;
  // Every box, list and picture empty: nothing of an earlier project stays on show.
  virtual void Clear();

 protected:
  Model& model() { return host_.Doc().model(); }
  Focus& focus() { return host_.Doc().focus(); }
  ViewState& view() { return host_.View(); }
  int level() { return host_.View().LevelIndex(); }
  PanelHost& host_;
};

// A sub-frame sits inside its frame's box: drawn flat and without margins of its own, so
// that nested frames do not take the width of their boxes.
void AsSubFrame(QGroupBox* frame, QLayout* layout);

}  // namespace tamsel
