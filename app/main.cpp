// SPDX-License-Identifier: GPL-3.0-or-later
// The program entry of both builds: the command line, the working folder,
// the application titled "Kestrova", its one window, and the event loop.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/build_switch.h"
#include "app/program_arguments.h"
#include "app/working_folder.h"
#include "core/local_time.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/notification_settings.h"
#include "ui/program_icon.h"

namespace {

constexpr int kExitFolder = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char* argv[]) {
  using kestrova::kProgramName;

  // The command line is read before Qt needs a display, so --help,
  // --version and usage errors work anywhere.
  kestrova::ProgramArguments arguments;
  try {
    arguments = kestrova::ParseProgramArguments(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  } catch (const kestrova::CommandLineError& error) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName, error.what(), kProgramName);
    return kExitUsage;
  }
  if (arguments.help) {
    std::fputs(kestrova::ProgramUsage(kProgramName, kestrova::kProgramSummary).c_str(), stdout);
    return 0;
  }
  if (arguments.version) {
    std::printf("%s %s\n", kProgramName, KESTROVA_VERSION);
    return 0;
  }

  // QApplication keeps argc and argv for its whole life; it gets the
  // program path and Qt's own options only.
  std::vector<std::string> qtStrings{argc > 0 ? argv[0] : kProgramName};
  qtStrings.insert(qtStrings.end(), arguments.qtArguments.begin(), arguments.qtArguments.end());
  std::vector<char*> qtArgv;
  for (std::string& text : qtStrings) {
    qtArgv.push_back(text.data());
  }
  qtArgv.push_back(nullptr);
  int qtArgc = static_cast<int>(qtStrings.size());

  QApplication application(qtArgc, qtArgv.data());
  QApplication::setApplicationName(QStringLiteral("Kestrova"));
  QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kestrova::kDesktopEntry));
  QApplication::setWindowIcon(kestrova::ProgramIcon());
  // The tray icon stays after the window closes; closing the window still
  // ends the program.
  QApplication::setQuitOnLastWindowClosed(true);

  if (arguments.folder) {
    try {
      kestrova::EnterFolderOption(*arguments.folder, kestrova::ProcessEnvironment);
    } catch (const std::runtime_error& error) {
      // Started from the menu nobody reads standard error, so the reason
      // is shown in a box as well.
      std::fprintf(stderr, "%s: %s\n", kProgramName, error.what());
      QMessageBox box(QMessageBox::Critical, QStringLiteral("Kestrova"),
                      QString::fromLocal8Bit(kestrova::ErrorDisplayText(error.what())), QMessageBox::Ok);
      // A folder name is shown as it is, never as markup.
      box.setTextFormat(Qt::PlainText);
      box.exec();
      return kExitFolder;
    }
  }

  kestrova::SystemClock clock;
  kestrova::MessageBoxErrorDisplay errors(nullptr);
  kestrova::MessageBoxConfirmation confirmation;
  kestrova::TForm1 form(kestrova::kThisBuild,
                        kestrova::FormServices{errors, confirmation, clock, QDir::currentPath().toStdString(), nullptr,
                                               kestrova::NotificationSettings::UserFile()});
  form.FormCreate();
  return QApplication::exec();
}
