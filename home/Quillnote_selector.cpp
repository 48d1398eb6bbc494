// The page selector: an overlay listing the current language's fifteen pages with their
// descriptions; a click on one shows that page and closes the overlay.
#include "home/HomeParts.h"
#include "home/Quillnote_u.h"

#include "ui/build.h"
#include "ui/look.h"
#include "ui/platform.h"

namespace {

QRect jumpRect(int n) {
  return QRect(19, 53 + 25 * (n - 1), 390, 22);
}

}  // namespace

void TQuillnoteForm::createPageSelector() {
  // The backdrop is decoded when the selector is first opened, not at start-up.
  fadepage = ui::makeImageShownLater(PageSelect, QStringLiteral("fadepage"), QRect(0, 0, 433, 449),
                                     ui::Fit::Stretch, QStringLiteral("selector_card"));
  ui::onClick(fadepage, [this] { fadepageClick(); });
  for (int n = 1; n <= store::kPages; ++n) {
    QPushButton* b =
        ui::makeFlatButton(PageSelect, {QStringLiteral("jump_page_%1").arg(n), jumpRect(n)});
    b->setProperty("tag", n);
    connect(b, &QPushButton::clicked, this, [this, n] { ui::runReported([&] { PageJump(n); }); });
    jump_page[n - 1] = b;
  }
  Label1 = ui::makeLabel(PageSelect, {QStringLiteral("Label1"), QRect(136, 14, 178, 33),
                                      QStringLiteral("Page Selector"),
                                      ui::font(ui::Face::NexaLight, 27), ui::sys::WindowText});
}

void TQuillnoteForm::pg_pages_viewClick() {
  // A substitute face may need more height than the designed one: the title's letters below
  // the line stay whole. Measured when the selector opens rather than at start-up.
  Label1->resize(Label1->width(), std::max(Label1->height(), Label1->fontMetrics().height()));
  // The captions are taken when the overlay is opened (or closed): an open overlay keeps
  // the descriptions it was opened with.
  for (int n = 1; n <= store::kPages; ++n) {
    const QString d = page_txt[n - 1]->toolTip();
    const QString caption = d == store::kDescriptionPlaceholder
                                ? QStringLiteral("%1. Nothing Here").arg(n)
                                : QStringLiteral("%1. ").arg(n) + d;
    // The description is shown as written.
    jump_page[n - 1]->setText(ui::captionFor(caption));
  }
  if (PageSelect->isVisibleTo(this)) {
    hidePageSelector();
    return;
  }
  PageSelect->show();
  // Opened from the keyboard, the keyboard goes on to the page shown.
  if (pg_pages_view->hasFocus()) {
    const int shown = currentpage_ >= 1 && currentpage_ <= store::kPages ? currentpage_ : 1;
    jump_page[shown - 1]->setFocus(Qt::OtherFocusReason);
  }
}

void TQuillnoteForm::PageJump(int tag) {
  SetPage(tag);
  hidePageSelector();
}

void TQuillnoteForm::fadepageClick() {
  hidePageSelector();
}
