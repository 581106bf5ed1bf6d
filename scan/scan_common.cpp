#include "scan/scan_common.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <utility>

#include "kmer/rand.h"

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

namespace {
double gibibytes(double bytes) {
  return bytes / (1024.0 * 1024.0 * 1024.0);
}
}  // namespace

bool allocatePool(SamplePool& pool, int rows, int tupleSize, int keys) {
  const double need = static_cast<double>(rows) * (static_cast<double>(keys) + 1) * sizeof(double);
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  const double have = pages > 0 && pageSize > 0 ? static_cast<double>(pages) * pageSize : 0.0;
  bool fits = have == 0.0 || need <= have;
  if (fits) {
    try {
      pool.allocate(rows, keys);
    } catch (const std::bad_alloc&) {
      fits = false;
    }
  }
  if (!fits) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "A pool of %d random samples at k-tuple size %d needs %.1f GiB of memory, "
                  "more than this machine can give (%.1f GiB in all); choose a smaller pool or k",
                  rows, tupleSize, gibibytes(need), gibibytes(have));
    std::cerr << text << std::endl;
  }
  return fits;
}

void ScanState::setParameters(int tupleSize, int draws, int step, int measureNumber, int poolRows,
                              std::string scoreFileName) {
  k = tupleSize;
  drawCount = draws;
  windowStep = step;
  measure = measureNumber;
  poolSize = poolRows;
  scoreFile = std::move(scoreFileName);
}

bool drawPool(ScanState& scan, const std::string& text, std::int64_t w, std::int64_t modulus,
              std::int64_t limit) {
  if (!allocatePool(scan.pool, scan.poolSize, scan.k, scan.tree.keys)) return false;
  for (int j = 0; j < scan.poolSize; ++j) {
    std::int64_t start;
    do {
      start = Rand(modulus);
    } while (static_cast<std::uint64_t>(start) >= static_cast<std::uint64_t>(limit));
    profileSample(scan.tree, text, start, static_cast<int>(w), scan.measure, scan.pool, j);
  }
  scan.ws.pairs.reset(scan.poolSize);
  return true;
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
