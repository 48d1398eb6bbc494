// A Platform for widget tests: records what would have been shown and answers questions
// from a queue, so no modal loop ever runs.
#pragma once

#include <QList>
#include <QPoint>
#include <QStringList>
#include <functional>

#include "ui/platform.h"

namespace testing_support {

class FakePlatform : public ui::Platform {
 public:
  FakePlatform() : scope_(this) {}

  void errorReport(const QString& text) override {
    errors << text;
    if (onError) onError(text);
  }
  ui::Answer confirm(QWidget*, const QString& text, bool withCancel) override {
    questions << text;
    cancelOffered << withCancel;
    if (onQuestion) onQuestion(text);
    return answers.isEmpty() ? ui::Answer::Cancel : answers.takeFirst();
  }
  void messageBox(QWidget*, const QString& text) override { messages << text; }
  bool systemMove(QWidget*) override {
    ++moves;
    return false;
  }
  void minimiseAll() override { ++minimised; }
  void popupMenu(QMenu*, const QPoint& at) override {
    ++menus;
    menuAt = at;
  }

  QStringList errors;     // standard error reports, as shown
  QStringList questions;  // confirmation questions asked
  QList<bool> cancelOffered;
  QList<ui::Answer> answers;  // answers given, in order; Cancel when none is left
  QStringList messages;       // plain message boxes
  int moves = 0;
  int minimised = 0;
  int menus = 0;
  QPoint menuAt;
  // Runs inside a standard error report, as if the user were looking at the modal box.
  std::function<void(const QString&)> onError;
  // Runs inside a question before it is answered, as if the user were still reading it.
  std::function<void(const QString&)> onQuestion;

 private:
  ui::ScopedPlatform scope_;
};

}  // namespace testing_support
