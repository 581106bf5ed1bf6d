// The bottom layer: whole-token numbers, TSV fields, files written whole, paths
// and the folder lock (the memory check is met where a pool is refused, in the scan
// tests).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "base/file_paths.h"
#include "base/folder_lock.h"
#include "base/tokens.h"
#include "base/tsv_text.h"
#include "base/whole_file.h"
#include "test_support.h"

namespace morvale {
namespace {

TEST(Tokens, OnlyWholeDecimalNumbersAreAccepted) {
  long long i = 0;
  double r = 0;
  // Token | value | whole (whole numbers are reals too); those below are neither.
  for (const char* row : {"42|42|1", "-7|-7|1", "+3|3|1", "0.01|0.01|0", "1e-10|1e-10|0",
                          "2.5E3|2500|0", "99999999999999999999|1e20|0"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    const double value = std::stod(c[1]);
    EXPECT_EQ(parseInteger(c[0], i) && i == value, c[2] == "1") << row;
    EXPECT_TRUE(parseReal(c[0], r) && r == value) << row;
  }
  for (const char* token : {"12abc", "", "-", "0x1p-3", "nan", "inf", "1e999", "."}) {
    EXPECT_FALSE(parseInteger(token, i)) << token;
    EXPECT_FALSE(parseReal(token, r)) << token;
  }
}

TEST(TsvText, FieldsKeepTheirColumnsAndLinesSplitAtTabs) {
  // Text | as one field | the fields of the text as a line, joined by '|'.
  for (const char* row :
       {"a\tb|a b|a|b", "x\r\ny|x  y|x\r\ny", "end\r|end |end", "||", "\t\t|  |||"}) {
    std::vector<std::string> c = testing::split(row, '|');
    const std::vector<std::string> fields(c.begin() + 2, c.end());
    EXPECT_EQ(tsvField(c[0]), c[1]) << row;
    EXPECT_EQ(splitTabs(c[0]), fields) << row;
  }
}

using Files = testing::ScratchDir;

TEST_F(Files, WrittenWholeOrNotAtAll) {
  testing::writeFile("old.txt", "before\n");
  EXPECT_EQ(writeWholeFile("old.txt", "after\n"), "");
  std::string text;
  ASSERT_TRUE(readWholeFile("old.txt", text));
  EXPECT_EQ(text, "after\n");
  EXPECT_EQ(writeWholeFile("no/such/new.txt", "x"),
            "cannot write no/such/new.txt: No such file or directory");
  ASSERT_EQ(::mkdir("in-the-way.txt.tmp", 0700), 0);  // the temporary name cannot be a file
  EXPECT_EQ(writeWholeFile("in-the-way.txt", "x"), "cannot write in-the-way.txt: Is a directory");
  EXPECT_FALSE(testing::fileExists("in-the-way.txt"));
  EXPECT_TRUE(testing::fileExists("in-the-way.txt.tmp"));  // not ours to remove
  EXPECT_FALSE(readWholeFile("missing.txt", text));
  // Two names of one file are the same file; an absent file is compared by its path.
  ASSERT_EQ(::link("old.txt", "again.txt"), 0);
  EXPECT_TRUE(sameFile("old.txt", "./again.txt"));
  EXPECT_TRUE(sameFile("gone/../missing.txt", "missing.txt"));
  EXPECT_FALSE(sameFile("old.txt", "missing.txt"));
  EXPECT_EQ(baseName("a/b/c.fasta"), "c.fasta");
}

using Lock = testing::ScratchDir;

TEST_F(Lock, OneRunPerFolderAndGoneRunsAreTakenOver) {
  std::string notice, error;
  {
    auto held = FolderLock::take(".", 0, notice, error);
    ASSERT_TRUE(held) << error;
    const std::string me = std::to_string(getpid());
    EXPECT_EQ(testing::readFile("morvale.lock").rfind("pid\t" + me + "\n", 0), 0u);
    EXPECT_FALSE(FolderLock::take("", 0, notice, error));
    EXPECT_EQ(error.rfind("The folder . is in use by another Morvale run (process " + me + ", ", 0),
              0u);
  }
  EXPECT_FALSE(testing::fileExists("morvale.lock"));

  const pid_t gone = testing::goneProcess();
  testing::writeFile("morvale.lock", "pid\t" + std::to_string(gone) + "\nstarted\tyesterday\n");
  auto taken = FolderLock::take(".", 0, notice, error);
  ASSERT_TRUE(taken) << error;
  EXPECT_EQ(notice, "Taking over the lock of a Morvale run that is gone (process " +
                        std::to_string(gone) + ", started yesterday) in the folder .");

  EXPECT_FALSE(FolderLock::take("no/such/folder", 0, notice, error));
  EXPECT_EQ(error,
            "Cannot create the lock file no/such/folder/morvale.lock: No such file or directory");
}

}  // namespace
}  // namespace morvale
