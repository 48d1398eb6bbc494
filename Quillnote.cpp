// Quillnote: a programmer's notebook of what they learn about programming languages.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "dialogs/Dialogs.h"
#include "home/Quillnote_u.h"
#include "quillnote_version.h"
#include "ui/application.h"

namespace {

constexpr int kUsageError = 2;

// Answers a command line that has arguments: --help and --version print their text, and
// anything else is a usage error. This runs before the display is opened or anything under
// ./Data is touched, so neither the answers nor the errors need a desktop or leave files.
// Returns the exit status, or -1 when the arguments ask for nothing (a lone "--") and the
// program starts as usual.
int answerCommandLine(int argc, char** argv) {
  // The parser names the program as it was started in its usage line.
  const QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "A notebook for what you learn about programming languages. Started without options,\n"
      "it opens its window and keeps the notes as plain text files under ./Data in the\n"
      "current directory."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Print this help and exit."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Print the version and exit."));
  parser.addOption(help);
  parser.addOption(version);
  QString error;
  if (!parser.parse(QCoreApplication::arguments()))
    error = parser.errorText();
  else if (!parser.positionalArguments().isEmpty())
    error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
  if (!error.isEmpty()) {
    std::fprintf(stderr, "quillnote: %s\n\n%s", qUtf8Printable(error),
                 qUtf8Printable(parser.helpText()));
    return kUsageError;
  }
  if (parser.isSet(help)) {
    std::fputs(qUtf8Printable(parser.helpText()), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("%s %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                qUtf8Printable(QCoreApplication::applicationVersion()));
    return 0;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("Quillnote"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUILLNOTE_VERSION));
  // A plain start has no arguments and goes straight on to the window.
  if (argc > 1) {
    const int status = answerCommandLine(argc, argv);
    if (status >= 0) return status;
  }
  // The home window's first pictures are decoded while the fonts are set up.
  ui::Application app(argc, argv, TQuillnoteForm::picturesAtStart());
  TQuillnoteForm QuillnoteForm;  // its creation step builds the data tree and shows page 1
  Dialogs dialogs;
  QuillnoteForm.setDialogs(&dialogs);
  QuillnoteForm.show();
  return app.exec();
}
