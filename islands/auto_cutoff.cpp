#include "islands/auto_cutoff.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "base/number_text.h"
#include "islands/first_assembly.h"
#include "islands/result_files.h"

namespace morvale {

RankCutoff rankCutoff(std::vector<double> pValues, std::int64_t windowsTested, double fraction) {
  RankCutoff rule;
  rule.rows = static_cast<std::int64_t>(pValues.size());
  rule.windowsTested = windowsTested;
  rule.fraction = fraction;
  if (pValues.empty()) return rule;
  const double product = fraction * static_cast<double>(windowsTested);
  const double wanted = std::ceil(product - std::fabs(product) * 1e-12);
  rule.rank = std::clamp<std::int64_t>(static_cast<std::int64_t>(wanted), 1, rule.rows);
  std::nth_element(pValues.begin(), pValues.begin() + (rule.rank - 1), pValues.end());
  rule.cutoff = pValues[static_cast<std::size_t>(rule.rank - 1)];
  rule.found = true;
  return rule;
}

bool firstPhasePValues(const std::string& scoreFile, std::vector<double>& pValues) {
  pValues.clear();
  std::vector<WindowScoreRow> rows;
  if (!readWindowScoreRows(scoreFile, false, rows)) return errno == ENOENT;
  const std::size_t read = firstPhaseRowCount(rows);
  for (std::size_t i = 0; i < read; ++i) pValues.push_back(rows[i].pValue);
  return true;
}

std::string rankCutoffWords(const RankCutoff& rule) {
  return "the " + numberText("%g", rule.fraction * 100) + " % most significant of " +
         std::to_string(rule.windowsTested) + " windows";
}

}  // namespace morvale
