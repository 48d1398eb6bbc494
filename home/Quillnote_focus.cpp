// The home window from the keyboard and for screen readers: which controls Tab reaches and
// in what order, the arrow keys along the rows of languages, pages and topics, Escape
// leaving the page selector and the search bar, the focus mark, and what screen readers are
// told of each control.
#include <QKeyEvent>
#include <algorithm>

#include "home/HomeParts.h"
#include "home/Quillnote_u.h"
#include "ui/access.h"

namespace {

bool isArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// Keys that show the user works with the keyboard: the focus mark appears.
bool movesFocus(const QKeyEvent* key) {
  const int k = key->key();
  return k == Qt::Key_Tab || k == Qt::Key_Backtab || isArrow(k) || k == Qt::Key_Return ||
         k == Qt::Key_Enter || k == Qt::Key_Space || k == Qt::Key_Escape;
}

}  // namespace

void TQuillnoteForm::createKeyboardAccess() {
  namespace access = ui::access;
  focusMark_ = new home::FocusMark(this);
  access::leaveOut(focusMark_);
  // Labels and pictures that act on a click take the focus by Tab (never by the mouse, so a
  // click leaves the keyboard where it is); Enter and Space then click them.
  QList<QWidget*> stops;
  for (const LanguageControls& lang : languages_) stops << lang.circle;
  for (QLabel* d : pg_button) stops << d;
  stops << pg_pages_view << AboutPage;
  for (QPushButton* b : Topic) stops << b;
  stops << Option1Image << Option2Image << Option3Image << StartSearch << CloseSearch;
  for (QPushButton* b : jump_page) stops << b;
  for (QWidget* w : stops) {
    w->setFocusPolicy(Qt::TabFocus);
    w->installEventFilter(this);
  }
  installEventFilter(this);  // keys and presses on the window itself

  // Pictures that only decorate, and captions another control carries.
  for (QWidget* w : {static_cast<QWidget*>(BackGround), static_cast<QWidget*>(temp),
                     static_cast<QWidget*>(LabelBgText), static_cast<QWidget*>(fadepage)}) {
    access::leaveOut(w);
  }
  access::button(pg_pages_view, pg_pages_view->toolTip());
  access::button(AboutPage, AboutPageTitle->text(), [this] { return AboutPage->text(); });
  for (const auto& [image, text] :
       {std::pair{Option1Image, Option1Text}, std::pair{Option2Image, Option2Text},
        std::pair{Option3Image, Option3Text}}) {
    access::button(image, text->text());
    access::leaveOut(text);
  }
  access::name(QuickActionsMenu, QStringLiteral("Quick Actions"));
  access::name(SearchPanel, QStringLiteral("Search Bar"));
  access::name(PageSelect, Label1->text());
  access::name(StartSearch, StartSearch->toolTip());
  access::name(CloseSearch, CloseSearch->toolTip());
  access::name(SearchBox, QStringLiteral("Search Topics"), SearchBox->placeholderText());
}

QList<QList<QWidget*>> TQuillnoteForm::focusRows() const {
  if (PageSelect->isVisibleTo(this)) {
    QList<QWidget*> pages;
    for (QPushButton* b : jump_page) pages << b;
    return {pages};
  }
  QList<QWidget*> languages;
  for (const LanguageControls& lang : languages_) languages << lang.circle;
  // Left to right on screen.
  std::sort(languages.begin(), languages.end(),
            [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
  QList<QWidget*> pages(pg_button.begin(), pg_button.end());
  QList<QWidget*> topics(Topic.begin(), Topic.end());
  QList<QList<QWidget*>> rows = {languages, pages, {pg_pages_view}, {AboutPage}, topics};
  // The open search bar lies over the quick actions.
  if (SearchPanel->isVisibleTo(this))
    rows << QList<QWidget*>{CloseSearch} << QList<QWidget*>{SearchBox}
         << QList<QWidget*>{StartSearch};
  else
    rows << QList<QWidget*>{Option3Image, Option1Image, Option2Image};  // Exit, Theme, Search
  return rows;
}

bool TQuillnoteForm::focusNextPrevChild(bool next) {
  QList<QWidget*> order;
  for (const QList<QWidget*>& row : focusRows()) order << row;
  const qsizetype at = order.indexOf(focusWidget());
  qsizetype to;
  if (at < 0)
    to = next ? 0 : order.size() - 1;
  else
    to = (at + (next ? 1 : order.size() - 1)) % order.size();
  order.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

bool TQuillnoteForm::navigationKey(QWidget* on, const QKeyEvent* key) {
  if (!movesFocus(key)) return false;
  keyboardUsed_ = true;
  updateFocusMark();
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
    if (PageSelect->isVisibleTo(this)) {
      hidePageSelector();
      return true;
    }
    if (SearchPanel->isVisibleTo(this) && SearchPanel->isAncestorOf(on)) {
      CloseSearchClick();
      return true;
    }
    return false;
  }
  // The arrows move along a row of languages, pages or topics, stopping at its ends.
  if (!isArrow(key->key()) || key->modifiers() != Qt::NoModifier) return false;
  for (const QList<QWidget*>& row : focusRows()) {
    const qsizetype at = row.indexOf(on);
    if (at < 0 || row.size() < 2) continue;
    const bool forward = key->key() == Qt::Key_Right || key->key() == Qt::Key_Down;
    const qsizetype to = std::clamp<qsizetype>(at + (forward ? 1 : -1), 0, row.size() - 1);
    row.at(to)->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
  }
  return false;
}

void TQuillnoteForm::updateFocusMark() {
  QWidget* focus = focusWidget();
  bool marked = keyboardUsed_ && focus && focus != SearchBox && focus->isVisibleTo(this);
  if (marked) {
    marked = false;
    for (const QList<QWidget*>& row : focusRows()) marked = marked || row.contains(focus);
  }
  focusMark_->follow(marked ? focus : nullptr);
}

void TQuillnoteForm::openSearchBar() {
  if (!SearchPanel->isAncestorOf(focusWidget())) beforeSearch_ = focusWidget();
  SearchPanel->show();
  SearchBox->setFocus(Qt::OtherFocusReason);
}

void TQuillnoteForm::hideSearchBar() {
  // The keyboard goes back where it was before the bar took it, before the bar hides.
  if (SearchPanel->isAncestorOf(focusWidget())) {
    QWidget* back = beforeSearch_ && beforeSearch_->isVisible() ? beforeSearch_.data() : this;
    back->setFocus(Qt::OtherFocusReason);
  }
  SearchPanel->hide();
}

void TQuillnoteForm::hidePageSelector() {
  if (PageSelect->isAncestorOf(focusWidget())) pg_pages_view->setFocus(Qt::OtherFocusReason);
  PageSelect->hide();
}
