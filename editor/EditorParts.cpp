#include "editor/EditorParts.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QIcon>
#include <QPushButton>

#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"

namespace editor {

namespace {
class WholeAreaCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
}  // namespace

QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QRect& rect,
                        const QString& hint) {
  auto* box = new WholeAreaCheckBox(parent);
  box->setObjectName(name);
  box->setGeometry(rect);
  box->setToolTip(hint);
  return box;
}

QPushButton* makeFlatButton(QWidget* parent, const FlatButtonLayout& layout) {
  auto* b = new QPushButton(layout.text, parent);
  b->setObjectName(layout.name);
  b->setGeometry(layout.rect);
  b->setFlat(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setToolTip(layout.hint);
  const QPixmap glyph = ui::pictureOrNothing(layout.glyph);
  if (!glyph.isNull()) b->setIcon(QIcon(glyph));
  b->setIconSize(layout.glyphSize);
  ui::setTextColor(b, ui::rgb::White);
  return b;
}

const QStringList& installedFonts() {
  static const QStringList families = QFontDatabase::families();
  return families;
}

}  // namespace editor
