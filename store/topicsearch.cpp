#include "store/topicsearch.h"

#include "store/datatree.h"
#include "store/ioerror.h"
#include "store/linefile.h"

namespace store {

int searchLists(const TopicLists& lists, int currentpage, const QString& term, SearchState& state) {
  state.tohighlight = 0;
  int firstpage = 0;
  int firstslot = 0;
  int count = 0;
  int result = 0;
  int next = 0;
  const QString needle = term.toLower();
  if (state.prevsearchquery != needle) state.searchcnt = 0;
  for (int page = 1; page <= kPages; ++page) {
    const std::optional<QStringList>& list = lists[page - 1];
    if (!list) continue;
    for (int slot = 1; slot <= kSlots; ++slot) {
      const QString name = slot <= list->size() ? list->at(slot - 1) : QString();
      // An empty term is contained in every name, so it matches every slot.
      if (!name.toLower().contains(needle)) continue;
      if (firstpage == 0) {
        firstpage = page;
        firstslot = slot;
      }
      if (count == state.searchcnt) {
        result = page;
        next = count + 1;
        state.tohighlight = slot;
      }
      ++count;
    }
  }
  if (result != 0) state.searchcnt = next;
  state.prevsearchquery = needle;
  if (result == 0) {
    if (state.searchcnt != 0 && firstpage != 0) {
      // The previous step showed the last match: wrap to the first.
      result = firstpage;
      state.tohighlight = firstslot;
      state.searchcnt = 1;
    } else {
      // Nothing matches (also a repeated term that the lists no longer contain).
      result = currentpage;
      state.searchcnt = 0;
      state.prevsearchquery.clear();
    }
  }
  return result;
}

TopicLists readTopicLists(const QString& language) {
  TopicLists lists;
  for (int page = 1; page <= kPages; ++page) {
    QByteArray bytes;
    try {
      bytes = readFileBytes(topicsPath(language, page));
    } catch (const IoError& e) {
      // A missing list (or a folder in its place) is skipped; any other failure is reported.
      if (e.code() == kFileNotFound || !fileExists(topicsPath(language, page))) continue;
      throw;
    }
    LineReader reader = LineReader::fromBytes(std::move(bytes));
    QStringList names;
    names.reserve(kSlots);
    for (int slot = 1; slot <= kSlots; ++slot) names.append(reader.next());
    lists[page - 1] = std::move(names);
  }
  return lists;
}

int search(const QString& language, int currentpage, const QString& term, SearchState& state) {
  return searchLists(readTopicLists(language), currentpage, term, state);
}

}  // namespace store
