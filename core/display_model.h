// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/player_row.h"
#include "core/reply_text.h"

namespace kestrova {

// The window's title, and the first line of the tray hint once an info
// reply has set it.
inline constexpr char kProgramTitle[] = "Kestrova by ZLX";
// The tray hint before any info reply has set it.
inline constexpr char kInitialHint[] = "Kestrova";

// The labels of the server's settings, named after what they show. Each
// value is the number of the window's label that shows it (Label1 ..
// Label11).
enum class ShownLabel {
  MaxPing = 1,
  Pure,
  GameTypeString,
  GameType,
  MaxClients,
  Clients,
  MapName,
  HostName,
  Protocol,
  FragLimit,
  TimeLimit,
};

inline constexpr int kShownLabelCount = 11;

// Told of every change of what is shown, so that widgets can follow.
class DisplayObserver {
 public:
  virtual ~DisplayObserver() = default;
  virtual void LabelChanged(ShownLabel label) = 0;
  virtual void HintChanged() = 0;
  virtual void RowsChanged() = 0;
};

// What the window shows of the server, without the window: the labels, the
// tray hint, the player rows and the last info and status reply lists. The
// queries write it; the window's widgets, the query tool, the log, the kick
// and the notifications read it. A write that changes nothing tells the
// observer nothing.
class DisplayModel final {
 public:
  DisplayModel();

  // The reply key whose value `label` shows: "maxPing", "pure",
  // "gametypestring", "gametype", "sv_maxclients", "clients", "mapname",
  // "hostname", "protocol", "fraglimit", "timelimit".
  static constexpr std::string_view Key(ShownLabel label) {
    constexpr std::string_view keys[kShownLabelCount] = {
        "maxPing", "pure",     "gametypestring", "gametype",  "sv_maxclients", "clients",
        "mapname", "hostname", "protocol",       "fraglimit", "timelimit",
    };
    return keys[static_cast<int>(label) - 1];
  }
  // What `label` shows before any reply set it: its key and ":".
  static const std::string& InitialCaption(ShownLabel label);
  // Every label, in the order the window shows them: column by column, top
  // to bottom (HostName, Pure, GameTypeString, GameType, MapName, Clients,
  // MaxClients, FragLimit, TimeLimit, MaxPing, Protocol).
  static const std::array<ShownLabel, kShownLabelCount>& ReadingOrder();

  const std::string& Label(ShownLabel label) const;
  // Shows "KEY: " and `value` in the label. Labels are only ever
  // overwritten, never cleared.
  void SetValue(ShownLabel label, std::string_view value);
  // The value a reply set in the label (its text after "KEY: "); nothing
  // while it shows its initial caption.
  std::optional<std::string> Value(ShownLabel label) const;

  const std::string& Hint() const { return hint_; }
  // Sets the hint to the program's title, the Clients label and the
  // MapName label, each line but the last ended by LF CR, the order in
  // which the tray has always shown them.
  void ShowLabelsInHint();

  // The player rows in list order: sorted by CompareCaptions, rows with
  // equal captions in the order the reply listed them.
  std::size_t RowCount() const { return received_.size(); }
  const PlayerRow& Row(std::size_t place) const { return received_[order_[place]]; }
  std::vector<PlayerRow> Rows() const;
  // The same rows in the order the reply listed them.
  const std::vector<PlayerRow>& RowsInReplyOrder() const { return received_; }
  // Replaces every row by `rows`, given in the reply's order. A server
  // lists its players in the same order from one reply to the next, so
  // when the captions come as last time their order is kept unsorted.
  void ReplaceRows(std::vector<PlayerRow> rows);

  // The last info reply's tokens (ListBox1) and the last status reply's
  // (ListBox2); never shown.
  const TokenList& InfoList() const { return infoList_; }
  const TokenList& StatusList() const { return statusList_; }
  void ReplaceInfoList(TokenList tokens) { infoList_ = std::move(tokens); }
  void ReplaceStatusList(TokenList tokens) { statusList_ = std::move(tokens); }

  // Who is told of changes; nullptr (the start) for no one. Not owned.
  void SetObserver(DisplayObserver* observer) { observer_ = observer; }

 private:
  std::array<std::string, kShownLabelCount> labels_;
  std::string hint_ = kInitialHint;
  // The hint shows the Clients and MapName labels as they are.
  bool hintShowsLabels_ = false;
  std::vector<PlayerRow> received_;
  // The places in received_, in list order.
  std::vector<std::size_t> order_;
  TokenList infoList_;
  TokenList statusList_;
  DisplayObserver* observer_ = nullptr;
};

}  // namespace kestrova
