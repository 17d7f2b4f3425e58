// The textures dock: every texture of the project as a thumbnail with its full name, and
// the four flight-group slots of the focused face. Choosing a thumbnail asks for that
// texture in the panels.
#pragma once

#include <QWidget>
#include <functional>

#include "model/model.h"

class QImage;
class QLabel;
class QListWidget;

namespace tamsel {

class TextureShelf : public QWidget {
  Q_OBJECT
 public:
  explicit TextureShelf(QWidget* parent = nullptr);

  // `picture(t)` is the loaded bitmap of texture t, or null.
  void Show(const Model& model, const std::function<const QImage*(std::size_t)>& picture);
  // The slots of a face ("red: hull.BMP" ...), or a hint when no face is focused.
  void ShowFace(const FaceRec* face);
  QListWidget* List() const { return list_; }
  QLabel* Slots() const { return slots_; }

 signals:
  void TextureChosen(int texture);

 private:
  QListWidget* list_;
  QLabel* slots_;
};

}  // namespace tamsel
