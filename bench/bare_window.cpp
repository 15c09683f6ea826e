// A bare Qt Widgets window of the main window's size and nothing else: the
// yardstick for the window's start-up time and memory. With --tick a timer
// wakes it every 500 ms to do nothing, which shows what waking up as often
// as the query cycle costs by itself.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare Qt window"));
  // The main window's compact client size (403 x 591 outer).
  window.resize(403 - 8, 591 - 30);
  window.show();
  QTimer tick;
  tick.setInterval(500);
  QObject::connect(&tick, &QTimer::timeout, &window, [] {});
  if (QApplication::arguments().contains(QStringLiteral("--tick"))) {
    tick.start();
  }
  return QApplication::exec();
}
