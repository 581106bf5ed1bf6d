#include "natural/natural_cutoff.h"

#include <algorithm>

#include "base/number_text.h"
#include "stats/two_means.h"

namespace morvale::natural {

NaturalCutoff naturalCutoff(const std::vector<ScoredWindow>& windows) {
  NaturalCutoff rule;
  rule.windows = windows.size();
  if (windows.size() < 2) {
    rule.noIslandsReason = "fewer than 2 windows were scored";
    return rule;
  }
  std::vector<double> scores;
  scores.reserve(windows.size());
  for (const ScoredWindow& w : windows) scores.push_back(w.score);
  rule.cap = nearestRankPercentile(scores, kCapPercentile);
  for (double& s : scores) s = std::min(s, rule.cap);
  const TwoMeansSplit split = twoMeans(std::move(scores));
  if (!split.found) {
    rule.noIslandsReason = "every window has the same capped score";
    return rule;
  }
  rule.cutoff = split.threshold;
  rule.lowerMean = split.lowerMean;
  rule.upperMean = split.upperMean;
  rule.called = split.upperSize;
  if (rule.called * 100 > rule.windows * kMostCalledPercent) {
    const double percent =
        100.0 * static_cast<double>(rule.called) / static_cast<double>(rule.windows);
    rule.noIslandsReason = "the split calls " + std::to_string(rule.called) + " of " +
                           std::to_string(rule.windows) + " windows (" +
                           numberText("%.1f", percent) + " %), more than " +
                           std::to_string(kMostCalledPercent) + " %";
  } else if (rule.upperMean - rule.lowerMean < kLeastMeanDifference) {
    rule.noIslandsReason = "the two groups' mean scores differ by " +
                           numberText("%.4g", rule.upperMean - rule.lowerMean) + ", less than " +
                           numberText("%g", kLeastMeanDifference);
  } else {
    rule.islandsCalled = true;
  }
  return rule;
}

}  // namespace morvale::natural
