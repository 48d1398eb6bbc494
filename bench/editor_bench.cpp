// bench_editor: a 5 MB topic (100,000 lines) in the real windows on the offscreen platform.
// Each step is driven the way the user does it (a click on the home window's topic button,
// a key press in the memo, Ctrl+S, a click on the find button) and timed until the events
// it caused, the repaint of the memo included, have been handled. Beside each figure: the
// same step in a bare Qt text box holding the same text, or the plain durable write of the
// same text for saving. Then a topic of one unbroken 10 MB line, and the home window's
// reload of a page that did not change, with a 10 MB line in its topic list.
//
//   bench_editor [--runs N] [--only FIGURE]
//
// prints one result line per figure. --only runs the figures whose key contains FIGURE.
// Under callgrind (--collect-atstart=no) each timed step is collected alone and dumped
// under its own name, for instruction counts.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

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

// One timed step: from its creation to done(), in milliseconds; under callgrind it is
// collected alone and dumped as `name`.
class Step {
 public:
  explicit Step(const char* name) : name_(name) {
    CALLGRIND_TOGGLE_COLLECT;
    timer_.start();
  }
  double done() {
    const double ms = double(timer_.nsecsElapsed()) / 1e6;
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(name_);
    return ms;
  }

 private:
  const char* name_;
  QElapsedTimer timer_;
};

// Runs `action` as a step named `name` and handles events until what it changed has been
// painted; the step's milliseconds.
template <class Action>
double untilPainted(const char* name, const int& paints, Action action) {
  const int before = paints;
  Step step(name);
  action();
  settle(paints, before);
  return step.done();
}

// CPU time the process uses while it handles its events for `ms` milliseconds, as a
// percentage of one core.
double idleCpuPercent(int ms) {
  const long long cpu0 = bench::cpuNs();
  QElapsedTimer wall;
  wall.start();
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return 100.0 * double(bench::cpuNs() - cpu0) / double(wall.nsecsElapsed());
}

// The lines of `text` that hold `word`, any letter case: a plain walk over the text.
int linesHolding(const QString& text, const QString& word) {
  int count = 0;
  for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;) {
    ++count;
    const qsizetype end = text.indexOf(u'\n', at);
    if (end < 0) break;
    at = text.indexOf(word, end + 1, Qt::CaseInsensitive);
  }
  return count;
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
  QByteArray only;
  for (int i = 1; i + 1 < argc; ++i) {
    if (QByteArray(argv[i]) == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (QByteArray(argv[i]) == "--only") only = argv[i + 1];
  }
  const auto wanted = [&](const char* key) {
    return only.isEmpty() || QByteArray(key).contains(only);
  };
  StrictPlatform strict;
  ui::ScopedPlatform platform(&strict);
  PaintWatch paints;
  app.installEventFilter(&paints);

  // A data tree with settings already chosen, the large topic in slot 1 of page 1 and a
  // topic of one 10 MB line in slot 2.
  const QString root = QDir::current().absoluteFilePath(QStringLiteral("bench-editor-data"));
  QDir(root).removeRecursively();
  QDir().mkpath(root);
  const QString previous = QDir::currentPath();
  QDir::setCurrent(root);
  store::makeDataTree();
  store::writeSettings(store::settingsPath(), store::EditorSettings{});
  const QString lang = QStringLiteral("Lg_Delphi");
  const QString text = bench::largeTopicText();
  const QString topic = store::topicPath(lang, 1, 1);
  store::saveTopic(topic, text);
  const QByteArray topicPath8 = QFile::encodeName(topic);
  std::fprintf(stderr, "large topic: %d lines, %lld bytes\n", bench::kLargeLines,
               static_cast<long long>(store::encodeTopic(text).size()));
  const QString oneLine = bench::oneLineText();
  store::saveTopic(store::topicPath(lang, 1, 2), oneLine);

  Dialogs dialogs;
  TQuillnoteForm home;
  home.setDialogs(&dialogs);
  home.show();
  QCoreApplication::processEvents();
  QPushButton* topic1 = home.findChild<QPushButton*>(QStringLiteral("Topic_1"));
  QPushButton* topic2 = home.findChild<QPushButton*>(QStringLiteral("Topic_2"));
  QList<QPointer<TEditorForm>> known;
  const auto closeEditor = [](QWidget* e) {
    e->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };

  // Opening: a click on the topic's button until the new editor has painted the text.
  if (wanted("editor_open_5mb")) {
    std::vector<double> open, openRef;
    for (int r = 0; r < runs; ++r) {
      open.push_back(
          untilPainted("open", paints.memo, [&] { QTest::mouseClick(topic1, Qt::LeftButton); }));
      TEditorForm* e = newestEditor(known);
      if (!e || e->memoText().size() != text.size()) {
        std::fprintf(stderr, "bench_editor: the editor did not show the large topic\n");
        return 1;
      }
      closeEditor(e);

      QPlainTextEdit* bare = nullptr;
      openRef.push_back(untilPainted("open_reference", paints.memo, [&] {
        bare = bareMemo(QString::fromUtf8(bench::rawRead(topicPath8.constData())));
      }));
      closeEditor(bare);
    }
    bench::printRow("editor_open_5mb", bench::median(open), bench::median(openRef), "ms");
  }

  // One editor (and one bare text box) stays open for the rest.
  QTest::mouseClick(topic1, Qt::LeftButton);
  settle(paints.memo, paints.memo);
  TEditorForm* editor = newestEditor(known);
  known.append(editor);
  QPlainTextEdit* memo = editor->findChild<QPlainTextEdit*>(QStringLiteral("AllText"));
  QPlainTextEdit* bare = bareMemo(text);
  settle(paints.memo, paints.memo);

  // A key press at the end of the text, until the memo shows the character.
  if (wanted("editor_keystroke_5mb")) {
    std::vector<double> key, keyRef;
    memo->moveCursor(QTextCursor::End);
    bare->moveCursor(QTextCursor::End);
    for (int r = 0; r < runs; ++r) {
      key.push_back(
          untilPainted("keystroke", paints.memo, [&] { QTest::keyClick(memo, Qt::Key_X); }));
      keyRef.push_back(untilPainted("keystroke_reference", paints.memo,
                                    [&] { QTest::keyClick(bare, Qt::Key_X); }));
    }
    if (!editor->memoText().endsWith(QString(runs, u'x'))) {
      std::fprintf(stderr, "bench_editor: the typed characters are not in the text\n");
      return 1;
    }
    bench::printRow("editor_keystroke_5mb", bench::median(key), bench::median(keyRef), "ms");
  }

  // Ctrl+S after a change, until "Saved!" is on screen; beside it the bare text box's plain
  // text encoded and written durably (temporary file, sync, rename, sync of the folder).
  if (wanted("editor_save_5mb")) {
    std::vector<double> save, saveRef;
    auto* restore = editor->findChild<QPushButton*>(QStringLiteral("BtRestore"));
    const QByteArray scratch = QFile::encodeName(store::topicPath(lang, 1, 9));
    const QByteArray folder = QFile::encodeName(store::languageFolder(lang) + QStringLiteral("1"));
    for (int r = 0; r < runs; ++r) {
      QTest::keyClick(memo, Qt::Key_Y);
      settle(paints.memo, paints.memo);
      save.push_back(untilPainted("save", paints.any,
                                  [&] { QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier); }));
      if (restore->isEnabled()) {
        std::fprintf(stderr, "bench_editor: Ctrl+S did not save\n");
        return 1;
      }
      Step ref("save_reference");
      bench::rawReplaceSynced(folder.constData(), scratch.constData(),
                              bare->toPlainText().toUtf8());
      saveRef.push_back(ref.done());
    }
    if (store::loadTopic(topic).value_or(QString()) != editor->memoText()) {
      std::fprintf(stderr, "bench_editor: the saved file differs from the text\n");
      return 1;
    }
    bench::printRow("editor_save_5mb", bench::median(save), bench::median(saveRef), "ms");
  }

  // Find next: a click on the find button with a word on every 97th line, from the top;
  // beside it the document's text searched with QString::indexOf from the cursor.
  auto* stxt = editor->findChild<QLineEdit*>(QStringLiteral("STXT"));
  auto* searchBt = editor->findChild<QPushButton*>(QStringLiteral("SearchBt"));
  if (wanted("editor_find_next_5mb")) {
    std::vector<double> find, findRef;
    stxt->setText(bench::kFindWord);
    memo->moveCursor(QTextCursor::Start);
    bare->moveCursor(QTextCursor::Start);
    // The first click counts the lines; the figure is the clicks after it.
    QTest::mouseClick(searchBt, Qt::LeftButton);
    settle(paints.memo, paints.memo);
    int lastFound = memo->textCursor().selectionStart();
    for (int r = 0; r < runs; ++r) {
      find.push_back(untilPainted("find_next", paints.memo,
                                  [&] { QTest::mouseClick(searchBt, Qt::LeftButton); }));
      const QTextCursor found = memo->textCursor();
      if (found.selectedText().compare(bench::kFindWord, Qt::CaseInsensitive) != 0 ||
          found.selectionStart() <= lastFound) {
        std::fprintf(stderr, "bench_editor: find did not select the next occurrence\n");
        return 1;
      }
      lastFound = found.selectionStart();

      findRef.push_back(untilPainted("find_next_reference", paints.memo, [&] {
        const QString all = bare->document()->toPlainText();
        const qsizetype at =
            all.indexOf(bench::kFindWord, bare->textCursor().selectionEnd(), Qt::CaseInsensitive);
        QTextCursor select(bare->document());
        select.setPosition(int(at));
        select.setPosition(int(at + bench::kFindWord.size()), QTextCursor::KeepAnchor);
        bare->setTextCursor(select);
      }));
    }
    bench::printRow("editor_find_next_5mb", bench::median(find), bench::median(findRef), "ms");
  }

  // The first click for a word on every line of the 5 MB topic: the lines shown that hold
  // it are counted before the first is selected. Each run opens a fresh editor (nothing
  // laid out yet) and looks for another such word; beside it the same count of the
  // document's lines by a plain walk over its text.
  if (wanted("editor_find_count_5mb")) {
    const QString everyLine[] = {QStringLiteral("keeps its"), QStringLiteral(": the "),
                                 QStringLiteral(" of a "), QStringLiteral("keeps")};
    std::vector<double> count, countRef;
    for (int r = 0; r < runs; ++r) {
      const QString word = everyLine[r % 4];
      QTest::mouseClick(topic1, Qt::LeftButton);
      settle(paints.memo, paints.memo);
      TEditorForm* e = newestEditor(known);
      e->findChild<QLineEdit*>(QStringLiteral("STXT"))->setText(word);
      auto* button = e->findChild<QPushButton*>(QStringLiteral("SearchBt"));
      count.push_back(untilPainted("find_count", paints.memo,
                                   [&] { QTest::mouseClick(button, Qt::LeftButton); }));
      const QString shown = e->findChild<QLabel*>(QStringLiteral("FindText"))->text();
      if (!shown.startsWith(QStringLiteral("Text found on "))) {
        std::fprintf(stderr, "bench_editor: find did not count: %s\n", qPrintable(shown));
        return 1;
      }
      closeEditor(e);

      Step ref("find_count_reference");
      const int lines = linesHolding(bare->document()->toPlainText(), word);
      countRef.push_back(ref.done());
      if (lines < bench::kLargeLines) return 1;
    }
    bench::printRow("editor_find_count_5mb", bench::median(count), bench::median(countRef), "ms");
  }
  closeEditor(bare);
  closeEditor(editor);

  // A topic of one unbroken 10 MB line: opened, scrolled to its end and saved; the figure is the
  // CPU the program uses in the 3 seconds after, beside the same time idle before the topic was
  // opened.
  if (wanted("editor_line10mb")) {
    const double idleBefore = idleCpuPercent(3000);
    Step step("line10mb_open");
    QTest::mouseClick(topic2, Qt::LeftButton);
    settle(paints.memo, paints.memo);
    const double openMs = step.done();
    TEditorForm* e = newestEditor(known);
    auto* m = e->findChild<QPlainTextEdit*>(QStringLiteral("AllText"));
    Step work("line10mb_scroll_save");
    m->verticalScrollBar()->setValue(m->verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    m->moveCursor(QTextCursor::End);
    QTest::keyClick(m, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
    const double workMs = work.done();
    if (store::loadTopic(store::topicPath(lang, 1, 2)).value_or(QString()) != oneLine) {
      std::fprintf(stderr, "bench_editor: the 10 MB line was not saved\n");
      return 1;
    }
    std::fprintf(stderr, "10 MB line: open %.0f ms, scroll and save %.0f ms\n", openMs, workMs);
    bench::printRow("editor_line10mb_cpu_after", idleCpuPercent(3000), idleBefore, "%");
    closeEditor(e);
  }

  // The home window's reload of a page that did not change, with a 10 MB line in its topic
  // list, in CPU time per reload; beside it the two stat calls that tell a change.
  if (wanted("home_reload_tick")) {
    const QString topics = store::topicsPath(lang, 1);
    QStringList names = store::readLineFile(topics, store::kSlots);
    names[2] = oneLine;
    store::writeLines(topics, names);
    // A file read right after a write is read again until its times are old enough to
    // tell a change (store/linewatch.h).
    QThread::msleep(2200);
    home.LoadData(home.currentLG());
    if (home.topicCaption(3).size() < oneLine.size()) {
      std::fprintf(stderr, "bench_editor: the home window does not show the long name\n");
      return 1;
    }
    const QByteArray about8 = QFile::encodeName(store::aboutPagesPath(lang));
    const QByteArray topics8 = QFile::encodeName(topics);
    constexpr int kTicks = 2000;
    std::vector<double> tick, tickRef;
    for (int r = 0; r < runs; ++r) {
      Step step("reload_tick");
      long long cpu0 = bench::cpuNs();
      for (int i = 0; i < kTicks; ++i) home.LoadData(home.currentLG());
      tick.push_back(double(bench::cpuNs() - cpu0) / kTicks / 1000.0);
      step.done();
      cpu0 = bench::cpuNs();
      struct stat st;
      for (int i = 0; i < kTicks; ++i) {
        ::stat(about8.constData(), &st);
        ::stat(topics8.constData(), &st);
      }
      tickRef.push_back(double(bench::cpuNs() - cpu0) / kTicks / 1000.0);
    }
    bench::printRow("home_reload_tick", bench::median(tick), bench::median(tickRef), "us");
  }

  QDir::setCurrent(previous);
  QDir(root).removeRecursively();
  return 0;
}
