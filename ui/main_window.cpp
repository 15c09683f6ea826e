// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <chrono>

#include "console/console_exchange.h"
#include "console/remote_commands.h"
#include "ui/address_field.h"
#include "ui/console_list.h"
#include "ui/console_panel.h"
#include "ui/dialogs.h"
#include "ui/endpoint_fields.h"
#include "ui/focus_entry.h"
#include "ui/form_font.h"
#include "ui/integer_field.h"
#include "ui/link_label.h"
#include "ui/minimize_watcher.h"
#include "ui/notification_icon.h"
#include "ui/player_list.h"
#include "ui/quiet_accessibility.h"
#include "ui/server_notifications.h"
#include "ui/text_bytes.h"

namespace kestrova {

namespace {

// The layout counts outer sizes: a classic frame with a 4-pixel border and
// a 26-pixel title bar around the client area that Qt sizes.
constexpr int kFrameWidth = 2 * 4;
constexpr int kFrameHeight = 26 + 4;
constexpr int kCompactWidth = 403;
constexpr int kFullWidth = 794;
// The player list ends this far above the window's outer bottom edge.
constexpr int kListBottomMargin = 197;

bool IsEnterKey(const QEvent& event) {
  if (event.type() != QEvent::KeyPress) {
    return false;
  }
  const auto& key = static_cast<const QKeyEvent&>(event);
  const Qt::KeyboardModifiers others = key.modifiers() & ~Qt::KeypadModifier;
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && others == Qt::NoModifier;
}

}  // namespace

TForm1::TForm1(BuildKind build, FormServices services)
    : build_(build),
      services_(std::move(services)),
      steady_(services_.steadyClock != nullptr ? *services_.steadyClock : SystemSteadyClock()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(FormFont());

  CreateControls();
  endpoint_ = std::make_unique<EndpointFields>(*IPEdit, *Edit2, *Edit3);
  panel_ = std::make_unique<ConsolePanel>(*ListBox3, *Edit5, *Edit4);
  shown_.SetObserver(this);
  SetTabOrder();
  NameControls();

  // Every receive lets the window handle its events while it waits.
  for (DatagramClient* client : {&UDP1, &UDP2, &UDP3}) {
    client->ReceiveTimeout = services_.receiveTimeoutMs;
    client->WaitsWith = &IdAntiFreeze1;
  }

  const TimeFormat timeFormat = TimeFormat::FromLocale();
  const EndpointSource& endpoint = *endpoint_;
  CycleControls& controls = *this;
  notifications_ = std::make_unique<ServerNotifications>(
      ServerNotifications::Parts{shown_, *NotificationIcon1, *PopupMenu1, ExitKestrova1, endpoint, steady_,
                                 services_.notificationSettingsFile, std::move(services_.notifier)});
  cycle_ = std::make_unique<QueryCycle>(
      QueryCycle::Parts{UDP1, UDP2, endpoint, shown_, controls, services_.clock, timeFormat});
  cycle_->SetCycleEnd([this](const CycleOutcome& outcome) { notifications_->CycleEnded(outcome); });
  cycle_->SetPacing(&pacing_);
  ConsoleOutput& consoleOutput = *ListBox3;
  exchange_ = std::make_unique<ConsoleExchange>(UDP3, endpoint, consoleOutput, &allowance_);
  if (build_ == BuildKind::Log) {
    log_.emplace(services_.clock, timeFormat.separator, services_.folder.string());
    cycle_->SetLogStep([this] { log_->Step(*this); });
  }

  ConnectHandlers();
  CreateKeys();
  move(build_ == BuildKind::Log ? 192 : 194, 107);
  resize(kFullWidth - kFrameWidth, (build_ == BuildKind::Log ? 577 : 591) - kFrameHeight);
}

TForm1::~TForm1() = default;

void TForm1::ConnectHandlers() {
  connect(Timer1, &TickSource::Tick, this, &TForm1::Timer1Timer);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Timer1Timer);
  connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
  connect(Edit4, &QLineEdit::returnPressed, this, &TForm1::Edit4KeyPress);
  connect(Label16, &LinkLabel::Clicked, this, &TForm1::Label16Click);
  connect(Label17, &LinkLabel::Clicked, this, &TForm1::Label17Click);
  connect(NotificationIcon1, &TNotificationIcon::OnClick, this, &TForm1::NotificationIcon1Click);
  connect(NotificationIcon1, &TNotificationIcon::OnDblClick, this, &TForm1::NotificationIcon1DblClick);
  connect(ExitKestrova1, &QAction::triggered, this, &TForm1::ExitKestrova1Click);
  if (build_ == BuildKind::Standard) {
    connect(ListView1, &PlayerList::RowDoubleClicked, this, &TForm1::ListView1DblClick);
    ListView1->SetRowCommandKeys(true);
    connect(ListView1, &PlayerList::RowCommandRequested, this, &TForm1::ListView1DblClick);
    connect(mapButtons_, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
      if (checked) {
        RadioGroup1Click(index);
      }
    });
  }
  // Focus entries and clicks that the controls do not signal themselves.
  new FocusEntry(*Button1, [this] { Button1Enter(); });
  new FocusEntry(*Edit4, [this] {
    // Qt tells assistive technology of the new focus only after the focus
    // event. Were the pre-fill's text change told first, screen readers
    // would take it for the focus move and announce nothing; told only of
    // the focus, they read the field as the pre-fill left it.
    const QuietAccessibility quiet(Edit4);
    Edit4Enter();
  });
  Button1->installEventFilter(this);
  Edit4->installEventFilter(this);
  Edit5->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const bool leftRelease =
      event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
  if (watched == Button1 && IsEnterKey(*event)) {
    // Enter on the focused button clicks it, as Space does.
    Button1->click();
    return true;
  }
  if (watched == Edit4 && leftRelease) {
    Edit4Click();
  } else if (watched == Edit5 && leftRelease) {
    Edit5Click();
  }
  return QWidget::eventFilter(watched, event);
}

int TForm1::OuterWidth() const { return width() + kFrameWidth; }

int TForm1::OuterHeight() const { return height() + kFrameHeight; }

void TForm1::SetOuterWidth(int width) { resize(width - kFrameWidth, height()); }

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

template <typename Body>
void TForm1::Guarded(Body&& body) {
  try {
    body();
  } catch (const std::exception& failure) {
    services_.errors.ShowError(failure.what());
  }
}

void TForm1::FormCreate() {
  SetOuterWidth(kCompactWidth);
  panel_->SetOpen(false);
  minimizeWatcher_ = new MinimizeWatcher(this, [this] { ApplicationMinimize(); });
  show();
  raise();
  activateWindow();
  Guarded([this] { LoadSettings((services_.folder / kSettingsFileName).string(), *endpoint_); });
  if (log_) {
    log_->ResetCounter();
  }
  IPEdit->setFocus();
}

void TForm1::FormResize() { ListView1->resize(ListView1->width(), OuterHeight() - kListBottomMargin); }

void TForm1::Timer1Timer() {
  const SteadyClock::TimePoint start = steady_.Now();
  cycle_->Run();
  ShowPacing();
  // A tick fell due while the cycle waited for a reply. Late ticks come as
  // one as soon as the window is free again, not a whole interval later
  // (Qt's timer restarts its interval), so a lost reply costs the players
  // no more than its wait.
  if (!cycle_->Running() && Timer1->Active() &&
      steady_.Now() - start >= std::chrono::milliseconds(Timer1->Interval())) {
    QTimer::singleShot(0, this, &TForm1::Timer1Timer);
  }
}

void TForm1::ShowPacing() {
  // A server that answers on neither port is down, not limiting.
  const CycleOutcome& last = cycle_->LastOutcome();
  const bool silent = (last.infoSent || last.statusQueried) && !last.infoAnswered && !last.statusAnswered;
  const QString note = pacing_.Paced() && !silent ? QString::fromLatin1(kPacedNote) : QString();
  Label15->setToolTip(note);
  Bevel1->setToolTip(note);
  NotificationIcon1->SetTipNote(note);
}

void TForm1::Button1Enter() {
  Guarded([this] { endpoint_->LockAndSave((services_.folder / kSettingsFileName).string()); });
}

void TForm1::CheckBox1Click() {
  const bool opening = OuterWidth() == kCompactWidth;
  SetOuterWidth(opening ? kFullWidth : kCompactWidth);
  panel_->SetOpen(opening);
  if (RadioGroup1 != nullptr) {
    RadioGroup1->setVisible(opening);
    RadioGroup1->setEnabled(opening);
  }
}

void TForm1::Edit4Enter() { panel_->Prefill(); }

void TForm1::Edit4Click() { panel_->Prefill(); }

void TForm1::Edit5Click() { Edit5->clear(); }

void TForm1::Edit4KeyPress() {
  Guarded([this] { panel_->Send(*exchange_); });
}

void TForm1::ListView1DblClick() {
  const std::optional<std::string> caption = ListView1->SelectedCaption();
  if (!caption) {
    return;
  }
  Guarded([&] { KickPlayer(*caption, panel_->PrefixText(), services_.confirmation, *exchange_); });
}

void TForm1::RadioGroup1Click(int index) {
  Guarded([&] { ChangeMap(index, panel_->PrefixText(), services_.confirmation, *exchange_); });
}

void TForm1::Label16Click() { QDesktopServices::openUrl(QUrl(QStringLiteral(KESTROVA_HOMEPAGE))); }

void TForm1::Label17Click() {
  QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:" KESTROVA_MAIL "?subject=Kestrova")));
}

void TForm1::NotificationIcon1Click() {
  NotificationIcon1->RestoreMainForm(this);
  show();
  raise();
  activateWindow();
}

void TForm1::NotificationIcon1DblClick() { NotificationIcon1->RestoreMainForm(this); }

void TForm1::ExitKestrova1Click() { QCoreApplication::quit(); }

void TForm1::ApplicationMinimize() { NotificationIcon1->HideMainForm(this); }

void TForm1::EnableTimer() {
  if (!Timer1->Active()) {
    Timer1->Start();
  }
}

void TForm1::HideStartButton() { Button1->hide(); }

void TForm1::SetUpdateTime(const std::string& text) { ShowLabelText(Label15, text); }

std::int32_t TForm1::IntervalSeconds() const { return JvIntegerEdit1->Value(); }

bool TForm1::LogEnabled() const { return CheckBox2->isChecked(); }

std::vector<PlayerRow> TForm1::Rows() const { return shown_.Rows(); }

QLabel*& TForm1::InfoLabel(ShownLabel label) {
  static constexpr QLabel* TForm1::*kLabels[] = {&TForm1::Label1, &TForm1::Label2,  &TForm1::Label3, &TForm1::Label4,
                                                 &TForm1::Label5, &TForm1::Label6,  &TForm1::Label7, &TForm1::Label8,
                                                 &TForm1::Label9, &TForm1::Label10, &TForm1::Label11};
  return this->*kLabels[static_cast<std::size_t>(label) - 1];
}

void TForm1::LabelChanged(ShownLabel label) { ShowLabelText(InfoLabel(label), shown_.Label(label)); }

void TForm1::HintChanged() { NotificationIcon1->SetHint(shown_.Hint()); }

void TForm1::RowsChanged() { ListView1->RowsChanged(); }

}  // namespace kestrova
