// The window for keyboards and assistive technology, read through Qt's own
// accessibility interfaces: names and roles, F6 to the player list and
// back, the row keys and the kept selection against a running server, the
// Menu key and Shift+F10, and the links' "press" action.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "support/sim_server.h"
#include "ui/link_label.h"
#include "window_fixture.h"

namespace kestrova::test {

// Takes the URLs that the desktop would be asked to open.
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
  }

  QWidget* Control(const char* name) { return Form().findChild<QWidget*>(QString::fromLatin1(name)); }

  static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }

  static QString Name(QObject* object) {
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
  }

  void AddPlayers(const std::vector<std::string>& captions) {
    for (const std::string& caption : captions) {
      Form().ListView1->AddRow(caption);
    }
    Form().ListView1->ShowRows();
  }
};

TEST_F(KeyboardAccessTest, ControlsAreNamedFromTheirCaptions) {
  struct Expected {
    BuildKind build;
    const char* control;
    QAccessible::Role role;
    const char* name;
  };
  const Expected table[] = {
      {BuildKind::Standard, "IPEdit", QAccessible::NoRole, "IP"},
      {BuildKind::Standard, "Field1", QAccessible::EditableText, "IP, part 1 of 4"},
      {BuildKind::Standard, "Field4", QAccessible::EditableText, "IP, part 4 of 4"},
      {BuildKind::Standard, "Edit2", QAccessible::EditableText, "hostport"},
      {BuildKind::Standard, "Edit3", QAccessible::EditableText, "queryport"},
      {BuildKind::Standard, "ListView1", QAccessible::Tree, "Players"},
      {BuildKind::Standard, "ListBox3", QAccessible::List, "Console output"},
      {BuildKind::Standard, "Edit4", QAccessible::EditableText, "Command"},
      {BuildKind::Standard, "Edit5", QAccessible::EditableText, "Prefix"},
      {BuildKind::Log, "JvIntegerEdit1", QAccessible::EditableText, "Log interval, sec."},
      {BuildKind::Log, "ListView1", QAccessible::Tree, "Players"},
  };
  for (const BuildKind build : {BuildKind::Standard, BuildKind::Log}) {
    Open(build);
    for (const Expected& expected : table) {
      if (expected.build != build) continue;
      SCOPED_TRACE(expected.control);
      QWidget* control = Control(expected.control);
      ASSERT_NE(control, nullptr);
      QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
      ASSERT_NE(access, nullptr);
      if (expected.role != QAccessible::NoRole) {
        EXPECT_EQ(access->role(), expected.role);
      }
      EXPECT_EQ(access->text(QAccessible::Name), QString::fromLatin1(expected.name));
    }
    // Whatever can take the focus says what it is.
    for (QWidget* control : Form().findChildren<QWidget*>()) {
      if (control->focusPolicy() != Qt::NoFocus) {
        EXPECT_FALSE(Name(control).isEmpty()) << control->objectName().toStdString();
      }
    }
    // A caption labels its field.
    const auto relations = QAccessible::queryAccessibleInterface(Form().Edit3)->relations(QAccessible::Label);
    ASSERT_EQ(relations.size(), 1);
    EXPECT_EQ(relations.front().first->object(), Form().Label14);
  }
}

TEST_F(KeyboardAccessTest, F6GoesToThePlayersAndBackToWhereItWas) {
  struct Start {
    const char* control;
    std::function<void(TForm1&)> before;  // after the focus is there
    const char* backTo;
    const char* command;  // the command line afterwards; nullptr: not looked at
  };
  const Start table[] = {
      {"IPEdit", nullptr, "Field1", nullptr},
      {"CheckBox1", nullptr, "CheckBox1", nullptr},
      // What was typed stays: coming back runs no pre-fill.
      {"Edit4", [](TForm1& form) { QTest::keyClicks(form.Edit4, QStringLiteral("status x")); }, "Edit4", "status x"},
      // START gone meanwhile (the fields it locked too): on to the next
      // control in the Tab order that takes the focus.
      {"Button1", nullptr, "RadioGroup1Item0", nullptr},
  };
  for (const Start& start : table) {
    SCOPED_TRACE(start.control);
    OpenActive();
    AddPlayers({" alice", " bob"});
    QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);  // the console panel
    Control(start.control)->setFocus(Qt::TabFocusReason);
    if (start.before) start.before(Form());
    Press(Qt::Key_F6);
    ASSERT_EQ(QApplication::focusWidget(), Form().ListView1);
    EXPECT_EQ(Form().ListView1->currentItem(), Form().ListView1->topLevelItem(0));
    if (QString::fromLatin1(start.control) == QStringLiteral("Button1")) Form().Button1->hide();
    Press(Qt::Key_F6);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(start.backTo));
    if (start.command != nullptr) {
      EXPECT_EQ(Form().Edit4->text(), QString::fromLatin1(start.command));
    }
  }
}

// The keyboard alone, with the window watching a server whose players come
// and go: the selection survives the cycles' rebuilds, follows its row and
// ends with the player or with a time-out; Enter, Delete and the Menu key
// ask the double-click's question.
TEST_F(KeyboardAccessTest, TheSelectedPlayerIsKeptAndKickedByKeys) {
  SimServer server;
  for (const char* player : {"player add alice;1;2;30", "player add bob;3;4;40", "player add carl;5;6;50"}) {
    ASSERT_EQ(server.Control(player), "ok");
  }
  OpenActive();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  PlayerList& list = *Form().ListView1;
  const auto shown = [&](int rows) { return list.RowCount() == rows && list.topLevelItemCount() == rows; };
  ASSERT_TRUE(WaitUntil([&] { return shown(3); }));
  Form().CheckBox1->setFocus(Qt::TabFocusReason);

  Press(Qt::Key_F6);
  Press(Qt::Key_Home);
  EXPECT_EQ(list.SelectedCaption(), " alice");
  Press(Qt::Key_Down);
  ASSERT_EQ(list.SelectedCaption(), " bob");

  ASSERT_EQ(server.Control("player add aaron;0;0;10"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return shown(4); }));
  EXPECT_EQ(list.SelectedCaption(), " bob");
  EXPECT_EQ(list.indexOfTopLevelItem(list.selectedItems().value(0)), 2);

  confirmation_.answers = {false, false, false};
  Press(Qt::Key_Return);
  Press(Qt::Key_Delete);
  Press(Qt::Key_Menu);
  EXPECT_EQ(confirmation_.questions, std::vector<std::string>(3, "Kick \" bob\"?"));
  EXPECT_FALSE(Form().PopupMenu1->isVisible());

  ASSERT_EQ(server.Control("player remove bob"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return shown(3); }));
  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  EXPECT_EQ(list.currentItem(), list.topLevelItem(2)) << "the row now at bob's place";
  Press(Qt::Key_Return);
  EXPECT_EQ(confirmation_.questions.size(), 3u) << "no selected row, no question";

  Press(Qt::Key_Up);
  ASSERT_EQ(list.SelectedCaption(), " alice");
  ASSERT_EQ(server.Control("silent status on"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return shown(0); }));
  ASSERT_EQ(server.Control("silent status off"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return shown(3); }));
  EXPECT_EQ(list.SelectedCaption(), std::nullopt) << "a time-out emptied the list";

  Press(Qt::Key_F6);
  EXPECT_EQ(QApplication::focusWidget(), Form().CheckBox1);
  EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(KeyboardAccessTest, MenuKeyAndShiftF10OpenTheTrayMenuWhereNoControlHasOne) {
  struct Case {
    BuildKind build;
    const char* control;
    Qt::KeyboardModifiers modifiers;
    int key;
    bool rowSelected;
    bool trayMenu;  // otherwise the control's own menu, or the kick question
    std::size_t questions;
  };
  const Case table[] = {
      {BuildKind::Standard, "CheckBox1", Qt::NoModifier, Qt::Key_Menu, false, true, 0},
      {BuildKind::Standard, "Button1", Qt::ShiftModifier, Qt::Key_F10, false, true, 0},
      {BuildKind::Standard, "Edit2", Qt::NoModifier, Qt::Key_Menu, false, false, 0},
      {BuildKind::Standard, "ListView1", Qt::NoModifier, Qt::Key_Menu, false, true, 0},
      {BuildKind::Standard, "ListView1", Qt::ShiftModifier, Qt::Key_F10, true, false, 1},
      {BuildKind::Log, "ListView1", Qt::NoModifier, Qt::Key_Menu, true, true, 0},
  };
  for (const Case& test : table) {
    SCOPED_TRACE(std::string(test.control) + (test.rowSelected ? ", a row selected" : ""));
    confirmation_.questions.clear();
    confirmation_.answers = {false};
    OpenActive(test.build);
    AddPlayers({" alice"});
    Control(test.control)->setFocus(Qt::TabFocusReason);
    if (test.rowSelected) Form().ListView1->setCurrentItem(Form().ListView1->topLevelItem(0));
    Press(test.key, test.modifiers);
    EXPECT_EQ(confirmation_.questions.size(), test.questions);
    if (test.questions > 0) {
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
      continue;
    }
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* menu = QApplication::activePopupWidget();
    EXPECT_EQ(menu == Form().PopupMenu1, test.trayMenu);
    menu->close();
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
  }
}

TEST_F(KeyboardAccessTest, ALinksPressActionOpensItAsAClickDoes) {
  UrlRecorder desktop;
  for (const char* scheme : {"http", "https", "mailto"}) {
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &desktop, "Open");
  }
  Open();
  for (LinkLabel* link : {Form().Label16, Form().Label17}) {
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(link);
    EXPECT_EQ(access->role(), QAccessible::Link);
    EXPECT_EQ(access->text(QAccessible::Name), link->text());
    QAccessibleActionInterface* actions = access->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
  }
  QTest::mouseClick(Form().Label17, Qt::LeftButton);
  for (const char* scheme : {"http", "https", "mailto"}) {
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
  const QUrl mail(QStringLiteral("mailto:%1?subject=Kestrova").arg(Form().Label17->text()));
  EXPECT_EQ(desktop.urls, (std::vector<QUrl>{QUrl(Form().Label16->text()), mail, mail}));
}

}  // namespace
}  // namespace kestrova::test

#include "keyboard_access_test.moc"
