// The bottom layer: whole-token numbers and the folder lock (the memory check is
// met where a pool is refused, in the scan tests).
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "base/folder_lock.h"
#include "base/tokens.h"
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
