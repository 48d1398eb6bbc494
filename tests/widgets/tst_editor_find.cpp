// Find in topic: the count of lines as shown that hold the text, and each click selecting
// the next occurrence after the selection, in any letter case, starting again at the top.
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include "support/testmain.h"
#include "tst_editor_fixture.h"
#include "ui/build.h"
#include "ui/look.h"

using namespace editor_tests;
using testing_support::writeBytes;

namespace {
QLabel* findText(TEditorForm* e) {
  return label(e, "FindText");
}

void search(TEditorForm* e, const QString& query) {
  e->findChild<QLineEdit*>(QStringLiteral("STXT"))->setText(query);
  QTest::mouseClick(button(e, "SearchBt"), Qt::LeftButton);
}
}  // namespace

class EditorFindTest : public QObject {
  Q_OBJECT

 private slots:
  void clicksStepThroughOccurrences_data();
  void clicksStepThroughOccurrences();
  void wrappedParagraphCountsEachLineShown();
  void countFollowsTheTextAndTheLinesShown();
  void searchFromTheUsersSelection();
  void absentTextStopsAfterOneWrap();
};

void EditorFindTest::clicksStepThroughOccurrences_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("query");
  QTest::addColumn<bool>("readOnly");
  QTest::addColumn<QString>("result");  // empty: the result line is hidden
  QTest::addColumn<bool>("found");
  QTest::addColumn<QList<int>>("starts");  // selection start after each click; -1: none

  const QString one = QStringLiteral("Alpha beta ALPHA");
  QTest::newRow("one line") << one << "alpha" << false << "Text found on 1 lines." << true
                            << QList<int>{0, 11, 0};
  QTest::newRow("read-only memo") << one << "alpha" << true << "Text found on 1 lines." << true
                                  << QList<int>{0, 11, 0};
  QTest::newRow("several lines") << "one\ntwo alpha\nalpha three\nALPHA"
                                 << "alpha" << false << "Text found on 3 lines." << true
                                 << QList<int>{8, 14, 26, 8};
  QTest::newRow("only the last characters")
      << "x\nfind me"
      << "me" << false << "Text found on 1 lines." << true << QList<int>{7, 7, 7};
  QTest::newRow("text ends with a line break")
      << "ab\nab\n"
      << "AB" << false << "Text found on 2 lines." << true << QList<int>{0, 3, 0};
  QTest::newRow("letters beyond ASCII")
      << QStringLiteral("\u00C4rger und \u00E4rger") << QStringLiteral("\u00C4RGER") << false
      << "Text found on 1 lines." << true << QList<int>{0, 10, 0};
  QTest::newRow("not in the text")
      << "abc\ndef"
      << "zz" << false << "No matches for \"zz\" found." << false << QList<int>{-1, -1};
  QTest::newRow("empty query") << "abc"
                               << "" << false << "" << false << QList<int>{-1};
}

void EditorFindTest::clicksStepThroughOccurrences() {
  QFETCH(QString, text);
  QFETCH(QString, query);
  QFETCH(bool, readOnly);
  QFETCH(QString, result);
  QFETCH(bool, found);
  QFETCH(QList<int>, starts);
  Fixture f;
  writeBytes(kTopic7, savedBytes(text));
  TEditorForm* e = f.open();
  if (readOnly) QTest::mouseClick(e->findChild<QCheckBox*>("ReadOnly"), Qt::LeftButton);
  QCOMPARE(memo(e)->isReadOnly(), readOnly);

  for (int start : starts) {
    search(e, query);
    QCOMPARE(findText(e)->isVisible(), !result.isEmpty());
    if (!result.isEmpty()) {
      QCOMPARE(findText(e)->text(), result);
      QCOMPARE(ui::textColor(findText(e)), found ? ui::sys::MenuHighlight : ui::rgb::Red);
      QCOMPARE(findText(e)->width(), findText(e)->sizeHint().width());
    }
    const QTextCursor c = memo(e)->textCursor();
    if (start < 0) {
      QVERIFY(!c.hasSelection());
      QCOMPARE(c.position(), 0);
    } else {
      QCOMPARE(c.selectionStart(), start);
      QCOMPARE(c.selectedText(), text.mid(start, query.size()));
      QCOMPARE(c.selectedText().compare(query, Qt::CaseInsensitive), 0);
    }
  }
  QCOMPARE(e->memoText(), text);
  QVERIFY(!dirty(e));
}

// Lines are counted as they are shown: one long paragraph wraps into many lines.
void EditorFindTest::wrappedParagraphCountsEachLineShown() {
  Fixture f;
  const QString paragraph = QStringLiteral("needle ").repeated(300);
  writeBytes(kTopic7, savedBytes(paragraph + QStringLiteral("\nshort needle")));
  TEditorForm* e = f.open();
  search(e, QStringLiteral("needle"));
  const QString shown = findText(e)->text();
  QVERIFY2(shown.startsWith(QStringLiteral("Text found on ")), qPrintable(shown));
  const int lines = shown.mid(14).section(u' ', 0, 0).toInt();
  QVERIFY2(lines > 20, qPrintable(shown));  // 2100 characters on a memo 544 pixels wide
  // The same text unwrapped in one paragraph per occurrence counts once per paragraph.
  TEditorForm* narrow = f.open(8);
  narrow->findChild<QPlainTextEdit*>("AllText")->setLineWrapMode(QPlainTextEdit::NoWrap);
  narrow->findChild<QPlainTextEdit*>("AllText")->setPlainText(paragraph + "\nshort needle");
  search(narrow, QStringLiteral("needle"));
  QCOMPARE(findText(narrow)->text(), QStringLiteral("Text found on 2 lines."));
}

// Clicks after the first reuse its count only while nothing it depends on changed: the text,
// the query, the font and how the memo wraps its lines.
void EditorFindTest::countFollowsTheTextAndTheLinesShown() {
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("needle ").repeated(300)));
  TEditorForm* e = f.open();
  QPlainTextEdit* m = memo(e);
  const auto count = [&](const QString& query) {
    search(e, query);
    return findText(e)->text().mid(14).section(u' ', 0, 0).toInt();
  };
  const int wrapped = count(QStringLiteral("needle"));
  QVERIFY(wrapped > 20);
  QCOMPARE(count(QStringLiteral("needle")), wrapped);
  QFont larger = m->font();
  larger.setPixelSize(m->fontInfo().pixelSize() * 2);
  m->setFont(larger);
  QVERIFY(count(QStringLiteral("needle")) > wrapped);
  m->setLineWrapMode(QPlainTextEdit::NoWrap);
  QCOMPARE(count(QStringLiteral("needle")), 1);
  m->moveCursor(QTextCursor::End);
  QTest::keyClick(m, Qt::Key_Return);
  QTest::keyClicks(m, QStringLiteral("needle"));
  QCOMPARE(count(QStringLiteral("needle")), 2);
  QCOMPARE(count(QStringLiteral("needle n")), 1);
}

void EditorFindTest::searchFromTheUsersSelection() {
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("cat\ncat\ncat")));
  TEditorForm* e = f.open();
  QTextCursor c = memo(e)->textCursor();
  c.setPosition(5);
  c.setPosition(6, QTextCursor::KeepAnchor);  // inside the second "cat"
  memo(e)->setTextCursor(c);
  search(e, QStringLiteral("CAT"));
  QCOMPARE(memo(e)->textCursor().selectionStart(), 8);
}

// Asked for a text that is nowhere, the search starts at the top once and then gives up.
void EditorFindTest::absentTextStopsAfterOneWrap() {
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("some\ntext")));
  TEditorForm* e = f.open();
  QTextCursor c = memo(e)->textCursor();
  c.setPosition(6);
  memo(e)->setTextCursor(c);
  e->SearchNext(memo(e), QStringLiteral("absent"), true);
  QCOMPARE(memo(e)->textCursor().position(), 0);
  QVERIFY(!memo(e)->textCursor().hasSelection());
}

QUILL_TEST_MAIN(EditorFindTest)
#include "tst_editor_find.moc"
