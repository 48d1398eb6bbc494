// The editor window: its controls, the two looks and opening a topic.
#include "editor/Editor_u.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "editor/EditorParts.h"
#include "store/datatree.h"
#include "store/ioerror.h"
#include "store/topicfile.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"
#include "ui/platform.h"

using ui::pictureOrNothing;

namespace {

// Whether `text` holds a run of more than `limit` characters without a space or line
// break (a pasted blob, minified code, a damaged file).
bool hasLongUnbrokenRun(const QString& text, qsizetype limit) {
  qsizetype run = 0;
  for (const QChar c : text) {
    run = c.isSpace() ? 0 : run + 1;
    if (run > limit) return true;
  }
  return false;
}

}  // namespace

TEditorForm::TEditorForm(Dialogs* dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
  setWindowFlag(Qt::Window, true);
  setAttribute(Qt::WA_DeleteOnClose, true);
  setWindowTitle(editor::kWindowTitle);
  setFont(ui::font(ui::Face::Tahoma, 11));
  resize(550, 645);
  setMinimumHeight(250);
  createControls();
  connectHandlers();
  // The rest of the creation step: the shared settings. An error here ends the step, is
  // reported, and the window is still made.
  ui::runReported([this] { readSettings(); });
  AllOK = true;
}

void TEditorForm::createControls() {
  using ui::Fit;
  namespace sys = ui::sys;
  namespace rgb = ui::rgb;
  const QFont formFont = ui::font(ui::Face::Tahoma, 11);
  const QFont heading = ui::font(ui::Face::NexaBold, 16);
  const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;
  const QString darkWallpaper = QStringLiteral("wlp_dark");
  const QRect wallpaper(0, 0, 556, 645);
  const QRect upperWallpaper(0, 17, 558, 256);
  BackGround = ui::makeImage(this, QStringLiteral("BackGround"), wallpaper, Fit::Stretch,
                             pictureOrNothing(darkWallpaper, wallpaper.size()));
  BackGround2 = ui::makeImage(this, QStringLiteral("BackGround2"), upperWallpaper, Fit::Stretch,
                              pictureOrNothing(darkWallpaper, upperWallpaper.size()));

  ui::ChromeLayout frame;
  frame.title = editor::kWindowTitle;
  frame.borderRect = QRect(-10, 0, 560, 25);
  frame.minimise = true;
  frame.resizable = true;
  frame.minHeight = 250;
  chrome = new ui::Chrome(this, frame);

  TitleInfo = ui::makeLabel(this, {QStringLiteral("TitleInfo"), QRect(8, 31, 537, 23), QString(),
                                   heading, sys::Window, centred});
  TitleInfo->setToolTip(QStringLiteral("Click to edit"));
  TXTText = ui::makeLabel(this, {QStringLiteral("TXTText"), QRect(8, 150, 537, 23),
                                 QStringLiteral("Text"), heading, sys::Window, centred});
  FontSizeText = ui::makeLabel(this, {QStringLiteral("FontSizeText"), QRect(380, 57, 0, 0),
                                      QStringLiteral("Font Size"), formFont, sys::InactiveBorder});
  AUSAVEText = ui::makeLabel(this, {QStringLiteral("AUSAVEText"), QRect(56, 79, 0, 0),
                                    QStringLiteral("Auto-Save"), formFont, sys::Window});
  RDOnly = ui::makeLabel(this, {QStringLiteral("RDOnly"), QRect(56, 115, 0, 0),
                                QStringLiteral("Read Only"), formFont, sys::HighlightText});
  SaveBt = editor::makeFlatButton(
      this, {QStringLiteral("SaveBt"), QRect(192, 113, 71, 22), QStringLiteral("Save"),
             QStringLiteral("glyph_save"), QSize(15, 15), QStringLiteral("Save Changes (Ctrl+S)")});
  // The corner menu area belongs here in the stacking order.
  storelocation = ui::makeLabel(this, {QStringLiteral("storelocation"), QRect(416, 144, 0, 13),
                                       QString(), formFont, sys::WindowText});
  storelocation->resize(0, 13);
  chrome->CloseMN->stackUnder(storelocation);
  saved_text = ui::makeLabel(this, {QStringLiteral("saved_text"), QRect(265, 167, 0, 0),
                                    QStringLiteral("Saved!"), formFont, rgb::White});
  saved_text->hide();
  // The round icon fitted into 13 x 16 shows at 13 x 13.
  saved_icon =
      ui::makeImage(this, QStringLiteral("saved_icon"), QRect(250, 167, 13, 16), Fit::Proportional,
                    pictureOrNothing(QStringLiteral("success_icon"), QSize(13, 13)));
  saved_icon->hide();
  lgpage = ui::makeLabel(this, {QStringLiteral("lgpage"), QRect(424, 152, 0, 13), QString(),
                                formFont, sys::WindowText});
  lgpage->resize(0, 13);
  BtRestore =
      editor::makeFlatButton(this, {QStringLiteral("BtRestore"), QRect(265, 113, 72, 22),
                                    QStringLiteral("Restore"), QStringLiteral("glyph_restore"),
                                    QSize(20, 20), QStringLiteral("Restore to last save")});
  BtRestore->setEnabled(false);
  SearchBt =
      editor::makeFlatButton(this, {QStringLiteral("SearchBt"), QRect(495, 118, 21, 21), QString(),
                                    QStringLiteral("find_magnifier"), QSize(20, 20),
                                    QStringLiteral("Click to search. Click again to search next")});
  FindText = ui::makeLabel(this, {QStringLiteral("FindText"), QRect(379, 140, 0, 0),
                                  QStringLiteral("Found"), formFont, sys::MenuHighlight});
  FindText->hide();

  AllText = new QPlainTextEdit(this);
  AllText->setObjectName(QStringLiteral("AllText"));
  AllText->setGeometry(3, 189, 544, 453);
  chrome->borderB->stackUnder(AllText);
  AllText->setFrameShape(QFrame::NoFrame);
  AllText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  AllText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  AllText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  AllText->setTabChangesFocus(true);
  AllText->setFont(ui::font(ui::Face::Tahoma, 20));
  ui::setBackground(AllText, rgb::MemoDark);
  ui::setTextColor(AllText, sys::Window);
  AllText->installEventFilter(this);

  TrackBar1 = new QSlider(Qt::Horizontal, this);
  TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  TrackBar1->setGeometry(372, 76, 150, 36);
  TrackBar1->setRange(editor::kSmallestFont, editor::kLargestFont);
  TrackBar1->setValue(15);
  TrackBar1->setPageStep(2);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  TrackBar1->setTickInterval(1);

  FontBox = new QComboBox(this);
  FontBox->setObjectName(QStringLiteral("FontBox"));
  FontBox->setGeometry(192, 76, 145, 21);
  FontBox->setEditable(true);
  // The text is the user's: typed names are neither completed nor added to the list.
  FontBox->setInsertPolicy(QComboBox::NoInsert);
  FontBox->setCompleter(nullptr);
  ui::setBackground(FontBox, rgb::ControlBack);
  FontBox->setEditText(QStringLiteral("Calibri"));

  AutoSave = editor::makeCheckBox(this, QStringLiteral("AutoSave"), QRect(34, 78, 119, 17),
                                  QStringLiteral("Saves changes once every minute"));
  ReadOnly = editor::makeCheckBox(this, QStringLiteral("ReadOnly"), QRect(34, 113, 119, 17),
                                  QStringLiteral("Disables editing document"));

  RestoreMemo = new QWidget(this);
  RestoreMemo->setObjectName(QStringLiteral("RestoreMemo"));
  RestoreMemo->setGeometry(600, 94, 185, 89);
  RestoreMemo->hide();

  STXT = new QLineEdit(this);
  STXT->setObjectName(QStringLiteral("STXT"));
  STXT->setGeometry(380, 118, 109, 21);
  STXT->setPlaceholderText(QStringLiteral("Type Here to Search"));
  ui::setBackground(STXT, rgb::ControlBack);

  const auto makeTimer = [this](const char* name, int ms) {
    auto* t = new QTimer(this);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(ms);
    return t;
  };
  SaveAutoT = makeTimer("SaveAutoT", 60000);
  IconHide = makeTimer("IconHide", 2000);
  Check = makeTimer("Check", 500);

  QWidget::setTabOrder(AllText, TrackBar1);
  QWidget::setTabOrder(TrackBar1, FontBox);
  QWidget::setTabOrder(FontBox, ReadOnly);
  QWidget::setTabOrder(ReadOnly, AutoSave);
  QWidget::setTabOrder(AutoSave, RestoreMemo);
  QWidget::setTabOrder(RestoreMemo, STXT);
}

void TEditorForm::connectHandlers() {
  // Signals reach the handlers through the standard error report, like events do.
  const auto reported = [this](void (TEditorForm::*handler)()) {
    return [this, handler] { ui::runReported([this, handler] { (this->*handler)(); }); };
  };
  connect(SaveBt, &QPushButton::clicked, this, reported(&TEditorForm::SaveBtClick));
  connect(SaveAutoT, &QTimer::timeout, this, reported(&TEditorForm::SaveAutoTTimer));
  connect(AllText, &QPlainTextEdit::textChanged, this, reported(&TEditorForm::AllTextChange));
  connect(BtRestore, &QPushButton::clicked, this, reported(&TEditorForm::BtRestoreClick));
  connect(IconHide, &QTimer::timeout, this, reported(&TEditorForm::IconHideTimer));
  connect(TrackBar1, &QSlider::valueChanged, this, reported(&TEditorForm::TrackBar1Change));
  connect(FontBox, &QComboBox::editTextChanged, this, reported(&TEditorForm::FontBoxChange));
  connect(AutoSave, &QCheckBox::toggled, this, reported(&TEditorForm::AutoSaveClick));
  connect(ReadOnly, &QCheckBox::toggled, this, reported(&TEditorForm::ReadOnlyClick));
  connect(SearchBt, &QPushButton::clicked, this, reported(&TEditorForm::SearchBtClick));
  connect(Check, &QTimer::timeout, this, reported(&TEditorForm::CheckTimer));
  ui::onClick(TitleInfo, [this] { TitleInfoClick(); });
  // The bottom strip makes the window taller; the memo grows with it.
  connect(chrome, &ui::Chrome::heightDragged, this,
          [this](int height) { AllText->resize(AllText->width(), height - 192); });
}

void TEditorForm::applyLightTheme() {
  ui::setBackground(AllText, ui::rgb::MemoLight);
  ui::setTextColor(AllText, ui::rgb::Black);
  ui::setImage(BackGround2, pictureOrNothing(QStringLiteral("wlp_light"), BackGround2->size()));
  update();
}

void TEditorForm::loadTopic(const QString& caption, const QString& language, int page, int slot) {
  TitleInfo->setText(caption == store::kTopicPlaceholder ? editor::kTitlePlaceholder : caption);
  const QString path = store::topicPath(language, page, slot);
  // A topic not written yet opens empty; so does one that cannot be read, which is then
  // never written over.
  const store::TopicRead read = store::readTopic(path);
  // Wrapping at word boundaries searches an unbroken run again for every screen line it
  // fills, which takes seconds for 100 000 characters and minutes for a megabyte; a text
  // with such a run wraps anywhere instead, and opens at once.
  AllText->setWordWrapMode(hasLongUnbrokenRun(read.text, 4096)
                               ? QTextOption::WrapAnywhere
                               : QTextOption::WrapAtWordBoundaryOrAnywhere);
  AllText->setPlainText(read.text);
  // The snapshot is the text exactly as read, so that saving it unedited writes it back as
  // it was, whatever the memo makes of characters such as the paragraph separator.
  restoreText_ = read.text;
  diskStamp_ = read.stamp;
  unreadable_ = read.error ? store::ioMessage(read.error) : QString();
  conflictTold_ = false;
  BtRestore->setEnabled(false);
  lgpage->setText(store::topicAddress(language, page, slot));
  storelocation->setText(path);
  setWindowTitle(editor::kWindowTitle);
  if (read.error) {
    notice(QStringLiteral("error"), QStringLiteral("The topic could not be read."), unreadable_,
           QStringLiteral("Ok"));
  }
}

QString TEditorForm::memoText() const {
  // The raw text keeps non-breaking spaces and line separators (U+2028) as they are; the
  // separators between paragraphs become '\n'.
  QString text = AllText->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

void TEditorForm::notice(const QString& mode, const QString& text, const QString& text2,
                         const QString& button) {
  if (dialogs_ && dialogs_->ErrorFrame) {
    dialogs_->ErrorFrame->StartHandle(mode, text, text2, button);
  } else {
    // Without a message window the notice still reaches the user.
    ui::reportError(text2.isEmpty() ? text : text + QStringLiteral(" ") + text2);
  }
}
