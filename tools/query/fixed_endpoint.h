// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "core/endpoint_source.h"

namespace kestrova {

// The endpoint the command line named; it does not change while the tool runs.
class FixedEndpoint final : public EndpointSource {
 public:
  FixedEndpoint(std::uint32_t address, std::string gamePortText, std::string queryPortText)
      : address_(address), gamePortText_(std::move(gamePortText)), queryPortText_(std::move(queryPortText)) {}

  std::uint32_t Address() const override { return address_; }
  std::string GamePortText() const override { return gamePortText_; }
  std::string QueryPortText() const override { return queryPortText_; }

 private:
  std::uint32_t address_;
  std::string gamePortText_;
  std::string queryPortText_;
};

}  // namespace kestrova
