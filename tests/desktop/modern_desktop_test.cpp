// SPDX-License-Identifier: GPL-3.0-or-later
// The desktops most users have now, on a private D-Bus session bus with a
// fake tray and notification service that record what they are told.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <algorithm>
#include <functional>
#include <regex>
#include <sstream>

#include "desktop/x_session.h"
#include "support/sim_server.h"
#include "support/temp_dir.h"
#include "ui/dbus_types.h"
#include "ui/desktop_notifications.h"
#include "ui/status_notifier_item.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;  // a bound only: the machine may be busy

// Handles the test process's Qt events, so that the fakes below answer,
// until `condition` holds.
bool ServeUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  return WaitUntil([&] { return QCoreApplication::processEvents(QEventLoop::AllEvents, 20), condition(); }, limit,
                   10ms);
}

// A new connection of the test process, made with the process's
// QCoreApplication on first use.
QDBusConnection Connect(const PrivateBus& bus) {
  static int argc = 1;
  static char name[] = "desktop_tests";
  static char* argv[] = {name, nullptr};
  static int count = 0;
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  return QDBusConnection::connectToBus(QString::fromStdString(bus.Address()), QStringLiteral("test-%1").arg(++count));
}

// A tray: org.kde.StatusNotifierWatcher while the object lives.
class FakeTray final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")

 public:
  explicit FakeTray(QDBusConnection bus) : bus_(std::move(bus)) {
    bus_.registerObject(QStringLiteral("/StatusNotifierWatcher"), this, QDBusConnection::ExportAllSlots);
    bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
  }
  ~FakeTray() override { bus_.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher")); }

  QStringList items;  // the services that registered

 public Q_SLOTS:
  void RegisterStatusNotifierItem(const QString& service) { items.push_back(service); }

 private:
  QDBusConnection bus_;
};

// org.freedesktop.Notifications, reading body markup or not; records each
// notification as "app|replaces|icon|summary|body|desktop-entry|urgency|timeout".
class RecordingNotificationService final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  RecordingNotificationService(QDBusConnection bus, bool markup) : markup_(markup) {
    bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots);
    bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
  }

  QStringList notifications;

 public Q_SLOTS:
  QStringList GetCapabilities() {
    return markup_ ? QStringList{QStringLiteral("body"), QStringLiteral("body-markup")} : QStringList{};
  }
  uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
              const QString& body, const QStringList&, const QVariantMap& hints, int timeout) {
    notifications.push_back(QStringList{appName, QString::number(replacesId), appIcon, summary, body,
                                        hints.value(QStringLiteral("desktop-entry")).toString(),
                                        QString::number(hints.value(QStringLiteral("urgency")).value<uchar>()),
                                        QString::number(timeout)}
                                .join(u'|'));
    return static_cast<uint>(notifications.size());
  }

 private:
  bool markup_;
};

// A D-Bus call answered while the fakes of this process keep answering too.
QDBusMessage Call(QDBusConnection bus, const QString& service, const QString& path, const char* interface,
                  const char* method, const QVariantList& arguments) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(service, path, QString::fromLatin1(interface), QString::fromLatin1(method));
  call.setArguments(arguments);
  return bus.call(call, QDBus::BlockWithGui);
}

QVariant ItemProperty(QDBusConnection bus, const QString& item, const char* name) {
  return Call(bus, item, QStringLiteral("/StatusNotifierItem"), "org.freedesktop.DBus.Properties", "Get",
              {QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(name)})
      .arguments()
      .value(0)
      .value<QDBusVariant>()
      .variant();
}

class BusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ToolOnPath("dbus-daemon"))
      GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps.sh installs it)";
    bus_.emplace(home_.Path());
    ASSERT_FALSE(bus_->Address().empty()) << "dbus-daemon did not start";
  }

  TempDir home_;  // where the desktop's processes run
  TempDir work_;  // the program's working folder
  std::optional<PrivateBus> bus_;
};

struct Build {
  const char* path;   // nullptr when the program is not built
  const char* entry;  // its launcher's id
};

class ModernDesktopTest : public BusTest, public ::testing::WithParamInterface<Build> {
 protected:
  void SetUp() override {
    if (GetParam().path == nullptr) GTEST_SKIP() << "the program is not built";
    BusTest::SetUp();
    log_ = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "desktop-output" /
            ("modern-" + std::string(GetParam().entry)))
               .string();
    std::filesystem::create_directories(std::filesystem::path(log_).parent_path());
  }

  std::vector<std::string> Extras(std::vector<std::string> more) const {
    more.insert(more.end(),
                {"DBUS_SESSION_BUS_ADDRESS=" + bus_->Address(), "XDG_CONFIG_HOME=" + (work_ / "config").string()});
    return more;
  }

  std::string log_;
};

TEST_P(ModernDesktopTest, OnWaylandATrayThatStartsLaterAndRestartsHoldsTheItemWithItsTipAndMenu) {
  if (!ToolOnPath("weston")) GTEST_SKIP() << "weston is not installed (scripts/install-deps.sh installs it)";
  const std::filesystem::path runtime = home_ / "runtime";
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  const std::string wayland[] = {"XDG_RUNTIME_DIR=" + runtime.string(), "WAYLAND_DISPLAY=wayland-test"};
  SpawnedProgram weston({"weston", "--backend=headless-backend.so", "--socket=wayland-test"},
                        EnvironmentWith({wayland[0]}), home_.Path(), log_ + "-weston.log");
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(runtime / "wayland-test"); }, kPatience));
  // The protocol trace shows the app_id the compositor gets; each of its
  // lines begins with a time in brackets.
  const auto started = std::chrono::steady_clock::now();
  SpawnedProgram program(
      {GetParam().path},
      EnvironmentWith(Extras({wayland[0], wayland[1], "QT_QPA_PLATFORM=wayland", "DISPLAY=", "WAYLAND_DEBUG=client"})),
      work_.Path(), log_ + "-wayland.log");
  // On the bus, and looking for a tray, before there is one.
  const QDBusConnection host = Connect(*bus_);
  const QDBusConnectionInterface& daemon = *host.interface();
  ASSERT_TRUE(ServeUntil(
      [&] {
        const QStringList names = daemon.registeredServiceNames().value();
        return !program.Running() || std::any_of(names.begin(), names.end(), [&](const QString& name) {
          return daemon.servicePid(name).value() == static_cast<uint>(program.Pid());
        });
      },
      kPatience));
  ASSERT_TRUE(program.Running()) << ReadFileBytes(log_ + "-wayland.log");
  ServeUntil([&] { return std::chrono::steady_clock::now() >= started + 3s; }, 5s);

  std::optional<FakeTray> tray(std::in_place, Connect(*bus_));
  ASSERT_TRUE(ServeUntil([&] { return !tray->items.isEmpty(); }, kPatience)) << "the item never registered";
  const QString item = tray->items.front();
  EXPECT_EQ(ItemProperty(host, item, "Status").toString(), QStringLiteral("Active"));
  EXPECT_EQ(ItemProperty(host, item, "Id").toString(), QString::fromLatin1(GetParam().entry));
  EXPECT_EQ(qdbus_cast<DBusToolTip>(ItemProperty(host, item, "ToolTip")).title, QStringLiteral("Kestrova"));
  for (const DBusImage& image : qdbus_cast<DBusImageList>(ItemProperty(host, item, "IconPixmap"))) {
    EXPECT_EQ(image.pixels.size(), image.width * image.height * 4);
  }
  // The panel restarts: the item registers with the new one.
  tray.emplace(Connect(*bus_));
  ASSERT_TRUE(ServeUntil([&] { return tray->items == QStringList{item}; }, kPatience));

  // The menu as the host reads it, then "Exit Kestrova" chosen in it.
  const QString menu = ItemProperty(host, item, "Menu").value<QDBusObjectPath>().path();
  const auto layout = qdbus_cast<DBusMenuLayout>(
      Call(host, item, menu, "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()}).arguments().value(1));
  std::string items;  // "label toggle-state|..."
  for (const DBusMenuLayout& child : layout.children) {
    const QVariantMap& is = child.properties;
    items += is.value(QStringLiteral("label"), QStringLiteral("-")).toString().toStdString() + " " +
             std::to_string(is.value(QStringLiteral("toggle-state"), -1).toInt()) + "|";
  }
  EXPECT_EQ(items,
            "Notify when the server stops answering 1|Notify when the map changes 0|Notify when players join or "
            "leave 0|Notify when the server is full 0|- -1|Exit Kestrova -1|");
  ASSERT_FALSE(layout.children.isEmpty());
  Call(host, item, menu, "com.canonical.dbusmenu", "Event",
       {layout.children.back().id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u});
  EXPECT_TRUE(ServeUntil([&] { return !program.Running(); }, kPatience)) << "\"Exit Kestrova\" did not end it";

  // Its app_id is the launcher's, and it said nothing beside the trace.
  std::istringstream lines(ReadFileBytes(log_ + "-wayland.log"));
  std::string appId, said;
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, std::regex(R"re(set_app_id\("([^"]*)"\))re"))) appId = match[1];
    if (!line.starts_with("[")) said += line + "\n";
  }
  EXPECT_EQ(appId, GetParam().entry);
  EXPECT_EQ(said, "");
}

TEST_P(ModernDesktopTest, OnX11WithoutATrayANotificationCarriesTheIconAndTheLaunchersId) {
  if (const std::string reason = XSession::Unavailable(); !reason.empty()) GTEST_SKIP() << reason;
  if (!ToolOnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed (scripts/install-deps.sh installs it)";
  XSession session(home_.Path(), log_ + "-xvfb.log");
  ASSERT_TRUE(session.Problem().empty()) << session.Problem();
  RecordingNotificationService service(Connect(*bus_), true);
  SimServer server({"--hostname", "Fish & <b>Chips</b>", "--map", "dm/mohdm1"});
  WriteFileBytes(work_ / "data.dat", "#\r\n#\r\n#\r\n2130706433\r\n#\r\n" + std::to_string(server.GamePort()) +
                                         "\r\n#\r\n" + std::to_string(server.QueryPort()) + "\r\n");
  std::filesystem::create_directories(work_ / "config/kestrova");
  WriteFileBytes(work_ / "config/kestrova/kestrova.conf", "[notifications]\nmap=true\n");
  SpawnedProgram program({GetParam().path},
                         EnvironmentWith(Extras({"DISPLAY=" + session.Display(), "QT_QPA_PLATFORM=xcb"})), work_.Path(),
                         log_ + "-x11.log");
  std::string window;
  ASSERT_TRUE(
      WaitUntil([&] { return !(window = session.FindWindow(program.Pid(), "^Kestrova by ZLX$")).empty(); }, kPatience));
  session.ClickAt(window, 304 + 91 / 2, 25 / 2);  // "START spy"
  // Two status replies: the window has seen the first map.
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::smatch count;
        const std::string tally = server.Control("requests");
        return std::regex_search(tally, count, std::regex(R"(status (\d+))")) && std::stoi(count[1]) >= 2;
      },
      kPatience));
  ASSERT_EQ(server.Control("map dm/mohdm6"), "ok");
  ASSERT_TRUE(ServeUntil([&] { return !service.notifications.isEmpty(); }, kPatience)) << "no notification came";

  // The host name is the server's bytes, never markup; normal urgency.
  EXPECT_EQ(service.notifications,
            QStringList{QStringLiteral("Kestrova|0|kestrova|Kestrova|Fish &amp; &lt;b&gt;Chips&lt;/b&gt; changed map "
                                       "from dm/mohdm1 to dm/mohdm6|%1|1|-1")
                            .arg(QString::fromLatin1(GetParam().entry))});
}

#ifndef KESTROVA_PATH
#define KESTROVA_PATH nullptr
#endif
#ifndef KESTROVA_LOG_PATH
#define KESTROVA_LOG_PATH nullptr
#endif
INSTANTIATE_TEST_SUITE_P(Builds, ModernDesktopTest,
                         ::testing::Values(Build{KESTROVA_PATH, "org.example.kestrova"},
                                           Build{KESTROVA_LOG_PATH, "org.example.kestrova.log"}),
                         [](const auto& info) { return info.index == 0 ? "BuildA" : "BuildB"; });

TEST_F(BusTest, TheItemsTipKeepsTheServersTextsPlainAndItsHostsClicksArrive) {
  std::vector<std::string> heard;
  StatusNotifierItem item(Connect(*bus_),
                          {[&](bool secondary) { heard.push_back(secondary ? "double" : "click"); },
                           [&](QPoint at) { heard.push_back("menu " + std::to_string(at.x())); }, nullptr});
  item.Show(QIcon(), QStringLiteral("Kestrova by ZLX\nclients: 3\nmapname: <b>A&B</b>"));
  FakeTray tray(Connect(*bus_));
  ASSERT_TRUE(ServeUntil([&] { return item.Registered(); }, kPatience));
  const QDBusConnection host = Connect(*bus_);
  const auto tip = qdbus_cast<DBusToolTip>(ItemProperty(host, tray.items.front(), "ToolTip"));
  EXPECT_EQ(tip.title + u'|' + tip.description,
            QStringLiteral("Kestrova by ZLX|clients: 3\nmapname: &lt;b&gt;A&amp;B&lt;/b&gt;"));
  for (const char* method : {"Activate", "SecondaryActivate", "ContextMenu"}) {
    Call(host, tray.items.front(), QStringLiteral("/StatusNotifierItem"), "org.kde.StatusNotifierItem", method,
         {30, 40});
  }
  ASSERT_TRUE(ServeUntil([&] { return heard.size() == 3; }, kPatience));
  EXPECT_EQ(heard, (std::vector<std::string>{"click", "double", "menu 30"}));
}

TEST_F(BusTest, WithoutANotificationServiceTheTrayTellsAndAServiceWithoutMarkupGetsPlainText) {
  const struct {
    const char* what;
    bool onBus;
    bool service;
    const char* told;  // what the tray or the service got
  } cases[] = {
      {"no session bus", false, false, "tray: A & <B> is full"},
      {"a bus without a notification service", true, false, "tray: A & <B> is full"},
      {"a service that reads no markup", true, true, "Kestrova|0|kestrova|Kestrova|A & <B> is full|org.example.k|0|-1"},
  };
  for (const auto& c : cases) {
    std::optional<RecordingNotificationService> service;
    if (c.service) service.emplace(Connect(*bus_), false);
    QString told;
    DesktopNotifier notifier(c.onBus ? Connect(*bus_) : QDBusConnection(QStringLiteral("no bus")),
                             QStringLiteral("org.example.k"),
                             [&](const QString&, const QString& body) { told = QStringLiteral("tray: ") + body; });
    notifier.Notify(QStringLiteral("Kestrova"), QStringLiteral("A & <B> is full"), Urgency::Low);
    ServeUntil([&] { return !told.isEmpty() || (service && !service->notifications.isEmpty()); }, kPatience);
    EXPECT_EQ((service ? service->notifications.value(0) : told).toStdString(), c.told) << c.what;
  }
}

}  // namespace
}  // namespace kestrova::test

#include "modern_desktop_test.moc"
