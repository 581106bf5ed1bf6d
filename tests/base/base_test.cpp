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
  // Whole numbers are reals too; the rest are neither.
  const std::pair<const char*, double> integers[] = {{"42", 42}, {"-7", -7}, {"+3", 3}};
  const std::pair<const char*, double> reals[] = {
      {"0.01", 0.01}, {"1e-10", 1e-10}, {"2.5E3", 2500}, {"99999999999999999999", 1e20}};
  long long i = 0;
  double r = 0;
  for (const auto& [token, value] : integers) {
    EXPECT_TRUE(parseInteger(token, i) && i == value) << token;
    EXPECT_TRUE(parseReal(token, r) && r == value) << token;
  }
  for (const auto& [token, value] : reals) {
    EXPECT_FALSE(parseInteger(token, i)) << token;
    EXPECT_TRUE(parseReal(token, r) && r == value) << token;
  }
  for (const char* token : {"12abc", "", "-", "0x1p-3", "nan", "inf", "1e999", "."}) {
    EXPECT_FALSE(parseInteger(token, i)) << token;
    EXPECT_FALSE(parseReal(token, r)) << token;
  }
}

using Lock = testing::ScratchDir;

TEST_F(Lock, OneRunPerFolderAndGoneRunsAreTakenOver) {
  std::string notice;
  std::string error;
  {
    auto held = FolderLock::take(".", 0, notice, error);
    ASSERT_TRUE(held) << error;
    EXPECT_NE(testing::readFile("morvale.lock").find("pid\t" + std::to_string(getpid()) + "\n"),
              std::string::npos);
    EXPECT_FALSE(FolderLock::take("", 0, notice, error));
    EXPECT_EQ(error.rfind("The folder . is in use by another Morvale run (process " +
                              std::to_string(getpid()) + ", started ",
                          0),
              0u)
        << error;
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
