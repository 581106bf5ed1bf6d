// The bottom layer: whole-token numbers and the folder lock (the memory check is
// met where a pool is refused, in the scan tests).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "base/folder_lock.h"
#include "base/tokens.h"
#include "test_support.h"

namespace morvale {
namespace {

TEST(Tokens, OnlyWholeDecimalNumbersAreAccepted) {
  struct Case {
    const char* token;
    bool integer;
    bool real;
    double value;
  } cases[] = {
      {"42", true, true, 42},
      {"-7", true, true, -7},
      {"+3", true, true, 3},
      {"0.01", false, true, 0.01},
      {"1e-10", false, true, 1e-10},
      {"2.5E3", false, true, 2500},
      {"12abc", false, false, 0},
      {"", false, false, 0},
      {"-", false, false, 0},
      {"0x1p-3", false, false, 0},
      {"nan", false, false, 0},
      {"inf", false, false, 0},
      {"1e999", false, false, 0},
      {".", false, false, 0},
      {"99999999999999999999", false, true, 1e20},
  };
  for (const Case& c : cases) {
    long long i = 0;
    double r = 0;
    EXPECT_EQ(parseInteger(c.token, i), c.integer) << c.token;
    EXPECT_EQ(parseReal(c.token, r), c.real) << c.token;
    if (c.integer) {
      EXPECT_EQ(i, static_cast<long long>(c.value)) << c.token;
    }
    if (c.real) {
      EXPECT_EQ(r, c.value) << c.token;
    }
  }
}

using Lock = testing::ScratchDir;

// A process id that no process has now: a child that has ended and been reaped.
pid_t goneProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

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

  const pid_t gone = goneProcess();
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
