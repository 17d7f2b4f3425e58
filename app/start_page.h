// What an empty window shows over the viewport: how to start. Open a project, make one,
// import a model, open the sample fighter, or pick a recent project.
#pragma once

#include <QFrame>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace tamsel {

class StartPage : public QFrame {
  Q_OBJECT
 public:
  explicit StartPage(QWidget* parent = nullptr);
  void SetRecent(const QStringList& projects);
  QListWidget* Recent() const { return recent_; }

 signals:
  void OpenChosen();
  void NewChosen();
  void ImportChosen();
  void SampleChosen();
  void RecentChosen(const QString& project);

 private:
  QListWidget* recent_;
};

}  // namespace tamsel
