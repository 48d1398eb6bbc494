// A large topic (100,000 lines, about 5 MB): opening, typing at its end, saving and
// finding stay correct. The time each step takes is printed for the record; nothing here
// depends on the machine's speed.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>

#include "support/testmain.h"
#include "tst_editor_fixture.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {
constexpr int kLines = 100000;

QString largeText() {
  QStringList lines;
  lines.reserve(kLines);
  for (int i = 1; i <= kLines; ++i) {
    lines << QStringLiteral("line %1 of the large topic, with some filler text")
                 .arg(i, 6, 10, QLatin1Char('0'));
  }
  return lines.join(u'\n');
}

void report(const char* step, const QElapsedTimer& t) {
  qInfo("%-40s %6lld ms", step, static_cast<long long>(t.elapsed()));
}
}  // namespace

class EditorLargeTopicTest : public QObject {
  Q_OBJECT

 private slots:
  void largeTopicStaysCorrect();
  void longParagraphOpensAsAnyText_data();
  void longParagraphOpensAsAnyText();
};

void EditorLargeTopicTest::largeTopicStaysCorrect() {
  Fixture f;
  QElapsedTimer t;
  t.start();
  // An ordinary topic is set with the font's kerning and ligatures, as every text in the
  // program is; only a text of megabytes is set letter by letter.
  QVERIFY(!(memo(f.open(8))->font().styleStrategy() & QFont::PreferNoShaping));
  QCoreApplication::processEvents();
  report("open an empty topic", t);

  const QString text = largeText();
  const QByteArray file = savedBytes(text);
  writeBytes(kTopic7, file);
  qInfo("topic: %d lines, %lld bytes", kLines, static_cast<long long>(file.size()));

  t.restart();
  TEditorForm* e = f.open();
  QCoreApplication::processEvents();
  report("open (create, show, load, first layout)", t);
  QCOMPARE(memo(e)->document()->blockCount(), kLines);
  QVERIFY(memo(e)->font().styleStrategy() & QFont::PreferNoShaping);
  QVERIFY(!dirty(e));

  memo(e)->moveCursor(QTextCursor::End);
  t.restart();
  QTest::keyClick(memo(e), Qt::Key_X);
  QCoreApplication::processEvents();
  report("type one character at the end", t);
  QVERIFY(dirty(e));

  t.restart();
  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  report("save (Ctrl+S)", t);
  QCOMPARE(readBytes(kTopic7), file + "x");
  QVERIFY(!dirty(e));

  // A text found once, near the end.
  const QString last = QStringLiteral("line 099999 ");
  e->findChild<QLineEdit*>("STXT")->setText(last);
  memo(e)->moveCursor(QTextCursor::Start);
  t.restart();
  QTest::mouseClick(button(e, "SearchBt"), Qt::LeftButton);
  report("find a text on one line", t);
  QCOMPARE(label(e, "FindText")->text(), QStringLiteral("Text found on 1 lines."));
  const QTextCursor found = memo(e)->textCursor();
  QCOMPARE(found.selectionStart(), int(text.indexOf(last)));
  QCOMPARE(found.selectedText(), last);

  // A text on every line: every paragraph is laid out to count the lines shown.
  e->findChild<QLineEdit*>("STXT")->setText(QStringLiteral("FILLER"));
  t.restart();
  QTest::mouseClick(button(e, "SearchBt"), Qt::LeftButton);
  report("find a text on every line (first click)", t);
  QCOMPARE(label(e, "FindText")->text(), QStringLiteral("Text found on %1 lines.").arg(kLines));
  t.restart();
  QTest::mouseClick(button(e, "SearchBt"), Qt::LeftButton);
  report("find a text on every line (next click)", t);
  QCOMPARE(memo(e)->textCursor().selectedText(), QStringLiteral("filler"));

  t.restart();
  QTest::keyClick(memo(e), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(memo(e), Qt::Key_Y);
  f.platform.answers = {ui::Answer::Yes};
  QTest::mouseClick(button(e, "BtRestore"), Qt::LeftButton);
  report("restore", t);
  QCOMPARE(e->memoText(), text + "x");
}

void EditorLargeTopicTest::longParagraphOpensAsAnyText_data() {
  QTest::addColumn<QString>("text");
  const QString run = QStringLiteral("unbroken_").repeated(10000);  // 90,000 characters
  QTest::newRow("one long paragraph") << run;
  QTest::newRow("long paragraph first") << run + "\nsecond\n";
  QTest::newRow("long paragraph inside") << "first\n" + run + "\nlast";
}

// A topic whose paragraphs are long (a pasted blob) opens as any other: all of its text, the
// cursor at the top, nothing to undo, nothing unsaved; edited, it saves and restores whole.
void EditorLargeTopicTest::longParagraphOpensAsAnyText() {
  QFETCH(QString, text);
  Fixture f;
  writeBytes(kTopic7, savedBytes(text));
  TEditorForm* e = f.open();
  QCOMPARE(e->memoText(), text);
  QCOMPARE(memo(e)->textCursor().position(), 0);
  QVERIFY(!memo(e)->document()->isUndoAvailable());
  QVERIFY(!dirty(e));

  memo(e)->moveCursor(QTextCursor::End);
  QTest::keyClick(memo(e), Qt::Key_X);
  QVERIFY(dirty(e));
  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(readBytes(kTopic7), savedBytes(text + "x"));
  QTest::keyClick(memo(e), Qt::Key_Y);
  f.platform.answers = {ui::Answer::Yes};
  QTest::mouseClick(button(e, "BtRestore"), Qt::LeftButton);
  QCOMPARE(e->memoText(), text + "x");
  QVERIFY(!dirty(e));
  QVERIFY(!memo(e)->document()->isUndoAvailable());
}

QUILL_TEST_MAIN(EditorLargeTopicTest)
#include "tst_editor_largetopic.moc"
