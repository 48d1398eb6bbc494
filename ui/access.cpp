#include "ui/access.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QWidget>

#include "ui/build.h"

namespace ui::access {

namespace {

// Set on a widget left out, and on its parent, whose children are then filtered.
constexpr char kLeftOut[] = "quillLeftOut";
constexpr char kHasLeftOut[] = "quillHasLeftOut";

// What a control acting on a click says of itself; a child object of the control.
class Info : public QObject {
 public:
  Info(QWidget* control, QAccessible::Role role, const QString& name,
       std::function<bool()> selected, std::function<QString()> describe)
      : QObject(control),
        role(role),
        name(name),
        selected(std::move(selected)),
        describe(std::move(describe)) {}

  const QAccessible::Role role;
  const QString name;
  const std::function<bool()> selected;  // empty for a button
  const std::function<QString()> describe;
};

const Info* infoOf(const QWidget* w) {
  // A child object of the control (it has no meta-object of its own).
  for (const QObject* o : w->children()) {
    if (auto* info = dynamic_cast<const Info*>(o)) return info;
  }
  return nullptr;
}

// The children a screen reader is shown: those that are neither windows nor menus of their
// own, nor left out.
QList<QWidget*> shownChildren(const QWidget* parent) {
  QList<QWidget*> shown;
  for (QObject* o : parent->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (w && !w->isWindow() && !qobject_cast<QMenu*>(w) && !w->property(kLeftOut).toBool())
      shown << w;
  }
  return shown;
}

// A window or panel some of whose children are left out.
class Filtered : public QAccessibleWidget {
 public:
  explicit Filtered(QWidget* w) : QAccessibleWidget(w, roleOf(w)) {}

  int childCount() const override { return int(shownChildren(widget()).size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = shownChildren(widget());
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    return int(shownChildren(widget()).indexOf(qobject_cast<QWidget*>(child->object())));
  }

 private:
  static QAccessible::Role roleOf(const QWidget* w) {
    if (!w->isWindow()) return QAccessible::Client;
    return w->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window;
  }
};

// A label or picture that acts on a click, as a button or a choice. What it shows inside
// (a logo over a circle) is part of it.
class Control : public QAccessibleWidget {
 public:
  Control(QWidget* w, const Info* info) : QAccessibleWidget(w, info->role) {}

  QString text(QAccessible::Text t) const override {
    const Info* info = infoOf(widget());
    if (t == QAccessible::Name) {
      if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
      if (info && !info->name.isEmpty()) return info->name;
      if (auto* label = qobject_cast<QLabel*>(widget())) return label->text();
    }
    if (t == QAccessible::Description) {
      const QString d = info && info->describe ? info->describe() : widget()->toolTip();
      return d == text(QAccessible::Name) ? QString() : d;
    }
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const Info* info = infoOf(widget());
    if (info && info->selected) {
      s.checkable = true;
      s.selectable = true;
      s.checked = s.selected = info->selected();
    }
    return s;
  }

  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QStringList actionNames() const override {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == pressAction())
      ui::click(widget());
    else
      QAccessibleWidget::doAction(action);
  }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  if (const Info* info = infoOf(w)) return new Control(w, info);
  if (w->property(kHasLeftOut).toBool()) return new Filtered(w);
  return nullptr;
}

// Makes the interface of `w` again, with what is known of it now. The toolkit makes one as
// soon as a control's text is set, before the control is marked here.
void remake(QWidget* w) {
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(w))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace

void install() {
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
}

void button(QWidget* control, const QString& name, std::function<QString()> describe) {
  new Info(control, QAccessible::Button, name, {}, std::move(describe));
  remake(control);
}

void choice(QWidget* control, const QString& name, std::function<bool()> selected,
            std::function<QString()> describe) {
  new Info(control, QAccessible::RadioButton, name, std::move(selected), std::move(describe));
  remake(control);
}

void selectionChanged(QWidget* control) {
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.checked = true;
  changed.selected = true;
  QAccessibleStateChangeEvent event(control, changed);
  QAccessible::updateAccessibility(&event);
}

void leaveOut(QWidget* w) {
  w->setProperty(kLeftOut, true);
  QWidget* parent = w->parentWidget();
  if (parent && !parent->property(kHasLeftOut).toBool()) {
    parent->setProperty(kHasLeftOut, true);
    remake(parent);
  }
}

void name(QWidget* w, const QString& name, const QString& hint) {
  w->setAccessibleName(name);
  if (!hint.isEmpty() && hint != name) w->setAccessibleDescription(hint);
}

}  // namespace ui::access
