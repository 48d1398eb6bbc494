#include "ui/build.h"

#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

#include "ui/pictures.h"
#include "ui/platform.h"

namespace ui {

namespace {
constexpr const char* kFit = "quillFit";

// Enter or Space without modifiers (a keypad Enter included), pressed, not repeated.
bool activates(const QKeyEvent* key) {
  const int k = key->key();
  return (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) &&
         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !key->isAutoRepeat();
}

class ClickFilter : public QObject {
 public:
  ClickFilter(QObject* parent, std::function<void()> click, std::function<void(QMouseEvent*)> press)
      : QObject(parent), click_(std::move(click)), press_(std::move(press)) {}

  bool eventFilter(QObject* obj, QEvent* ev) override {
    auto* w = static_cast<QWidget*>(obj);
    if (ev->type() == QEvent::MouseButtonPress) {
      auto* me = static_cast<QMouseEvent*>(ev);
      if (me->button() == Qt::LeftButton) pressed_ = true;
      if (press_) runReported([&] { press_(me); });
    } else if (ev->type() == QEvent::MouseButtonRelease) {
      auto* me = static_cast<QMouseEvent*>(ev);
      const bool wasPressed = pressed_ && me->button() == Qt::LeftButton;
      if (me->button() == Qt::LeftButton) pressed_ = false;
      if (wasPressed && click_ && w->rect().contains(me->position().toPoint())) click();
    } else if (ev->type() == QEvent::KeyPress && click_ && (w->focusPolicy() & Qt::TabFocus) &&
               activates(static_cast<QKeyEvent*>(ev))) {
      click();
      return true;
    }
    return false;
  }

  void click() {
    if (click_) runReported([&] { click_(); });
  }

 private:
  std::function<void()> click_;
  std::function<void(QMouseEvent*)> press_;
  bool pressed_ = false;
};
// A picture control that stretches its picture over itself. A picture of the control's size
// is drawn as it is, and one a single pixel wide (a picture whose every row is one colour) is
// widened as it is drawn, so neither is kept a second time as a scaled copy. Any other
// picture is scaled smoothly once and kept, as a label with scaled contents does.
class StretchedImage : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override {
    const QPixmap picture = pixmap();
    const QSize pixels = size() * devicePixelRatioF();
    if (!picture.isNull() && picture.height() == pixels.height() &&
        (picture.width() == pixels.width() || picture.width() == 1)) {
      QPainter(this).drawPixmap(rect(), picture);
      return;
    }
    QLabel::paintEvent(event);
  }
};

// A flat button that draws no focus mark of its own and is pressed by Enter as by Space.
class FlatButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_PushButton, option);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (activates(event) && event->key() != Qt::Key_Space) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

// Puts a picture on its image control when the control is first shown, before it paints.
class PictureOnShow : public QObject {
 public:
  PictureOnShow(QLabel* image, const QString& picture) : QObject(image), picture_(picture) {
    image->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* ev) override {
    if (ev->type() == QEvent::Show) {
      auto* image = static_cast<QLabel*>(watched);
      image->removeEventFilter(this);
      setImage(image, pictureOrNothing(picture_));
      deleteLater();
    }
    return false;
  }

 private:
  QString picture_;
};

}  // namespace

QLabel* makeLabel(QWidget* parent, const LabelLayout& s) {
  auto* l = new QLabel(s.text, parent);
  l->setObjectName(s.name);
  l->setFont(s.font);
  l->setAlignment(s.align);
  setTextColor(l, s.color);
  if (s.background) setBackground(l, *s.background, true);
  if (s.rect.width() == 0 || s.rect.height() == 0) {
    l->move(s.rect.topLeft());
    l->adjustSize();
    if (s.rect.width() == 0 && s.rect.height() != 0) l->resize(l->width(), s.rect.height());
  } else {
    l->setGeometry(s.rect);
  }
  return l;
}

QLabel* makeImage(QWidget* parent, const QString& name, const QRect& rect, Fit fit,
                  const QPixmap& picture) {
  auto* l = fit == Fit::Stretch ? new StretchedImage(parent) : new QLabel(parent);
  l->setObjectName(name);
  l->setGeometry(rect);
  l->setProperty(kFit, static_cast<int>(fit));
  l->setAlignment(Qt::AlignCenter);
  l->setScaledContents(fit == Fit::Stretch);
  setImage(l, picture);
  return l;
}

void setImage(QLabel* image, const QPixmap& picture) {
  const auto fit = static_cast<Fit>(image->property(kFit).toInt());
  if (picture.isNull()) {
    image->clear();
    return;
  }
  if (fit == Fit::Proportional) {
    const qreal dpr = image->devicePixelRatioF();
    QPixmap scaled =
        picture.scaled(image->size() * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(dpr);
    image->setPixmap(scaled);
  } else {
    image->setPixmap(picture);
  }
}

void setTextColor(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::ButtonText, c);
  p.setColor(QPalette::Text, c);
  w->setPalette(p);
}

QColor textColor(const QWidget* w) {
  return w->palette().color(QPalette::WindowText);
}

void setBackground(QWidget* w, const QColor& c, bool opaque) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  p.setColor(QPalette::Base, c);
  p.setColor(QPalette::Button, c);
  w->setPalette(p);
  w->setAutoFillBackground(opaque);
}

void onClick(QWidget* w, std::function<void()> fn) {
  w->installEventFilter(new ClickFilter(w, std::move(fn), nullptr));
}

void click(QWidget* w) {
  // The filters are the widget's child objects (they have no meta-object of their own).
  for (QObject* o : w->children()) {
    if (auto* filter = dynamic_cast<ClickFilter*>(o)) filter->click();
  }
}

void onPress(QWidget* w, std::function<void(QMouseEvent*)> fn) {
  w->installEventFilter(new ClickFilter(w, nullptr, std::move(fn)));
}

QLabel* makeImageShownLater(QWidget* parent, const QString& name, const QRect& rect, Fit fit,
                            const QString& picture) {
  QLabel* image = makeImage(parent, name, rect, fit);
  new PictureOnShow(image, picture);
  return image;
}

QPushButton* makeFlatButton(QWidget* parent, const ButtonLayout& layout) {
  auto* b = new FlatButton(layout.text, parent);
  b->setObjectName(layout.name);
  b->setGeometry(layout.rect);
  b->setFlat(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setToolTip(layout.hint);
  if (layout.font) b->setFont(*layout.font);
  if (layout.color) setTextColor(b, *layout.color);
  const QPixmap glyph = layout.glyph.isEmpty() ? QPixmap() : pictureOrNothing(layout.glyph);
  if (!glyph.isNull()) b->setIcon(QIcon(glyph));
  if (!layout.glyphSize.isEmpty())
    b->setIconSize(layout.glyphSize);
  else if (!glyph.isNull())
    b->setIconSize(glyph.size());
  return b;
}

QTimer* makeTimer(QObject* parent, const QString& name, int interval, bool singleShot) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  timer->setInterval(interval);
  timer->setSingleShot(singleShot);
  return timer;
}

QString captionFor(const QString& text) {
  return QString(text).replace(u'&', QStringLiteral("&&"));
}

QString captionText(const QString& caption) {
  return QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

}  // namespace ui
