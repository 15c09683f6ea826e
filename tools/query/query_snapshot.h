#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/player_row.h"
#include "core/query_displays.h"
#include "core/reply_text.h"

namespace kestrova {

// Number of info and status labels, Label1 to Label11.
inline constexpr int kLabelCount = 11;

// What one query cycle left on the window's controls, as the tool prints it.
struct QuerySnapshot {
  // Whether the info reply list begins with "infoResponse", the test that
  // lets the status query run.
  bool valid = false;
  // Whether an info reply came at all; a time-out leaves it false.
  bool answered = false;
  // Label1..Label11 at indexes 0..10.
  std::array<std::string, kLabelCount> labels;
  std::string hint;
  // In the player list's order, sorted by CompareCaptions.
  std::vector<PlayerRow> players;
  TokenList infoList;
  TokenList statusList;
  // The message of the failure that ended the cycle, if one did.
  std::optional<std::string> error;
  // The status reply lacked a part even after the one retry; no rows were taken from it.
  bool statusIncomplete = false;
  // The info reply as it came, before any cleaning; empty without one.
  std::string infoReply;
  // How long the cycle took, from the info request to its end.
  double durationSeconds = 0.0;
};

// The labels' captions as the window starts with them: "maxPing:",
// "pure:", ... "timelimit:".
const std::array<std::string, kLabelCount>& InitialLabelCaptions();

// The tray hint before any reply has set it.
inline constexpr std::string_view kInitialHint = "Kestrova";

// The order in which the window shows its labels, top to bottom: Label8,
// Label2, Label3, Label4, Label7, Label6, Label5, Label10, Label11, Label1,
// Label9 (label numbers).
const std::array<int, kLabelCount>& LabelReadingOrder();

// A query display that records into a QuerySnapshot, starting from the
// window's initial captions and hint. Rows are kept sorted by caption as
// the player list keeps them; a row with a caption equal to earlier ones
// goes after them.
class RecordingQueryDisplay final : public QueryDisplay {
 public:
  RecordingQueryDisplay();

  // `number` 1..11; throws std::out_of_range for any other.
  std::string LabelText(int number) const override;
  void SetLabelText(int number, const std::string& text) override;
  void SetHint(const std::string& text) override;

  void ClearRows() override;
  void AddRow(const std::string& caption) override;
  // Appends to the row added last; throws std::logic_error before any row.
  void AppendSubItem(const std::string& text) override;

  void ReplaceInfoList(const TokenList& tokens) override;
  void ReplaceStatusList(const TokenList& tokens) override;

  QuerySnapshot& Snapshot() { return snapshot_; }
  const QuerySnapshot& Snapshot() const { return snapshot_; }

 private:
  QuerySnapshot snapshot_;
  // Index of the row AddRow placed last, or none.
  std::optional<std::size_t> currentRow_;
};

}  // namespace kestrova
