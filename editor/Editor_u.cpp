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
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "editor/EditorParts.h"
#include "store/datatree.h"
#include "store/ioerror.h"
#include "store/settings.h"
#include "store/topicfile.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"
#include "ui/platform.h"
#include "ui/windows.h"

using ui::pictureOrNothing;

namespace {

// The shortest the window can be made by its bottom strip.
constexpr int kMinHeight = 250;

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

// Paragraphs longer than this keep their whole layout (see showText).
constexpr int kLongParagraph = 65536;
// Texts longer than this are set without shaping (see showText).
constexpr qsizetype kShapedText = qsizetype(1) << 20;

// Keeps the whole layout of `block` when it is a long paragraph.
void keepLayoutIfLong(const QTextBlock& block) {
  if (block.length() <= kLongParagraph) return;
  if (QTextLayout* layout = block.layout()) layout->setCacheEnabled(true);
}

}  // namespace

TEditorForm::TEditorForm(Dialogs* dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
  setWindowFlag(Qt::Window, true);
  setAttribute(Qt::WA_DeleteOnClose, true);
  setWindowTitle(editor::kWindowTitle);
  setFont(ui::font(ui::Face::Tahoma, 11));
  resize(550, 645);
  setMinimumHeight(kMinHeight);
  createControls();
  connectHandlers();
  nameControls();
  // The rest of the creation step: the shared settings. An error here ends the step, is
  // reported, and the window is still made.
  ui::runReported([this] { readSettings(); });
  AllOK = true;
}

namespace {

// One control of the editor above its memo, a row of the table the window is built from.
struct ControlRow {
  enum Kind {
    Picture,  // an image control showing `text`, the picture's name, decoded at `size`
    Heading,  // a centred label in the headings' face
    Text,     // a label in the window's face; a zero width or height is sized to the text
    Button,   // a flat button with white text and the glyph `glyph` of `size`
    Frame,    // the window's frame (ui::Chrome)
  };
  Kind kind;
  QLabel* TEditorForm::*labelMember = nullptr;        // where the window keeps a label or picture
  QPushButton* TEditorForm::*buttonMember = nullptr;  // where it keeps a button
  const char* name = "";
  QRect rect = {};
  const char* text = "";
  const QColor* colour = nullptr;  // Heading, Text
  const char* glyph = "";          // Button
  QSize size = {};                 // Picture, Button
  ui::Fit fit = ui::Fit::Stretch;  // Picture
  const char* hint = "";
  bool hide = false;
  bool disable = false;

  static constexpr ControlRow picture(QLabel* TEditorForm::*label, const char* name, QRect rect,
                                      const char* picture, ui::Fit fit, QSize size) {
    return {Picture, label, nullptr, name, rect, picture, nullptr, "", size, fit};
  }
  static constexpr ControlRow heading(QLabel* TEditorForm::*label, const char* name, QRect rect,
                                      const char* text, const char* hint = "") {
    return {Heading,          label, nullptr, name,          rect, text,
            &ui::sys::Window, "",    {},      ui::Fit::None, hint};
  }
  static constexpr ControlRow label(QLabel* TEditorForm::*label, const char* name, QRect rect,
                                    const char* text, const QColor& colour) {
    return {Text, label, nullptr, name, rect, text, &colour};
  }
  static constexpr ControlRow flatButton(QPushButton* TEditorForm::*button, const char* name,
                                         QRect rect, const char* text, const char* glyph,
                                         QSize size, const char* hint) {
    return {Button, nullptr, button, name, rect, text, nullptr, glyph, size, ui::Fit::None, hint};
  }
  static constexpr ControlRow frame() { return {Frame}; }
  constexpr ControlRow hidden() const {
    ControlRow row = *this;
    row.hide = true;
    return row;
  }
  constexpr ControlRow disabled() const {
    ControlRow row = *this;
    row.disable = true;
    return row;
  }
};

QWidget* makeControl(QWidget* window, const ControlRow& row) {
  const QString name = QString::fromLatin1(row.name);
  const QString text = QString::fromUtf8(row.text);
  switch (row.kind) {
    case ControlRow::Picture:
      return ui::makeImage(window, name, row.rect, row.fit, pictureOrNothing(text, row.size));
    case ControlRow::Heading:
      return ui::makeLabel(window, {name, row.rect, text, ui::font(ui::Face::NexaBold, 16),
                                    *row.colour, Qt::AlignHCenter | Qt::AlignVCenter});
    case ControlRow::Text:
      return ui::makeLabel(window,
                           {name, row.rect, text, ui::font(ui::Face::Tahoma, 11), *row.colour});
    case ControlRow::Button:
      return ui::makeFlatButton(window, {name, row.rect, text, QString::fromLatin1(row.glyph),
                                         row.size, QString(), ui::rgb::White});
    case ControlRow::Frame:
      break;
  }
  return nullptr;
}

ui::ChromeLayout editorFrame() {
  ui::ChromeLayout frame;
  frame.title = editor::kWindowTitle;
  frame.borderRect = QRect(-10, 0, 560, 25);
  frame.minimise = true;
  frame.resizable = true;
  frame.minHeight = kMinHeight;
  return frame;
}

}  // namespace

void TEditorForm::createControls() {
  using F = TEditorForm;
  using Row = ControlRow;
  namespace sys = ui::sys;
  // Above the memo, in creation order: later ones lie over earlier ones.
  static constexpr Row kControls[] = {
      Row::picture(&F::BackGround, "BackGround", {0, 0, 556, 645}, "wlp_dark", ui::Fit::Stretch,
                   {556, 645}),
      Row::picture(&F::BackGround2, "BackGround2", {0, 17, 558, 256}, "wlp_dark", ui::Fit::Stretch,
                   {558, 256}),
      Row::frame(),
      Row::heading(&F::TitleInfo, "TitleInfo", {8, 31, 537, 23}, "", "Click to edit"),
      Row::heading(&F::TXTText, "TXTText", {8, 150, 537, 23}, "Text"),
      Row::label(&F::FontSizeText, "FontSizeText", {380, 57, 0, 0}, "Font Size",
                 sys::InactiveBorder),
      Row::label(&F::AUSAVEText, "AUSAVEText", {56, 79, 0, 0}, "Auto-Save", sys::Window),
      Row::label(&F::RDOnly, "RDOnly", {56, 115, 0, 0}, "Read Only", sys::HighlightText),
      Row::flatButton(&F::SaveBt, "SaveBt", {192, 113, 71, 22}, "Save", "glyph_save", {15, 15},
                      "Save Changes (Ctrl+S)"),
      Row::label(&F::storelocation, "storelocation", {416, 144, 0, 13}, "", sys::WindowText),
      Row::label(&F::saved_text, "saved_text", {265, 167, 0, 0}, "Saved!", ui::rgb::White).hidden(),
      // The round icon fitted into 13 x 16 shows at 13 x 13.
      Row::picture(&F::saved_icon, "saved_icon", {250, 167, 13, 16}, "success_icon",
                   ui::Fit::Proportional, {13, 13})
          .hidden(),
      Row::label(&F::lgpage, "lgpage", {424, 152, 0, 13}, "", sys::WindowText),
      Row::flatButton(&F::BtRestore, "BtRestore", {265, 113, 72, 22}, "Restore", "glyph_restore",
                      {20, 20}, "Restore to last save")
          .disabled(),
      Row::flatButton(&F::SearchBt, "SearchBt", {495, 118, 21, 21}, "", "find_magnifier", {20, 20},
                      "Click to search. Click again to search next"),
      Row::label(&F::FindText, "FindText", {379, 140, 0, 0}, "Found", sys::MenuHighlight).hidden(),
  };
  for (const Row& row : kControls) {
    if (row.kind == Row::Frame) {
      chrome = new ui::Chrome(this, editorFrame());
      continue;
    }
    QWidget* made = makeControl(this, row);
    if (*row.hint) made->setToolTip(QString::fromLatin1(row.hint));
    if (row.hide) made->hide();
    if (row.disable) made->setEnabled(false);
    if (row.labelMember) this->*row.labelMember = static_cast<QLabel*>(made);
    if (row.buttonMember) this->*row.buttonMember = static_cast<QPushButton*>(made);
  }
  // The topic's file path and address are kept as the texts of these two labels, which have
  // no width and show nothing.
  storelocation->resize(0, 13);
  lgpage->resize(0, 13);
  // The corner menu area lies under the path label.
  chrome->CloseMN->stackUnder(storelocation);
  createMemo();
  createSettingsControls();
  createFindBox();
}

void TEditorForm::createMemo() {
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
  ui::setBackground(AllText, ui::rgb::MemoDark);
  ui::setTextColor(AllText, ui::sys::Window);
  AllText->installEventFilter(this);
}

void TEditorForm::createSettingsControls() {
  TrackBar1 = new QSlider(Qt::Horizontal, this);
  TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  TrackBar1->setGeometry(372, 76, 150, 36);
  TrackBar1->setRange(editor::kSmallestFont, editor::kLargestFont);
  TrackBar1->setValue(store::EditorSettings().fontSize);
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
  ui::setBackground(FontBox, ui::rgb::ControlBack);
  FontBox->setEditText(QStringLiteral("Calibri"));

  AutoSave = editor::makeCheckBox(this, QStringLiteral("AutoSave"), QRect(34, 78, 119, 17),
                                  QStringLiteral("Saves changes once every minute"));
  ReadOnly = editor::makeCheckBox(this, QStringLiteral("ReadOnly"), QRect(34, 113, 119, 17),
                                  QStringLiteral("Disables editing document"));
}

void TEditorForm::createFindBox() {
  RestoreMemo = new QWidget(this);
  RestoreMemo->setObjectName(QStringLiteral("RestoreMemo"));
  RestoreMemo->setGeometry(600, 94, 185, 89);
  RestoreMemo->hide();

  STXT = new QLineEdit(this);
  STXT->setObjectName(QStringLiteral("STXT"));
  STXT->setGeometry(380, 118, 109, 21);
  STXT->setPlaceholderText(QStringLiteral("Type Here to Search"));
  ui::setBackground(STXT, ui::rgb::ControlBack);
  STXT->installEventFilter(this);

  SaveAutoT = ui::makeTimer(this, QStringLiteral("SaveAutoT"), 60000);
  IconHide = ui::makeTimer(this, QStringLiteral("IconHide"), 2000);
  Check = ui::makeTimer(this, QStringLiteral("Check"), 500);

  QWidget::setTabOrder(AllText, TrackBar1);
  QWidget::setTabOrder(TrackBar1, FontBox);
  QWidget::setTabOrder(FontBox, ReadOnly);
  QWidget::setTabOrder(ReadOnly, AutoSave);
  QWidget::setTabOrder(AutoSave, RestoreMemo);
  QWidget::setTabOrder(RestoreMemo, STXT);
}

void TEditorForm::connectHandlers() {
  // Signals reach the handlers through the standard error report, like events do.
  connect(SaveBt, &QPushButton::clicked, this, ui::reported(this, &TEditorForm::SaveBtClick));
  connect(SaveAutoT, &QTimer::timeout, this, ui::reported(this, &TEditorForm::SaveAutoTTimer));
  connect(AllText, &QPlainTextEdit::textChanged, this,
          ui::reported(this, &TEditorForm::AllTextChange));
  connect(AllText->document(), &QTextDocument::contentsChange, this, [this] { ++textEdits_; });
  // A paragraph made long by typing or pasting keeps its layout too (see showText).
  connect(AllText, &QPlainTextEdit::textChanged, this,
          [this] { keepLayoutIfLong(AllText->textCursor().block()); });
  connect(BtRestore, &QPushButton::clicked, this, ui::reported(this, &TEditorForm::BtRestoreClick));
  connect(IconHide, &QTimer::timeout, this, ui::reported(this, &TEditorForm::IconHideTimer));
  connect(TrackBar1, &QSlider::valueChanged, this,
          ui::reported(this, &TEditorForm::TrackBar1Change));
  connect(FontBox, &QComboBox::editTextChanged, this,
          ui::reported(this, &TEditorForm::FontBoxChange));
  connect(AutoSave, &QCheckBox::toggled, this, ui::reported(this, &TEditorForm::AutoSaveClick));
  connect(ReadOnly, &QCheckBox::toggled, this, ui::reported(this, &TEditorForm::ReadOnlyClick));
  connect(SearchBt, &QPushButton::clicked, this, ui::reported(this, &TEditorForm::SearchBtClick));
  connect(Check, &QTimer::timeout, this, ui::reported(this, &TEditorForm::CheckTimer));
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
  showTitle(caption == store::kTopicPlaceholder ? editor::kTitlePlaceholder : caption);
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
  showText(read.text);
  // The snapshot is the text exactly as read, so that saving it unedited writes it back as
  // it was, whatever the memo makes of characters such as the paragraph separator.
  restoreText_ = read.text;
  diskStamp_ = read.stamp;
  unreadable_ = read.error ? store::ioMessage(read.error) : QString();
  conflictTold_ = false;
  markUnsaved(false);
  lgpage->setText(store::topicAddress(language, page, slot));
  storelocation->setText(path);
  if (read.error) {
    notice(QStringLiteral("error"), QStringLiteral("The topic could not be read."), unreadable_,
           QStringLiteral("Ok"));
  }
}

void TEditorForm::showText(const QString& text) {
  // A text of more than a million characters is set letter by letter, without kerning or
  // ligatures, as in a plain edit control (scripts that need shaping are still shaped):
  // laying out a paragraph then costs a third of what shaping it does, and counting the
  // found lines of a topic of megabytes lays out all of it. Shorter texts keep the font's
  // kerning and ligatures. The font's family and size change with the settings; this stays.
  QFont memoFont = AllText->font();
  const auto strategy = text.size() > kShapedText ? QFont::PreferNoShaping : QFont::PreferDefault;
  if (memoFont.styleStrategy() != strategy) {
    memoFont.setStyleStrategy(strategy);
    AllText->setFont(memoFont);
  }
  // Qt drops a paragraph's shaped text after each paint and shapes the whole paragraph again
  // for the next blink of the cursor, or query of its place: for a paragraph of megabytes
  // that keeps the program busy for seconds at every turn, and for as long as the window is
  // open. Long paragraphs keep it instead (about twenty bytes a character, while they stay
  // long).
  const qsizetype firstBreak = text.indexOf(u'\n');
  if ((firstBreak < 0 ? text.size() : firstBreak) <= kLongParagraph) {
    AllText->setPlainText(text);
  } else {
    // A long first paragraph keeps its layout from the start: the memo is emptied, its one
    // paragraph told to keep its layout, and the text put in as setPlainText does it (no undo
    // step, the cursor at the top).
    AllText->setPlainText(QString());
    QTextDocument* doc = AllText->document();
    doc->firstBlock().layout()->setCacheEnabled(true);
    doc->setUndoRedoEnabled(false);
    QTextCursor(doc).insertText(text);
    doc->setUndoRedoEnabled(true);
    AllText->moveCursor(QTextCursor::Start);
  }
  if (text.size() <= kLongParagraph) return;
  for (QTextBlock b = AllText->document()->begin(); b.isValid(); b = b.next()) keepLayoutIfLong(b);
}

QString TEditorForm::topicPath() const {
  return storelocation->text();
}

QString TEditorForm::topicAddress() const {
  return lgpage->text();
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
  // Asked for while the window is being made (the settings), a notice waits for the window:
  // shown first, it would appear behind it.
  if (!isVisible()) {
    noticeAfterShow_ = Notice{mode, text, text2, button};
    return;
  }
  ui::notice(dialogs_ ? dialogs_->ErrorFrame.get() : nullptr, mode, text, text2, button, this);
}
