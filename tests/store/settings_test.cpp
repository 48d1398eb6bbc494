// The editor settings file: its integers and booleans, reading line by line, writing.
#include "store/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <vector>

#include "store/ioerror.h"
#include "store_test_util.h"
#include "support/workdir.h"

using testing_support::readBytes;
using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

// The ConvertError message `body` throws, empty when it throws nothing.
template <typename F>
std::string convertErrorOf(F body) {
  try {
    body();
  } catch (const store::ConvertError& e) {
    return e.what();
  }
  return {};
}

TEST(Settings, ParsesIntegers) {
  const std::vector<std::pair<const char*, int>> good = {
      {"15", 15},
      {"  15", 15},
      {"\t 7", 7},
      {"+5", 5},
      {"-5", -5},
      {"007", 7},
      {"$1F", 31},
      {"$ff", 255},
      {"-$10", -16},
      {"0x1f", 31},
      {"0X1F", 31},
      {"-0x10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"$7FFFFFFF", 2147483647},
  };
  for (const auto& [text, value] : good) {
    SCOPED_TRACE(text);
    EXPECT_EQ(store::parseInteger(text), value);
  }
  const char* bad[] = {"",
                       " ",
                       "abc",
                       "15 ",
                       "1.5",
                       "--1",
                       "+-1",
                       "$",
                       "0x",
                       "+",
                       "1_0",
                       "1e3",
                       "0x-1",
                       "2147483648",
                       "-2147483649",
                       "$80000000",
                       "99999999999999999999",
                       "\xC2\xB2"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_EQ(convertErrorOf([&] { store::parseInteger(QString::fromUtf8(text)); }),
              "'" + std::string(text) + "' is not a valid integer value");
  }
}

TEST(Settings, ParsesBooleans) {
  const std::vector<std::pair<const char*, bool>> good = {
      {"-1", true},   {"0", false},   {"1", true},      {"2.5", true},
      {"0.0", false}, {"-0", false},  {".5", true},     {"5.", true},
      {"1e3", true},  {"0E5", false}, {" 0 ", false},   {"True", true},
      {"TRUE", true}, {"true", true}, {"False", false}, {"fAlSe", false},
  };
  for (const auto& [text, value] : good) {
    SCOPED_TRACE(text);
    EXPECT_EQ(store::parseBoolean(text), value);
  }
  const char* bad[] = {"", "yes", "1,5", " true", "true ", ".", "-", "e5", "1e", "0x1", "$1"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_EQ(convertErrorOf([&] { store::parseBoolean(text); }),
              "'" + std::string(text) + "' is not a valid boolean value");
  }
}

struct ReadCase {
  const char* name;
  QByteArray bytes;
  std::optional<int> fontSize;
  std::optional<QString> fontName;
  std::optional<bool> autoSave;
  std::optional<bool> readOnly;
  QString error;  // empty: read through
};

TEST(Settings, ReadsLineByLineUpToTheFirstFailure) {
  const std::vector<ReadCase> cases = {
      {"all four", "18\r\nConsolas\r\n-1\r\n0\r\n", 18, "Consolas", true, false, ""},
      {"lf line ends", "40\nSegoe UI\n0\nTrue\n", 40, "Segoe UI", false, true, ""},
      {"empty font name", "12\r\n\r\n0\r\n0\r\n", 12, "", false, false, ""},
      {"abc in line 1",
       "abc\r\nConsolas\r\n0\r\n0\r\n",
       {},
       {},
       {},
       {},
       "'abc' is not a valid integer value"},
      {"two lines only",
       "12\r\nConsolas\r\n",
       12,
       "Consolas",
       {},
       {},
       "'' is not a valid boolean value"},
      {"bad line 4",
       "12\r\nConsolas\r\n-1\r\nmaybe\r\n",
       12,
       "Consolas",
       true,
       {},
       "'maybe' is not a valid boolean value"},
      {"empty file", "", {}, {}, {}, {}, "'' is not a valid integer value"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    writeBytes("options.txt", c.bytes);
    const store::SettingsRead r = store::readSettings("options.txt");
    EXPECT_FALSE(r.missing);
    EXPECT_EQ(r.failed, !c.error.isEmpty());
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.fontSize, c.fontSize);
    EXPECT_EQ(r.fontName, c.fontName);
    EXPECT_EQ(r.autoSave, c.autoSave);
    EXPECT_EQ(r.readOnly, c.readOnly);
  }
}

TEST(Settings, MissingOrUnreadableFile) {
  WorkDir wd;
  const store::SettingsRead missing = store::readSettings("options.txt");
  EXPECT_TRUE(missing.missing);
  EXPECT_FALSE(missing.failed);
  EXPECT_FALSE(missing.fontSize.has_value());

  QDir().mkdir("options.txt");
  const store::SettingsRead folder = store::readSettings("options.txt");
  EXPECT_FALSE(folder.missing);
  EXPECT_TRUE(folder.failed);
  EXPECT_EQ(folder.error, QString("File access denied"));
  EXPECT_FALSE(folder.fontSize.has_value());
}

TEST(Settings, WritesFourLinesAndReadsThemBack) {
  WorkDir wd;
  store::writeSettings("options.txt", {18, "Calibri", false, false});
  EXPECT_EQ(readBytes("options.txt"), QByteArray("18\r\nCalibri\r\n0\r\n0\r\n"));
  store::writeSettings("options.txt", {5, "Fira Code", true, true});
  EXPECT_EQ(readBytes("options.txt"), QByteArray("5\r\nFira Code\r\n-1\r\n-1\r\n"));
  const store::SettingsRead r = store::readSettings("options.txt");
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.fontSize, 5);
  EXPECT_EQ(r.fontName, QString("Fira Code"));
  EXPECT_EQ(r.autoSave, true);
  EXPECT_EQ(r.readOnly, true);
  EXPECT_EQ(store_test::ioCodeOf([] { store::writeSettings("nofolder/options.txt", {}); }),
            store::kFileNotFound);
}

}  // namespace
