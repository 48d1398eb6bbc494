// The editor without a mouse: Ctrl+S from every control, Ctrl+Tab typing a tab, Ctrl+F to
// the find box, Enter there and F3 finding, and the settings notice of a new window shown
// above that window.
#include <QComboBox>
#include <QLineEdit>
#include <QWindow>
#include <QtTest>

#include "support/testmain.h"
#include "tst_editor_fixture.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

// A key as the window system delivers it: to the control with the keyboard focus.
void press(TEditorForm* e, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(e->windowHandle(), key, modifiers);
}

// An editor shown and active, on a topic holding `text`.
TEditorForm* activeEditor(Fixture& f, const QString& text) {
  writeBytes(kTopic7, savedBytes(text));
  TEditorForm* e = f.open();
  e->activateWindow();
  return QTest::qWaitForWindowActive(e) ? e : nullptr;
}

QString selected(TEditorForm* e) {
  return memo(e)->textCursor().selectedText();
}

}  // namespace

class EditorKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void ctrlSSavesFromEveryControl_data();
  void ctrlSSavesFromEveryControl();
  void ctrlTabTypesATab();
  void ctrlFGoesToTheFindBox_data();
  void ctrlFGoesToTheFindBox();
  void enterAndF3Find();
  void settingsNoticeShowsAboveItsEditor();
};

void EditorKeyboardTest::ctrlSSavesFromEveryControl_data() {
  QTest::addColumn<QString>("control");
  for (const char* name : {"AllText", "TrackBar1", "FontBox", "ReadOnly", "AutoSave", "STXT"})
    QTest::newRow(name) << name;
}

void EditorKeyboardTest::ctrlSSavesFromEveryControl() {
  QFETCH(QString, control);
  Fixture f;
  TEditorForm* e = activeEditor(f, QStringLiteral("old"));
  QVERIFY(e);
  typeAtEnd(e, QStringLiteral(" new"));
  e->findChild<QWidget*>(control)->setFocus();
  press(e, Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("old new")));
  QVERIFY(!dirty(e));
  // The key typed nothing anywhere.
  QCOMPARE(e->findChild<QLineEdit*>("STXT")->text(), QString());
  QCOMPARE(e->findChild<QComboBox*>("FontBox")->currentText(), QStringLiteral("Calibri"));
  QCOMPARE(e->memoText(), QStringLiteral("old new"));
  // Ctrl+Shift+S is not Ctrl+S.
  typeAtEnd(e, QStringLiteral("!"));
  e->findChild<QWidget*>(control)->setFocus();
  press(e, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(dirty(e));
}

void EditorKeyboardTest::ctrlTabTypesATab() {
  Fixture f;
  TEditorForm* e = activeEditor(f, QStringLiteral("ab"));
  QVERIFY(e);
  memo(e)->setFocus();
  QTextCursor c = memo(e)->textCursor();
  c.setPosition(1);
  memo(e)->setTextCursor(c);
  press(e, Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(e->memoText(), QStringLiteral("a\tb"));
  QVERIFY(memo(e)->hasFocus());
  QVERIFY(dirty(e));
  // Tab alone goes on to the font size.
  press(e, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("TrackBar1"));
  QCOMPARE(e->memoText(), QStringLiteral("a\tb"));
  // A read-only text takes no tab either.
  e->findChild<QWidget*>("ReadOnly")->setFocus();
  press(e, Qt::Key_Space);
  QVERIFY(memo(e)->isReadOnly());
  memo(e)->setFocus();
  press(e, Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(e->memoText(), QStringLiteral("a\tb"));
}

void EditorKeyboardTest::ctrlFGoesToTheFindBox_data() {
  QTest::addColumn<QString>("from");
  for (const char* name : {"AllText", "TrackBar1", "AutoSave", "STXT"}) QTest::newRow(name) << name;
}

void EditorKeyboardTest::ctrlFGoesToTheFindBox() {
  QFETCH(QString, from);
  Fixture f;
  TEditorForm* e = activeEditor(f, QStringLiteral("text"));
  QVERIFY(e);
  auto* find = e->findChild<QLineEdit*>("STXT");
  find->setText(QStringLiteral("earlier"));
  e->findChild<QWidget*>(from)->setFocus();
  press(e, Qt::Key_F, Qt::ControlModifier);
  QVERIFY(find->hasFocus());
  QCOMPARE(find->selectedText(), QStringLiteral("earlier"));  // typing replaces it
  QCOMPARE(e->memoText(), QStringLiteral("text"));
}

void EditorKeyboardTest::enterAndF3Find() {
  Fixture f;
  TEditorForm* e = activeEditor(f, QStringLiteral("Alpha beta ALPHA"));
  QVERIFY(e);
  press(e, Qt::Key_F, Qt::ControlModifier);
  press(e, Qt::Key_A);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("lpha"));
  press(e, Qt::Key_Return);
  QCOMPARE(label(e, "FindText")->text(), QStringLiteral("Text found on 1 lines."));
  QCOMPARE(selected(e), QStringLiteral("Alpha"));
  // The keyboard stays in the find box: Enter again looks further and types over nothing.
  QVERIFY(e->findChild<QWidget*>("STXT")->hasFocus());
  press(e, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(selected(e), QStringLiteral("ALPHA"));
  QCOMPARE(e->memoText(), QStringLiteral("Alpha beta ALPHA"));
  // F3 finds again from any control; the memo then has the keyboard, as after a click.
  e->findChild<QWidget*>("TrackBar1")->setFocus();
  press(e, Qt::Key_F3);
  QCOMPARE(selected(e), QStringLiteral("Alpha"));
  QVERIFY(memo(e)->hasFocus());
  press(e, Qt::Key_F3);
  QCOMPARE(selected(e), QStringLiteral("ALPHA"));
  QVERIFY(!dirty(e));
}

void EditorKeyboardTest::settingsNoticeShowsAboveItsEditor() {
  Fixture f;
  writeBytes(kSettings, "abc\r\n");
  // Whether the editor was already on screen when the notice appeared.
  struct Watch : QObject {
    QList<bool> editorShown;
    QPointer<TEditorForm> editor;
    bool eventFilter(QObject*, QEvent* ev) override {
      if (ev->type() == QEvent::Show) editorShown << (editor && editor->isVisible());
      return false;
    }
  } watch;
  f.dialogs.ErrorFrame->installEventFilter(&watch);
  auto* e = new TEditorForm(&f.dialogs);
  f.opened << e;
  watch.editor = e;
  QVERIFY(f.dialogs.ErrorFrame->isHidden());  // not before the window it belongs to
  e->show();
  QVERIFY(f.noticeShown(QStringLiteral("A Error has occured reading"),
                        QStringLiteral("the user settings.")));
  QCOMPARE(watch.editorShown, QList<bool>{true});
  QWindow* notice = f.dialogs.ErrorFrame->windowHandle();
  QCOMPARE(notice->transientParent(), e->windowHandle());
  QCOMPARE(f.dialogs.ErrorFrame->windowType(), Qt::Dialog);
}

QUILL_TEST_MAIN(EditorKeyboardTest)
#include "tst_editor_keyboard.moc"
