// Calls back on events of one type sent to a watched object (resizes of the client area,
// clicks on a swatch, moves over a viewer) without subclassing the widget.
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <set>

namespace tamsel {

class EventWatcher : public QObject {
 public:
  EventWatcher(QObject* watched, std::set<QEvent::Type> types, std::function<void(QEvent*)> handler)
      : QObject(watched), types_(std::move(types)), handler_(std::move(handler)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (types_.count(event->type())) handler_(event);
    return false;
  }

 private:
  std::set<QEvent::Type> types_;
  std::function<void(QEvent*)> handler_;
};

// The busy pointer for as long as a command runs, restored on every way out.
struct BusyPointer {
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace tamsel
