// The view and display tool bars: orientation presets and Fit; the level of detail, the
// geometry level, the drawing mode and normals.
#pragma once

#include <QObject>
#include <QString>

class QMainWindow;

namespace tamsel {

class ViewportController;
class KeyedToolBar;
class PanelHost;
class PropertyPanels;

class ViewBars : public QObject {
 public:
  ViewBars(QMainWindow& window, PanelHost& host, PropertyPanels& panels,
           ViewportController& viewport);
  KeyedToolBar& ViewBar() { return *viewbar_; }
  KeyedToolBar& DispBar() { return *dispbar_; }

  void TurnToViewOfButton(int index);
  void ChooseDisplayOfButton(int index);
  // Turns the view to a preset ("top", "bottom", ...) and frames the craft.
  void ShowPreset(const QString& key);

 private:
  PanelHost& host_;
  PropertyPanels& panels_;
  ViewportController& viewport_;
  KeyedToolBar* viewbar_ = nullptr;
  KeyedToolBar* dispbar_ = nullptr;
};

}  // namespace tamsel
