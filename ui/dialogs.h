// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "console/remote_commands.h"

namespace kestrova {

// Where a failure that leaves an event handler is shown.
class ErrorDisplay {
 public:
  virtual ~ErrorDisplay() = default;
  // Shows `message` (a failure's what()) to the user and returns when the
  // user has acknowledged it.
  virtual void ShowError(const std::string& message) = 0;
};

// The text the error display shows for `message`: the message with "."
// appended when its last byte sorts after "." (compared as unsigned); an
// empty message stays empty.
std::string ErrorDisplayText(const std::string& message);

// Shows errors in a modal message box titled "Kestrova" with the error
// icon and one OK button.
class MessageBoxErrorDisplay final : public ErrorDisplay {
 public:
  // `parent` owns the box while it is shown; it may be null.
  explicit MessageBoxErrorDisplay(QWidget* parent);

  void ShowError(const std::string& message) override;

 private:
  QPointer<QWidget> parent_;
};

// Asks in a modal message box centred on the screen: caption "Confirm",
// the question icon, buttons "&Yes" (the default, Enter) and "&No" (Esc,
// and closing the box).
class MessageBoxConfirmation final : public Confirmation {
 public:
  MessageBoxConfirmation() = default;

  // True only when the user answers Yes.
  bool Confirm(const std::string& message) override;
};

}  // namespace kestrova
