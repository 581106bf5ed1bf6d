#include "scan/scan_common.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace morvale {

void removeStaleFile(const std::string& fileName) {
  std::cout.flush();
  if (std::remove(fileName.c_str()) == 0) {
    std::cout << fileName << " is deleted" << std::endl;
  } else {
    std::perror((fileName + " does not exist").c_str());
  }
}

bool loadGenome(const std::string& fileName, std::int64_t stopAtOrBelow, Genome& genome) {
  genome = readgenome(fileName, stopAtOrBelow);
  if (genome.status == GenomeStatus::kOk || genome.status == GenomeStatus::kTooShort) return true;
  if (genome.status == GenomeStatus::kCannotOpen)
    std::cout << "Cannot open sequence file" << std::endl;
  std::cerr << genomeErrorText(genome, fileName) << std::endl;
  return false;
}

bool handleScore(ScoreOutcome outcome, std::int64_t centre, const std::string& scoreFile) {
  if (outcome == ScoreOutcome::kNoAcceptableSample) {
    std::cout << "No random sample starts outside the window at " << centre
              << " bp position; window skipped" << std::endl;
  } else if (outcome == ScoreOutcome::kWriteFailed) {
    const int reason = errno;
    std::cerr << "Cannot write window-score file " << scoreFile << ": "
              << (reason ? std::strerror(reason) : "write failed") << std::endl;
    return false;
  }
  return true;
}

void profileSample(KmerTree& tree, const std::string& text, std::int64_t start, int len,
                   int measure, SamplePool& pool, int j) {
  pool.row(j)[0] = static_cast<double>(start);
  zerotree(tree);
  frequencyother(tree, text.data() + start, len, measure, pool, j);
}

void profileWindow(KmerTree& tree, const std::string& genome, std::int64_t start, int len,
                   int measure, Profile& window) {
  zerotree(tree);
  frequencyW(tree, genome.data() + start, len, measure, window);
}

}  // namespace morvale
