// bench_store: the store's routines on a data tree like a user's, each beside a reference
// that does the same file work with plain system calls, so the store's own share shows.
// Runs under Google Benchmark; the medians of the repetitions are printed as result lines
// for bench/run.sh (the benchmark's own report goes to standard error).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <iostream>
#include <map>

#include "bench/common.h"
#include "store/bootstrap.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "store/linewatch.h"
#include "store/topicfile.h"
#include "store/topicsearch.h"

namespace {

const QString kLang = QStringLiteral("Lg_Delphi");

QByteArray path8(const QString& p) {
  return QFile::encodeName(p);
}

// A tree after some months of use: every page of the language has real topic names and
// descriptions, and topic 1 of page 1 holds the large topic.
void makeTree() {
  store::makeDataTree();
  static const char* const subjects[] = {"Loops",    "Pointers", "Strings", "Records", "Classes",
                                         "Generics", "Closures", "Threads", "Files",   "Units"};
  QStringList about;
  for (int page = 1; page <= store::kPages; ++page) {
    QStringList names;
    for (int slot = 1; slot <= store::kSlots; ++slot) {
      names << QStringLiteral("%1 in depth, part %2: notes and pitfalls")
                   .arg(QString::fromLatin1(subjects[(page + slot) % 10]))
                   .arg(page * 10 + slot);
    }
    store::writeLines(store::topicsPath(kLang, page), names);
    about << QStringLiteral("Page %1: what the language offers and what to watch for").arg(page);
  }
  store::writeLines(store::aboutPagesPath(kLang), about);
  store::saveTopic(store::topicPath(kLang, 1, 1), bench::largeTopicText());
}

// One page load as the home window does it every half second: the description file and
// the page's topic list, each tested, read and split into lines.
void page_load(benchmark::State& state) {
  const QString about = store::aboutPagesPath(kLang);
  const QString topics = store::topicsPath(kLang, 1);
  for (auto _ : state) {
    QStringList descriptions, names;
    if (store::fileExists(about)) descriptions = store::readLineFile(about, store::kPages);
    if (store::fileExists(topics)) names = store::readLineFile(topics, store::kSlots);
    benchmark::DoNotOptimize(descriptions);
    benchmark::DoNotOptimize(names);
  }
}

void page_load_reference(benchmark::State& state) {
  const QByteArray about = path8(store::aboutPagesPath(kLang));
  const QByteArray topics = path8(store::topicsPath(kLang, 1));
  for (auto _ : state) {
    QByteArray a = bench::rawRead(about.constData());
    QByteArray t = bench::rawRead(topics.constData());
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(t);
  }
}

// The same page looked at again when nothing changed, as every reload of the home window
// does: a stat call per file (store/linewatch.h).
void page_unchanged(benchmark::State& state) {
  const QString about = store::aboutPagesPath(kLang);
  const QString topics = store::topicsPath(kLang, 1);
  store::WatchedLineFile descriptions, names;
  const long long later = store::clockNs() + 10'000'000'000LL;  // the files are old enough
  descriptions.refresh(about, store::kPages, later);
  names.refresh(topics, store::kSlots, later);
  for (auto _ : state) {
    bool changed = descriptions.refresh(about, store::kPages, later);
    changed = names.refresh(topics, store::kSlots, later) || changed;
    if (changed) state.SkipWithError("the page was read again");
  }
}

void page_unchanged_reference(benchmark::State& state) {
  const QByteArray about = path8(store::aboutPagesPath(kLang));
  const QByteArray topics = path8(store::topicsPath(kLang, 1));
  struct stat st;
  for (auto _ : state) {
    benchmark::DoNotOptimize(::stat(about.constData(), &st));
    benchmark::DoNotOptimize(::stat(topics.constData(), &st));
  }
}

// One line of the 15-line description file replaced (read, change, atomic durable write).
void modify_line(benchmark::State& state) {
  const QString about = store::aboutPagesPath(kLang);
  int n = 0;
  for (auto _ : state) {
    ++n;
    store::ModifyLine(about, n % store::kPages,
                      QStringLiteral("Page description, edition %1").arg(n));
  }
}

void modify_line_reference(benchmark::State& state) {
  const QByteArray bytes = bench::rawRead(path8(store::aboutPagesPath(kLang)).constData());
  const QByteArray scratch = path8(store::languageFolder(kLang) + QStringLiteral("scratch.txt"));
  for (auto _ : state) bench::rawWriteSynced(scratch.constData(), bytes);
}

// A full search: the topic lists of all 15 pages read and every name compared.
void search(benchmark::State& state) {
  store::SearchState s;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store::search(kLang, 1, QStringLiteral("closures"), s));
  }
}

void search_reference(benchmark::State& state) {
  std::vector<QByteArray> paths;
  for (int page = 1; page <= store::kPages; ++page)
    paths.push_back(path8(store::topicsPath(kLang, page)));
  for (auto _ : state) {
    for (const QByteArray& p : paths) {
      QByteArray b = bench::rawRead(p.constData());
      benchmark::DoNotOptimize(b);
    }
  }
}

// The 5 MB topic read and decoded, and written (atomic and durable).
void topic_read_5mb(benchmark::State& state) {
  const QString path = store::topicPath(kLang, 1, 1);
  for (auto _ : state) {
    std::optional<QString> text = store::loadTopic(path);
    if (!text) state.SkipWithError("the large topic did not load");
    benchmark::DoNotOptimize(text);
  }
}

// The file read with plain system calls and decoded with QString::fromUtf8.
void topic_read_5mb_reference(benchmark::State& state) {
  const QByteArray path = path8(store::topicPath(kLang, 1, 1));
  for (auto _ : state) {
    QString text = QString::fromUtf8(bench::rawRead(path.constData()));
    benchmark::DoNotOptimize(text);
  }
}

void topic_write_5mb(benchmark::State& state) {
  const QString text = bench::largeTopicText();
  const QString path = store::topicPath(kLang, 1, 2);
  for (auto _ : state) store::saveTopic(path, text);
}

// The text encoded with QString::toUtf8 and written durably with plain system calls.
void topic_write_5mb_reference(benchmark::State& state) {
  const QString text = bench::largeTopicText();
  const QByteArray folder = path8(store::languageFolder(kLang) + QStringLiteral("1"));
  const QByteArray path = path8(store::topicPath(kLang, 1, 3));
  for (auto _ : state) bench::rawReplaceSynced(folder.constData(), path.constData(), text.toUtf8());
}

// Each figure right beside its reference, so both see the same machine load.
void registerAll() {
  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> all[] = {
      {"page_load", page_load},
      {"page_load_reference", page_load_reference},
      {"page_unchanged", page_unchanged},
      {"page_unchanged_reference", page_unchanged_reference},
      {"modify_line", modify_line},
      {"modify_line_reference", modify_line_reference},
      {"search", search},
      {"search_reference", search_reference},
      {"topic_read_5mb", topic_read_5mb},
      {"topic_read_5mb_reference", topic_read_5mb_reference},
      {"topic_write_5mb", topic_write_5mb},
      {"topic_write_5mb_reference", topic_write_5mb_reference},
  };
  for (const auto& [name, fn] : all) {
    benchmark::RegisterBenchmark(name, fn)->UseRealTime()->Unit(benchmark::kMicrosecond);
  }
}

// The console report on standard error, and the medians kept for the result lines.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> medians;  // microseconds
  std::map<std::string, double> singles;  // without repetitions: the one run

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      const double us =
          r.GetAdjustedRealTime() * 1e6 / benchmark::GetTimeUnitMultiplier(r.time_unit);
      const std::string name = r.run_name.function_name;
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") medians[name] = us;
      if (r.run_type == Run::RT_Iteration) singles[name] = us;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  // The tree lives in a folder of its own under the working directory, on the disk the
  // program's own data would be on.
  const QString root = QDir::current().absoluteFilePath(QStringLiteral("bench-store-data"));
  QDir(root).removeRecursively();
  QDir().mkpath(root);
  const QString previous = QDir::currentPath();
  QDir::setCurrent(root);
  makeTree();
  registerAll();

  MedianReporter reporter;
  reporter.SetOutputStream(&std::cerr);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  QDir::setCurrent(previous);
  QDir(root).removeRecursively();

  const auto value = [&](const std::string& name) {
    if (reporter.medians.count(name)) return reporter.medians[name];
    return reporter.singles.count(name) ? reporter.singles[name] : 0.0;
  };
  for (const char* figure : {"page_load", "page_unchanged", "modify_line", "search",
                             "topic_read_5mb", "topic_write_5mb"}) {
    const std::string key = std::string("store_") + figure;
    bench::printRow(key.c_str(), value(figure), value(std::string(figure) + "_reference"), "us");
  }
  return 0;
}
