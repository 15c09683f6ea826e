#pragma once

#include <QObject>

class QTimer;

namespace kestrova {

// What ticks the window's query cycle (Timer1): a QTimer in the program;
// tests tick by hand. The interval is in milliseconds.
class TickSource : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TickSource)

 public:
  using QObject::QObject;

  // Ticks every Interval() from now on; a running source starts over.
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
  virtual int Interval() const = 0;
  virtual void SetInterval(int ms) = 0;

 Q_SIGNALS:
  void Tick();
};

// The program's tick: a coarse QTimer's timeouts.
class TimerTicks final : public TickSource {
 public:
  explicit TimerTicks(QObject* parent);

  void Start() override;
  void Stop() override;
  bool Active() const override;
  int Interval() const override;
  void SetInterval(int ms) override;

 private:
  QTimer* timer_;
};

}  // namespace kestrova
