// The home window's topic search: the search bar, one search step per Enter or click, and
// the two-second green mark on the topic found.
#include <QKeyEvent>

#include "home/HomeParts.h"
#include "home/Quillnote_u.h"

#include "ui/build.h"
#include "ui/look.h"
#include "ui/platform.h"

void TQuillnoteForm::createSearchBar() {
  StartSearch = ui::makeFlatButton(
      SearchPanel, {QStringLiteral("StartSearch"), QRect(312, 5, 30, 30), QString(),
                    QStringLiteral("glyph_search"), QSize(), QStringLiteral("Search")});
  CloseSearch = ui::makeFlatButton(
      SearchPanel, {QStringLiteral("CloseSearch"), QRect(13, 5, 30, 30), QString(),
                    QStringLiteral("glyph_back"), QSize(), QStringLiteral("Close Search")});
  LabelBgText = ui::makeLabel(SearchPanel, {QStringLiteral("LabelBgText"), QRect(62, 9, 236, 27),
                                            QString(), SearchPanel->font(), ui::sys::InactiveBorder,
                                            Qt::AlignLeft | Qt::AlignTop, ui::rgb::SearchFrame});

  SearchBox = new QLineEdit(SearchPanel);
  SearchBox->setObjectName(QStringLiteral("SearchBox"));
  SearchBox->setGeometry(63, 10, 234, 25);
  SearchBox->setFrame(false);
  SearchBox->setAlignment(Qt::AlignCenter);
  SearchBox->setFont(ui::font(ui::Face::Tahoma, 16));
  ui::setBackground(SearchBox, ui::rgb::SearchBox);
  ui::setTextColor(SearchBox, ui::rgb::Grey);
  SearchBox->setPlaceholderText(QStringLiteral("Type here to search"));
  SearchBox->installEventFilter(this);

  connect(StartSearch, &QPushButton::clicked, this,
          ui::reported(this, &TQuillnoteForm::StartSearchClick));
  connect(CloseSearch, &QPushButton::clicked, this,
          ui::reported(this, &TQuillnoteForm::CloseSearchClick));
}

bool TQuillnoteForm::eventFilter(QObject* watched, QEvent* event) {
  // The window, the controls the keyboard reaches, and the search box: keys that move the
  // focus, presses of the mouse (on the window: those its labels and pictures pass on),
  // which hide the focus mark again, and the focus coming and going.
  if (event->type() == QEvent::KeyPress &&
      navigationKey(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event)))
    return true;
  if (event->type() == QEvent::MouseButtonPress) {
    keyboardUsed_ = false;
    updateFocusMark();
  }
  // The mark follows the focus between them.
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) updateFocusMark();
  if (watched == SearchBox && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ui::runReported([this] { SearchBoxKeyPress(); });
      return true;  // the Enter goes no further, whether or not a search ran
    }
  }
  return QWidget::eventFilter(watched, event);
}

int TQuillnoteForm::search(const QString& term) {
  const int page = store::search(currentLG_, currentpage_, term, searchState_);
  // The found slot is marked once the caller has shown its page.
  HighLight2sec->stop();
  BHighLight->start();
  return page;
}

void TQuillnoteForm::SearchBoxKeyPress() {
  if (!SearchBox->text().isEmpty()) SetPage(search(SearchBox->text()));
}

void TQuillnoteForm::StartSearchClick() {
  if (!SearchBox->text().isEmpty()) SetPage(search(SearchBox->text()));
}

void TQuillnoteForm::CloseSearchClick() {
  hideSearchBar();
  searchState_.prevsearchquery.clear();
}

void TQuillnoteForm::BHighLightTimer() {
  const int mark = searchState_.tohighlight;
  for (int k = 1; k <= store::kSlots; ++k) {
    home::setFontColour(Topic[k - 1], k == mark ? ui::rgb::Highlight : ui::sys::InactiveBorder);
  }
  if (!HighLight2sec->isActive()) HighLight2sec->start();
  BHighLight->stop();
}

void TQuillnoteForm::HighLight2secTimer() {
  for (QPushButton* b : Topic) home::setFontColour(b, ui::sys::InactiveBorder);
  HighLight2sec->stop();
}
