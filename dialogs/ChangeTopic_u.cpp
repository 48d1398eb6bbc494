#include "dialogs/ChangeTopic_u.h"

#include <stdexcept>

#include "dialogs/DialogParts.h"
#include "dialogs/Error_u.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/platform.h"

TTopicEdit::TTopicEdit(TErrorFrame* errorFrame, QWidget* parent)
    : QWidget(parent), errorFrame_(errorFrame) {
  dialogs::setUpWindow(this, QStringLiteral("Edit TOpic"), QSize(316, 165));
  Image1 = dialogs::makeImageShownLater(this, QStringLiteral("Image1"), QRect(0, 0, 321, 169),
                                        ui::Fit::Stretch, QStringLiteral("dialog_bg"));
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("Edit Topic"));
  frame.rightName = QStringLiteral("Label2");
  frame.bottomName = QStringLiteral("Label3");
  chrome = new ui::Chrome(this, frame);
  Label4 = ui::makeLabel(
      this,
      {QStringLiteral("Label4"), QRect(0, 48, 313, 16), QStringLiteral("What's this topic about?"),
       ui::font(ui::Face::Tahoma, 13), ui::sys::Light3D, Qt::AlignHCenter | Qt::AlignTop});
  Button1 = dialogs::makeDefaultButton(this, QStringLiteral("Button1"), QRect(117, 131, 75, 25),
                                       QStringLiteral("OK"));
  name = dialogs::makeGreyEdit(this, QStringLiteral("name"), QRect(24, 96, 265, 21),
                               QStringLiteral("Type Here"));
  connect(Button1, &QPushButton::clicked, this, &TTopicEdit::Button1Click);
}

void TTopicEdit::Button1Click() {
  if (name->text().isEmpty()) {
    notice(QStringLiteral("warning"), QStringLiteral("You must type something!"), QString(),
           QStringLiteral("Okay"));
    return;
  }
  try {
    // A slot outside 1..10 comes from a damaged topic address; it is refused like any
    // other failed write rather than touching a line of another topic.
    if (linen < 1 || linen > store::kSlots) throw std::out_of_range("topic slot");
    store::ModifyLine(
        store::dataRoot() + QStringLiteral("/") + lgandpage + QStringLiteral("/topics.txt"),
        linen - 1, name->text());
    hide();
    done = true;
  } catch (...) {
    notice(QStringLiteral("error"), QStringLiteral("A Error has occured. Acess Denied"),
           QStringLiteral("Error Code: 103"), QStringLiteral("Close"));
  }
}

void TTopicEdit::notice(const QString& mode, const QString& text, const QString& text2,
                        const QString& button) {
  if (errorFrame_) {
    errorFrame_->StartHandle(mode, text, text2, button);
  } else {
    // Without a message window the notice still reaches the user.
    ui::reportError(text2.isEmpty() ? text : text + QStringLiteral(" ") + text2);
  }
}

void TTopicEdit::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    move(dialogs::screenCentredPos(this));
  }
  QWidget::showEvent(event);
}
