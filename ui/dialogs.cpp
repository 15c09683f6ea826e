// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "ui/text_bytes.h"

namespace kestrova {

std::string ErrorDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

MessageBoxErrorDisplay::MessageBoxErrorDisplay(QWidget* parent) : parent_(parent) {}

void MessageBoxErrorDisplay::ShowError(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Kestrova"), ToDisplayText(ErrorDisplayText(message)),
                  QMessageBox::Ok, parent_.data());
  box.setObjectName(QStringLiteral("ErrorBox"));
  // Server texts may hold "<"; they are shown as they are, never as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool MessageBoxConfirmation::Confirm(const std::string& message) {
  // Without a parent the box is centred on the screen and modal for the
  // whole application.
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), ToDisplayText(message),
                  QMessageBox::Yes | QMessageBox::No);
  box.setObjectName(QStringLiteral("ConfirmBox"));
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kestrova
