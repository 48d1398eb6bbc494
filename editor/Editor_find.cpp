// Find in topic: count the lines, as shown, that contain a text, then step through its
// occurrences with each click, starting again at the top after the last one.
#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include "editor/Editor_u.h"
#include "ui/build.h"
#include "ui/look.h"

int TEditorForm::countFoundLines(const QString& query) const {
  if (query.isEmpty()) return 0;
  QTextDocument* doc = AllText->document();
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(doc->documentLayout());
  int count = 0;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    // Only paragraphs holding the text need laying out into their lines on screen.
    if (!text.contains(query, Qt::CaseInsensitive)) continue;
    if (layout) layout->ensureBlockLayout(block);
    const QTextLayout* lines = block.layout();
    if (!lines || lines->lineCount() == 0) {
      ++count;
      continue;
    }
    for (int i = 0; i < lines->lineCount(); ++i) {
      const QTextLine line = lines->lineAt(i);
      if (QStringView(text)
              .mid(line.textStart(), line.textLength())
              .contains(query, Qt::CaseInsensitive)) {
        ++count;
      }
    }
  }
  return count;
}

void TEditorForm::SearchBtClick() {
  const QString query = STXT->text();
  const int count = countFoundLines(query);
  if (count > 0) {
    ui::setTextColor(FindText, ui::sys::MenuHighlight);
    FindText->setText(QStringLiteral("Text found on %1 lines.").arg(count));
  } else {
    ui::setTextColor(FindText, ui::rgb::Red);
    FindText->setText(QStringLiteral("No matches for \"%1\" found.").arg(query));
  }
  FindText->adjustSize();
  FindText->show();
  if (count > 0) SearchNext(AllText, query, true);
  if (query.isEmpty()) FindText->hide();
}

namespace {
// The position of the first occurrence of `query` (any letter case) at or after `from`.
// A query never spans lines, so each paragraph is searched on its own.
int findFrom(const QTextDocument* doc, const QString& query, int from) {
  QTextBlock block = doc->findBlock(from);
  int offset = from - block.position();
  for (; block.isValid(); block = block.next(), offset = 0) {
    const int at = block.text().indexOf(query, offset, Qt::CaseInsensitive);
    if (at >= 0) return block.position() + at;
  }
  return -1;
}
}  // namespace

void TEditorForm::SearchNext(QPlainTextEdit* AMemo, const QString& ATextToSearch, bool ACicle) {
  if (ATextToSearch.isEmpty()) return;
  const QTextDocument* doc = AMemo->document();
  // One pass from the selection, and at most one more from the top.
  for (bool wrapAllowed = ACicle;; wrapAllowed = false) {
    // The search starts just after the selection. It starts at the top instead when that
    // point is the last character or the end, counting two characters (CR LF) for each
    // line break as the saved file does.
    const int end = AMemo->textCursor().selectionEnd();
    const int length = doc->characterCount() - 1;
    const int breaksBefore = doc->findBlock(end).blockNumber();
    const int savedEnd = end + breaksBefore;
    const int savedLength = length + doc->blockCount() - 1;
    const int from = savedEnd + 1 >= savedLength ? 0 : end;

    const int at = findFrom(doc, ATextToSearch, from);
    if (at >= 0) {
      QTextCursor select(AMemo->document());
      select.setPosition(at);
      select.setPosition(at + ATextToSearch.size(), QTextCursor::KeepAnchor);
      AMemo->setTextCursor(select);
      AMemo->setFocus();
      return;
    }
    if (!wrapAllowed) return;
    QTextCursor top(AMemo->document());
    top.setPosition(0);
    AMemo->setTextCursor(top);
  }
}
