// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_model.h"

#include <algorithm>
#include <numeric>

#include "core/caption_order.h"

namespace kestrova {

namespace {

std::size_t Index(ShownLabel label) { return static_cast<std::size_t>(label) - 1; }

// Whether `text` is "KEY: " and `value`.
bool Shows(const std::string& text, std::string_view key, std::string_view value) {
  return text.size() == key.size() + 2 + value.size() && text.starts_with(key) &&
         text.compare(key.size(), 2, ": ") == 0 && text.ends_with(value);
}

bool SameCaptions(const std::vector<PlayerRow>& a, const std::vector<PlayerRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const PlayerRow& x, const PlayerRow& y) { return x.caption == y.caption; });
}

}  // namespace

DisplayModel::DisplayModel() {
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = InitialCaption(static_cast<ShownLabel>(i + 1));
  }
}

const std::string& DisplayModel::InitialCaption(ShownLabel label) {
  static const std::array<std::string, kShownLabelCount> captions = [] {
    std::array<std::string, kShownLabelCount> all;
    for (std::size_t i = 0; i < all.size(); ++i) {
      all[i] = std::string(Key(static_cast<ShownLabel>(i + 1))) + ":";
    }
    return all;
  }();
  return captions[Index(label)];
}

const std::array<ShownLabel, kShownLabelCount>& DisplayModel::ReadingOrder() {
  using enum ShownLabel;
  static constexpr std::array<ShownLabel, kShownLabelCount> order = {
      HostName, Pure, GameTypeString, GameType, MapName, Clients, MaxClients, FragLimit, TimeLimit, MaxPing, Protocol};
  return order;
}

const std::string& DisplayModel::Label(ShownLabel label) const { return labels_[Index(label)]; }

void DisplayModel::SetValue(ShownLabel label, std::string_view value) {
  const std::string_view key = Key(label);
  std::string& text = labels_[Index(label)];
  if (Shows(text, key, value)) {
    return;
  }
  text = std::string(key) + ": " + std::string(value);
  hintShowsLabels_ = hintShowsLabels_ && label != ShownLabel::Clients && label != ShownLabel::MapName;
  if (observer_ != nullptr) {
    observer_->LabelChanged(label);
  }
}

std::optional<std::string> DisplayModel::Value(ShownLabel label) const {
  const std::string& text = Label(label);
  const std::string_view key = Key(label);
  if (!text.starts_with(key) || text.compare(key.size(), 2, ": ") != 0) {
    return std::nullopt;
  }
  return text.substr(key.size() + 2);
}

void DisplayModel::ShowLabelsInHint() {
  if (hintShowsLabels_) {
    return;
  }
  hintShowsLabels_ = true;
  std::string hint =
      std::string(kProgramTitle) + "\n\r" + Label(ShownLabel::Clients) + "\n\r" + Label(ShownLabel::MapName);
  if (hint == hint_) {
    return;
  }
  hint_ = std::move(hint);
  if (observer_ != nullptr) {
    observer_->HintChanged();
  }
}

std::vector<PlayerRow> DisplayModel::Rows() const {
  std::vector<PlayerRow> rows;
  rows.reserve(received_.size());
  for (const std::size_t place : order_) {
    rows.push_back(received_[place]);
  }
  return rows;
}

void DisplayModel::ReplaceRows(std::vector<PlayerRow> rows) {
  if (rows == received_) {
    return;
  }
  const bool sorted = SameCaptions(rows, received_);
  received_ = std::move(rows);
  if (!sorted) {
    order_.resize(received_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    // Stable: rows of equal captions keep the order they came in.
    std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
      return CompareCaptions(received_[a].caption, received_[b].caption) < 0;
    });
  }
  if (observer_ != nullptr) {
    observer_->RowsChanged();
  }
}

}  // namespace kestrova
