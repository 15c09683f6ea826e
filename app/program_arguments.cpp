// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_arguments.h"

#include <cstddef>

namespace kestrova {

namespace {

// How a Qt option takes its value: not at all, as the next argument, or
// either as the next argument or after "=" (Qt reads "-style=Fusion" but
// not "-platform=xcb").
enum class QtValue { None, Next, NextOrAttached, Attached };

struct QtOption {
  std::string_view name;
  QtValue value;
};

// The options QGuiApplication, QApplication and the X11 platform plugin
// take out of the command line.
constexpr QtOption kQtOptions[] = {
    {"platform", QtValue::Next},
    {"platformpluginpath", QtValue::Next},
    {"platformtheme", QtValue::Next},
    {"plugin", QtValue::Next},
    {"qwindowgeometry", QtValue::Next},
    {"qwindowicon", QtValue::Next},
    {"qwindowtitle", QtValue::Next},
    {"geometry", QtValue::Next},
    {"title", QtValue::Next},
    {"icon", QtValue::Next},
    {"session", QtValue::Next},
    {"display", QtValue::Next},
    {"name", QtValue::Next},
    {"visual", QtValue::Next},
    {"style", QtValue::NextOrAttached},
    {"stylesheet", QtValue::NextOrAttached},
    {"qmljsdebugger", QtValue::Attached},
    {"reverse", QtValue::None},
    {"testability", QtValue::None},
    {"widgetcount", QtValue::None},
    {"nograb", QtValue::None},
    {"dograb", QtValue::None},
};

// The Qt option `argument` names, or nullptr. Qt reads "--name" as "-name".
const QtOption* FindQtOption(std::string_view argument, bool& attached) {
  std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
  const std::size_t equals = name.find('=');
  attached = equals != std::string_view::npos;
  name = name.substr(0, equals);
  for (const QtOption& option : kQtOptions) {
    if (option.name != name) {
      continue;
    }
    const bool allowsAttached = option.value == QtValue::NextOrAttached || option.value == QtValue::Attached;
    const bool needsAttached = option.value == QtValue::Attached;
    if (attached ? allowsAttached : !needsAttached) {
      return &option;
    }
  }
  return nullptr;
}

constexpr std::string_view kFolderAttached = "--folder=";

}  // namespace

ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments) {
  ProgramArguments result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help") {
      result.help = true;
    } else if (argument == "--version") {
      result.version = true;
    } else if (argument == "--folder" || argument.starts_with(kFolderAttached)) {
      if (result.folder) {
        throw CommandLineError("--folder is given twice");
      }
      if (argument != "--folder") {
        result.folder = argument.substr(kFolderAttached.size());
      } else if (i + 1 < arguments.size()) {
        result.folder = arguments[++i];
      } else {
        throw CommandLineError("--folder needs a folder");
      }
    } else if (argument.size() > 1 && argument[0] == '-') {
      bool attached = false;
      const QtOption* option = FindQtOption(argument, attached);
      if (option == nullptr) {
        throw CommandLineError("unknown option " + argument);
      }
      result.qtArguments.push_back(argument);
      if (option->value != QtValue::None && !attached) {
        if (i + 1 >= arguments.size()) {
          throw CommandLineError(argument + " needs a value");
        }
        result.qtArguments.push_back(arguments[++i]);
      }
    } else {
      throw CommandLineError("unexpected argument '" + argument + "'");
    }
  }
  return result;
}

std::string ProgramUsage(std::string_view program, std::string_view summary) {
  const std::string name(program);
  return "Usage: " + name + " [--folder DIR] [QT-OPTION]...\n" + "       " + name +
         " --help | --version\n"
         "\n" +
         std::string(summary) +
         "\n"
         "  --folder DIR   work in DIR: it is made, with its parents, when missing,\n"
         "                 and becomes the working folder before anything is read.\n"
         "                 data.dat (and kestrova-log's ddmm.csv files) live there.\n"
         "                 An empty DIR (--folder=) picks the per-user folder\n"
         "                 $XDG_DATA_HOME/kestrova, or ~/.local/share/kestrova when\n"
         "                 XDG_DATA_HOME is unset; the menu entries start it so.\n"
         "  --help         print this text and exit\n"
         "  --version      print the program's name and version and exit\n"
         "\n"
         "Qt's own options are accepted too, among them -platform NAME, -style NAME,\n"
         "-stylesheet FILE, -display DISPLAY, -geometry GEOMETRY and -reverse.\n"
         "\n"
         "Exit status: 0 when the window was closed, and after --help or --version;\n"
         "1 when the folder of --folder cannot be made or entered; 2 wrong usage.\n";
}

}  // namespace kestrova
