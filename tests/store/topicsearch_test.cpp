// Searching topic names: stepping through the matches, wrapping, restarting.
#include "store/topicsearch.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <vector>

#include "store/bootstrap.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "store_test_util.h"
#include "support/workdir.h"

using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

const QString kDelphi = "Lg_Delphi";

// A fresh tree with 'Loops' at page 2 slot 4 and 'for loops' at page 5 slot 1, every other
// slot of Delphi renamed so that the placeholders do not interfere.
class TopicSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    store::makeDataTree();
    for (int page = 1; page <= 15; ++page) {
      QStringList names;
      for (int slot = 1; slot <= 10; ++slot) names << QString("Topic %1.%2").arg(page).arg(slot);
      store::writeLines(store::topicsPath(kDelphi, page), names, store::Flush::Later);
    }
    rename(2, 4, "Loops");
    rename(5, 1, "for loops");
  }
  static void rename(int page, int slot, const QString& name) {
    store::ModifyLine(store::topicsPath(kDelphi, page), slot - 1, name);
  }

  WorkDir wd_;
};

struct Step {
  int page;
  int tohighlight;
  int searchcnt;
};

TEST_F(TopicSearch, RepeatsStepThroughMatchesAndWrap) {
  store::SearchState state;
  int currentpage = 1;
  const std::vector<Step> steps = {{2, 4, 1}, {5, 1, 2}, {2, 4, 1}, {5, 1, 2}, {2, 4, 1}};
  // Letter case of the term does not matter, and a term in other letters is the same search.
  const QString terms[] = {"LOOP", "loop", "Loop", "LOOP", "lOoP"};
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    currentpage = store::search(kDelphi, currentpage, terms[i], state);
    EXPECT_EQ(currentpage, steps[i].page);
    EXPECT_EQ(state.tohighlight, steps[i].tohighlight);
    EXPECT_EQ(state.searchcnt, steps[i].searchcnt);
    EXPECT_EQ(state.prevsearchquery, QString("loop"));
  }
}

TEST_F(TopicSearch, NoMatchKeepsPageAndStartsAfresh) {
  store::SearchState state;
  EXPECT_EQ(store::search(kDelphi, 1, "loop", state), 2);
  EXPECT_EQ(store::search(kDelphi, 2, "while", state), 2);
  EXPECT_EQ(state.tohighlight, 0);
  EXPECT_EQ(state.searchcnt, 0);
  EXPECT_EQ(state.prevsearchquery, QString());
  EXPECT_EQ(store::search(kDelphi, 2, "loop", state), 2);
  EXPECT_EQ(state.tohighlight, 4);  // the first match again, not the second
}

TEST_F(TopicSearch, PlaceholdersCountAsNames) {
  store::SearchState state;
  // Every slot of Lg_C++ still holds "click to create topic": matches run slot by slot.
  const std::vector<std::pair<int, int>> expected = {{1, 1}, {1, 2}, {1, 3}};
  for (const auto& [page, slot] : expected) {
    EXPECT_EQ(store::search("Lg_C++", 1, "click", state), page);
    EXPECT_EQ(state.tohighlight, slot);
  }
  state.searchcnt = 149;  // the last of 150 matches
  EXPECT_EQ(store::search("Lg_C++", 1, "CLICK", state), 15);
  EXPECT_EQ(state.tohighlight, 10);
  EXPECT_EQ(store::search("Lg_C++", 15, "click", state), 1);
  EXPECT_EQ(state.tohighlight, 1);
  EXPECT_EQ(state.searchcnt, 1);
}

TEST_F(TopicSearch, LanguageSwitchRestarts) {
  store::ModifyLine(store::topicsPath("Lg_Python", 9), 2, "while loops");
  store::SearchState state;
  EXPECT_EQ(store::search(kDelphi, 1, "loop", state), 2);
  EXPECT_EQ(store::search(kDelphi, 2, "loop", state), 5);
  state.prevsearchquery.clear();  // what selecting a language does
  EXPECT_EQ(store::search("Lg_Python", 1, "loop", state), 9);
  EXPECT_EQ(state.tohighlight, 3);
  state.prevsearchquery.clear();
  EXPECT_EQ(store::search(kDelphi, 9, "loop", state), 2);
  EXPECT_EQ(state.tohighlight, 4);
}

TEST_F(TopicSearch, ListsChangedBetweenRepeats) {
  {
    SCOPED_TRACE("no match left");
    store::SearchState state;
    EXPECT_EQ(store::search(kDelphi, 1, "loop", state), 2);
    rename(2, 4, "Iteration");
    rename(5, 1, "Ranges");
    EXPECT_EQ(store::search(kDelphi, 2, "loop", state), 2);  // never page 0
    EXPECT_EQ(state.tohighlight, 0);
    EXPECT_EQ(state.searchcnt, 0);
    EXPECT_EQ(state.prevsearchquery, QString());
  }
  {
    SCOPED_TRACE("fewer matches wrap to the first");
    store::SearchState state;
    rename(3, 9, "loop labels");
    EXPECT_EQ(store::search(kDelphi, 1, "loop", state), 3);
    EXPECT_EQ(store::search(kDelphi, 3, "loop", state), 3);  // only this match remains
    EXPECT_EQ(state.tohighlight, 9);
    EXPECT_EQ(state.searchcnt, 1);
  }
}

TEST_F(TopicSearch, MissingAndShortListsAndEmptyTerm) {
  ASSERT_TRUE(QFile::remove(store::topicsPath(kDelphi, 2)));
  writeBytes(store::topicsPath(kDelphi, 1), "only\r\ntwo\r\n");
  store::SearchState state;
  EXPECT_EQ(store::search(kDelphi, 1, "loop", state), 5);  // page 2 is skipped
  EXPECT_EQ(state.tohighlight, 1);
  // An empty term is contained in every name, the empty ones of a short list included.
  store::SearchState empty;
  const store::TopicLists lists = store::readTopicLists(kDelphi);
  EXPECT_FALSE(lists[1].has_value());
  ASSERT_TRUE(lists[0].has_value());
  EXPECT_EQ(*lists[0], QStringList({"only", "two", "", "", "", "", "", "", "", ""}));
  empty.searchcnt = 5;
  empty.prevsearchquery = "";
  EXPECT_EQ(store::searchLists(lists, 1, "", empty), 1);
  EXPECT_EQ(empty.tohighlight, 6);
}

TEST_F(TopicSearch, PageLoadAndSearchAreFast) {
  // The home window reads a page's descriptions and names every 500 ms.
  auto median = [](std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::vector<qint64> load, find;
  QElapsedTimer t;
  for (int i = 0; i < 200; ++i) {
    t.start();
    const QStringList about = store::readLineFile(store::aboutPagesPath(kDelphi), 15);
    const QStringList names = store::readLineFile(store::topicsPath(kDelphi, 7), 10);
    load.push_back(t.nsecsElapsed());
    ASSERT_EQ(about.size() + names.size(), 25);
  }
  store::SearchState state;
  for (int i = 0; i < 50; ++i) {
    t.start();
    store::search(kDelphi, 1, "loop", state);
    find.push_back(t.nsecsElapsed());
  }
  std::cout << "page load median " << median(load) / 1000 << " us, search median "
            << median(find) / 1000 << " us\n";
  EXPECT_LT(median(load), 1000000);   // 1 ms: ten times the budget, room for a busy machine
  EXPECT_LT(median(find), 20000000);  // 20 ms
}

}  // namespace
