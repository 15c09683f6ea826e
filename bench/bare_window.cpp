// SPDX-License-Identifier: GPL-3.0-or-later
// A bare Qt Widgets window of the main window's size and nothing else: the
// yardstick for the window's start-up time and memory. With --label it
// shows one line of text, which costs what any text costs a Qt program
// (font configuration, a font, text layout) and so tells that share of the
// window's figures apart. With --tick a timer wakes it every 500 ms to do
// nothing, which shows what waking up as often as the query cycle costs by
// itself.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare Qt window"));
  // The main window's compact client size (403 x 591 outer).
  window.resize(403 - 8, 591 - 30);
  if (arguments.contains(QStringLiteral("--label"))) {
    auto* label = new QLabel(QStringLiteral("hostname: a bare Qt window"), &window);
    label->move(2, 34);
  }
  window.show();
  QTimer tick;
  tick.setInterval(500);
  QObject::connect(&tick, &QTimer::timeout, &window, [] {});
  if (arguments.contains(QStringLiteral("--tick"))) {
    tick.start();
  }
  return QApplication::exec();
}
