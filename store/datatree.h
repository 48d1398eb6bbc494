// The data tree under "Data" in the working directory: its paths, the nine languages, the
// placeholder lines and the bootstrap that creates whatever is missing.
#pragma once

#include <QString>
#include <QStringList>

#include "store/linefile.h"
#include "store/tempfiles.h"

namespace store {

inline constexpr int kLanguages = 9;
inline constexpr int kPages = 15;  // pages per language
inline constexpr int kSlots = 10;  // topic slots per page

inline const QString kTopicPlaceholder = QStringLiteral("click to create topic");
inline const QString kDescriptionPlaceholder = QStringLiteral("click to edit page description");
inline const QString kIconLine = QStringLiteral("0");

// The language keys in bootstrap order: "Lg_Delphi", "Lg_C++", ..., "Lg_Html".
const QStringList& languageKeys();

// Paths, relative to the working directory, components joined with '/'.
QString dataRoot();                                            // "./Data"
QString settingsFolder();                                      // "./Data/UserSettings"
QString settingsPath();                                        // "./Data/UserSettings/options.txt"
QString themePath();                                           // "./Data/options.dat"
QString languageFolder(const QString& key);                    // "./Data/Lg_Delphi/" (trailing '/')
QString aboutPagesPath(const QString& key);                    // "./Data/Lg_Delphi/aboutpages.txt"
QString pageIconsPath(const QString& key);                     // "./Data/Lg_Delphi/pageicons.txt"
QString pageFolder(const QString& key, int page);              // "./Data/Lg_Delphi/3"
QString topicsPath(const QString& key, int page);              // "./Data/Lg_Delphi/3/topics.txt"
QString topicPath(const QString& key, int page, int slot);     // ".../3/topic7.txt"
QString topicAddress(const QString& key, int page, int slot);  // "Lg_Delphi/3,7"

// A topic address split at its first comma: the page part before it ("Lg_Delphi/3", empty
// without a comma) and the slot, read as an integer (parseInteger, settings.h) from up to
// three characters after the comma (from the start when there is no comma). Throws
// ConvertError when those are no integer.
struct TopicAddress {
  QString lgandpage;
  int slot = 0;
};
TopicAddress splitTopicAddress(const QString& address);

// The topic list of the page part of a topic address: "Lg_Delphi/3" gives
// "./Data/Lg_Delphi/3/topics.txt".
QString topicsPathFor(const QString& lgandpage);

// The parts of making what is missing of the tree; store::Bootstrap (bootstrap.h) runs them
// in the order a start needs.

// Makes the data root and the settings folder, when missing. Then what interrupted starts left
// of languages being made is removed, unless a live Quillnote is making it right now (it holds a
// lock on a file inside). Throws IoError.
void bootstrapRoots();

// The keys of the languages whose folders are missing, in bootstrap order.
QStringList missingLanguages();

// Creates the language folder `lang`, a language's folder in the data root with its trailing
// separator ("./Data/Lg_Delphi/", languageFolder), and everything in it, whole or not at all:
// it is filled under a hidden temporary name beside it, locked while it is filled, and then
// renamed into place, so neither a crash nor a reader meets half a language. Anything already
// at its name stays as it is and is an error (kAlreadyExists). The files are not flushed.
// Throws IoError.
void createstruture(const QString& lang);

// Writes the theme file with "light" when it does not exist. Throws IoError.
// Returns whether it created the file; with Flush::Later it is left for the caller to flush
// with flushFileSystem(dataRoot()).
bool bootstrapThemeFile(Flush flush = Flush::Now);

// Removes the stale temporary files (tempfiles.h) from every folder the program writes in:
// the data root, the settings folder, each language folder and its page folders. Never
// throws.
Sweep removeStaleTemporariesOfTree();

}  // namespace store
