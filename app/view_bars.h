// The view and display tool bars: orientation presets and Fit; the level of detail, the
// geometry level, the drawing mode and normals, each pair or trio an exclusive group.
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tamsel {

class ViewportController;
class PanelHost;
class PropertyPanels;

struct ViewBarActions {
  QAction* perspective = nullptr;
  QAction* top = nullptr;
  QAction* right = nullptr;
  QAction* front = nullptr;
  QAction* fit = nullptr;
};

struct DisplayBarActions {
  QAction* highLevel = nullptr;
  QAction* lowLevel = nullptr;
  QAction* mesh = nullptr;
  QAction* face = nullptr;
  QAction* vertex = nullptr;
  QAction* wireframe = nullptr;
  QAction* texture = nullptr;
  QAction* hideNormals = nullptr;
  QAction* showNormals = nullptr;
};

class ViewBars : public QObject {
 public:
  ViewBars(QMainWindow& window, QMenu* viewMenu, PanelHost& host, PropertyPanels& panels,
           ViewportController& viewport);
  QToolBar& ViewBar() { return *viewBar_; }
  QToolBar& DisplayBar() { return *displayBar_; }
  const ViewBarActions& ViewActions() const { return view_; }
  const DisplayBarActions& DisplayActions() const { return display_; }

  // Shows or hides every button of the display bar: there is nothing to show without a
  // project.
  void ShowDisplayButtons(bool shown);
  // Turns the view to a preset ("top", "bottom", ...) and frames the craft.
  void ShowPreset(const QString& key);

 private:
  void BuildViewBar(QMainWindow& window);
  void BuildDisplayBar(QMainWindow& window);
  // View > Views and the number keys of the presets.
  void BuildViewMenu(QMainWindow& window, QMenu* viewMenu);

  PanelHost& host_;
  PropertyPanels& panels_;
  ViewportController& viewport_;
  QToolBar* viewBar_ = nullptr;
  QToolBar* displayBar_ = nullptr;
  ViewBarActions view_;
  DisplayBarActions display_;
};

}  // namespace tamsel
