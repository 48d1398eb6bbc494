// The topic search over arbitrary topic lists (missing, short, long, any names) and any
// sequence of terms: the page shown is always 1..15, the slot to flash 0..10 and always a
// name that holds the term; repeating one term walks through every match in order and
// wraps. The lists read from disk are the lists written.
#include <fuzzer/FuzzedDataProvider.h>
#include <QDir>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "store/topicsearch.h"

namespace {

struct Match {
  int page;
  int slot;
};

std::vector<Match> matchesOf(const store::TopicLists& lists, const QString& term) {
  std::vector<Match> out;
  const QString needle = term.toLower();
  for (int page = 1; page <= store::kPages; ++page) {
    if (!lists[page - 1]) continue;
    for (int slot = 1; slot <= store::kSlots; ++slot) {
      if (lists[page - 1]->value(slot - 1).toLower().contains(needle)) out.push_back({page, slot});
    }
  }
  return out;
}

QString nameFrom(FuzzedDataProvider& in) {
  const std::string raw = in.ConsumeRandomLengthString(12);
  return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::privateFolder();
  FuzzedDataProvider in(data, size);

  // The language's lists on disk, as files the line reader splits (any bytes).
  const QString lang = QStringLiteral("Lg_Fuzz");
  QDir().mkpath(store::languageFolder(lang));
  store::TopicLists written;
  for (int page = 1; page <= store::kPages; ++page) {
    const QString folder = store::pageFolder(lang, page);
    const QString file = store::topicsPath(lang, page);
    QDir(folder).removeRecursively();
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:  // no page folder
        break;
      case 1:  // a folder where the list should be
        QDir().mkpath(file);
        break;
      default: {
        QDir().mkpath(folder);
        const std::string raw = in.ConsumeRandomLengthString(160);
        const QByteArray bytes(raw.data(), qsizetype(raw.size()));
        fuzzing::writeFileRaw(file.toUtf8().constData(), bytes);
        store::LineReader reader = store::LineReader::fromBytes(bytes);
        QStringList names;
        for (int k = 0; k < store::kSlots; ++k) names << reader.next();
        written[page - 1] = names;
      }
    }
  }
  const store::TopicLists lists = store::readTopicLists(lang);
  for (int page = 0; page < store::kPages; ++page) FUZZ_CHECK(lists[page] == written[page]);

  const int currentpage = in.ConsumeIntegralInRange<int>(1, store::kPages);
  store::SearchState state;
  QString previous;
  int expectedIndex = 0;  // the match the next search of `previous` should show
  for (int step = 0; step < 40 && in.remaining_bytes() > 0; ++step) {
    // Mostly repeats of the last term, sometimes a new one.
    const bool repeat = step > 0 && in.ConsumeIntegralInRange<int>(0, 3) != 0;
    QString term = repeat ? previous : nameFrom(in);
    if (repeat && in.ConsumeBool()) term = term.toUpper();  // same search, other letter case
    const std::vector<Match> matches = matchesOf(lists, term);
    if (state.prevsearchquery != term.toLower()) expectedIndex = 0;

    const int page = store::searchLists(lists, currentpage, term, state);
    FUZZ_CHECK(page >= 1 && page <= store::kPages, QString::number(page));
    FUZZ_CHECK(state.tohighlight >= 0 && state.tohighlight <= store::kSlots);
    if (matches.empty()) {
      FUZZ_CHECK(page == currentpage && state.tohighlight == 0);
      FUZZ_CHECK(state.prevsearchquery.isEmpty() && state.searchcnt == 0);
      expectedIndex = 0;
    } else {
      const Match& m = matches[size_t(expectedIndex) % matches.size()];
      FUZZ_CHECK(page == m.page && state.tohighlight == m.slot,
                 QStringLiteral("page %1 slot %2, expected %3 %4 of %5 matches")
                     .arg(page)
                     .arg(state.tohighlight)
                     .arg(m.page)
                     .arg(m.slot)
                     .arg(matches.size()));
      FUZZ_CHECK(lists[page - 1]->value(state.tohighlight - 1).toLower().contains(term.toLower()));
      expectedIndex = int(size_t(expectedIndex) % matches.size()) + 1;
    }
    previous = term;
  }
  return 0;
}
