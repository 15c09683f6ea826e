// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/datagram_client.h"
#include "core/display_model.h"
#include "core/local_time.h"
#include "core/query_cycle.h"
#include "core/reply_text.h"
#include "core/request_allowance.h"
#include "core/responsive_wait.h"
#include "core/steady_clock.h"
#include "storage/player_log.h"
#include "ui/build_kind.h"
#include "ui/desktop_notifications.h"
#include "ui/qt_event_pump.h"
#include "ui/tick_source.h"
#include "ui/tray_backend.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QGroupBox;
class QPushButton;

namespace kestrova {

class AddressField;
class Confirmation;
class ConsoleExchange;
class ConsoleList;
class ConsolePanel;
class EndpointFields;
class ErrorDisplay;
class IntegerField;
class LinkLabel;
class MinimizeWatcher;
class PlayerList;
class ServerNotifications;
class TNotificationIcon;

// What the window needs from outside; tests substitute each.
struct FormServices {
  ErrorDisplay& errors;
  Confirmation& confirmation;
  const Clock& clock;
  // Where "data.dat" and the day's log files live (the working directory).
  std::filesystem::path folder;
  // The notification area; nullptr for the desktop's own.
  std::unique_ptr<TrayBackend> trayBackend;
  // Where the notification choices are kept; empty: for this run only.
  QString notificationSettingsFile = QString();
  // The clock of the tick, the request allowance and the server's silence;
  // nullptr for the system's.
  const SteadyClock* steadyClock = nullptr;
  // Where the notifications go; nullptr for the desktop's notification
  // service.
  std::unique_ptr<Notifier> notifier = nullptr;
  // What ticks the query cycle (Timer1); nullptr for a QTimer's ticks.
  std::unique_ptr<TickSource> ticks = nullptr;
  // How long the datagram clients wait for a reply, in milliseconds.
  int receiveTimeoutMs = 1000;
};

// The program's one window: the endpoint fields, the START button, the
// server's settings, the player list, the console panel and (by build) the
// map group or the log controls. Every behaviour is one of its handlers.
class TForm1 final : public QWidget, private CycleControls, private PlayerLogSource, private DisplayObserver {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm1)

 public:
  TForm1(BuildKind build, FormServices services);
  ~TForm1() override;

  // The window's outer size as the layout counts it: the client area plus
  // a 4-pixel border on each side and a 26-pixel title bar.
  int OuterWidth() const;
  int OuterHeight() const;
  void SetOuterWidth(int width);

  // The start-up steps run once the window exists: compact width, console
  // closed, minimise hook, shown in front, settings loaded.
  void FormCreate();

  // What the window shows of the server; its widgets follow it.
  const DisplayModel& Shown() const { return shown_; }
  DisplayModel& Shown() { return shown_; }
  const PlayerLog* Log() const { return log_ ? &*log_ : nullptr; }
  PlayerLog* Log() { return log_ ? &*log_ : nullptr; }
  const QueryCycle& Cycle() const { return *cycle_; }
  const InfoPacing& Pacing() const { return pacing_; }
  const ConsoleExchange& Exchange() const { return *exchange_; }

  // What the update time's tooltip and the tray tip say while monitoring
  // keeps below its pace for the server's request limit.
  static constexpr const char* kPacedNote = "paced for the server's request limit";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A keyboard request for a menu that no control took: the tray's menu.
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateControls();
  void CreateInfoLabels();
  void CreateConsolePanel();
  void CreateBuildControls();
  void CreateTray();
  void SetTabOrder();
  void ConnectHandlers();
  // Names and descriptions for assistive technology, from the captions.
  void NameControls();
  // F6 between the player list and the rest; the Menu key and Shift+F10.
  void CreateKeys();
  // F6: to the player list, and from it back to the control it came from.
  void SwitchPane();
  // The Menu key and Shift+F10: a keyboard menu request to the focused
  // control, which goes on to the window when the control has no menu.
  void RequestMenu();

  // Handlers, named after the control and event they serve.
  void Timer1Timer();
  void Button1Enter();
  void CheckBox1Click();
  void Edit4Enter();
  void Edit4Click();
  void Edit5Click();
  void Edit4KeyPress();
  void ListView1DblClick();
  void RadioGroup1Click(int index);
  void FormResize();
  void Label16Click();
  void Label17Click();
  void NotificationIcon1Click();
  void NotificationIcon1DblClick();
  void ExitKestrova1Click();
  void ApplicationMinimize();

  // Says on the update time and in the tray tip whether monitoring is
  // paced; not while the server answers on neither port.
  void ShowPacing();

  // Label1 .. Label11, by what they show.
  QLabel*& InfoLabel(ShownLabel label);

  // Runs a handler body; a failure is shown by the default error display.
  template <typename Body>
  void Guarded(Body&& body);

  // CycleControls
  void EnableTimer() override;
  void HideStartButton() override;
  void SetUpdateTime(const std::string& text) override;
  // PlayerLogSource
  std::int32_t IntervalSeconds() const override;
  bool LogEnabled() const override;
  std::vector<PlayerRow> Rows() const override;
  // DisplayObserver
  void LabelChanged(ShownLabel label) override;
  void HintChanged() override;
  void RowsChanged() override;

  const BuildKind build_;
  FormServices services_;
  const SteadyClock& steady_;
  DisplayModel shown_;

 public:
  // Controls, named as the window's layout names them; tests find them by
  // these names too (objectName).
  // The last info reply's tokens, as the model holds them. It and ListBox2
  // are never shown, so they are plain token lists rather than hidden list
  // widgets.
  const TokenList& ListBox1 = shown_.InfoList();
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;
  const TokenList& ListBox2 = shown_.StatusList();  // the last status reply's tokens
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  PlayerList* ListView1 = nullptr;
  QPushButton* Button1 = nullptr;
  QLabel* Label12 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Label14 = nullptr;
  TickSource* Timer1 = nullptr;
  QLabel* Label15 = nullptr;
  QFrame* Bevel1 = nullptr;
  QLineEdit* Edit4 = nullptr;
  LinkLabel* Label16 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  ConsoleList* ListBox3 = nullptr;
  QLineEdit* Edit5 = nullptr;
  TNotificationIcon* NotificationIcon1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* ExitKestrova1 = nullptr;
  AddressField* IPEdit = nullptr;
  LinkLabel* Label17 = nullptr;
  IntegerField* Edit2 = nullptr;
  IntegerField* Edit3 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;        // build A
  QCheckBox* CheckBox2 = nullptr;          // build B
  IntegerField* JvIntegerEdit1 = nullptr;  // build B
  QLabel* Label18 = nullptr;               // build B

  DatagramClient UDP1;
  DatagramClient UDP2;
  DatagramClient UDP3;

 private:
  // The control the focus left for the player list.
  QPointer<QWidget> paneLeft_;
  QButtonGroup* mapButtons_ = nullptr;
  MinimizeWatcher* minimizeWatcher_ = nullptr;
  std::unique_ptr<EndpointFields> endpoint_;
  std::unique_ptr<ConsolePanel> panel_;
  // How UDP1, UDP2 and UDP3 wait: slices of 50 ms with the window's events
  // handled after each empty one.
  AntiFreeze IdAntiFreeze1{HandleAllPendingEvents};
  // The server's request allowance for the game port, which the info
  // requests and the console share.
  RequestAllowance allowance_{steady_};
  InfoPacing pacing_{allowance_};
  std::unique_ptr<ServerNotifications> notifications_;
  std::unique_ptr<QueryCycle> cycle_;
  std::unique_ptr<ConsoleExchange> exchange_;
  std::optional<PlayerLog> log_;
};

}  // namespace kestrova
