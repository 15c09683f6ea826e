// SPDX-License-Identifier: GPL-3.0-or-later
// The window for keyboards and assistive technology: names from the
// captions, F6 between the player list and the rest, and the Menu key and
// Shift+F10 for the tray's menu.
#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

#include "ui/address_field.h"
#include "ui/console_list.h"
#include "ui/focus_entry.h"
#include "ui/integer_field.h"
#include "ui/link_label.h"
#include "ui/main_window.h"
#include "ui/player_list.h"

namespace kestrova {

void TForm1::NameControls() {
  // A label with a buddy names its field and is its label for assistive
  // technology; the fields without a caption of their own get names.
  Label12->setBuddy(IPEdit);
  IPEdit->SetAccessibleNames(Label12->text());
  IPEdit->setAccessibleDescription(QStringLiteral("The server's IPv4 address"));
  Label13->setBuddy(Edit2);
  Edit2->setAccessibleDescription(QStringLiteral("The server's game port"));
  Label14->setBuddy(Edit3);
  Edit3->setAccessibleDescription(QStringLiteral("The server's query port"));
  const bool kicks = build_ == BuildKind::Standard;
  ListView1->setAccessibleName(QStringLiteral("Players"));
  ListView1->setAccessibleDescription(
      kicks ? QStringLiteral("Enter, Delete or the Menu key asks to kick the selected player. F6 goes back.")
            : QStringLiteral("F6 goes back."));
  ListBox3->setAccessibleName(QStringLiteral("Console output"));
  Edit4->setAccessibleName(QStringLiteral("Command"));
  Edit4->setAccessibleDescription(QStringLiteral("Enter sends it to the server's console"));
  Edit5->setAccessibleName(QStringLiteral("Prefix"));
  Edit5->setAccessibleDescription(kicks ? QStringLiteral("Put in front of every command, kick and map change")
                                        : QStringLiteral("Put in front of every command"));
  Label16->setAccessibleDescription(QStringLiteral("Opens the author's web page"));
  Label17->setAccessibleDescription(QStringLiteral("Writes a mail to the author"));
  if (JvIntegerEdit1 != nullptr) {
    // No buddy here: screen readers would say the label's "sec." alone.
    JvIntegerEdit1->setAccessibleName(QStringLiteral("Log interval, ") + Label18->text());
    JvIntegerEdit1->setAccessibleDescription(QStringLiteral("Seconds between two records of the player log"));
  }
}

void TForm1::CreateKeys() {
  new QShortcut(QKeySequence(Qt::Key_F6), this, this, &TForm1::SwitchPane);
  new QShortcut(QKeySequence(Qt::Key_Menu), this, this, &TForm1::RequestMenu);
  new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this, this, &TForm1::RequestMenu);
  // Remembers where the focus came from, by F6, Tab or the mouse.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (now == ListView1 && old != nullptr && old != ListView1 && old->window() == this) {
      paneLeft_ = old;
    }
  });
}

void TForm1::SwitchPane() {
  if (!ListView1->hasFocus()) {
    ListView1->setFocus(Qt::ShortcutFocusReason);
    return;
  }
  QWidget* back = paneLeft_;
  if (back == nullptr || !back->isVisible() || !back->isEnabled()) {
    focusNextChild();  // the control it came from is gone (START) or locked
    return;
  }
  // A return, not an entry: no "on enter" handler runs, so the command
  // line keeps what was typed; the caret stays where it was (the address
  // field selects its part's number, as whenever the focus comes to it).
  FocusEntry::GiveBack(*back);
}

void TForm1::RequestMenu() {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr || target->window() != this) {
    target = this;
  }
  QPoint at = target->rect().center();
  if (auto* view = qobject_cast<QAbstractItemView*>(target); view != nullptr && view->currentIndex().isValid()) {
    at = view->viewport()->mapTo(view, view->visualRect(view->currentIndex()).center());
  }
  // Line edits open their own menu; other controls pass the request on to
  // their parents and so to the window (contextMenuEvent).
  QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
  QCoreApplication::sendEvent(target, &request);
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() != QContextMenuEvent::Keyboard) {
    event->ignore();  // the mouse's right button shows nothing here
    return;
  }
  PopupMenu1->popup(event->globalPos());
  event->accept();
}

}  // namespace kestrova
