// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/console_list.h"

#include "ui/text_bytes.h"

namespace kestrova {

ConsoleList::ConsoleList(QWidget* parent) : QListWidget(parent) {
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void ConsoleList::AppendLine(const std::string& line) { addItem(ToDisplayText(line)); }

int ConsoleList::LineCount() const { return count(); }

void ConsoleList::Clear() { clear(); }

void ConsoleList::ScrollToLastLine() { scrollToItem(item(count() - 1), QAbstractItemView::PositionAtTop); }

}  // namespace kestrova
