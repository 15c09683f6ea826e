#include "ui/tick_source.h"

#include <QTimer>

namespace kestrova {

TimerTicks::TimerTicks(QObject* parent) : TickSource(parent), timer_(new QTimer(this)) {
  connect(timer_, &QTimer::timeout, this, &TickSource::Tick);
}

void TimerTicks::Start() { timer_->start(); }

void TimerTicks::Stop() { timer_->stop(); }

bool TimerTicks::Active() const { return timer_->isActive(); }

int TimerTicks::Interval() const { return timer_->interval(); }

void TimerTicks::SetInterval(int ms) { timer_->setInterval(ms); }

}  // namespace kestrova
