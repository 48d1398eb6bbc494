#include "editor/EditorParts.h"

#include <QCheckBox>
#include <QFontDatabase>

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

const QStringList& installedFonts() {
  static const QStringList families = QFontDatabase::families();
  return families;
}

}  // namespace editor
