// Searching the topic names of one language, page by page, stepping through the matches
// with each repeat of the same term.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "store/datatree.h"

namespace store {

struct SearchState {
  QString prevsearchquery;  // previous term, lower-cased; empty: no search in progress
  int searchcnt = 0;        // index, in search order, of the match the next search shows
  int tohighlight = 0;      // slot to flash after the jump, 0 for none
};

// The topic lists of pages 1..15; a missing list is skipped.
using TopicLists = std::array<std::optional<QStringList>, kPages>;

// One search step over `lists`; returns the page to show (`currentpage` when nothing
// matches, also when a repeated term no longer matches after the lists changed; never 0).
// Names and term are compared lower-cased; an empty term is contained in every name, so it
// matches every slot of every list (empty names of a short list included).
int searchLists(const TopicLists& lists, int currentpage, const QString& term, SearchState& state);

// Reads the topic lists of `language` from disk (the line reader, 10 lines each, lines
// missing at the end being empty). A list that is missing (or a folder) is left out; one
// that exists but cannot be read throws IoError.
TopicLists readTopicLists(const QString& language);

// One search step over the files of `language`.
int search(const QString& language, int currentpage, const QString& term, SearchState& state);

}  // namespace store
