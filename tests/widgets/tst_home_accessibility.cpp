// What a screen reader is told: a walk through every window's accessibility tree finds no
// visible control without a name and none of the helper or decorative pieces; the controls
// have the names, hints, roles and selection the user needs; the editor tells whether its
// text is saved.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPlainTextEdit>
#include <QtTest>

#include "dialogs/About_u.h"
#include "dialogs/ChangePgDes_u.h"
#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "editor/Editor_u.h"
#include "support/testmain.h"
#include "tst_home_support.h"

using home_testing::Home;

namespace {

struct Seen {
  QString object;  // object name of the control
  QAccessible::Role role;
  QString name;
};

// Every item a screen reader can reach from `window` that is shown.
QList<Seen> walk(QWidget* window) {
  QList<Seen> seen;
  std::function<void(QAccessibleInterface*)> visit = [&](QAccessibleInterface* item) {
    if (!item || item->state().invisible) return;
    seen << Seen{item->object() ? item->object()->objectName() : QString(), item->role(),
                 item->text(QAccessible::Name)};
    for (int i = 0; i < item->childCount(); ++i) visit(item->child(i));
  };
  visit(QAccessible::queryAccessibleInterface(window));
  return seen;
}

// Items that hold or group others rather than being controls to use or read, and texts that
// show nothing (the message window's empty second line).
bool isNoControl(QAccessible::Role role) {
  return role == QAccessible::Client || role == QAccessible::Grouping ||
         role == QAccessible::Pane || role == QAccessible::StaticText;
}

// What is wrong with the tree of `window`: controls without a name, pieces left out that
// are reached anyway. Empty when nothing is.
QString faults(QWidget* window, const QStringList& leftOut) {
  QStringList out;
  for (const Seen& s : walk(window)) {
    if (s.name.isEmpty() && !isNoControl(s.role))
      out << QStringLiteral("no name: %1 (role %2)").arg(s.object).arg(int(s.role));
    if (!s.object.isEmpty() && leftOut.contains(s.object)) out << "reached: " + s.object;
  }
  return out.join(QStringLiteral("; "));
}

QAccessibleInterface* item(const QWidget* w) {
  return QAccessible::queryAccessibleInterface(const_cast<QWidget*>(w));
}

QStringList numbered(const QString& pattern, int count) {
  QStringList out;
  for (int n = 1; n <= count; ++n) out << pattern.arg(n);
  return out;
}

// A home window over notes: "Loops" as topic 3 of page 1, no name for topic 5, page 4
// described as "Generics".
struct NotesHome : Home {
  Dialogs dialogs;
  NotesHome()
      : Home([] {
          QDir().mkpath(QStringLiteral("Data/Lg_Delphi/1"));
          QStringList topics = home_testing::repeated(QStringLiteral("click to create topic"), 10);
          topics[2] = QStringLiteral("Loops");
          topics[4] = QString();
          testing_support::writeBytes("Data/Lg_Delphi/1/topics.txt", home_testing::crlf(topics));
          QStringList pages =
              home_testing::repeated(QStringLiteral("click to edit page description"), 15);
          pages[3] = QStringLiteral("Generics");
          testing_support::writeBytes("Data/Lg_Delphi/aboutpages.txt", home_testing::crlf(pages));
        }) {
    form.setDialogs(&dialogs);
  }
};

QStringList homeLeftOut() {
  return numbered(QStringLiteral("page_txt_%1"), 15) +
         QStringList{"LG_Image_Chash",  "LG_Image_JS",    "LG_Image_Python", "LG_Image_GM2",
                     "LG_Image_Delphi", "LG_Image_Cplus", "LG_Image_Java",   "LG_Image_CSS",
                     "LG_Image_Html",   "temp",           "BackGround",      "border",
                     "borderL",         "borderR",        "borderB",         "CloseMN",
                     "Option1Text",     "Option2Text",    "Option3Text",     "LabelBgText",
                     "fadepage",        "FocusMark"};
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void everyWindowNamesItsControls();
  void homeControlsSayWhatTheyAre_data();
  void homeControlsSayWhatTheyAre();
  void selectionIsAnnouncedAndPressWorks();
  void editorTellsItsTopicAndUnsavedState();
};

void AccessibilityTest::cleanup() {
  // Editors outlive the window that opened them.
  QList<TEditorForm*> editors;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<TEditorForm*>(w)) editors << e;
  qDeleteAll(editors);
}

void AccessibilityTest::everyWindowNamesItsControls() {
  NotesHome h;
  // The home window as it opens, with the search bar, with the page selector.
  QCOMPARE(faults(&h.form, homeLeftOut()), QString());
  h.child("SearchPanel")->show();
  QCOMPARE(faults(&h.form, homeLeftOut()), QString());
  h.child("SearchPanel")->hide();
  QTest::mouseClick(h.child("pg_pages_view"), Qt::LeftButton);
  QVERIFY(h.child("PageSelect")->isVisible());
  QCOMPARE(faults(&h.form, homeLeftOut()), QString());
  h.child("PageSelect")->hide();

  // An editor, after a save (its tick and "Saved!" shown) and a find.
  QTest::mouseClick(h.topic(3), Qt::LeftButton);
  TEditorForm* editor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<TEditorForm*>(w)) editor = e;
  QVERIFY(editor);
  editor->SaveText();
  editor->findChild<QLineEdit*>("STXT")->setText(QStringLiteral("x"));
  editor->findChild<QPushButton*>("SearchBt")->click();
  const QStringList editorLeftOut{"BackGround", "BackGround2", "saved_icon", "storelocation",
                                  "lgpage",     "RestoreMemo", "border",     "borderL",
                                  "borderR",    "borderB",     "CloseMN"};
  QCOMPARE(faults(editor, editorLeftOut), QString());

  // The dialogs, each as it is shown.
  // Backgrounds, pictures and strips; the one-line dialogs call their strips Label2 and
  // Label3, which in the about window are the credits.
  const QStringList dialogLeftOut{"Image1", "BackGround", "icon", "border", "borderL", "borderR"};
  const QStringList oneLineLeftOut = dialogLeftOut + QStringList{"Label2", "Label3"};
  h.dialogs.ChangePA->openFor(QStringLiteral("Data/Lg_Delphi/aboutpages.txt"), 0, QString(),
                              &h.form);
  h.dialogs.TopicEdit->openFor(QStringLiteral("Lg_Delphi/1"), 3, QString(), editor);
  h.dialogs.AboutApp->ShowAbout(&h.form);
  QCOMPARE(faults(h.dialogs.ChangePA.get(), oneLineLeftOut), QString());
  QCOMPARE(faults(h.dialogs.TopicEdit.get(), oneLineLeftOut), QString());
  QCOMPARE(faults(h.dialogs.AboutApp.get(), dialogLeftOut), QString());
  for (const char* mode : {"error", "sucess", "information", "warning", ""}) {
    h.dialogs.ErrorFrame->StartHandle(QString::fromLatin1(mode), QStringLiteral("a"), QString(),
                                      QStringLiteral("Ok"));
    QCOMPARE(faults(h.dialogs.ErrorFrame.get(), dialogLeftOut), QString());
  }
}

void AccessibilityTest::homeControlsSayWhatTheyAre_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<int>("role");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  const int button = QAccessible::Button, choice = QAccessible::RadioButton;
  QTest::newRow("language") << "LG_Python" << choice << "Python"
                            << "";
  QTest::newRow("language with a sign") << "LG_Chash" << choice << "C#"
                                        << "";
  QTest::newRow("page with a description") << "pg_button_4" << choice << "Page 4"
                                           << "Generics";
  QTest::newRow("page without") << "pg_button_2" << choice << "Page 2"
                                << "click to edit page description";
  QTest::newRow("page selector") << "pg_pages_view" << button << "Page Selector"
                                 << "";
  QTest::newRow("page description") << "AboutPage" << button << "About This Page"
                                    << "click to edit page description";
  QTest::newRow("named topic") << "Topic_3" << button << "Loops"
                               << "";
  QTest::newRow("topic without a name") << "Topic_5" << button << "Topic 5"
                                        << "";
  QTest::newRow("exit") << "Option3Image" << button << "Exit"
                        << "Exit Program (ALT+F4)";
  QTest::newRow("theme") << "Option1Image" << button << "Theme"
                         << "Switch Themes (F4)";
  QTest::newRow("search") << "Option2Image" << button << "Search"
                          << "Search Topics (F3)";
  QTest::newRow("close") << "winbt_Close" << button << "Close"
                         << "";
  QTest::newRow("minimise") << "winbt_minimise" << button << "Minimise"
                            << "";
  QTest::newRow("search box") << "SearchBox" << int(QAccessible::EditableText) << "Search Topics"
                              << "Type here to search";
  // A push button's own hint is its description, even where it repeats the name.
  QTest::newRow("close search") << "CloseSearch" << button << "Close Search"
                                << "Close Search";
}

void AccessibilityTest::homeControlsSayWhatTheyAre() {
  QFETCH(QString, control);
  QFETCH(int, role);
  QFETCH(QString, name);
  QFETCH(QString, description);
  NotesHome h;
  QAccessibleInterface* i = item(h.child(control));
  QVERIFY(i);
  QCOMPARE(int(i->role()), role);
  QCOMPARE(i->text(QAccessible::Name), name);
  QCOMPARE(i->text(QAccessible::Description), description);
  if (role == QAccessible::Button) {
    QVERIFY(i->actionInterface());
    QVERIFY(
        i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  }
}

void AccessibilityTest::selectionIsAnnouncedAndPressWorks() {
  NotesHome h;
  const auto selected = [&](const char* name) {
    const QAccessible::State s = item(h.child(name))->state();
    return s.checked && s.selected;
  };
  QVERIFY(selected("LG_Delphi"));
  QVERIFY(!selected("LG_Python"));
  QVERIFY(selected("pg_button_1"));
  QVERIFY(!selected("pg_button_4"));
  // A screen reader's press acts as a click.
  item(h.child("LG_Python"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  item(h.child("pg_button_4"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_Python"));
  QCOMPARE(h.form.currentpage(), 4);
  QVERIFY(selected("LG_Python"));
  QVERIFY(!selected("LG_Delphi"));
  QVERIFY(selected("pg_button_4"));
  QVERIFY(!selected("pg_button_1"));
}

void AccessibilityTest::editorTellsItsTopicAndUnsavedState() {
  NotesHome h;
  QTest::mouseClick(h.topic(3), Qt::LeftButton);
  TEditorForm* e = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<TEditorForm*>(w)) e = found;
  QVERIFY(e);
  auto* memo = e->findChild<QPlainTextEdit*>("AllText");
  QAccessibleInterface* text = item(memo);
  QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Loops"));
  QCOMPARE(text->text(QAccessible::Description), QStringLiteral("No unsaved changes"));
  QTest::keyClicks(memo, QStringLiteral("for"));
  QCOMPARE(text->text(QAccessible::Description), QStringLiteral("Unsaved changes"));
  e->SaveText();
  QCOMPARE(text->text(QAccessible::Description), QStringLiteral("No unsaved changes"));

  struct Expect {
    const char* control;
    const char* name;
    const char* description;
  };
  const Expect named[] = {
      {"TitleInfo", "Loops", "Click to edit"},
      {"TrackBar1", "Font Size", ""},
      // On this desktop a combo box is called by its text: the font it shows.
      {"FontBox", "Calibri", ""},
      {"AutoSave", "Auto-Save", "Saves changes once every minute"},
      {"ReadOnly", "Read Only", "Disables editing document"},
      {"SaveBt", "Save", "Save Changes (Ctrl+S)"},
      {"BtRestore", "Restore", "Restore to last save"},
      {"SearchBt", "Find", "Click to search. Click again to search next"},
      {"STXT", "Find in Text", "Type Here to Search"},
  };
  for (const Expect& x : named) {
    QAccessibleInterface* i = item(e->findChild<QWidget*>(x.control));
    QCOMPARE(i->text(QAccessible::Name), QString::fromLatin1(x.name));
    QCOMPARE(i->text(QAccessible::Description), QString::fromLatin1(x.description));
  }
}

QUILL_TEST_MAIN(AccessibilityTest)
#include "tst_home_accessibility.moc"
