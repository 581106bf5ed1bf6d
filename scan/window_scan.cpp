#include "scan/window_scan.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "base/memory.h"
#include "base/system_error.h"
#include "islands/result_files.h"
#include "kmer/rand.h"

namespace morvale {

namespace {

// Draw indices held by one batch at the most (16 MiB), so huge draw counts shrink it.
constexpr std::int64_t kMaxBatchDraws = std::int64_t{1} << 22;

struct Position {
  std::int64_t start;
  double centre;
  bool skipped;
};

}  // namespace

ScanContext::ScanContext(int tupleSize, int measureNumber, int draws, std::string scoreFileName,
                         ScanProgress& scanProgress, WorkerPool& workerPool)
    : k(tupleSize),
      measure(measureNumber),
      drawCount(draws),
      distance(distanceOf(measureNumber)),
      scoreFile(std::move(scoreFileName)),
      progress(scanProgress),
      workers(workerPool),
      scratch(static_cast<std::size_t>(workerPool.threads())) {
  for (WorkerScratch& s : scratch) buildtree(s.table, k);
}

std::string removeStaleFile(ScanContext& scan) {
  if (std::remove(scan.scoreFile.c_str()) == 0) {
    scan.progress.staleFileRemoved(scan.scoreFile);
    return "";
  }
  if (errno == ENOENT) return "";
  return systemErrorText(
      "Cannot remove the window-score file " + scan.scoreFile + " of an earlier run", errno);
}

std::string drawPool(ScanContext& scan, int rows, const std::string& text, std::int64_t w,
                     std::int64_t modulus, std::int64_t limit) {
  const std::string shortfall =
      memoryShortfall(samplePoolBytes(rows, scan.k, w),
                      "A pool of " + std::to_string(rows) + " random samples of " +
                          std::to_string(w) + " letters at k-tuple size " + std::to_string(scan.k),
                      "choose a smaller pool or k");
  if (!shortfall.empty()) return shortfall;
  SamplePool& pool = scan.pool;
  pool.starts.resize(static_cast<std::size_t>(rows));
  pool.rows.resize(static_cast<std::size_t>(rows));
  for (double& start : pool.starts) {
    std::int64_t at;
    do {
      at = Rand(modulus);
    } while (static_cast<std::uint64_t>(at) >= static_cast<std::uint64_t>(limit));
    start = static_cast<double>(at);
  }
  scan.workers.forEach(pool.starts.size(), [&](std::size_t j, int worker) {
    WorkerScratch& s = scan.scratch[static_cast<std::size_t>(worker)];
    zerotree(s.table);
    frequencyother(s.table, text.data() + static_cast<std::int64_t>(pool.starts[j]),
                   static_cast<int>(w), scan.measure, pool, static_cast<int>(j));
  });
  scan.pairs.reset(rows);
  scan.progress.poolDrawn(pool);
  return "";
}

ScanOutcome scoreWindows(ScanContext& scan, ScanPhase phase, const std::string& letters,
                         std::int64_t w, const std::vector<WindowRun>& runs, int repeats) {
  ScanOutcome outcome;
  const int m = scan.drawCount;
  const std::int64_t drawsPerWindow = std::int64_t{3} * m * repeats;
  const std::int64_t batchLimit = scan.workers.threads() == 1
                                      ? 1
                                      : std::clamp<std::int64_t>(kMaxBatchDraws / drawsPerWindow, 1,
                                                                 16 * scan.workers.threads());
  // Every repetition of a window is drawn before any is scored: check that they fit.
  outcome.error = memoryShortfall(static_cast<double>(drawsPerWindow) * sizeof(int) +
                                      static_cast<double>(repeats) * sizeof(WindowScore),
                                  "Scoring each window " + std::to_string(repeats) +
                                      " times with " + std::to_string(m) + " draws",
                                  "choose fewer scans or draws");
  if (!outcome.error.empty()) {
    outcome.result = ScanResult::kFailed;
    return outcome;
  }
  std::vector<Position> batch;
  std::vector<int> drawn;
  std::vector<WindowScore> scores;
  const auto flush = [&]() -> bool {
    // Draws, in window order, one scoring after another.
    drawn.resize(batch.size() * static_cast<std::size_t>(drawsPerWindow));
    for (std::size_t i = 0; i < batch.size(); ++i) {
      Position& pos = batch[i];
      pos.skipped = !anyDrawableRow(scan.pool, pos.start, w);
      if (pos.skipped) continue;
      for (int rep = 0; rep < repeats; ++rep) {
        int* rows = drawn.data() + i * drawsPerWindow + std::int64_t{3} * m * rep;
        drawSamples(scan.pool, pos.start, w, 3 * m, rows);
        if (scan.pairs.keeps())
          for (int j = 0; j < m; ++j) scan.pairs.want(rows[m + j], rows[2 * m + j]);
      }
    }
    // Background distances of pairs not seen before, then the windows themselves.
    const auto& pending = scan.pairs.pending();
    scan.workers.forEach(pending.size(), [&](std::size_t i, int worker) {
      DistanceScratch& d = scan.scratch[static_cast<std::size_t>(worker)].score.distance;
      scan.pairs.fill(i, profileDistance(scan.distance, scan.pool.sparse(pending[i].first),
                                         scan.pool.sparse(pending[i].second), d));
    });
    scan.pairs.clearPending();
    scores.resize(batch.size() * static_cast<std::size_t>(repeats));
    scan.workers.forEach(batch.size(), [&](std::size_t i, int worker) {
      if (batch[i].skipped) return;
      WorkerScratch& s = scan.scratch[static_cast<std::size_t>(worker)];
      zerotree(s.table);
      frequencyW(s.table, letters.data() + batch[i].start, static_cast<int>(w), scan.measure,
                 s.window);
      for (int rep = 0; rep < repeats; ++rep) {
        scores[i * static_cast<std::size_t>(repeats) + static_cast<std::size_t>(rep)] =
            scoreDrawnSamples(scan.distance, s.window, scan.pool,
                              drawn.data() + i * drawsPerWindow + std::int64_t{3} * m * rep, m,
                              scan.pairs, s.score);
      }
    });
    // Progress and rows, in window order.
    for (std::size_t i = 0; i < batch.size(); ++i) {
      const Position& pos = batch[i];
      const auto shown = static_cast<std::int64_t>(pos.centre);
      const WindowScore* mine = scores.data() + i * static_cast<std::size_t>(repeats);
      for (int rep = 0; rep < repeats && !pos.skipped; ++rep) {
        if (!mine[rep].failure) continue;
        outcome.result = ScanResult::kFailed;
        outcome.numericalFailure = mine[rep].failure;
        outcome.error = "the t-test failed numerically at window " + std::to_string(shown) +
                        " (size " + std::to_string(w) + "): " + outcome.numericalFailure;
        return false;
      }
      for (int rep = 0; rep < repeats; ++rep) {
        ++outcome.windowsTested;
        if (phase == ScanPhase::kFirst) {
          scan.progress.firstPhaseWindow(w, shown);
        } else {
          scan.progress.refinementScoring(w, shown);
        }
        if (pos.skipped) {
          scan.progress.windowSkipped(shown);
          continue;
        }
        const WindowScore& score = mine[rep];
        if (phase == ScanPhase::kFirst) scan.progress.firstPhaseScore(w, score.t, score.p);
        if (!score.selected()) continue;
        errno = 0;
        if (!appendWindowScoreRow(scan.scoreFile, WindowScoreRow{w, pos.centre, score.p})) {
          outcome.result = ScanResult::kFailed;
          outcome.error =
              systemErrorText("Cannot write window-score file " + scan.scoreFile, errno);
          return false;
        }
      }
    }
    batch.clear();
    return true;
  };
  for (const WindowRun& run : runs) {
    for (std::int64_t i = 0; i < run.count; ++i) {
      if (batch.empty() && scan.progress.stopRequested()) {
        outcome.result = ScanResult::kInterrupted;
        return outcome;
      }
      const std::int64_t start = run.first + i * run.step;
      const double centre = phase == ScanPhase::kFirst
                                ? static_cast<double>(start + w / 2)
                                : static_cast<double>(start) + static_cast<double>(w) * 0.5;
      batch.push_back(Position{start, centre, false});
      if (static_cast<std::int64_t>(batch.size()) == batchLimit && !flush()) return outcome;
    }
  }
  if (!batch.empty()) flush();
  return outcome;
}

}  // namespace morvale
