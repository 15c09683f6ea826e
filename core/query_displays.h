#pragma once

#include <string>

#include "core/reply_text.h"

namespace kestrova {

// Where the queries write what they find. The window implements these with
// its controls; tests record them.

// The info labels Label1..Label9 and the tray hint.
class InfoDisplay {
 public:
  virtual ~InfoDisplay() = default;
  // `number` is the label's number, 1 to 11.
  virtual std::string LabelText(int number) const = 0;
  virtual void SetLabelText(int number, const std::string& text) = 0;
  virtual void SetHint(const std::string& text) = 0;
};

// Label10, Label11 and the player list, which keeps its rows sorted by
// caption (CompareCaptions).
class StatusDisplay {
 public:
  virtual ~StatusDisplay() = default;
  virtual void SetLabelText(int number, const std::string& text) = 0;
  virtual void ClearRows() = 0;
  // Adds a row with this caption; AppendSubItem then fills that row.
  virtual void AddRow(const std::string& caption) = 0;
  virtual void AppendSubItem(const std::string& text) = 0;
  // A status reply came but lacked a part even after its retry: the rows
  // and the two labels keep what they show. Nothing to do for a display
  // that only shows.
  virtual void StatusIncomplete() {}
};

// The hidden holders of the last info and status reply lists.
class ReplyLists {
 public:
  virtual ~ReplyLists() = default;
  virtual void ReplaceInfoList(const TokenList& tokens) = 0;
  virtual void ReplaceStatusList(const TokenList& tokens) = 0;
};

// Everything a query cycle writes, in one.
class QueryDisplay : public InfoDisplay, public StatusDisplay, public ReplyLists {
 public:
  // Both bases declare it; one implementation serves both.
  void SetLabelText(int number, const std::string& text) override = 0;
};

}  // namespace kestrova
