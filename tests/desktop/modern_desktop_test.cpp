// Both programs on the desktops most users have now, each test on a private
// D-Bus session bus: natively on Wayland (a headless weston) with a tray
// that starts three seconds after the program, and on X11 with no tray at
// all but a notification service. The tray and the service are fakes in
// the test process that record what the program tells them.
#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/desktop_services.h"
#include "desktop/x_session.h"
#include "support/sim_server.h"
#include "support/temp_dir.h"
#include "ui/dbus_types.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;  // a bound only: the machine may be busy

struct Build {
  const char* name;
  const char* path;   // nullptr when the program is not built
  const char* entry;  // its launcher's id
};

void PrintTo(const Build& build, std::ostream* out) { *out << build.name; }

// One D-Bus call of the test to the program, answered while the test waits.
QDBusMessage CallProgram(QDBusConnection& bus, const QString& service, const QString& path, const QString& interface,
                         const QString& method, const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
  call.setArguments(arguments);
  // The fakes in this process keep answering meanwhile.
  return bus.call(call, QDBus::BlockWithGui);
}

class ModernDesktopTest : public ::testing::TestWithParam<Build> {
 protected:
  void SetUp() override {
    if (GetParam().path == nullptr) GTEST_SKIP() << GetParam().name << " is not built";
    if (!ToolOnPath("dbus-daemon"))
      GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps.sh installs it)";
    const std::filesystem::path outputs =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "desktop-output";
    std::filesystem::create_directories(outputs);
    output_ = (outputs / (std::string("modern-") + GetParam().name)).string();
    bus_.emplace(home_.Path());
    ASSERT_FALSE(bus_->Address().empty()) << "dbus-daemon did not start; see " << home_.Path() << "/dbus-daemon.log";
  }

  // What every start of the program gets: the private bus and a
  // configuration folder of its own.
  std::vector<std::string> Extras() const {
    return {"DBUS_SESSION_BUS_ADDRESS=" + bus_->Address(), "XDG_CONFIG_HOME=" + (work_ / "config").string()};
  }

  QVariant ItemProperty(QDBusConnection& bus, const QString& item, const char* name) {
    const QDBusMessage reply =
        CallProgram(bus, item, QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("Get"), {QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(name)});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }

  TempDir home_;  // where the desktop's processes run
  TempDir work_;  // the program's working folder
  std::string output_;
  std::optional<PrivateBus> bus_;
};

TEST_P(ModernDesktopTest, OnWaylandATrayThatStartsLaterGetsTheItemWithItsTipAndMenu) {
  if (const std::string reason = WaylandSession::Unavailable(); !reason.empty()) GTEST_SKIP() << reason;
  WaylandSession wayland(home_.Path(), output_ + "-weston.log");
  ASSERT_TRUE(wayland.Ready()) << "weston did not start; see " << output_ << "-weston.log";

  // The Wayland protocol trace shows the window's app_id as the compositor
  // gets it; each of its lines begins with a time in brackets.
  std::vector<std::string> environment = Extras();
  environment.push_back("WAYLAND_DEBUG=client");
  const std::string log = output_ + "-wayland.log";
  const auto started = std::chrono::steady_clock::now();
  SpawnedProgram program({GetParam().path}, wayland.Environment(environment), work_.Path(), log);
  ASSERT_TRUE(program.Started());
  // On the bus and looking for a tray before there is one.
  ASSERT_TRUE(ServeUntil([&] { return bus_->HasClient(program.Pid()) || !program.Running(); }, kPatience));
  ASSERT_TRUE(program.Running()) << ReadFileBytes(log);
  ServeUntil([&] { return std::chrono::steady_clock::now() >= started + 3s; }, 5s);

  FakeTray tray(bus_->Connect());
  ASSERT_TRUE(ServeUntil([&] { return !tray.items.isEmpty(); }, kPatience)) << "the item never registered";
  const QString item = tray.items.front();
  QDBusConnection host = bus_->Connect();
  EXPECT_EQ(ItemProperty(host, item, "Title").toString(), QStringLiteral("Kestrova"));
  EXPECT_EQ(ItemProperty(host, item, "Status").toString(), QStringLiteral("Active"));
  EXPECT_EQ(ItemProperty(host, item, "Id").toString(), QString::fromLatin1(GetParam().entry));
  EXPECT_EQ(qdbus_cast<DBusToolTip>(ItemProperty(host, item, "ToolTip")).title, QStringLiteral("Kestrova"));
  const auto images = qdbus_cast<DBusImageList>(ItemProperty(host, item, "IconPixmap"));
  ASSERT_FALSE(images.isEmpty());
  for (const DBusImage& image : images) EXPECT_EQ(image.pixels.size(), image.width * image.height * 4);

  // The tray menu, as the host reads it: the notification switches (only
  // the first on), a separator and "Exit Kestrova".
  const QString menu = ItemProperty(host, item, "Menu").value<QDBusObjectPath>().path();
  const QDBusMessage reply = CallProgram(host, item, menu, QStringLiteral("com.canonical.dbusmenu"),
                                         QStringLiteral("GetLayout"), {0, -1, QStringList()});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  const auto layout = qdbus_cast<DBusMenuLayout>(reply.arguments().value(1));
  QStringList labels;
  QList<int> checked;
  for (const DBusMenuLayout& child : layout.children) {
    labels.push_back(child.properties.value(QStringLiteral("type")).toString() == QLatin1String("separator")
                         ? QStringLiteral("-")
                         : child.properties.value(QStringLiteral("label")).toString());
    checked.push_back(child.properties.value(QStringLiteral("toggle-state"), -1).toInt());
  }
  EXPECT_EQ(labels,
            (QStringList{
                QStringLiteral("Notify when the server stops answering"), QStringLiteral("Notify when the map changes"),
                QStringLiteral("Notify when players join or leave"), QStringLiteral("Notify when the server is full"),
                QStringLiteral("-"), QStringLiteral("Exit Kestrova")}));
  EXPECT_EQ(checked, (QList<int>{1, 0, 0, 0, -1, -1}));

  // "Exit Kestrova" chosen in the host's menu ends the program.
  ASSERT_EQ(layout.children.size(), 6);
  CallProgram(host, item, menu, QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"),
              {layout.children.back().id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u});
  EXPECT_TRUE(ServeUntil([&] { return !program.Running(); }, kPatience)) << "\"Exit Kestrova\" did not end it";

  // Native Wayland, its app_id the launcher's id, and not a word on
  // standard error beside the protocol trace, before the tray came or after.
  std::istringstream lines(ReadFileBytes(log));
  std::string appId;
  std::vector<std::string> said;
  const std::regex setAppId(R"re(set_app_id\("([^"]*)"\))re");
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, setAppId)) appId = match[1];
    if (!line.starts_with("[")) said.push_back(line);
  }
  EXPECT_EQ(appId, GetParam().entry) << "see " << log;
  EXPECT_EQ(said, std::vector<std::string>{}) << "see " << log;
}

TEST_P(ModernDesktopTest, WithoutATrayNotificationsReachTheServiceWithTheProgramsIconAndEntry) {
  if (const std::string reason = XSession::Unavailable(); !reason.empty()) GTEST_SKIP() << reason;
  if (!ToolOnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed (scripts/install-deps.sh installs it)";
  XSession session(home_.Path(), output_ + "-xvfb.log");
  ASSERT_TRUE(session.Problem().empty()) << session.Problem();
  RecordingNotificationService service(bus_->Connect(), true);
  // A host name that is markup, were it read as such.
  SimServer server({"--hostname", "Fish & <b>Chips</b>", "--map", "dm/mohdm1"});
  WriteFileBytes(work_ / "data.dat", "#\r\n#\r\n#\r\n2130706433\r\n# hostport\r\n" + std::to_string(server.GamePort()) +
                                         "\r\n# outbondport\r\n" + std::to_string(server.QueryPort()) + "\r\n");
  std::filesystem::create_directories(work_ / "config/kestrova");
  WriteFileBytes(work_ / "config/kestrova/kestrova.conf", "[notifications]\nmap=true\n");

  std::vector<std::string> environment = Extras();
  environment.insert(environment.end(), {"DISPLAY=" + session.Display(), "QT_QPA_PLATFORM=xcb"});
  SpawnedProgram program({GetParam().path}, EnvironmentWith(environment), work_.Path(), output_ + "-x11.log");
  std::string window;
  ASSERT_TRUE(WaitUntil(
      [&] {
        window = session.FindWindow(program.Pid(), "^Kestrova by ZLX$");
        return !window.empty() || !program.Running();
      },
      kPatience));
  ASSERT_FALSE(window.empty()) << ReadFileBytes(output_ + "-x11.log");
  session.ClickAt(window, 304 + 91 / 2, 25 / 2);  // "START spy"

  // Two status replies: the window has seen the first map.
  const std::regex statusCount(R"(status (\d+))");
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::smatch match;
        const std::string tally = server.Control("requests");
        return std::regex_search(tally, match, statusCount) && std::stoi(match[1]) >= 2;
      },
      kPatience));
  ASSERT_EQ(server.Control("map dm/mohdm6"), "ok");
  ASSERT_TRUE(ServeUntil([&] { return !service.notifications.empty(); }, kPatience)) << "no notification came";

  const RecordingNotificationService::Notification& told = service.notifications.front();
  EXPECT_EQ(told.appName, QStringLiteral("Kestrova"));
  EXPECT_EQ(told.appIcon, QStringLiteral("kestrova"));
  EXPECT_EQ(told.replacesId, 0u);
  EXPECT_EQ(told.summary, QStringLiteral("Kestrova"));
  EXPECT_EQ(told.body, QStringLiteral("Fish &amp; &lt;b&gt;Chips&lt;/b&gt; changed map from dm/mohdm1 to dm/mohdm6"));
  EXPECT_EQ(told.hints.value(QStringLiteral("desktop-entry")).toString(), QString::fromLatin1(GetParam().entry));
  EXPECT_EQ(told.hints.value(QStringLiteral("urgency")).value<uchar>(), 1);
  EXPECT_EQ(told.timeout, -1);
  EXPECT_EQ(service.notifications.size(), 1u);
}

#ifdef KESTROVA_PATH
constexpr const char* kBuildA = KESTROVA_PATH;
#else
constexpr const char* kBuildA = nullptr;
#endif
#ifdef KESTROVA_LOG_PATH
constexpr const char* kBuildB = KESTROVA_LOG_PATH;
#else
constexpr const char* kBuildB = nullptr;
#endif

INSTANTIATE_TEST_SUITE_P(Builds, ModernDesktopTest,
                         ::testing::Values(Build{"kestrova", kBuildA, "org.example.kestrova"},
                                           Build{"kestrova-log", kBuildB, "org.example.kestrova.log"}),
                         [](const ::testing::TestParamInfo<Build>& info) {
                           return std::string(info.index == 0 ? "BuildA" : "BuildB");
                         });

}  // namespace
}  // namespace kestrova::test
