// SPDX-License-Identifier: GPL-3.0-or-later
// The window for keyboards and assistive technology through Qt's own
// accessibility interfaces (no bus).
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "support/sim_server.h"
#include "ui/link_label.h"
#include "window_fixture.h"

namespace kestrova::test {

// Takes the addresses the desktop would be asked to open.
class UrlRecorder final : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> urls;
 public Q_SLOTS:
  void Open(const QUrl& url) { urls.push_back(url); }
};

namespace {

class KeyboardAccessTest : public WindowTest {
 protected:
  void OpenActive(BuildKind build = BuildKind::Standard) {
    Open(build);
    QApplication::setActiveWindow(&Form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    Form().Shown().ReplaceRows({{" alice", {}}});
  }
  QWidget* Control(const char* name) { return Form().findChild<QWidget*>(QString::fromLatin1(name)); }
  static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }
  static QAccessibleInterface* Access(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
};

// Every control named from its caption (a link by its text, with a "press"
// action that opens it as a click does), whatever takes the focus named.
TEST_F(KeyboardAccessTest, ControlsAreNamedFromTheirCaptionsAndLinksPressLikeAClick) {
  using A = QAccessible;
  UrlRecorder desktop;
  for (const char* scheme : {"https", "mailto"})
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &desktop, "Open");
  const struct {
    BuildKind build;
    const char* control;
    QAccessible::Role role;
    const char* name;  // nullptr: the control's own text
  } table[] = {{BuildKind::Standard, "IPEdit", A::Client, "IP"},
               {BuildKind::Standard, "Field4", A::EditableText, "IP, part 4 of 4"},
               {BuildKind::Standard, "Edit3", A::EditableText, "queryport"},
               {BuildKind::Standard, "ListView1", A::Tree, "Players"},
               {BuildKind::Standard, "ListBox3", A::List, "Console output"},
               {BuildKind::Standard, "Edit4", A::EditableText, "Command"},
               {BuildKind::Standard, "Edit5", A::EditableText, "Prefix"},
               {BuildKind::Standard, "Label16", A::Link, nullptr},
               {BuildKind::Standard, "Label17", A::Link, nullptr},
               {BuildKind::Log, "JvIntegerEdit1", A::EditableText, "Log interval, sec."}};
  for (const BuildKind build : {BuildKind::Log, BuildKind::Standard}) {
    Open(build);
    for (const auto& row : table) {
      if (row.build != build) continue;
      QAccessibleInterface* control = Access(Control(row.control));
      EXPECT_EQ(control->role(), row.role) << row.control;
      const QString name = row.name ? QString::fromLatin1(row.name) : Control(row.control)->property("text").toString();
      EXPECT_EQ(control->text(A::Name), name);
      if (row.role != A::Link) continue;
      ASSERT_TRUE(control->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
      control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    for (QWidget* control : Form().findChildren<QWidget*>()) {  // whatever takes the focus says what it is
      if (control->focusPolicy() != Qt::NoFocus) {
        EXPECT_FALSE(Access(control)->text(A::Name).isEmpty()) << control->objectName().toStdString();
      }
    }
    const auto labels = Access(Form().Edit2)->relations(A::Label);  // "hostport" labels its field
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), Form().Label13);
  }
  QTest::mouseClick(Form().Label17, Qt::LeftButton);  // the standard build's window, opened last
  for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  const QUrl mail(QStringLiteral("mailto:%1?subject=Kestrova").arg(Form().Label17->text()));
  EXPECT_EQ(desktop.urls, (std::vector<QUrl>{QUrl(Form().Label16->text()), mail, mail}));
}

// The keyboard alone, the window watching a server whose players come and
// go: F6 to the list and back; the selection survives the cycles'
// rebuilds, follows its row, ends with the player or a time-out; Enter,
// Delete, the Menu key and Shift+F10 ask the double-click's question.
TEST_F(KeyboardAccessTest, TheSelectedPlayerIsKeptAndKickedByKeys) {
  SimServer server;
  for (const char* line : {"player add alice;1;2;30", "player add bob;3;4;40", "player add carl;5;6;50"}) {
    ASSERT_EQ(server.Control(line), "ok");
  }
  OpenActive();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  PlayerList& list = *Form().ListView1;
  const auto shows = [&](int rows) { return TickUntil([&] { return list.topLevelItemCount() == rows; }); };
  ASSERT_TRUE(shows(3));
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);  // the console, a command half typed
  Form().Edit4->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(Form().Edit4, QStringLiteral("status x"));
  Press(Qt::Key_F6);
  Press(Qt::Key_Home);
  Press(Qt::Key_Down);
  ASSERT_EQ(list.SelectedCaption(), " bob");
  ASSERT_EQ(server.Control("player add aaron;0;0;10"), "ok");
  ASSERT_TRUE(shows(4));
  EXPECT_EQ(list.indexOfTopLevelItem(list.selectedItems().value(0)), 2) << "bob moved down with aaron";
  confirmation_.answers = {false, false, false, false};
  for (const QKeyCombination key : {QKeyCombination(Qt::Key_Return), QKeyCombination(Qt::Key_Delete),
                                    QKeyCombination(Qt::Key_Menu), Qt::SHIFT | Qt::Key_F10}) {
    Press(key.key(), key.keyboardModifiers());
  }
  EXPECT_EQ(confirmation_.questions, std::vector<std::string>(4, "Kick \" bob\"?"));

  ASSERT_EQ(server.Control("player remove bob"), "ok");
  ASSERT_TRUE(shows(3));
  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  EXPECT_EQ(list.currentItem(), list.topLevelItem(2)) << "the row now at bob's place, unselected";
  Press(Qt::Key_Up);
  ASSERT_EQ(list.SelectedCaption(), " alice");
  ASSERT_EQ(server.Control("silent status on"), "ok");
  ASSERT_TRUE(shows(0));
  ASSERT_EQ(server.Control("silent status off"), "ok");
  ASSERT_TRUE(shows(3));
  EXPECT_EQ(list.SelectedCaption(), std::nullopt) << "a time-out emptied the list";
  Press(Qt::Key_F6);  // back, and no pre-fill took the command
  EXPECT_EQ(QApplication::focusWidget(), Form().Edit4);
  EXPECT_EQ(Form().Edit4->text(), QStringLiteral("status x"));
}

TEST_F(KeyboardAccessTest, MenuKeyAndShiftF10OpenTheTrayMenuWhereNoControlHasOne) {
  const struct {
    BuildKind build;
    const char* control;
    QKeyCombination key;
    bool rowSelected;
    bool trayMenu;  // else the control's own menu; never the kick question
  } table[] = {{BuildKind::Standard, "CheckBox1", QKeyCombination(Qt::Key_Menu), false, true},
               {BuildKind::Standard, "Button1", Qt::SHIFT | Qt::Key_F10, false, true},
               {BuildKind::Standard, "Edit2", QKeyCombination(Qt::Key_Menu), false, false},
               {BuildKind::Standard, "ListView1", QKeyCombination(Qt::Key_Menu), false, true},
               {BuildKind::Log, "ListView1", QKeyCombination(Qt::Key_Menu), true, true}};
  for (const auto& row : table) {
    SCOPED_TRACE(std::string(row.control) + (row.rowSelected ? ", a row selected" : ""));
    OpenActive(row.build);
    Form().ListView1->ShowRows();
    Control(row.control)->setFocus(Qt::TabFocusReason);
    if (row.rowSelected) Form().ListView1->setCurrentItem(Form().ListView1->topLevelItem(0));
    Press(row.key.key(), row.key.keyboardModifiers());
    EXPECT_TRUE(confirmation_.questions.empty());
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_EQ(QApplication::activePopupWidget() == Form().PopupMenu1, row.trayMenu);
    QApplication::activePopupWidget()->close();
  }
}

}  // namespace
}  // namespace kestrova::test

#include "keyboard_access_test.moc"
