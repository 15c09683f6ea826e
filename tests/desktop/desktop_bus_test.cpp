// The tray item and the notifications against a private session bus, in
// the test process: a tray that comes, goes and comes back, clicks from
// the host, and notifications with and without a service to take them.
#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <chrono>
#include <optional>
#include <vector>

#include "desktop/desktop_services.h"
#include "support/temp_dir.h"
#include "ui/dbus_types.h"
#include "ui/desktop_notifications.h"
#include "ui/status_notifier_item.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 10s;  // a bound only: the machine may be busy

class DesktopBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ToolOnPath("dbus-daemon"))
      GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps.sh installs it)";
    bus_.emplace(folder_.Path());
    ASSERT_FALSE(bus_->Address().empty()) << "dbus-daemon did not start";
  }

  TempDir folder_;
  std::optional<PrivateBus> bus_;
};

TEST_F(DesktopBusTest, TheItemFollowsATrayThatComesGoesAndComesBackAndHearsItsHost) {
  std::vector<std::string> heard;
  StatusNotifierItem item(
      bus_->Connect(),
      StatusNotifierItem::Handlers{
          [&](bool secondary) { heard.push_back(secondary ? "secondary" : "activate"); },
          [&](QPoint at) { heard.push_back("menu at " + std::to_string(at.x()) + "," + std::to_string(at.y())); },
          nullptr});
  item.Show(QIcon(), QStringLiteral("Kestrova by ZLX\nclients: 3\nmapname: <b>A&B</b>"));
  EXPECT_FALSE(item.WatcherPresent());
  QString service;
  {
    FakeTray tray(bus_->Connect());
    ASSERT_TRUE(ServeUntil([&] { return item.Registered(); }, kPatience));
    ASSERT_EQ(tray.items.size(), 1);
    service = tray.items.front();

    // The tip's first line is its title; the server's texts below it are
    // never markup.
    QDBusConnection host = bus_->Connect();
    auto call = [&](const QString& interface, const QString& method, const QVariantList& arguments) {
      QDBusMessage message =
          QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"), interface, method);
      message.setArguments(arguments);
      // The item answers from this thread's events.
      return host.call(message, QDBus::BlockWithGui);
    };
    const QDBusMessage tip = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                  {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("ToolTip")});
    const auto shown = qdbus_cast<DBusToolTip>(tip.arguments().value(0).value<QDBusVariant>().variant());
    EXPECT_EQ(shown.title, QStringLiteral("Kestrova by ZLX"));
    EXPECT_EQ(shown.description, QStringLiteral("clients: 3\nmapname: &lt;b&gt;A&amp;B&lt;/b&gt;"));

    for (const char* method : {"Activate", "SecondaryActivate", "ContextMenu"}) {
      call(QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(method), {30, 40});
    }
    ASSERT_TRUE(ServeUntil([&] { return heard.size() == 3; }, kPatience));
    EXPECT_EQ(heard, (std::vector<std::string>{"activate", "secondary", "menu at 30,40"}));
  }

  // The panel quit; when it is back, the item registers again by itself.
  ASSERT_TRUE(ServeUntil([&] { return !item.Registered() && !item.WatcherPresent(); }, kPatience));
  FakeTray restarted(bus_->Connect());
  ASSERT_TRUE(ServeUntil([&] { return item.Registered(); }, kPatience));
  EXPECT_EQ(restarted.items, QStringList{service});

  // Hidden, the item leaves the bus, so the tray drops it.
  item.Hide();
  const QDBusConnection look = bus_->Connect();
  EXPECT_FALSE(look.interface()->isServiceRegistered(service).value());
}

TEST_F(DesktopBusTest, NotificationsGoToTheServiceAndWithoutOneToTheTray) {
  struct Case {
    const char* what;
    bool onBus;
    bool service;
    bool markup;
    bool toTray;
  };
  const Case cases[] = {
      {"no session bus", false, false, false, true},
      {"a bus without a notification service", true, false, false, true},
      {"a service that reads no markup", true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::optional<RecordingNotificationService> service;
    if (c.service) service.emplace(bus_->Connect(), c.markup);
    std::vector<QString> tray;
    DesktopNotifier notifier(
        c.onBus ? bus_->Connect() : QDBusConnection(QStringLiteral("no bus")),
        QStringLiteral("org.example.kestrova.log"),
        [&](const QString& summary, const QString& body) { tray.push_back(summary + u'|' + body); });
    notifier.Notify(QStringLiteral("Kestrova"), QStringLiteral("A & <B> is full: 2 of 2 players"), Urgency::Low);
    ASSERT_TRUE(ServeUntil([&] { return !tray.empty() || (service && !service->notifications.empty()); }, kPatience));
    if (c.toTray) {
      EXPECT_EQ(tray, std::vector<QString>{QStringLiteral("Kestrova|A & <B> is full: 2 of 2 players")});
      continue;
    }
    EXPECT_TRUE(tray.empty());
    ASSERT_EQ(service->notifications.size(), 1u);
    const auto& told = service->notifications.front();
    EXPECT_EQ(told.body, QStringLiteral("A & <B> is full: 2 of 2 players"));
    EXPECT_EQ(told.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("org.example.kestrova.log"));
    EXPECT_EQ(told.hints.value(QStringLiteral("urgency")).value<uchar>(), 0);
  }
}

}  // namespace
}  // namespace kestrova::test
