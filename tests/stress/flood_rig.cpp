// SPDX-License-Identifier: GPL-3.0-or-later
#include "flood_rig.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <stdexcept>

namespace kestrova::test {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Address(std::uint32_t host, int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(host);
  return address;
}

constexpr std::uint32_t kLoopback = 0x7F000001;

// A datagram socket bound to `host` on a port of the system's choice.
int BoundSocket(std::uint32_t host, int* port = nullptr) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  sockaddr_in address = Address(host, 0);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("flood rig: cannot bind a socket");
  }
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  if (port != nullptr) {
    *port = ntohs(address.sin_port);
  }
  return fd;
}

// Only ever to 127.0.0.1.
void SendTo(int fd, int port, const std::string& bytes) {
  const sockaddr_in address = Address(kLoopback, port);
  // A full queue on the way is no failure for a flood.
  [[maybe_unused]] const ssize_t sent =
      ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

std::string RandomBytes(std::size_t count, std::mt19937& random) {
  std::string bytes(count, '\0');
  for (char& c : bytes) {
    c = static_cast<char>(random() & 0xFF);
  }
  return bytes;
}

const std::string kLongToken(4095, 'W');

std::vector<std::string> ValidLookingInfo() {
  const std::string header = "\xFF\xFF\xFF\xFF\x01infoResponse\n";
  return {
      header + "\\clients\\2147483647\\sv_maxclients\\99999999999999999999\\maxPing\\-1\\pure\\7\\hostname\\" +
          kLongToken + "\\protocol\\" + kLongToken.substr(0, 3000),
      header + "\\mapname\\" + kLongToken + "\\gametypestring\\" + kLongToken.substr(0, 3500) +
          "\\gametype\\-2147483648\\hostname\\x",
  };
}

std::vector<std::string> ValidLookingStatus() {
  std::string manyPlayers = "\\fraglimit\\4294967296\\timelimit\\-1";
  for (int n = 0; manyPlayers.size() < 8000; ++n) {
    const std::string i = std::to_string(n);
    manyPlayers +=
        "\\player_" + i + "\\p" + i + "\\frags_" + i + "\\999999\\deaths_" + i + "\\-7\\ping_" + i + "\\65536";
  }
  return {
      manyPlayers + "\\final\\\\queryid\\1.1",
      "\\player_0\\" + kLongToken + "\\frags_0\\1\\deaths_0\\2\\ping_0\\" + kLongToken.substr(0, 3900) +
          "\\final\\\\queryid\\9.1",
  };
}

// The parts of a reply that never ends, each with a number of its own:
// the gathering waits for the rest until its time is up.
std::vector<std::string> EndlessStatusParts() {
  std::vector<std::string> parts;
  for (int n = 1; n <= 400; ++n) {
    parts.push_back("\\player_" + std::to_string(n) + "\\" + std::string(4000, 'P') + "\\queryid\\31337." +
                    std::to_string(n));
  }
  return parts;
}

std::vector<std::string> ValidLookingConsole() {
  return {"\xFF\xFF\xFF\xFF\x01print\n" + kLongToken + "\n" + kLongToken + "\n",
          "\xFF\xFF\xFF\xFF\x01print\n" + std::string(8100, '\n')};
}

}  // namespace

FloodRig::FloodRig(int serverGamePort, int serverQueryPort)
    : serverGamePort_(serverGamePort), serverQueryPort_(serverQueryPort) {
  gameSocket_ = BoundSocket(kLoopback, &gamePort_);
  querySocket_ = BoundSocket(kLoopback, &queryPort_);
  for (int& back : backSockets_) {
    back = BoundSocket(kLoopback);
  }
  for (std::uint32_t host = kLoopback + 1; host <= kLoopback + 8; ++host) {
    otherSenders_.push_back(BoundSocket(host));
  }
  thread_ = std::thread([this] { Run(); });
}

FloodRig::~FloodRig() {
  stop_ = true;
  thread_.join();
  for (const int fd : {gameSocket_, querySocket_}) {
    ::close(fd);
  }
  for (const int fd : backSockets_) {
    ::close(fd);
  }
  for (const int fd : otherSenders_) {
    ::close(fd);
  }
}

bool FloodRig::PortsKnown() const {
  for (const std::atomic<int>& port : clientPorts_) {
    if (port.load() == 0) {
      return false;
    }
  }
  return true;
}

void FloodRig::BuildFlood() {
  std::mt19937 random(20261207);
  validLooking_ = {ValidLookingInfo(), ValidLookingStatus(), ValidLookingConsole()};
  for (std::string& part : EndlessStatusParts()) {
    validLooking_[kStatus].push_back(std::move(part));
  }
  for (int i = 0; i < 32; ++i) {
    randomBytes_.push_back(RandomBytes(1 + random() % 1400, random));
  }
  for (const std::size_t size : {8193u, 8500u, 9000u, 20000u}) {
    oversize_.push_back(RandomBytes(size, random));
  }
  const std::lock_guard<std::mutex> lock(repliesLock_);
  copies_ = lastReplies_;
}

void FloodRig::StartFlood(int count, int perSecond) {
  floodCount_ = count;
  perSecond_ = perSecond;
  flooding_.store(true);
}

void FloodRig::Run() {
  const auto started = [this] { return flooding_.load() && !done_.load(); };
  Clock::time_point floodStart;
  bool floodBegun = false;
  while (!stop_.load()) {
    std::array<pollfd, 5> sockets{{{gameSocket_, POLLIN, 0},
                                   {querySocket_, POLLIN, 0},
                                   {backSockets_[0], POLLIN, 0},
                                   {backSockets_[1], POLLIN, 0},
                                   {backSockets_[2], POLLIN, 0}}};
    const bool flooding = started();
    ::poll(sockets.data(), sockets.size(), flooding ? 0 : 5);
    if (sockets[0].revents & POLLIN) {
      Relay(gameSocket_, false);
    }
    if (sockets[1].revents & POLLIN) {
      Relay(querySocket_, true);
    }
    for (const Client client : {kInfo, kStatus, kConsole}) {
      if (sockets[2 + client].revents & POLLIN) {
        RelayBack(client);
      }
    }
    if (!flooding) {
      continue;
    }
    if (!floodBegun) {
      floodBegun = true;
      floodStart = Clock::now();
    }
    // Paced: no further ahead than the rate allows.
    const double elapsed = std::chrono::duration<double>(Clock::now() - floodStart).count();
    if (sent_.load() < elapsed * perSecond_ + 50) {
      SendFloodBatch();
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    if (sent_.load() >= floodCount_) {
      floodSeconds_ = std::chrono::duration<double>(Clock::now() - floodStart).count();
      done_ = true;
    }
  }
}

void FloodRig::Relay(int frontSocket, bool queryPort) {
  char buffer[65536];
  sockaddr_in sender{};
  socklen_t length = sizeof sender;
  const ssize_t count =
      ::recvfrom(frontSocket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sender), &length);
  if (count < 0) {
    return;
  }
  const std::string request(buffer, static_cast<std::size_t>(count));
  const Client client = queryPort ? kStatus : request.starts_with("\xFF\xFF\xFF\xFF\x02getinfo") ? kInfo : kConsole;
  clientPorts_[client] = ntohs(sender.sin_port);
  SendTo(backSockets_[client], queryPort ? serverQueryPort_ : serverGamePort_, request);
}

void FloodRig::RelayBack(Client client) {
  char buffer[65536];
  const ssize_t count = ::recv(backSockets_[client], buffer, sizeof buffer, 0);
  if (count < 0) {
    return;
  }
  const std::string reply(buffer, static_cast<std::size_t>(count));
  SendTo(client == kStatus ? querySocket_ : gameSocket_, clientPorts_[client].load(), reply);
  if (!flooding_.load()) {
    const std::lock_guard<std::mutex> lock(repliesLock_);
    lastReplies_[client] = reply;
  }
}

void FloodRig::SendFloodBatch() {
  for (int i = 0; i < 25 && sent_.load() < floodCount_; ++i) {
    const int n = sent_.load();
    const Client client = static_cast<Client>(n % 3);
    const int round = n / 3;
    const int port = clientPorts_[client].load();
    switch (round % 5) {
      case 0:
        SendTo(gameSocket_, port, randomBytes_[static_cast<std::size_t>(round) % randomBytes_.size()]);
        break;
      case 1:
        SendTo(gameSocket_, port, std::string());
        break;
      case 2:
        SendTo(gameSocket_, port, oversize_[static_cast<std::size_t>(round) % oversize_.size()]);
        break;
      case 3: {
        const std::vector<std::string>& kinds = validLooking_[client];
        SendTo(client == kStatus ? querySocket_ : gameSocket_, port,
               kinds[static_cast<std::size_t>(round) % kinds.size()]);
        break;
      }
      default:
        SendTo(otherSenders_[static_cast<std::size_t>(round) % otherSenders_.size()], port, copies_[client]);
        break;
    }
    sent_.fetch_add(1);
  }
}

}  // namespace kestrova::test
