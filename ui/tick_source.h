// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

namespace kestrova {

// What ticks the window's query cycle (Timer1): a coarse QTimer; tests
// derive one that they tick by hand. The interval is in milliseconds.
class TickSource : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TickSource)

 public:
  TickSource() { connect(&timer_, &QTimer::timeout, this, &TickSource::Tick); }

  // Ticks every Interval() from now on; a running source starts over.
  virtual void Start() { timer_.start(); }
  virtual void Stop() { timer_.stop(); }
  virtual bool Active() const { return timer_.isActive(); }
  int Interval() const { return timer_.interval(); }
  void SetInterval(int ms) { timer_.setInterval(ms); }

 Q_SIGNALS:
  void Tick();

 private:
  QTimer timer_;
};

}  // namespace kestrova
