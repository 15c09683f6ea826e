// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "ui/focus_entry.h"

namespace kestrova {

class OctetEdit;

// The IPv4 address field: four fields of 0-255 separated by dots inside one
// frame drawn like a line edit. It is one tab stop (its first field takes
// the focus) and Tab from any of its fields leaves the control.
//
// Address holds the number the fields show, the first field in the high
// byte, a blank field counting as 0. Every change of a field's content
// updates it. When the focus leaves the control and at least one field
// holds a number, the fields are rewritten from Address so that blank ones
// show 0; with all four blank the control stays blank.
//
// Typing, as in the platform's address control: focus entering the control
// (by Tab, Backtab, the program, or the start-up focus) selects the first
// field's number, so that typing replaces it. Digits only; the third digit
// moves on to the next field and selects its number, as "." or a blank does
// when the field holds a number, the caret is not at its start and nothing
// is selected (otherwise they do nothing, so "192." moves on once); a
// number above 255 becomes 255.
class AddressField final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(AddressField)

 public:
  explicit AddressField(QWidget* parent = nullptr);

  std::uint32_t Address() const { return address_; }
  // Does nothing for the address already held; otherwise stores it and
  // shows all four numbers.
  void SetAddress(std::uint32_t address);
  // The four fields of Address, leftmost first.
  std::array<std::uint8_t, 4> AddressValues() const;

  // Names the control `name` for assistive technology, and its fields by
  // position: "<name>, part 1 of 4" to "<name>, part 4 of 4".
  void SetAccessibleNames(const QString& name);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  friend class OctetEdit;

  void FieldEdited(int field);
  void FieldGotFocus(int field, Qt::FocusReason reason);
  void FieldLostFocus(Qt::FocusReason reason);
  void ReadAddressFromFields();
  void RewriteFields();
  void MoveToField(int field, bool selectAll);
  QWidget* NeighbourOutside(bool next) const;

  std::array<OctetEdit*, 4> fields_{};
  std::uint32_t address_ = 0;
  // The focus is moving from one field to another.
  bool movingInside_ = false;
  // Whether the focus that comes to a field enters the control.
  FocusReturn focusReturn_;
};

}  // namespace kestrova
