// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/address_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>
#include <algorithm>

namespace kestrova {
namespace {

constexpr int kFieldCount = 4;
constexpr int kFieldDigits = 3;
constexpr unsigned kHighest = 255;
constexpr int kDotWidth = 3;

// The number a field shows; a blank field counts as 0.
unsigned FieldNumber(const QLineEdit& field) { return std::min(field.text().toUInt(), kHighest); }

// A field holds up to three digits 0-9 and nothing else, however it comes
// in (typing, pasting, setText); anything else is refused whole. Checked by
// hand: a regular expression would load and compile a matcher for this.
class OctetValidator final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& /*position*/) const override {
    const bool digits = input.size() <= kFieldDigits && std::all_of(input.cbegin(), input.cend(), [](QChar c) {
                          return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                        });
    return digits ? Acceptable : Invalid;
  }
};

}  // namespace

// One of the four number fields: frameless, centred, digits only. Keys that
// move between fields are handed to the AddressField.
class OctetEdit final : public QLineEdit {
 public:
  OctetEdit(AddressField& owner, int index) : QLineEdit(&owner), owner_(owner), index_(index) {
    setObjectName(QStringLiteral("Field%1").arg(index + 1));
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    // Three digits must fit into a quarter of a 92 pixel control: give back
    // the line edit's own inner margin and share the dots' room.
    setTextMargins(-3, 0, -3, 0);
    // The common frame paints the background; a field's own panel would
    // leave marks at its corners.
    QPalette look = palette();
    look.setColor(QPalette::Base, Qt::transparent);
    setPalette(look);
    setMaxLength(kFieldDigits);
    setValidator(new OctetValidator(this));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Only the first field is a tab stop; the others are reached by typing
    // and by mouse.
    setFocusPolicy(index == 0 ? Qt::StrongFocus : Qt::ClickFocus);
    setText(QStringLiteral("0"));
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0) {
      QLineEdit::keyPressEvent(event);  // clipboard and undo; the validator keeps out non-digits
      return;
    }
    const bool nothingSelected = !hasSelectedText();
    switch (event->key()) {
      case Qt::Key_Period:
      case Qt::Key_Space:
        // Only after a number typed into this field: a "." right after the
        // third digit moved on (the next field is selected then) or in a
        // field just left empty is ignored, so it cannot skip a field.
        if (!text().isEmpty() && cursorPosition() > 0 && nothingSelected && index_ + 1 < kFieldCount) {
          owner_.MoveToField(index_ + 1, true);
        }
        event->accept();
        return;
      case Qt::Key_Backspace:
      case Qt::Key_Left:
        if (nothingSelected && cursorPosition() == 0 && index_ > 0) {
          owner_.MoveToField(index_ - 1, false);
          event->accept();
          return;
        }
        break;
      case Qt::Key_Right:
        if (nothingSelected && cursorPosition() == text().size() && index_ + 1 < kFieldCount) {
          owner_.MoveToField(index_ + 1, false);
          fieldAt(index_ + 1).setCursorPosition(0);
          event->accept();
          return;
        }
        break;
      default:
        break;
    }
    const QString typed = event->text();
    const bool printable = typed.size() == 1 && typed.front().unicode() >= 32;
    if (printable && !typed.front().isDigit()) {
      event->accept();
      return;
    }
    const QString before = text();
    QLineEdit::keyPressEvent(event);
    // The third digit completes the field: typing goes on in the next one.
    if (printable && text() != before && text().size() == kFieldDigits && cursorPosition() == kFieldDigits &&
        index_ + 1 < kFieldCount) {
      owner_.MoveToField(index_ + 1, true);
    }
  }

  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    owner_.FieldGotFocus(index_, event->reason());
    owner_.update();  // the common frame shows the focus
  }

  void focusOutEvent(QFocusEvent* event) override {
    QLineEdit::focusOutEvent(event);
    owner_.FieldLostFocus(event->reason());
  }

 private:
  QLineEdit& fieldAt(int index) const { return *owner_.fields_[static_cast<std::size_t>(index)]; }

  AddressField& owner_;
  const int index_;
};

AddressField::AddressField(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  row->setContentsMargins(1, frame, 1, frame);
  row->setSpacing(0);
  for (int index = 0; index < kFieldCount; ++index) {
    if (index > 0) {
      auto* dot = new QLabel(QStringLiteral("."), this);
      dot->setAlignment(Qt::AlignCenter);
      dot->setFixedWidth(kDotWidth);
      row->addWidget(dot);
    }
    auto* field = new OctetEdit(*this, index);
    fields_[static_cast<std::size_t>(index)] = field;
    row->addWidget(field, 1);
    connect(field, &QLineEdit::textEdited, this, [this, index] { FieldEdited(index); });
  }
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(fields_[0]);
}

void AddressField::SetAddress(std::uint32_t address) {
  if (address == address_) {
    return;
  }
  address_ = address;
  RewriteFields();
}

std::array<std::uint8_t, 4> AddressField::AddressValues() const {
  return {static_cast<std::uint8_t>(address_ >> 24), static_cast<std::uint8_t>(address_ >> 16),
          static_cast<std::uint8_t>(address_ >> 8), static_cast<std::uint8_t>(address_)};
}

void AddressField::SetAccessibleNames(const QString& name) {
  setAccessibleName(name);
  for (std::size_t index = 0; index < fields_.size(); ++index) {
    fields_[index]->setAccessibleName(QStringLiteral("%1, part %2 of %3").arg(name).arg(index + 1).arg(kFieldCount));
  }
}

QSize AddressField::sizeHint() const {
  const QFontMetrics metrics(font());
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int field = metrics.horizontalAdvance(QStringLiteral("000")) + 4;
  const int dot = metrics.horizontalAdvance(QLatin1Char('.'));
  return {kFieldCount * field + (kFieldCount - 1) * dot + 2 * frame, std::max(metrics.height() + 2 * frame + 2, 21)};
}

void AddressField::paintEvent(QPaintEvent* /*event*/) {
  // The frame and background of a line edit around all four fields.
  QPainter painter(this);
  QStyleOptionFrame option;
  option.initFrom(this);
  option.rect = rect();
  option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  if (isAncestorOf(QApplication::focusWidget())) {
    option.state |= QStyle::State_HasFocus;
  }
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

bool AddressField::focusNextPrevChild(bool next) {
  // Tab and Backtab in any field leave the control as a whole.
  if (QWidget* target = NeighbourOutside(next)) {
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
  }
  return QWidget::focusNextPrevChild(next);
}

void AddressField::FieldEdited(int field) {
  QLineEdit& edit = *fields_[static_cast<std::size_t>(field)];
  // Like the platform control, a number beyond the range is answered with
  // the highest number allowed.
  if (edit.text().toUInt() > kHighest) {
    edit.setText(QString::number(kHighest));
  }
  ReadAddressFromFields();
}

void AddressField::FieldGotFocus(int field, Qt::FocusReason reason) {
  const bool enters = focusReturn_.Enters(reason);
  // The mouse puts the caret where it clicks.
  if (movingInside_ || !enters || reason == Qt::MouseFocusReason || reason == Qt::MenuBarFocusReason ||
      reason == Qt::NoFocusReason) {
    return;
  }
  // Entering the control: typing replaces the field's number.
  fields_[static_cast<std::size_t>(field)]->selectAll();
}

void AddressField::FieldLostFocus(Qt::FocusReason reason) {
  focusReturn_.Left(reason);
  if (reason == Qt::PopupFocusReason) {
    return;  // a context menu of the field; the focus comes back
  }
  QWidget* now = QApplication::focusWidget();
  if (now != nullptr && (now == this || isAncestorOf(now))) {
    return;  // moving between the control's own fields
  }
  const bool anyNumber =
      std::any_of(fields_.begin(), fields_.end(), [](const OctetEdit* field) { return !field->text().isEmpty(); });
  if (anyNumber) {
    RewriteFields();
  }
  update();
}

void AddressField::ReadAddressFromFields() {
  std::uint32_t address = 0;
  for (const OctetEdit* field : fields_) {
    address = (address << 8) | FieldNumber(*field);
  }
  address_ = address;
}

void AddressField::RewriteFields() {
  const std::array<std::uint8_t, 4> values = AddressValues();
  for (std::size_t index = 0; index < fields_.size(); ++index) {
    // A field that already shows its number keeps its caret and selection.
    const QString number = QString::number(values[index]);
    if (fields_[index]->text() != number) {
      fields_[index]->setText(number);
    }
  }
}

void AddressField::MoveToField(int field, bool selectAll) {
  QLineEdit& target = *fields_[static_cast<std::size_t>(field)];
  movingInside_ = true;
  target.setFocus(Qt::OtherFocusReason);
  movingInside_ = false;
  if (selectAll) {
    target.selectAll();
  } else {
    target.deselect();
    target.setCursorPosition(static_cast<int>(target.text().size()));
  }
}

QWidget* AddressField::NeighbourOutside(bool next) const {
  const QWidget* top = window();
  for (QWidget* candidate = next ? nextInFocusChain() : previousInFocusChain(); candidate != this;
       candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain()) {
    if (candidate == nullptr) {
      return nullptr;
    }
    if (isAncestorOf(candidate) || candidate->window() != top) {
      continue;
    }
    const QWidget* taker = candidate;
    while (taker->focusProxy() != nullptr) {
      taker = taker->focusProxy();
    }
    if ((taker->focusPolicy() & Qt::TabFocus) != 0 && candidate->isVisibleTo(top) && candidate->isEnabled()) {
      return candidate;
    }
  }
  return nullptr;
}

}  // namespace kestrova
