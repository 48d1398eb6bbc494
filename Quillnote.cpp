// Quillnote: a programmer's notebook of what they learn about programming languages.
#include "dialogs/Dialogs.h"
#include "home/Quillnote_u.h"
#include "ui/application.h"

int main(int argc, char** argv) {
  // The home window's first pictures are decoded while the fonts are set up.
  ui::Application app(argc, argv, TQuillnoteForm::picturesAtStart());
  TQuillnoteForm QuillnoteForm;  // its creation step builds the data tree and shows page 1
  Dialogs dialogs;
  QuillnoteForm.setDialogs(&dialogs);
  QuillnoteForm.show();
  return app.exec();
}
