#pragma once

#include <QLineEdit>
#include <cstdint>

namespace kestrova {

// A single-line field for one whole number (the port fields and the log
// interval). The text is the only state; Value reads and writes it.
// Typed characters pass the integer key filter (digits, a leading "-",
// control keys; Enter is dropped); clipboard commands and the program's
// setText put in any text. Right-aligned while enabled; disabled, it shows
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
  // Brings `value` into the bounds that apply (MinValue first, then
  // MaxValue) and shows it in decimal.
  void SetValue(std::int32_t value);

  // Bounds used by SetValue and the key filter; a bound applies only when
  // its Has flag is set.
  std::int32_t MinValue = 0;
  std::int32_t MaxValue = 0;
  bool HasMinValue = false;
  bool HasMaxValue = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool KeepTyped(QChar typed) const;
  void ApplyEnabledLook();
};

}  // namespace kestrova
