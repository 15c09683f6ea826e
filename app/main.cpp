// The program entry of both builds: the application titled "Kestrova",
// its one window, and the event loop.
#include <QApplication>
#include <QDir>

#include "app/build_switch.h"
#include "core/local_time.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrova"));
  QApplication::setWindowIcon(kestrova::ProgramIcon());
  // The tray icon stays after the window closes; closing the window still
  // ends the program.
  QApplication::setQuitOnLastWindowClosed(true);

  kestrova::SystemClock clock;
  kestrova::MessageBoxErrorDisplay errors(nullptr);
  kestrova::MessageBoxConfirmation confirmation;
  kestrova::TForm1 form(kestrova::kThisBuild, kestrova::FormServices{errors, confirmation, clock,
                                                                    QDir::currentPath().toStdString(), nullptr});
  form.FormCreate();
  return QApplication::exec();
}
