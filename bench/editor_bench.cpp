// bench_editor: a 5 MB topic (100,000 lines) in the real windows on the offscreen platform.
// Each step is driven the way the user does it (a click on the home window's topic button,
// a key press in the memo, Ctrl+S, a click on the find button) and timed until the events
// it caused, the repaint of the memo included, have been handled. Beside each figure: the
// same step in a bare Qt text box holding the same text, or the plain write of the same
// bytes for saving.
//
//   bench_editor [--runs N]      prints one result line per figure (milliseconds)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "bench/common.h"
#include "dialogs/Dialogs.h"
#include "editor/Editor_u.h"
#include "home/Quillnote_u.h"
#include "store/bootstrap.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "store/settings.h"
#include "store/topicfile.h"
#include "ui/application.h"
#include "ui/platform.h"

namespace {

// Any error report or question during a figure would make it meaningless: stop loudly.
class StrictPlatform : public ui::Platform {
 public:
  void errorReport(const QString& text) override { fail("error report", text); }
  ui::Answer confirm(QWidget*, const QString& text, bool) override {
    fail("question", text);
    return ui::Answer::Cancel;
  }
  void messageBox(QWidget*, const QString& text) override { fail("message box", text); }

 private:
  [[noreturn]] static void fail(const char* what, const QString& text) {
    std::fprintf(stderr, "bench_editor: unexpected %s: %s\n", what, qPrintable(text));
    std::exit(1);
  }
};

// Counts paints: of a memo's text area, and of any widget at all.
class PaintWatch : public QObject {
 public:
  int memo = 0;
  int any = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++any;
      if (watched->parent() && qobject_cast<QPlainTextEdit*>(watched->parent())) ++memo;
    }
    return false;
  }
};

// Handles every pending event until `paints` has grown past `before` (what the step
// changed has been painted), so a figure covers what the user sees, not just the call.
void settle(const int& paints, int before) {
  QElapsedTimer guard;
  guard.start();
  do {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  } while (paints == before && guard.elapsed() < 5000);
  if (paints == before) {
    std::fprintf(stderr, "bench_editor: nothing was painted\n");
    std::exit(1);
  }
}

double msSince(const QElapsedTimer& t) {
  return double(t.nsecsElapsed()) / 1e6;
}

TEditorForm* newestEditor(const QList<QPointer<TEditorForm>>& known) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* e = qobject_cast<TEditorForm*>(w);
    if (e && !known.contains(e)) return e;
  }
  return nullptr;
}

// A bare text box of the memo's size, shown and holding `text`.
QPlainTextEdit* bareMemo(const QString& text) {
  auto* m = new QPlainTextEdit;
  m->setAttribute(Qt::WA_DeleteOnClose);
  m->resize(544, 453);
  m->setPlainText(text);
  m->show();
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ui::Application app(argc, argv);
  int runs = 7;
  for (int i = 1; i + 1 < argc; ++i) {
    if (QByteArray(argv[i]) == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
  }
  StrictPlatform strict;
  ui::ScopedPlatform platform(&strict);
  PaintWatch paints;
  app.installEventFilter(&paints);

  // A data tree with settings already chosen and the large topic in slot 1 of page 1.
  const QString root = QDir::current().absoluteFilePath(QStringLiteral("bench-editor-data"));
  QDir(root).removeRecursively();
  QDir().mkpath(root);
  const QString previous = QDir::currentPath();
  QDir::setCurrent(root);
  store::makeDataTree();
  store::writeSettings(store::settingsPath(), store::EditorSettings{});
  const QString text = bench::largeTopicText();
  const QString topic = store::topicPath(QStringLiteral("Lg_Delphi"), 1, 1);
  store::saveTopic(topic, text);
  const QByteArray topicPath8 = QFile::encodeName(topic);
  std::fprintf(stderr, "large topic: %d lines, %lld bytes\n", bench::kLargeLines,
               static_cast<long long>(store::encodeTopic(text).size()));

  Dialogs dialogs;
  TQuillnoteForm home;
  home.setDialogs(&dialogs);
  home.show();
  QCoreApplication::processEvents();
  QPushButton* topic1 = home.findChild<QPushButton*>(QStringLiteral("Topic_1"));

  // Opening: a click on the topic's button until the new editor has painted the text.
  std::vector<double> open, openRef;
  QList<QPointer<TEditorForm>> known;
  for (int r = 0; r < runs; ++r) {
    int before = paints.memo;
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(topic1, Qt::LeftButton);
    settle(paints.memo, before);
    open.push_back(msSince(t));
    TEditorForm* e = newestEditor(known);
    if (!e || e->memoText().size() != text.size()) {
      std::fprintf(stderr, "bench_editor: the editor did not show the large topic\n");
      return 1;
    }
    e->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    before = paints.memo;
    t.restart();
    const QString read = QString::fromUtf8(bench::rawRead(topicPath8.constData()));
    QPlainTextEdit* bare = bareMemo(read);
    settle(paints.memo, before);
    openRef.push_back(msSince(t));
    bare->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  bench::printRow("editor_open_5mb", bench::median(open), bench::median(openRef), "ms");

  // One editor (and one bare text box) stays open for the rest.
  QTest::mouseClick(topic1, Qt::LeftButton);
  settle(paints.memo, paints.memo);
  TEditorForm* editor = newestEditor(known);
  QPlainTextEdit* memo = editor->findChild<QPlainTextEdit*>(QStringLiteral("AllText"));
  QPlainTextEdit* bare = bareMemo(text);
  settle(paints.memo, paints.memo);

  // A key press at the end of the text, until the memo shows the character.
  std::vector<double> key, keyRef;
  memo->moveCursor(QTextCursor::End);
  bare->moveCursor(QTextCursor::End);
  for (int r = 0; r < runs; ++r) {
    int before = paints.memo;
    QElapsedTimer t;
    t.start();
    QTest::keyClick(memo, Qt::Key_X);
    settle(paints.memo, before);
    key.push_back(msSince(t));

    before = paints.memo;
    t.restart();
    QTest::keyClick(bare, Qt::Key_X);
    settle(paints.memo, before);
    keyRef.push_back(msSince(t));
  }
  if (!editor->memoText().endsWith(QString(runs, u'x'))) {
    std::fprintf(stderr, "bench_editor: the typed characters are not in the text\n");
    return 1;
  }
  bench::printRow("editor_keystroke_5mb", bench::median(key), bench::median(keyRef), "ms");

  // Ctrl+S after a change, until "Saved!" is on screen; beside it the plain durable write
  // of the bytes the topic file gets.
  std::vector<double> save, saveRef;
  auto* restore = editor->findChild<QPushButton*>(QStringLiteral("BtRestore"));
  const QByteArray scratch = QFile::encodeName(store::topicPath(QStringLiteral("Lg_Delphi"), 1, 9));
  for (int r = 0; r < runs; ++r) {
    QTest::keyClick(memo, Qt::Key_Y);
    settle(paints.memo, paints.memo);
    const int before = paints.any;
    QElapsedTimer t;
    t.start();
    QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier);
    settle(paints.any, before);
    save.push_back(msSince(t));
    if (restore->isEnabled()) {
      std::fprintf(stderr, "bench_editor: Ctrl+S did not save\n");
      return 1;
    }
    const QByteArray bytes = store::encodeTopic(editor->memoText());
    t.restart();
    bench::rawWriteSynced(scratch.constData(), bytes);
    saveRef.push_back(msSince(t));
  }
  if (store::loadTopic(topic).value_or(QString()) != editor->memoText()) {
    std::fprintf(stderr, "bench_editor: the saved file differs from the text\n");
    return 1;
  }
  bench::printRow("editor_save_5mb", bench::median(save), bench::median(saveRef), "ms");

  // Find next: a click on the find button with a word on every 97th line, from the top;
  // beside it Qt's own find-next in the bare text box.
  std::vector<double> find, findRef;
  editor->findChild<QLineEdit*>(QStringLiteral("STXT"))->setText(bench::kFindWord);
  auto* searchBt = editor->findChild<QPushButton*>(QStringLiteral("SearchBt"));
  memo->moveCursor(QTextCursor::Start);
  bare->moveCursor(QTextCursor::Start);
  int lastFound = -1;
  for (int r = 0; r < runs; ++r) {
    int before = paints.memo;
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(searchBt, Qt::LeftButton);
    settle(paints.memo, before);
    find.push_back(msSince(t));
    const QTextCursor found = memo->textCursor();
    if (found.selectedText().compare(bench::kFindWord, Qt::CaseInsensitive) != 0 ||
        found.selectionStart() <= lastFound) {
      std::fprintf(stderr, "bench_editor: find did not select the next occurrence\n");
      return 1;
    }
    lastFound = found.selectionStart();

    before = paints.memo;
    t.restart();
    bare->find(bench::kFindWord);
    settle(paints.memo, before);
    findRef.push_back(msSince(t));
  }
  bench::printRow("editor_find_next_5mb", bench::median(find), bench::median(findRef), "ms");

  bare->close();
  editor->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QDir::setCurrent(previous);
  QDir(root).removeRecursively();
  return 0;
}
