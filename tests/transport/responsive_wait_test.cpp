#include "core/responsive_wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/datagram_client.h"
#include "core/plain_wait.h"
#include "core/reply_gathering.h"
#include "support/udp_peer.h"

namespace kestrova {
namespace {

using Log = std::vector<std::string>;

// Writes "all" or "one" into the shared log for every pump.
class RecordingPump final : public EventPump {
 public:
  explicit RecordingPump(Log& log) : log_(log) {}
  void HandleAllPending() override { log_.push_back("all"); }
  void HandleOnePending() override { log_.push_back("one"); }

 private:
  Log& log_;
};

// Stands in for the platform wait: logs each slice's length and reports
// data on the slice numbered `dataOnSlice` (counting from 1; 0 never).
class SlicedWaitTest : public ::testing::Test {
 protected:
  AntiFreeze::PlainWait RecordingWait() {
    return [this](int, int timeoutMs) {
      log.push_back("wait " + std::to_string(timeoutMs));
      return ++slices == dataOnSlice;
    };
  }

  Log log;
  int slices = 0;
  int dataOnSlice = 0;
  RecordingPump pump{log};
  AntiFreeze freeze{pump, RecordingWait()};
};

TEST_F(SlicedWaitTest, WaitIsCutIntoSlicesWithAPumpAfterEachEmptyOne) {
  EXPECT_FALSE(WaitForData(0, 1000));
  EXPECT_EQ(log, (Log{"wait 250", "all", "wait 250", "all", "wait 250", "all", "wait 250", "all"}));
}

TEST_F(SlicedWaitTest, FirstSliceTakesTheRemainder) {
  freeze.IdleTimeOut = 300;
  EXPECT_FALSE(WaitForData(0, 1000));
  EXPECT_EQ(log, (Log{"wait 100", "all", "wait 300", "all", "wait 300", "all", "wait 300", "all"}));
}

TEST_F(SlicedWaitTest, WaitWithinOneSliceIsOneSlice) {
  freeze.IdleTimeOut = 1000;
  EXPECT_FALSE(WaitForData(0, 1000));
  EXPECT_EQ(log, (Log{"wait 1000", "all"}));
}

TEST_F(SlicedWaitTest, DataEndsTheWaitWithoutAPump) {
  dataOnSlice = 2;
  EXPECT_TRUE(WaitForData(0, 1000));
  EXPECT_EQ(log, (Log{"wait 250", "all", "wait 250"}));
}

TEST_F(SlicedWaitTest, NotOnlyWhenIdlePumpsAfterDataToo) {
  freeze.OnlyWhenIdle = false;
  dataOnSlice = 2;
  EXPECT_TRUE(WaitForData(0, 1000));
  EXPECT_EQ(log, (Log{"wait 250", "all", "wait 250", "all"}));
}

TEST_F(SlicedWaitTest, WithoutPriorityAPumpHandlesOneEvent) {
  freeze.ApplicationHasPriority = false;
  freeze.IdleTimeOut = 500;
  EXPECT_FALSE(WaitForData(0, 1000));
  EXPECT_EQ(log, (Log{"wait 500", "one", "wait 500", "one"}));
}

TEST_F(SlicedWaitTest, InactiveSettingsGiveOnePlainWait) {
  freeze.Active = false;
  EXPECT_FALSE(WaitForData(0, 1000));
  PumpEvents(true);
  EXPECT_EQ(log, (Log{"wait 1000"}));
}

TEST_F(SlicedWaitTest, OtherThreadsNeverSliceNorPump) {
  EXPECT_TRUE(OnMainThread());
  bool onMain = true;
  bool ready = true;
  std::thread([&] {
    onMain = OnMainThread();
    ready = WaitForData(0, 1000);
    PumpEvents(true);
  }).join();
  EXPECT_FALSE(onMain);
  EXPECT_FALSE(ready);
  EXPECT_EQ(log, (Log{"wait 1000"}));
}

TEST_F(SlicedWaitTest, WaitWithoutLimitSlicesUntilData) {
  dataOnSlice = 3;
  EXPECT_TRUE(WaitForData(0, -2));
  EXPECT_EQ(log, (Log{"wait 250", "all", "wait 250", "all", "wait 250"}));
}

TEST_F(SlicedWaitTest, PumpEventsAloneFollowsTheSettings) {
  PumpEvents(false);
  PumpEvents(true);
  freeze.OnlyWhenIdle = false;
  PumpEvents(false);
  EXPECT_EQ(log, (Log{"all", "all"}));
}

TEST(AntiFreezeRegistration, NewestIsRegisteredAndOnlyItClearsTheRegistration) {
  Log log;
  RecordingPump pump{log};
  EXPECT_EQ(AntiFreeze::Registered(), nullptr);
  {
    auto first = std::make_unique<AntiFreeze>(pump);
    EXPECT_EQ(AntiFreeze::Registered(), first.get());
    AntiFreeze second{pump};
    EXPECT_EQ(AntiFreeze::Registered(), &second);
    first.reset();
    EXPECT_EQ(AntiFreeze::Registered(), &second);
  }
  EXPECT_EQ(AntiFreeze::Registered(), nullptr);
  PumpEvents(true);
  EXPECT_TRUE(log.empty());
}

// A real receive on loopback: the pump runs after a receive that timed out,
// and not when the reply was already there.
TEST(ResponsiveReceive, PumpsOnlyAfterAnEmptyWait) {
  Log log;
  RecordingPump pump{log};
  AntiFreeze freeze{pump};
  freeze.IdleTimeOut = 1000;
  test::UdpPeer server;
  DatagramClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.ReceiveTimeout = 200;

  client.Send("getinfo");
  ASSERT_EQ(server.Receive(), "getinfo");
  EXPECT_EQ(client.ReceiveText(-1), "");
  EXPECT_EQ(log, (Log{"all"}));

  server.Reply("infoResponse");
  EXPECT_EQ(client.ReceiveText(-1), "infoResponse");
  EXPECT_EQ(log, (Log{"all"}));

  // The quiet receive never pumps.
  EXPECT_EQ(client.ReceiveQuietly(50), std::nullopt);
  EXPECT_EQ(log, (Log{"all"}));
}

// The further datagrams of a reply are awaited in short slices, with the
// window's events handled after each empty one, however long the window's
// own slice is; a mere look at the queue handles none.
TEST(ResponsiveReceive, GatheringWaitsPumpAtLeastEvery50Ms) {
  Log log;
  RecordingPump pump{log};
  std::vector<int> slices;
  AntiFreeze freeze{pump, [&slices](int socket, int timeoutMs) {
                      slices.push_back(timeoutMs);
                      return PlainWaitForData(socket, timeoutMs);
                    }};
  freeze.IdleTimeOut = 1000;
  test::UdpPeer server;
  DatagramClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Send("status");
  ASSERT_TRUE(server.Receive().has_value());

  EXPECT_EQ(NextDatagramWithin(client, 0), std::nullopt);
  EXPECT_TRUE(log.empty());

  EXPECT_EQ(NextDatagramWithin(client, 300), std::nullopt);
  ASSERT_GE(slices.size(), 6u);
  EXPECT_EQ(slices.front(), 0);  // the events are handled at once
  EXPECT_LE(*std::max_element(slices.begin(), slices.end()), kGatheringSliceMs);
  EXPECT_EQ(log.size(), slices.size());

  server.Reply("part 2");
  EXPECT_EQ(NextDatagramWithin(client, 300), "part 2");
}

}  // namespace
}  // namespace kestrova
