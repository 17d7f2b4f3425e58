// The model-wide commands of the Calculate, Fix and Options menus: each one undo step whose
// count the status bar tells; and the colour settings and the face count.
#pragma once

#include <QObject>
#include <QString>

#include "app/menus.h"

namespace tamsel {

class PanelHost;
struct ColorSettings;
struct Model;

class CraftCommands : public QObject {
 public:
  CraftCommands(PanelHost& host, ColorSettings& colors, const MenuItems& menus, QObject* parent);

  void quad2trimenu_Click();
  void vertexordermenu_Click();
  void facenormalmenu_Click();
  void vertexnormalmenu_Click();
  void softwarevectormenu_Click();
  void texturecoordinatemenu_Click();
  void hitzonemenu_Click();
  void rotationmenu_Click();
  void colormenu_Click(const QString& item);
  void facecountmenu_Click();
  // The Edit menu's selection commands, at the level being edited.
  void selectallmenu_Click();
  void selectnonemenu_Click();
  void invertselectionmenu_Click();

 private:
  PanelHost& host_;
  ColorSettings& colors_;
  tamsel::Model& model_;
};

}  // namespace tamsel
