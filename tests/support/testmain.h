// main() for a widget test: the program's own application object (so errors that escape
// a handler reach the standard error report) with its fonts and pictures.
#pragma once

#include <QtTest>

#include "ui/application.h"

#define QUILL_TEST_MAIN(TestObject)          \
  int main(int argc, char** argv) {          \
    ui::Application app(argc, argv);         \
    app.setAttribute(Qt::AA_Use96Dpi, true); \
    TestObject tc;                           \
    QTEST_SET_MAIN_SOURCE_PATH               \
    return QTest::qExec(&tc, argc, argv);    \
  }
