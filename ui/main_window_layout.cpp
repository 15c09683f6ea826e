// SPDX-License-Identifier: GPL-3.0-or-later
// Creates the window's controls at their places, with their captions,
// colours, fonts and tab order.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "console/command_line.h"
#include "console/remote_commands.h"
#include "ui/address_field.h"
#include "ui/caption_colours.h"
#include "ui/console_list.h"
#include "ui/form_font.h"
#include "ui/integer_field.h"
#include "ui/link_label.h"
#include "ui/main_window.h"
#include "ui/notification_icon.h"
#include "ui/player_list.h"
#include "ui/program_icon.h"
#include "ui/text_bytes.h"

namespace kestrova {

namespace {

// The captions' hues, exact on a light window and lightened on a dark one.
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGray(128, 128, 128);

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int left, int top,
                  CaptionColours* colours = nullptr, const QColor& hue = QColor()) {
  auto* label = Named(new QLabel(QString::fromLatin1(caption), parent), name);
  // Labels show server texts: a host name such as "<b>x</b>" is data, never
  // markup, and its blanks count.
  label->setTextFormat(Qt::PlainText);
  if (colours != nullptr) {
    colours->Add(label, hue);
  }
  label->move(left, top);
  FitLabelToText(label);
  return label;
}

}  // namespace

void TForm1::CreateControls() {
  Label12 = MakeLabel(this, "Label12", "IP", 2, 5);
  IPEdit = Named(new AddressField(this), "IPEdit");
  IPEdit->setGeometry(16, 2, 92, 21);
  Label13 = MakeLabel(this, "Label13", "hostport", 112, 5);
  Edit2 = Named(new IntegerField(this), "Edit2");
  Edit2->setGeometry(152, 2, 41, 21);
  Edit2->SetValue(12203);
  Label14 = MakeLabel(this, "Label14", "queryport", 200, 5);
  Edit3 = Named(new IntegerField(this), "Edit3");
  Edit3->setGeometry(248, 2, 41, 21);
  Edit3->SetValue(12300);

  // The update time sits in its frame under the START button, which hides
  // once monitoring runs.
  Bevel1 = Named(new QFrame(this), "Bevel1");
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(328, 2, 57, 17);
  Label15 = MakeLabel(this, "Label15", "", 336, 5);
  Button1 = Named(new QPushButton(QStringLiteral("START spy"), this), "Button1");
  Button1->setFont(FormFont(10, true));
  Button1->setGeometry(304, 0, 91, 25);

  CheckBox1 = Named(new QCheckBox(QStringLiteral("ShowConsole"), this), "CheckBox1");
  CheckBox1->setGeometry(304, 32, 97, 17);

  CreateInfoLabels();

  ListView1 = Named(new PlayerList(shown_, this), "ListView1");
  ListView1->setGeometry(0, 168, 393, build_ == BuildKind::Log ? 377 : 393);
  ListView1->setFocusPolicy(Qt::ClickFocus);

  CreateConsolePanel();
  CreateBuildControls();

  Timer1 = services_.ticks ? services_.ticks.release() : new TickSource;
  Timer1->setParent(this);
  Named(Timer1, "Timer1")->SetInterval(500);
  CreateTray();
}

void TForm1::CreateInfoLabels() {
  auto* colours = new CaptionColours(this);
  using enum ShownLabel;
  const struct {
    ShownLabel label;
    int left;
    int top;
    const QColor& hue;
  } places[] = {
      {HostName, 2, 34, kRed},     {Pure, 2, 48, kRed},          {GameTypeString, 2, 72, kRed},
      {GameType, 2, 88, kRed},     {MapName, 2, 104, kRed},      {Clients, 2, 128, kBlue},
      {MaxClients, 2, 144, kBlue}, {FragLimit, 112, 128, kBlue}, {TimeLimit, 112, 144, kBlue},
      {MaxPing, 198, 128, kGray},  {Protocol, 198, 144, kGray},
  };
  for (const auto& place : places) {
    const std::string name = "Label" + std::to_string(static_cast<int>(place.label));
    InfoLabel(place.label) = MakeLabel(this, name.c_str(), DisplayModel::InitialCaption(place.label).c_str(),
                                       place.left, place.top, colours, place.hue);
  }

  Label16 = Named(new LinkLabel(QStringLiteral(KESTROVA_HOMEPAGE), this), "Label16");
  Label16->move(296, 128);
  FitLabelToText(Label16);
  Label17 = Named(new LinkLabel(QStringLiteral(KESTROVA_MAIL), this), "Label17");
  Label17->move(296, 144);
  FitLabelToText(Label17);
}

void TForm1::CreateConsolePanel() {
  ListBox3 = Named(new ConsoleList(this), "ListBox3");
  ListBox3->setGeometry(400, 2, 385, 287);
  ListBox3->setFocusPolicy(Qt::ClickFocus);
  for (const std::string& line : ConsoleHelpText()) {
    ListBox3->AppendLine(line);
  }
  Edit5 = Named(new QLineEdit(ToDisplayText(std::string(kPrefixPlaceholder)), this), "Edit5");
  Edit5->setGeometry(590, 292, 195, 21);
  Edit4 = Named(new QLineEdit(ToDisplayText(std::string(kCommandLinePlaceholder)), this), "Edit4");
  Edit4->setGeometry(400, 316, 385, 21);
  // Show both texts from their start, not scrolled to the caret at their end.
  Edit5->setCursorPosition(0);
  Edit4->setCursorPosition(0);
}

void TForm1::CreateBuildControls() {
  if (build_ == BuildKind::Standard) {
    RadioGroup1 = Named(new QGroupBox(QStringLiteral("Maps"), this), "RadioGroup1");
    RadioGroup1->setGeometry(400, 344, 185, 105);
    mapButtons_ = new QButtonGroup(RadioGroup1);
    const auto& maps = StockMaps();
    for (std::size_t index = 0; index < maps.size(); ++index) {
      auto* item = new QRadioButton(ToDisplayText(maps[index].itemText), RadioGroup1);
      item->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(index));
      item->setGeometry(8, 15 + static_cast<int>(index) * 12, 170, 13);
      mapButtons_->addButton(item, static_cast<int>(index));
    }
    RadioGroup1->hide();
    return;
  }
  CheckBox2 = Named(new QCheckBox(QStringLiteral("Log enabled"), this), "CheckBox2");
  CheckBox2->setGeometry(304, 64, 89, 17);
  CheckBox2->setChecked(true);
  JvIntegerEdit1 = Named(new IntegerField(this), "JvIntegerEdit1");
  JvIntegerEdit1->setGeometry(304, 80, 41, 21);
  JvIntegerEdit1->SetValue(30);
  Label18 = MakeLabel(this, "Label18", "sec.", 350, 83);
}

void TForm1::CreateTray() {
  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  ExitKestrova1 = Named(PopupMenu1->addAction(QStringLiteral("Exit Kestrova")), "ExitKestrova1");
  NotificationIcon1 = services_.trayBackend
                          ? new TNotificationIcon(this, std::move(services_.trayBackend), ProgramIcon())
                          : new TNotificationIcon(this, ProgramIcon());
  Named(NotificationIcon1, "NotificationIcon1");
  NotificationIcon1->SetPopupMenu(PopupMenu1);
}

// IPEdit, Button1, CheckBox1, ListBox3, Edit5, Edit4, ListView1, Edit2,
// Edit3, then the build's own controls. The port fields follow the START
// button, so tabbing away from the address saves it. The reply lists
// ListBox1 (first) and ListBox2 (after Edit4) are no widgets here; being
// hidden and disabled for good they could never take the focus, so the
// order the user tabs through is the same.
void TForm1::SetTabOrder() {
  std::vector<QWidget*> chain = {IPEdit, Button1, CheckBox1, ListBox3, Edit5, Edit4, ListView1, Edit2, Edit3};
  if (RadioGroup1 != nullptr) {
    chain.push_back(RadioGroup1);
  } else {
    chain.push_back(CheckBox2);
    chain.push_back(JvIntegerEdit1);
  }
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(chain[i - 1], chain[i]);
  }
}

}  // namespace kestrova
