#include "desktop/desktop_services.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QThread>
#include <atomic>
#include <fstream>

namespace kestrova::test {

namespace {

using namespace std::chrono_literals;

constexpr auto kStartPatience = 20s;  // a bound only: the machine may be busy

// A session bus that only routes: no service folders, anyone may own any
// name.
constexpr const char* kBusConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

std::string ReadLine(int fd) {
  std::string line;
  const auto end = std::chrono::steady_clock::now() + kStartPatience;
  while (std::chrono::steady_clock::now() < end) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 200) <= 0) continue;
    char c = 0;
    if (::read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line.push_back(c);
  }
  return {};
}

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "desktop_tests";
  static char* argv[] = {name, nullptr};
  new QCoreApplication(argc, argv);
}

}  // namespace

bool ServeUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  EnsureApplication();
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    QThread::msleep(10);
  }
}

PrivateBus::PrivateBus(const std::filesystem::path& folder) {
  EnsureApplication();
  const std::filesystem::path config = folder / "bus.conf";
  std::ofstream(config) << kBusConfig;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return;
  ::fcntl(fds[1], F_SETFD, 0);
  daemon_.emplace(std::vector<std::string>{"dbus-daemon", "--nofork", "--config-file=" + config.string(),
                                           "--print-address=" + std::to_string(fds[1])},
                  EnvironmentWith({}), folder, folder / "dbus-daemon.log", fds[1]);
  ::close(fds[1]);
  address_ = ReadLine(fds[0]);
  ::close(fds[0]);
}

PrivateBus::~PrivateBus() {
  for (const QString& name : connections_) QDBusConnection::disconnectFromBus(name);
}

QDBusConnection PrivateBus::Connect() const {
  static std::atomic<int> number{0};
  connections_.push_back(QStringLiteral("test-connection-%1").arg(++number));
  return QDBusConnection::connectToBus(QString::fromStdString(address_), connections_.back());
}

bool PrivateBus::HasClient(pid_t pid) const {
  if (connections_.isEmpty()) Connect();
  const QDBusConnection bus(connections_.front());
  const QDBusConnectionInterface* daemon = bus.interface();
  if (daemon == nullptr) return false;
  for (const QString& name : daemon->registeredServiceNames().value()) {
    if (name.startsWith(QLatin1Char(':')) && daemon->servicePid(name).value() == static_cast<uint>(pid)) return true;
  }
  return false;
}

FakeTray::FakeTray(QDBusConnection bus) : bus_(std::move(bus)) {
  bus_.registerObject(
      QStringLiteral("/StatusNotifierWatcher"), this,
      QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals | QDBusConnection::ExportAllProperties);
  bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

FakeTray::~FakeTray() {
  bus_.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
  bus_.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
}

void FakeTray::RegisterStatusNotifierItem(const QString& service) {
  // Some items send their object path; the sender is then the service.
  const QString name = service.startsWith(QLatin1Char('/')) ? message().service() : service;
  items.push_back(name);
  Q_EMIT StatusNotifierItemRegistered(name);
}

void FakeTray::RegisterStatusNotifierHost(const QString&) {}

RecordingNotificationService::RecordingNotificationService(QDBusConnection bus, bool markup) : markup_(markup) {
  bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots);
  bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

QStringList RecordingNotificationService::GetCapabilities() {
  return markup_ ? QStringList{QStringLiteral("body"), QStringLiteral("body-markup")}
                 : QStringList{QStringLiteral("body")};
}

uint RecordingNotificationService::Notify(const QString& appName, uint replacesId, const QString& appIcon,
                                          const QString& summary, const QString& body, const QStringList&,
                                          const QVariantMap& hints, int timeout) {
  notifications.push_back(Notification{appName, replacesId, appIcon, summary, body, hints, timeout});
  return static_cast<uint>(notifications.size());
}

void RecordingNotificationService::CloseNotification(uint) {}

QString RecordingNotificationService::GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
  vendor = QStringLiteral("Kestrova tests");
  version = QStringLiteral("1");
  specVersion = QStringLiteral("1.2");
  return QStringLiteral("recording-notifications");
}

std::string WaylandSession::Unavailable() {
  return ToolOnPath("weston") ? std::string() : "weston is not installed (scripts/install-deps.sh installs it)";
}

WaylandSession::WaylandSession(const std::filesystem::path& folder, const std::filesystem::path& log)
    : runtime_(folder / "runtime") {
  std::filesystem::create_directories(runtime_);
  std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
  compositor_.emplace(
      std::vector<std::string>{"weston", "--backend=headless-backend.so", "--socket=wayland-test", "--idle-time=0"},
      EnvironmentWith({"XDG_RUNTIME_DIR=" + runtime_.string()}), folder, log);
  ready_ = WaitUntil([this] { return std::filesystem::exists(runtime_ / "wayland-test"); }, kStartPatience);
}

std::vector<std::string> WaylandSession::Environment(const std::vector<std::string>& more) const {
  std::vector<std::string> overrides{"XDG_RUNTIME_DIR=" + runtime_.string(), "WAYLAND_DISPLAY=wayland-test",
                                     "QT_QPA_PLATFORM=wayland", "DISPLAY="};
  overrides.insert(overrides.end(), more.begin(), more.end());
  return EnvironmentWith(overrides);
}

}  // namespace kestrova::test
