// SPDX-License-Identifier: GPL-3.0-or-later
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

// Writes "all" into the shared log for every pump.
EventPump RecordingPump(Log& log) {
  return [&log] { log.push_back("all"); };
}

// A wait of `timeoutMs` with the platform wait standing in: it logs each
// slice's length and reports data on slice `dataOnSlice` (from 1; 0 never).
struct SliceCase {
  const char* name;
  int timeoutMs;
  int dataOnSlice;
  bool ready;
  Log log;
};

class SlicedWaitTest : public ::testing::TestWithParam<SliceCase> {
 protected:
  AntiFreeze::PlainWait RecordingWait() {
    return [this](int, int timeoutMs) {
      log.push_back("wait " + std::to_string(timeoutMs));
      return ++slices == GetParam().dataOnSlice;
    };
  }

  Log log;
  int slices = 0;
  AntiFreeze freeze{RecordingPump(log), RecordingWait()};
};

TEST_P(SlicedWaitTest, SlicesThenPumpsAfterEachEmptyOne) {
  EXPECT_EQ(freeze.WaitForData(0, GetParam().timeoutMs), GetParam().ready);
  EXPECT_EQ(log, GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Waits, SlicedWaitTest,
    ::testing::Values(
        SliceCase{"WholeSlices", 100, 0, false, {"wait 50", "all", "wait 50", "all"}},
        SliceCase{"FirstSliceTakesTheRemainder", 120, 0, false, {"wait 20", "all", "wait 50", "all", "wait 50", "all"}},
        SliceCase{"WithinOneSlice", 30, 0, false, {"wait 30", "all"}},
        SliceCase{"DataEndsTheWaitWithoutAPump", 200, 2, true, {"wait 50", "all", "wait 50"}},
        SliceCase{"WithoutLimitUntilData", -2, 3, true, {"wait 50", "all", "wait 50", "all", "wait 50"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResponsiveWait, OtherThreadsNeverSliceNorPump) {
  Log log;
  const AntiFreeze freeze{RecordingPump(log), [&log](int, int timeoutMs) {
                            log.push_back("wait " + std::to_string(timeoutMs));
                            return false;
                          }};
  bool ready = true;
  std::thread([&] { ready = freeze.WaitForData(0, 1000); }).join();
  EXPECT_FALSE(ready);
  EXPECT_EQ(log, (Log{"wait 1000"}));
}

// A real receive on loopback: the pump runs after a receive that timed out,
// and not when the reply was already there; a client given no responsive
// waiting never pumps.
TEST(ResponsiveReceive, PumpsOnlyAfterAnEmptyWait) {
  Log log;
  const AntiFreeze freeze{RecordingPump(log)};
  test::UdpPeer server;
  DatagramClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.ReceiveTimeout = 40;
  client.WaitsWith = &freeze;

  client.Send("getinfo");
  ASSERT_EQ(server.Receive(), "getinfo");
  EXPECT_EQ(client.ReceiveText(-1), "");
  EXPECT_EQ(log, (Log{"all"}));

  server.Reply("infoResponse");
  EXPECT_EQ(client.ReceiveText(-1), "infoResponse");
  EXPECT_EQ(log, (Log{"all"}));

  // The quiet receive never pumps.
  EXPECT_EQ(client.ReceiveQuietly(50), std::nullopt);
  client.WaitsWith = nullptr;
  EXPECT_EQ(client.ReceiveText(-1), "");
  EXPECT_EQ(log, (Log{"all"}));
}

// The further datagrams of a reply are awaited in short slices, with the
// window's events handled after each empty one; a mere look at the queue
// handles none.
TEST(ResponsiveReceive, GatheringWaitsPumpAtLeastEvery50Ms) {
  Log log;
  std::vector<int> slices;
  const AntiFreeze freeze{RecordingPump(log), [&slices](int socket, int timeoutMs) {
                            slices.push_back(timeoutMs);
                            return PlainWaitForData(socket, timeoutMs);
                          }};
  test::UdpPeer server;
  DatagramClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.WaitsWith = &freeze;
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
