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

namespace {
// Whether `query` could be found inside one line: a line never holds a line break.
bool fitsInALine(const QString& query) {
  for (QChar c : query) {
    if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      return false;
    }
  }
  return !query.isEmpty();
}
}  // namespace

int TEditorForm::countFoundLines(const QString& query) {
  // Each click of the find button counts: unless something changed, the count of the click
  // before holds, and counting again would lay out every paragraph that holds the text.
  FoundLines now{query,
                 textEdits_,
                 AllText->font(),
                 AllText->lineWrapMode() * 16 + AllText->wordWrapMode(),
                 AllText->viewport()->width(),
                 -1};
  if (found_.count >= 0 && now.query == found_.query && now.textEdits == found_.textEdits &&
      now.font == found_.font && now.wrapMode == found_.wrapMode && now.width == found_.width)
    return found_.count;
  now.count = countShownLines(query);
  found_ = now;
  return now.count;
}

int TEditorForm::countShownLines(const QString& query) const {
  if (!fitsInALine(query)) return 0;
  QTextDocument* doc = AllText->document();
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(doc->documentLayout());
  // The document's text, one character per position, paragraphs separated by one character.
  const QString all = doc->toRawText();
  int count = 0;
  // Only paragraphs holding the text need laying out into their lines on screen.
  for (qsizetype at = all.indexOf(query, 0, Qt::CaseInsensitive); at >= 0;) {
    const QTextBlock block = doc->findBlock(int(at));
    const QString text = block.text();
    if (layout) layout->ensureBlockLayout(block);
    const QTextLayout* lines = block.layout();
    if (!lines || lines->lineCount() == 0) {
      ++count;
    } else {
      for (int i = 0; i < lines->lineCount(); ++i) {
        const QTextLine line = lines->lineAt(i);
        if (QStringView(text)
                .mid(line.textStart(), line.textLength())
                .contains(query, Qt::CaseInsensitive)) {
          ++count;
        }
      }
    }
    at = all.indexOf(query, block.position() + block.length(), Qt::CaseInsensitive);
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

void TEditorForm::SearchNext(QPlainTextEdit* AMemo, const QString& ATextToSearch, bool ACicle) {
  if (!fitsInALine(ATextToSearch)) return;
  const QTextDocument* doc = AMemo->document();
  const QString all = doc->toRawText();
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

    const int at = int(all.indexOf(ATextToSearch, from, Qt::CaseInsensitive));
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
