#include "home/Quillnote_u.h"

#include <QApplication>
#include <QCloseEvent>
#include <utility>

#include "dialogs/ChangePgDes_u.h"
#include "dialogs/Dialogs.h"
#include "editor/Editor_u.h"
#include "home/HomeParts.h"
#include "store/ioerror.h"
#include "store/linefile.h"
#include "ui/access.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"
#include "ui/platform.h"
#include "ui/windows.h"

namespace {

using ui::Face;

constexpr int kWidth = 550;
constexpr int kHeight = 645;
// Controls whose pictures are decoded at the size they are shown at.
constexpr QRect kWallpaperRect(-6, 0, 556, kHeight);
constexpr QSize kCircleSize(34, 34);
constexpr QSize kDotSize(22, 22);
constexpr QSize kLogoSize(20, 21);
// The language shown when the window opens.
constexpr char kFirstLanguage[] = "Lg_Delphi";

using home::setFontColour;
using ui::pictureOrNothing;

// The language selectors, left to right on screen (also their creation order).
struct LanguageRow {
  const char* key;
  const char* circle;
  const char* logo;
  const char* picture;
  int left;
  int logoTop;
  const char* spoken;  // the language's name, as screen readers say it
};
constexpr LanguageRow kLanguageRows[] = {
    {"Lg_C#", "LG_Chash", "LG_Image_Chash", "logo_chash", 88, 110, "C#"},
    {"Lg_JS", "LG_JS", "LG_Image_JS", "logo_js", 128, 110, "JavaScript"},
    {"Lg_Python", "LG_Python", "LG_Image_Python", "logo_python", 168, 110, "Python"},
    {"Lg_GM2", "LG_Gm2", "LG_Image_GM2", "logo_gm2", 208, 110, "GameMaker"},
    {"Lg_Delphi", "LG_Delphi", "LG_Image_Delphi", "logo_delphi", 248, 110, "Delphi"},
    {"Lg_C++", "LG_Cplus", "LG_Image_Cplus", "logo_cplus", 287, 109, "C++"},
    {"Lg_Java", "LG_Java", "LG_Image_Java", "logo_java", 327, 110, "Java"},
    {"Lg_CSS", "LG_CSS", "LG_Image_CSS", "logo_css", 367, 110, "CSS"},
    {"Lg_Html", "LG_Html", "LG_Image_Html", "logo_html", 407, 110, "HTML"},
};

QRect pageDotRect(int n) {
  return QRect(QPoint(51 + 28 * (n - 1), 172), kDotSize);
}

QRect pageNumberRect(int n) {
  return n <= 9 ? QRect(58 + 28 * (n - 1), 175, 8, 16) : QRect(306 + 28 * (n - 10), 175, 16, 16);
}

QRect topicRect(int k) {
  return QRect(48, 280 + 30 * (k - 1), 433, 24);
}

QString s(const char* text) {
  return QString::fromUtf8(text);
}

// Setters that leave a control alone when nothing changes, so the half-second reload of an
// unchanged page neither repaints nor relayouts anything.
void setCaption(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

void setHint(QWidget* w, const QString& text) {
  if (w->toolTip() != text) w->setToolTip(text);
}

// An empty panel with its own font and font colour for what it will hold. Over `wallpaper`
// it shows the wallpaper's part behind it and hides whatever else lies there; without one
// it is transparent.
QWidget* makePanel(QWidget* parent, const QString& name, const QRect& rect, const QFont& font,
                   const QColor& colour, bool visible, const QLabel* wallpaper = nullptr) {
  QWidget* panel = wallpaper ? new home::WallpaperPanel(parent, wallpaper) : new QWidget(parent);
  panel->setObjectName(name);
  panel->setGeometry(rect);
  panel->setFont(font);
  ui::setTextColor(panel, colour);
  panel->setVisible(visible);
  return panel;
}

}  // namespace

QList<ui::ShownPicture> TQuillnoteForm::picturesAtStart() {
  QList<ui::ShownPicture> pictures = {{s("wlp_dark"), kWallpaperRect.size()},
                                      {s("crc_bl"), kCircleSize}};
  for (const LanguageRow& row : kLanguageRows) pictures.append({s(row.picture), kLogoSize});
  for (const char* name : {"crc_0", "pages_icon"}) pictures.append({s(name), kDotSize});
  for (const char* name : {"theme_dark", "search_icon", "exit_icon"})
    pictures.append({s(name), home::kQuickActionSize});
  // The marks of the selected language and page.
  pictures.append({{s("crc_1"), kCircleSize}, {s("crc_1"), kDotSize}});
  return pictures;
}

// The data tree is begun on a worker before anything else, while the controls are made: on a
// first start, making the folder of the first language takes about as long as the controls do.
TQuillnoteForm::TQuillnoteForm(QWidget* parent) : QWidget(parent), tree_(s(kFirstLanguage)) {
  setWindowTitle(QStringLiteral("Quillnote"));
  setFont(ui::font(Face::Tahoma, 11));
  resize(kWidth, kHeight);
  setMinimumSize(kWidth, kHeight);
  setMaximumWidth(kWidth);
  move(ui::screenCentredPos(this));
  createControls();
  // The window itself holds the keyboard focus, so its function keys work from the start
  // and again whenever it is reactivated, until the user clicks into the search box.
  setFocusPolicy(Qt::TabFocus);
  setFocus();
  FormCreate();
}

TQuillnoteForm::~TQuillnoteForm() {
  // A tree still being made is waited for: the program ends with its files on disk.
  waitForDataTree();
}

void TQuillnoteForm::waitForDataTree() {
  tree_.wait();
}

void TQuillnoteForm::setDialogs(Dialogs* dialogs) {
  dialogs_ = dialogs;
}

namespace {

using F = TQuillnoteForm;
namespace sys = ui::sys;

// One step of building the home window, a row of the table it is built from: a picture, a
// label centred in its rectangle, or a group of controls that a method of the window makes.
struct ControlRow {
  enum Kind { Picture, Centred, Group };
  Kind kind;
  QLabel* TQuillnoteForm::*control = nullptr;
  const char* name = "";
  QRect rect = {};
  const char* text = "";  // Picture: the picture's name
  Face face = Face::Tahoma;
  int px = 11;
  const QColor* colour = nullptr;
  void (TQuillnoteForm::*make)() = nullptr;  // Group

  static constexpr ControlRow picture(QLabel* TQuillnoteForm::*control, const char* name,
                                      QRect rect, const char* picture) {
    return {Picture, control, name, rect, picture};
  }
  static constexpr ControlRow centred(QLabel* TQuillnoteForm::*control, const char* name,
                                      QRect rect, const char* text, Face face, int px,
                                      const QColor& colour) {
    return {Centred, control, name, rect, text, face, px, &colour};
  }
  static constexpr ControlRow group(void (TQuillnoteForm::*make)()) {
    return {Group, nullptr, "", {}, "", Face::Tahoma, 11, nullptr, make};
  }
};

QLabel* makeControl(QWidget* window, const ControlRow& row) {
  const QString text = QString::fromUtf8(row.text);
  if (row.kind == ControlRow::Picture) {
    return ui::makeImage(window, s(row.name), row.rect, ui::Fit::Stretch,
                         pictureOrNothing(text, row.rect.size()));
  }
  return ui::makeLabel(window, {s(row.name), row.rect, text, ui::font(row.face, row.px),
                                *row.colour, Qt::AlignHCenter | Qt::AlignTop});
}

}  // namespace

void TQuillnoteForm::createControls() {
  using Row = ControlRow;
  // In creation order: later controls lie over earlier ones.
  static constexpr Row kControls[] = {
      Row::picture(&F::BackGround, "BackGround", kWallpaperRect, "wlp_dark"),
      Row::centred(&F::Title, "Title", {0, 24, 537, 60}, "Quillnote", Face::NexaLight, 48,
                   sys::InactiveBorder),
      Row::centred(&F::LanguageTitle, "LanguageTitle", {0, 74, 537, 23}, "Language", Face::NexaBold,
                   16, sys::Window),
      Row::group(&F::createLanguageRow),
      Row::centred(&F::PageTitle, "PageTitle", {0, 143, 537, 23}, "Page", Face::NexaBold, 16,
                   sys::Window),
      Row::group(&F::createPageRow),
      Row::centred(&F::AboutPage, "AboutPage", {0, 229, 537, 23}, "<insert page description>",
                   Face::SegoeUI, 11, sys::Window),
      Row::centred(&F::AboutPageTitle, "AboutPageTitle", {0, 208, 537, 23}, "About This Page",
                   Face::NexaBold, 16, sys::Window),
      Row::centred(&F::TopicsTitle, "TopicsTitle", {0, 253, 537, 23}, "Topics", Face::NexaBold, 16,
                   sys::Window),
      Row::group(&F::createFrame),
      Row::group(&F::createTopics),
      Row::picture(&F::pg_pages_view, "pg_pages_view", {QPoint(471, 172), kDotSize}, "pages_icon"),
      Row::centred(&F::copyright, "copyright", {8, 627, 537, 23},
                   "Copyright \u00A9 2026 The Quillnote developers", Face::NexaBold, 12,
                   sys::WindowText),
      Row::group(&F::createPanels),
      Row::group(&F::createTimers),
  };
  for (const Row& row : kControls) {
    if (row.kind == Row::Group)
      (this->*row.make)();
    else
      this->*row.control = makeControl(this, row);
  }
  // A description is shown as written, never interpreted as markup.
  AboutPage->setTextFormat(Qt::PlainText);
  ui::onClick(AboutPage, [this] { AboutPageClick(); });
  pg_pages_view->setToolTip(s("Page Selector"));
  ui::onClick(pg_pages_view, [this] { pg_pages_viewClick(); });
  // The footer reaches over the bottom strip; the pointer passes through it to the strip.
  copyright->setAttribute(Qt::WA_TransparentForMouseEvents);
  createKeyboardAccess();
}

void TQuillnoteForm::createLanguageRow() {
  // Language circles, then their logos over them.
  const QPixmap circle = pictureOrNothing(s("crc_bl"), kCircleSize);
  const QStringList& keys = store::languageKeys();
  for (const LanguageRow& row : kLanguageRows) {
    const auto slot = keys.indexOf(s(row.key));
    LanguageControls& lang = languages_.at(static_cast<size_t>(slot));
    lang.key = s(row.key);
    lang.circle = ui::makeImage(this, s(row.circle), QRect(QPoint(row.left, 103), kCircleSize),
                                ui::Fit::Stretch, circle);
    ui::onClick(lang.circle, [this, key = lang.key] { setlanguage(key); });
    ui::access::choice(lang.circle, s(row.spoken),
                       [this, key = lang.key] { return currentLG_ == key; });
  }
  for (const LanguageRow& row : kLanguageRows) {
    const QRect logoRect(QPoint(row.left + 7, row.logoTop), kLogoSize);
    QLabel* logo = ui::makeImage(this, s(row.logo), logoRect, ui::Fit::Stretch,
                                 pictureOrNothing(s(row.picture), logoRect.size()));
    ui::onClick(logo, [this, key = s(row.key)] { setlanguage(key); });
    ui::access::leaveOut(logo);  // part of its circle
  }
}

void TQuillnoteForm::createPageRow() {
  const QPixmap dot = pictureOrNothing(s("crc_0"), kDotSize);
  for (int n = 1; n <= store::kPages; ++n) {
    QLabel* d = ui::makeImage(this, QStringLiteral("pg_button_%1").arg(n), pageDotRect(n),
                              ui::Fit::Stretch, dot);
    ui::onClick(d, [this, n] { SetPage(n); });
    pg_button[n - 1] = d;
    // A page is told by its dot, with the description its number's hint shows.
    ui::access::choice(
        d, QStringLiteral("Page %1").arg(n), [this, n] { return currentpage_ == n; },
        [this, n] { return page_txt[n - 1]->toolTip(); });
  }
  temp = ui::makeImage(this, s("temp"), QRect(800, 56, 33, 22), ui::Fit::None);
  for (int n = 1; n <= store::kPages; ++n) {
    QLabel* t =
        ui::makeLabel(this, {QStringLiteral("page_txt_%1").arg(n), pageNumberRect(n),
                             QString::number(n), ui::font(Face::Tahoma, 13, true), ui::rgb::White});
    ui::onClick(t, [this, n] { SetPage(n); });
    page_txt[n - 1] = t;
    ui::access::leaveOut(t);
  }
}

void TQuillnoteForm::createFrame() {
  ui::ChromeLayout frame;
  frame.title = s("Quillnote - Home");
  frame.minimise = true;
  frame.resizable = true;
  frame.minHeight = kHeight;
  chrome = new ui::Chrome(this, frame);
  chrome->addDragPiece(chrome->borderL);
  chrome->addDragPiece(chrome->borderR);
}

void TQuillnoteForm::createTopics() {
  for (int k = 1; k <= store::kSlots; ++k) {
    QPushButton* b = ui::makeFlatButton(
        this, {QStringLiteral("Topic_%1").arg(k), topicRect(k), QString(), QString(), QSize(),
               QString(), ui::sys::InactiveBorder, ui::font(Face::Tahoma, 16)});
    connect(b, &QPushButton::clicked, this, [this, k] { ui::runReported([&] { BPress(k); }); });
    Topic[k - 1] = b;
    setTopicCaption(k, s("< Topic >"));
  }
}

void TQuillnoteForm::createPanels() {
  QuickActionsMenu = makePanel(this, s("QuickActionsMenu"), QRect(48, 576, 422, 60),
                               ui::font(Face::Tahoma, 8, true), ui::rgb::White, true);
  createQuickActions();
  SearchPanel = makePanel(this, s("SearchPanel"), QRect(1000, 580, 358, 41),
                          ui::font(Face::Tahoma, 11), ui::sys::InactiveBorder, false, BackGround);
  createSearchBar();
  PageSelect = makePanel(this, s("PageSelect"), QRect(600, 172, 434, 449),
                         ui::font(Face::Tahoma, 11), ui::sys::WindowText, false, BackGround);
  createPageSelector();
}

void TQuillnoteForm::createTimers() {
  AutoReload = ui::makeTimer(this, s("AutoReload"), 500);
  TIMERDELAYED = ui::makeTimer(this, s("TIMERDELAYED"), 10, true);
  BHighLight = ui::makeTimer(this, s("BHighLight"), 10);
  HighLight2sec = ui::makeTimer(this, s("HighLight2sec"), 2000);
  connect(AutoReload, &QTimer::timeout, this, ui::reported(this, &TQuillnoteForm::AutoReloadTimer));
  connect(TIMERDELAYED, &QTimer::timeout, this,
          ui::reported(this, &TQuillnoteForm::TIMERDELAYEDTimer));
  connect(BHighLight, &QTimer::timeout, this, ui::reported(this, &TQuillnoteForm::BHighLightTimer));
  connect(HighLight2sec, &QTimer::timeout, this,
          ui::reported(this, &TQuillnoteForm::HighLight2secTimer));
  for (QTimer* t : {AutoReload, TIMERDELAYED, BHighLight, HighLight2sec}) t->start();
}

void TQuillnoteForm::FormCreate() {
  SearchPanel->move(87, SearchPanel->y());
  PageSelect->move(47, PageSelect->y());
  // The data tree, then page 1 of the first language, then the theme file. An error ends
  // the step where it happens and is reported once; the window opens all the same. The rest
  // of the tree is made on a worker once the window is on its way to the screen; what it
  // fails with is reported once it has ended.
  ui::runReported([&] {
    tree_.finishStart();  // an error of the bootstrap is thrown here
    setlanguage(s(kFirstLanguage));
    SetPage(1);
    tree_.makeThemeFile();
  });
  // The worker's call is made and queued by Qt itself, by name: the window's thread reads
  // nothing the worker made.
  tree_.scheduleRest([this] { QMetaObject::invokeMethod(this, "treeDone", Qt::QueuedConnection); });
  QTimer::singleShot(0, this, [this] { tree_.startRest(); });
}

void TQuillnoteForm::treeDone() {
  // The worker has nothing left to do but end; waiting for it makes what it wrote visible.
  tree_.wait();
  if (const std::exception_ptr error = tree_.takeError())
    ui::runReported([&] { std::rethrow_exception(error); });
}

// A topic name is shown as written.
void TQuillnoteForm::setTopicCaption(int k, const QString& name) {
  const QString shown = ui::captionFor(name);
  QPushButton* b = Topic[k - 1];
  if (b->text() == shown) return;
  b->setText(shown);
  // Screen readers say the name; a topic without one still has a name to say.
  b->setAccessibleName(name.isEmpty() ? QStringLiteral("Topic %1").arg(k) : QString());
}

QString TQuillnoteForm::topicCaption(int k) const {
  return ui::captionText(Topic[k - 1]->text());
}

void TQuillnoteForm::LoadData(const QString& di) {
  // Each file is read again only when something changed it since (store/linewatch.h): the
  // reload every half second costs two stat calls while nothing changes, whatever the files
  // hold.
  if (loadPaths_.language != di || loadPaths_.about.isEmpty()) {
    loadPaths_.language = di;
    loadPaths_.about = store::aboutPagesPath(di);
    loadPaths_.topics.clear();
  }
  if (loadPaths_.page != currentpage_ || loadPaths_.topics.isEmpty()) {
    loadPaths_.page = currentpage_;
    loadPaths_.topics = store::topicsPath(di, currentpage_);
  }
  if (aboutFile_.refresh(loadPaths_.about, store::kPages)) {
    if (aboutFile_.exists()) {
      const QStringList& lines = aboutFile_.lines();
      for (int n = 1; n <= store::kPages; ++n) pageabout[n] = lines[n - 1];
      for (int n = 1; n <= store::kPages; ++n) setHint(page_txt[n - 1], pageabout[n]);
    }
    aboutShownFor_ = 0;
  }
  // Without the file, the descriptions read last stay on screen.
  if (currentpage_ >= 1 && currentpage_ <= store::kPages && aboutShownFor_ != currentpage_) {
    setCaption(AboutPage, pageabout[currentpage_]);
    aboutShownFor_ = currentpage_;
  }

  if (!topicsFile_.refresh(loadPaths_.topics, store::kSlots)) return;
  if (!topicsFile_.exists()) {
    for (int k = 1; k <= store::kSlots; ++k) setTopicCaption(k, s("click to create"));
    return;
  }
  const QStringList& names = topicsFile_.lines();
  for (int k = 1; k <= store::kSlots; ++k) setTopicCaption(k, names[k - 1]);
}

void TQuillnoteForm::setlanguage(const QString& LGID) {
  // The page selector covers the page; while it is open the language stays.
  if (PageSelect->isVisibleTo(this)) return;
  searchState_.prevsearchquery.clear();

  // Each mark is decoded once and shared by every circle that shows it.
  const QPixmap unselected = pictureOrNothing(s("crc_bl"), kCircleSize);
  ui::setImage(temp, unselected);
  for (const LanguageControls& lang : languages_) ui::setImage(lang.circle, unselected);
  const QPixmap selected = pictureOrNothing(s("crc_1"), kCircleSize);
  for (const LanguageControls& lang : languages_) {
    if (lang.key == LGID) ui::setImage(lang.circle, selected);
  }
  currentLG_ = LGID;
  for (const LanguageControls& lang : languages_) ui::access::selectionChanged(lang.circle);
  loadShown(true);
}

void TQuillnoteForm::SetPage(int pg) {
  currentpage_ = pg;
  const QPixmap unselected = pictureOrNothing(s("crc_0"), kDotSize);
  ui::setImage(temp, unselected);
  for (QLabel* d : pg_button) ui::setImage(d, unselected);
  for (QLabel* t : page_txt) setFontColour(t, ui::rgb::White);
  if (pg >= 1 && pg <= store::kPages) {
    ui::setImage(pg_button[pg - 1], pictureOrNothing(s("crc_1"), kDotSize));
    setFontColour(page_txt[pg - 1], ui::rgb::Black);
  }
  for (QLabel* d : pg_button) ui::access::selectionChanged(d);
  loadShown(true);
}

void TQuillnoteForm::BPress(int k) {
  // Editors are top-level windows of their own; the application keeps them until it ends.
  auto* editor = new TEditorForm(dialogs_);
  if (!look().editorsDark) editor->applyLightTheme();
  editor->show();
  // Beside the home window, as far as the screen's available area allows.
  editor->move(ui::insideScreen(editor, QPoint(x() + 25, y() + 25)));
  editor->loadTopic(topicCaption(k), currentLG_, currentpage_, k);
}

void TQuillnoteForm::AutoReloadTimer() {
  loadShown(false);
}

void TQuillnoteForm::loadShown(bool chosen) {
  if (chosen) loadFailure_ = 0;
  try {
    LoadData(currentLG_);
    loadFailure_ = 0;
  } catch (const store::IoError& e) {
    // A file that stays unreadable would bring the report back with every reload.
    const bool reported = loadFailure_ == e.code();
    loadFailure_ = e.code();
    if (!reported) throw;
  }
}

void TQuillnoteForm::AboutPageClick() {
  if (!dialogs_) return;
  // The dialog writes to the page it was opened on, whatever is selected while it is open.
  const QString text = AboutPage->text();
  dialogs_->ChangePA->openFor(store::aboutPagesPath(currentLG_), currentpage_ - 1,
                              text != store::kDescriptionPlaceholder ? text : QString(), this);
}

void TQuillnoteForm::closeEvent(QCloseEvent* event) {
  // Every open editor asks about its unsaved text first; if one of them is kept open, so
  // is the program. Otherwise the program ends, whatever other windows are still shown.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* editor = qobject_cast<TEditorForm*>(w);
    if (editor && editor->isVisible() && !editor->close()) {
      event->ignore();
      return;
    }
  }
  event->accept();
  QCoreApplication::exit(0);
}
