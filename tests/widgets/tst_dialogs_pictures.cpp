// The dialogs' pictures: none is decoded while a dialog stays hidden (they are all made at
// start-up), and each shows its designed picture, fitted as designed, once its dialog opens.
#include <QLabel>
#include <QtTest>

#include "dialogs/About_u.h"
#include "dialogs/ChangePgDes_u.h"
#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"
#include "ui/build.h"
#include "ui/pictures.h"

namespace {

struct Picture {
  const char* dialog;
  const char* control;
  const char* picture;
  ui::Fit fit;
};

const Picture kPictures[] = {
    {"about", "BackGround", "dialog_bg", ui::Fit::Stretch},
    {"about", "icon", "about_icon", ui::Fit::Proportional},
    {"about", "Image1", "about_round", ui::Fit::Proportional},
    {"description", "Image1", "dialog_bg", ui::Fit::Stretch},
    {"rename", "Image1", "dialog_bg", ui::Fit::Stretch},
    {"message", "BackGround", "dialog_bg", ui::Fit::Stretch},
    {"message", "image_error", "exit_icon", ui::Fit::Proportional},
    {"message", "image_info", "info_icon", ui::Fit::Proportional},
    {"message", "image_warning", "warning_icon", ui::Fit::Proportional},
    {"message", "image_sucess", "success_icon", ui::Fit::Proportional},
};

QWidget* dialog(const Dialogs& d, const QString& which) {
  if (which == "about") return d.AboutApp.get();
  if (which == "description") return d.ChangePA.get();
  if (which == "rename") return d.TopicEdit.get();
  return d.ErrorFrame.get();
}

// The picture as an image control of that place and fit shows it.
QImage designed(const QLabel* control, const Picture& p) {
  QWidget holder;
  QLabel* made = ui::makeImage(&holder, QStringLiteral("made"), control->geometry(), p.fit,
                               ui::picture(QString::fromLatin1(p.picture)));
  return made->pixmap().toImage();
}

}  // namespace

class DialogPicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void noPictureWhileHidden();
  void designedPictureOnceShown();
};

void DialogPicturesTest::noPictureWhileHidden() {
  testing_support::FakePlatform platform;
  Dialogs d;
  for (const Picture& p : kPictures) {
    const QLabel* control = dialog(d, p.dialog)->findChild<QLabel*>(p.control);
    QVERIFY2(control, p.control);
    QVERIFY2(control->pixmap().isNull(), p.control);
  }
}

void DialogPicturesTest::designedPictureOnceShown() {
  testing_support::FakePlatform platform;
  Dialogs d;
  d.AboutApp->show();
  d.ChangePA->show();
  d.TopicEdit->show();
  // Each mode of the message window shows its own icon; every icon is decoded on its turn.
  for (const char* mode : {"error", "information", "warning", "sucess"})
    d.ErrorFrame->StartHandle(QString::fromLatin1(mode), QStringLiteral("Text"), QString(),
                              QStringLiteral("Ok"));
  for (const Picture& p : kPictures) {
    const QLabel* control = dialog(d, p.dialog)->findChild<QLabel*>(p.control);
    QVERIFY2(!control->pixmap().isNull(), p.control);
    QCOMPARE(control->pixmap().toImage(), designed(control, p));
  }
}

QUILL_TEST_MAIN(DialogPicturesTest)
#include "tst_dialogs_pictures.moc"
