// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/misbehaviour.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "tools/simserver/number_text.h"

namespace kestrova::simserver {

namespace {

std::string RandomBytes(std::size_t count, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(count, '\0');
  for (char& c : bytes) {
    c = static_cast<char>(byte(random));
  }
  return bytes;
}

// Filler that keeps the reply's own shape: more \key\value pairs for the
// query replies, more printed lines for the console.
std::string Filler(Channel channel, std::size_t count) {
  std::string unit = channel == Channel::kRcon ? std::string(79, 'x') + "\n" : "\\pad\\" + std::string(90, 'x');
  std::string filler;
  while (filler.size() < count) {
    filler += unit;
  }
  filler.resize(count);
  return filler;
}

}  // namespace

void Misbehaviour::Set(std::string_view fault, std::string_view channel, std::string_view value) {
  std::vector<ChannelFaults*> targets;
  if (channel == "info") {
    targets = {&faults_[0]};
  } else if (channel == "status") {
    targets = {&faults_[1]};
  } else if (channel == "rcon") {
    targets = {&faults_[2]};
  } else if (channel == "all") {
    targets = {&faults_[0], &faults_[1], &faults_[2]};
  } else {
    throw std::invalid_argument("channel must be info, status, rcon or all, not '" + std::string(channel) + "'");
  }
  if (fault == "delay") {
    const int parsed = ParseInteger(value, "delay", 0, 600000);
    for (ChannelFaults* target : targets) {
      target->delayMs = parsed;
    }
    return;
  }
  if (fault == "droppart") {
    const std::size_t colon = value.find(':');
    const int part = ParseInteger(value.substr(0, colon), "droppart", 0, 1000);
    const int every = colon == std::string_view::npos ? 1 : ParseInteger(value.substr(colon + 1), "every", 1, 1000);
    for (ChannelFaults* target : targets) {
      target->dropPart = part;
      target->dropEvery = every;
    }
    return;
  }
  bool ChannelFaults::*flag = nullptr;
  if (fault == "silent") {
    flag = &ChannelFaults::silent;
  } else if (fault == "garbage") {
    flag = &ChannelFaults::garbage;
  } else if (fault == "oversize") {
    flag = &ChannelFaults::oversize;
  } else if (fault == "duplicate") {
    flag = &ChannelFaults::duplicate;
  } else if (fault == "reorder") {
    flag = &ChannelFaults::reorder;
  } else {
    throw std::invalid_argument("unknown fault '" + std::string(fault) + "'");
  }
  bool on = ParseOnOff(value);
  for (ChannelFaults* target : targets) {
    target->*flag = on;
  }
}

void Misbehaviour::Clear() {
  faults_ = {};
  lossPercent_ = 0;
  SetRateLimited(false);
}

void Misbehaviour::SetLoss(double percent, std::optional<unsigned> seed) {
  lossPercent_ = percent;
  if (seed) {
    lossRandom_.seed(*seed);
  }
}

bool Misbehaviour::LoseDatagram(Channel channel) {
  if (lossPercent_ <= 0) {
    return false;
  }
  const bool lost = std::bernoulli_distribution(lossPercent_ / 100)(lossRandom_);
  lost_[static_cast<std::size_t>(channel)] += lost ? 1 : 0;
  return lost;
}

std::pair<double, std::optional<unsigned>> ParseLoss(std::string_view text) {
  const std::size_t colon = text.find(':');
  const std::string_view percent = text.substr(0, colon);
  // Whole thousandths, so that only plain decimals pass: no exponent, no
  // sign, no "inf".
  const std::size_t point = percent.find('.');
  const std::string_view whole = percent.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : percent.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.empty() || whole.size() > 3 || !digits(whole) || fraction.size() > 3 || !digits(fraction) ||
      (point != std::string_view::npos && fraction.empty())) {
    throw std::invalid_argument("loss must be a percentage from 0 to 100, not '" + std::string(percent) + "'");
  }
  long thousandths = ParseInteger(whole, "loss", 0, 100) * 1000L;
  long scale = 100;
  for (const char digit : fraction) {
    thousandths += (digit - '0') * scale;
    scale /= 10;
  }
  if (thousandths > 100000) {
    throw std::invalid_argument("loss must be a percentage from 0 to 100, not '" + std::string(percent) + "'");
  }
  std::optional<unsigned> seed;
  if (colon != std::string_view::npos) {
    seed = static_cast<unsigned>(ParseInteger(text.substr(colon + 1), "loss seed", 0, 2147483647));
  }
  return {static_cast<double>(thousandths) / 1000, seed};
}

void Misbehaviour::SetRateLimited(bool on) {
  if (on && !rateLimited_) {
    rateLimit_.Refill();
  }
  rateLimited_ = on;
}

void Misbehaviour::PassBudgetTime(std::chrono::milliseconds span) {
  budgetNow_ = budgetNow_.value_or(RateLimit::Clock::now()) + span;
}

bool Misbehaviour::OverBudget(std::uint32_t address, RateLimit::Clock::time_point now) {
  return rateLimited_ && !rateLimit_.Allow(address, budgetNow_.value_or(now));
}

std::vector<std::string> Misbehaviour::Shape(Channel channel, std::vector<std::string> datagrams,
                                             std::mt19937& random) {
  const ChannelFaults& faults = Faults(channel);
  if (faults.silent || datagrams.empty()) {
    return {};
  }
  if (datagrams.size() > 1) {
    const long count = ++longReplies_[static_cast<std::size_t>(channel)];
    const auto drop = static_cast<std::size_t>(faults.dropPart);
    if (drop >= 1 && drop <= datagrams.size() && count % faults.dropEvery == 0) {
      datagrams.erase(datagrams.begin() + static_cast<std::ptrdiff_t>(drop - 1));
    }
    if (faults.reorder) {
      std::reverse(datagrams.begin(), datagrams.end());
    }
  }
  if (faults.oversize) {
    std::string one = faults.garbage ? RandomBytes(kOversizeDatagram, random) : datagrams.front();
    if (one.size() < kOversizeDatagram) {
      one += Filler(channel, kOversizeDatagram - one.size());
    }
    one.resize(kOversizeDatagram);
    datagrams = {std::move(one)};
  } else if (faults.garbage) {
    std::uniform_int_distribution<std::size_t> length(16, 600);
    for (std::string& datagram : datagrams) {
      datagram = RandomBytes(length(random), random);
    }
  }
  if (faults.duplicate) {
    std::vector<std::string> twice;
    for (std::string& datagram : datagrams) {
      twice.push_back(datagram);
      twice.push_back(std::move(datagram));
    }
    datagrams = std::move(twice);
  }
  return datagrams;
}

}  // namespace kestrova::simserver
