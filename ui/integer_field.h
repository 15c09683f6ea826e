// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <cstdint>

namespace kestrova {

// A single-line field for one whole number (the port fields and the log
// interval). The text is the only state; Value reads and writes it.
// Typed characters pass the integer key filter (digits, a leading "-",
// control keys; Enter is dropped); clipboard commands and the program's
// setText put in any text. No field of the program has a lower or upper
// bound, so no number is ever brought into one. Right-aligned while enabled; disabled, it shows
// grey text on an enabled field's background (the window background, not
// the form's grey) from its top-left corner, starting with its first
// character however long the text.
class IntegerField final : public QLineEdit {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(IntegerField)

 public:
  explicit IntegerField(QWidget* parent = nullptr);

  // 0 for an empty text, otherwise the lenient value of the text (0 for a
  // text that is not a whole number).
  std::int32_t Value() const;
  // Shows `value` in decimal.
  void SetValue(std::int32_t value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool KeepTyped(QChar typed) const;
  void ApplyEnabledLook();
};

}  // namespace kestrova
