// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace kestrova {

// Server texts are single-byte; they become QStrings only to be shown.
// Latin-1 maps every byte to the character of the same code, so a text
// taken back with FromDisplayText gives the original bytes, 0x80-0xFF and
// NUL bytes included.

// Every byte of `bytes` as one character.
QString ToDisplayText(const std::string& bytes);

// Every character of `text` as one byte; characters beyond Latin-1 become
// "?".
std::string FromDisplayText(const QString& text);

}  // namespace kestrova
