#include "batch/island_presence.h"

#include <algorithm>
#include <sstream>

#include "base/tsv_text.h"
#include "base/whole_file.h"
#include "batch/index_page.h"
#include "batch/output_layout.h"
#include "report/loaded_run.h"

namespace morvale {

namespace {

std::string clusterTable(const compare::ClusterResult& r) {
  std::ostringstream text;
  text << "cluster\tgenome\trecord\tisland\tstart\tend\tlength\tcluster_size\tcluster_genomes\n";
  for (const compare::ClusteredIsland& i : r.islands) {
    const std::size_t c = static_cast<std::size_t>(i.cluster - 1);
    text << i.cluster << '\t' << tsvField(i.genome) << '\t' << tsvField(i.record) << '\t'
         << tsvField(i.island) << '\t' << i.start << '\t' << i.end << '\t' << i.end - i.start + 1
         << '\t' << r.clusterSize[c] << '\t' << r.clusterGenomes[c] << '\n';
  }
  return text.str();
}

}  // namespace

IslandPresence clusterIslandsAcross(const std::string& outDir,
                                    const std::vector<std::string>& folders,
                                    const compare::ClusterSettings& settings) {
  IslandPresence presence;
  if (folders.size() < 2) {
    presence.error = removeFileIfPresent(layout::runPath(outDir, layout::RunFile::kClusters));
    return presence;
  }
  std::vector<compare::GenomeIslandsFile> files;
  for (const std::string& folder : folders)
    files.push_back(
        {folder, layout::genomePath(outDir + "/" + folder, layout::GenomeFile::kIslandsFasta)});
  const compare::ClusterResult r = compare::clusterIslandFiles(files, settings);
  presence.error = r.error;
  if (presence.error.empty())
    presence.error =
        writeWholeFile(layout::runPath(outDir, layout::RunFile::kClusters), clusterTable(r));
  if (!presence.error.empty()) return presence;
  std::vector<PresenceRow> rows(static_cast<std::size_t>(r.clusters));
  for (std::size_t c = 0; c < rows.size(); ++c) {
    rows[c].cluster = static_cast<int>(c) + 1;
    rows[c].cells.resize(r.genomes.size());
  }
  for (const compare::ClusteredIsland& i : r.islands) {
    PresenceRow& row = rows[static_cast<std::size_t>(i.cluster - 1)];
    const std::size_t g = static_cast<std::size_t>(
        std::lower_bound(r.genomes.begin(), r.genomes.end(), i.genome) - r.genomes.begin());
    PresenceCell& cell = row.cells[g];
    if (cell.islands++ == 0) {
      cell.page = layout::genomePath(i.genome, layout::GenomeFile::kReportHtml);
      cell.row = i.island;
    }
    row.places.push_back(i.genome + " " + i.record + ":" + std::to_string(i.start) + "-" +
                         std::to_string(i.end));
  }
  std::ostringstream html;
  writePresenceTable(html, r.genomes, rows);
  presence.html = html.str();
  return presence;
}

}  // namespace morvale
