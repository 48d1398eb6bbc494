#include "store/theme.h"

#include "store/linefile.h"

namespace store {

QString readTheme(const QString& path) {
  return readfromfile(path, 1);
}

void writeTheme(const QString& path, const QString& theme) {
  if (!fileExists(path)) {
    if (!theme.isEmpty()) writeLines(path, {theme});
    return;
  }
  if (readfromfile(path, 1) != theme) writetofile(path, 1, theme);
}

}  // namespace store
