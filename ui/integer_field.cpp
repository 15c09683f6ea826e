// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/integer_field.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPalette>

#include "core/integer_text.h"
#include "ui/integer_key_filter.h"
#include "ui/text_bytes.h"

namespace kestrova {

IntegerField::IntegerField(QWidget* parent) : QLineEdit(parent) { ApplyEnabledLook(); }

std::int32_t IntegerField::Value() const {
  if (text().isEmpty()) {
    return 0;
  }
  return LenientIntegerValue(FromDisplayText(text()));
}

void IntegerField::SetValue(std::int32_t value) { setText(QString::number(value)); }

bool IntegerField::KeepTyped(QChar typed) const {
  // A character beyond Latin-1 is no digit; "?" stands for it in the filter.
  const char16_t code = typed.unicode();
  const auto byte = static_cast<unsigned char>(code <= 0xFF ? code : '?');
  return KeepTypedCharacter(byte, hasSelectedText() ? selectionStart() : cursorPosition());
}

void IntegerField::keyPressEvent(QKeyEvent* event) {
  // Enter does nothing here; it is consumed rather than passed on, so that
  // QLineEdit does not report it as the end of an edit.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  // Shortcuts (copy, paste, cut, undo, select all) are keys with Ctrl and
  // carry a letter as text under some platforms; they are not typing.
  if ((event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QString typed = event->text();
  if (typed.isEmpty()) {
    QLineEdit::keyPressEvent(event);  // caret movement, Delete and the like
    return;
  }
  if (typed.size() != 1 || !KeepTyped(typed.front())) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void IntegerField::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) {
    ApplyEnabledLook();
  }
}

void IntegerField::ApplyEnabledLook() {
  if (isEnabled()) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return;
  }
  // The disabled field shows its text from the top-left corner, from its
  // first character, in the grey of disabled text on the background of an
  // enabled field (not the window's grey).
  QPalette look = palette();
  look.setColor(QPalette::Disabled, QPalette::Base, look.color(QPalette::Active, QPalette::Base));
  look.setColor(QPalette::Disabled, QPalette::Text, look.color(QPalette::Disabled, QPalette::WindowText));
  setPalette(look);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The line edit scrolls a text too long for it to its caret, which typing
  // left at the end.
  deselect();
  setCursorPosition(0);
}

}  // namespace kestrova
