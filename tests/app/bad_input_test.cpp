// Bad input at the console: each case ends with one clear line and the right exit
// status, and leaves the results of an earlier run as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/dialogue.h"
#include "islands/island_one.h"
#include "islands/island_two.h"
#include "scan/scan_common.h"
#include "test_support.h"

namespace morvale {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class BadInput : public testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    testing::writeFile("Euclidean-first.txt", "5000\t2500\t0.01\n");
    testing::writeFile("Eu-first-Islands.txt", "1\t5000\n");
    testing::writeFile("good.fa", ">g\n" + testing::randomDna(3000, 5) + "\n");
  }
  Outcome run(const std::string& answers) {
    std::istringstream in(answers);
    std::ostringstream out;
    RealPhases phases;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = runDialogue(in, out, phases);
    std::string printed = ::testing::internal::GetCapturedStdout();
    return {status, out.str() + printed, ::testing::internal::GetCapturedStderr()};
  }
  void expectEarlierResultsKept() {
    EXPECT_EQ(testing::readFile("Euclidean-first.txt"), "5000\t2500\t0.01\n");
    EXPECT_EQ(testing::readFile("Eu-first-Islands.txt"), "1\t5000\n");
  }
};

TEST_F(BadInput, GenomeFilesThatCannotBeScanned) {
  std::filesystem::create_directory("dir.fa");
  testing::writeFile("empty.fa", "");
  testing::writeFile("n.fa", ">only N\nNNNNNNNNNNNNNNNNNNNN\n");
  testing::writeFile("g.fa.gz", std::string("\x1f\x8b\x08\x00\x00\x00", 6) + "acgtacgt");
  testing::writeFile("short.fa", testing::randomDna(50, 1));
  testing::writeFile("binary.fa",
                     std::string("ACGT\0\x01\x02\xff", 8) + testing::randomDna(500, 2));
  struct Case {
    const char* file;
    int status;
    const char* line;
  } cases[] = {
      {"missing.fa", 1, "Cannot open genome file missing.fa: No such file or directory"},
      {"dir.fa", 1, "Cannot read genome file dir.fa: Is a directory"},
      {"empty.fa", 0, "Check the Window size [Sugg: Minimize it]"},
      {"n.fa", 0, "Check the Window size [Sugg: Minimize it]"},
      {"g.fa.gz", 1, "Genome file g.fa.gz is gzip-compressed; decompress it first"},
      {"short.fa", 0, "Check the Window size [Sugg: Minimize it]"},
      {"binary.fa", 1, "Genome file binary.fa holds binary data, not a plain-text sequence"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(std::string("2 1 2 100 10 5 50 50 ") + c.file + " 0.1 1 n n");
    EXPECT_EQ(o.status, c.status) << c.file;
    EXPECT_NE((o.out + o.err).find(c.line), std::string::npos) << c.file << "\n" << o.out << o.err;
    EXPECT_EQ(o.out.find("First phase of Morvale completed"), std::string::npos) << c.file;
    expectEarlierResultsKept();
  }
}

TEST_F(BadInput, IslandListsTheRefinementRefuses) {
  struct Case {
    const char* islands;
    const char* line;
  } cases[] = {
      {"abc 100\n",
       "holds \"abc\" where a whole number from -2147483648 to 2147483647 was expected"},
      {"100 3000000000\n", "holds \"3000000000\" where a whole number"},
      {"-5 200\n", "Island (-5, 200) in the islands file starts before the genome"},
      {"100 200\n300\n", "odd number of values: the last start 300 has no end"},
      {"100 500\n400 900\n", "Island (400, 900) in the islands file overlaps or precedes"},
      {"1000 1500\n100 500\n", "Island (100, 500) in the islands file overlaps or precedes"},
      {"500 400\n", "Island (500, 400) in the islands file does not start below its end"},
      {"100 200\n5000 6000\n", "Island (5000, 3000) in the islands file starts beyond the genome"},
      {"0 2900\n", "The genome outside the islands has 100 letters, too few"},
  };
  const Outcome missing = run("2 2 2 100 10 5 100 good.fa nowhere.txt 1 1 0.05");
  EXPECT_NE(missing.out.find("Cannot open the islands file nowhere.txt: No such file or directory; "
                             "nothing is scored"),
            std::string::npos);
  for (const Case& c : cases) {
    testing::writeFile("islands.txt", c.islands);
    const Outcome o = run("2 2 2 100 10 5 100 good.fa islands.txt 1 1 0.05");
    EXPECT_EQ(o.status, 0) << c.islands;
    EXPECT_NE(o.out.find(std::string(c.line)), std::string::npos) << c.islands << o.out;
    EXPECT_EQ(o.out.find("A window of"), std::string::npos);
    EXPECT_EQ(testing::readFile("islands.txt"), c.islands);
    EXPECT_EQ(testing::readFile("Eu-refinement-Islands.txt"), "");
    expectEarlierResultsKept();
  }
}

TEST_F(BadInput, WindowScoreRowsThatCannotBeReadEndTheReading) {
  struct Case {
    const char* rows;
    const char* line;
  } cases[] = {
      {"5000\t2500\t0.01\n5000\t3500", "row 2 is not a valid row"},
      {"5000\t2500\t0.01\n5000\t3500\tnan\n", "row 2 is not a valid row"},
      {"5000\t2500\t0.01\n5000\t3500\tinf\n", "row 2 is not a valid row"},
      {"5000\t2500\t0.01\n-5000\t3500\t0.01\n", "row 2 is not a valid row"},
      {"5000\t2500\t0.01\n5000\t-3500\t0.01\n", "row 2 is not a valid row"},
  };
  for (const Case& c : cases) {
    testing::writeFile("scores.txt", c.rows);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(cordsortI(1, 0.05, "scores.txt", "first.txt"));
    EXPECT_TRUE(cordsortII(0.05, "scores.txt", "refined.txt", 1));
    ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Window-score file scores.txt: " + std::string(c.line) +
                       " of three numbers; it and the rows after it are ignored\n"
                       "Window-score file scores.txt: " +
                       c.line + " of three numbers; it and the rows after it are ignored\n")
        << c.rows;
    EXPECT_EQ(testing::readFile("first.txt"), "1\t5000\n");
    EXPECT_EQ(testing::readFile("refined.txt"), "1\t5000\n");
  }
}

TEST_F(BadInput, WritesThatFailEndTheRunWithStatusOne) {
  testing::writeFile("planted.fa", testing::randomDna(6000, 3) + testing::randomDna(3000, 4, 0.1) +
                                       testing::randomDna(6000, 5));
  // A directory where the window-score file belongs: it cannot be removed or appended to.
  std::filesystem::remove("Euclidean-first.txt");
  std::filesystem::create_directory("Euclidean-first.txt");
  testing::writeFile("Euclidean-first.txt/keep", "");
  Outcome o = run("2 1 2 500 20 10 100 20000 planted.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("Cannot write window-score file Euclidean-first.txt: Is a directory"),
            std::string::npos)
      << o.err;
  EXPECT_EQ(o.out.find("First phase of Morvale completed"), std::string::npos);

  if (testing::fileExists("/dev/full")) {
    std::filesystem::remove_all("Euclidean-first.txt");
    std::filesystem::remove("Eu-first-Islands.txt");
    std::filesystem::create_symlink("/dev/full", "Eu-first-Islands.txt");
    o = run("2 1 2 500 20 10 100 20000 planted.fa 0.1 1 n n");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("Cannot write islands file Eu-first-Islands.txt: No space left on device"),
              std::string::npos)
        << o.err;
    EXPECT_EQ(o.out.find("is prepared"), std::string::npos);
  }
}

TEST_F(BadInput, APoolTooLargeForMemoryIsRefused) {
  const Outcome o = run("2 1 8 100 300000000 2 50 50 good.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err.rfind("A pool of 300000000 random samples at k-tuple size 8 needs 146486.6 GiB "
                        "of memory, more than this machine can give (",
                        0),
            0u)
      << o.err;
}

}  // namespace
}  // namespace morvale
