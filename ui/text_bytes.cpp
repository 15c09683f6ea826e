// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_bytes.h"

#include <QByteArray>

namespace kestrova {

QString ToDisplayText(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromDisplayText(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace kestrova
