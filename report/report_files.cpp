#include "report/report_files.h"

#include <filesystem>
#include <sstream>

#include "base/whole_file.h"
#include "report/html_page.h"
#include "report/svg_plot.h"
#include "report/tracks.h"

namespace morvale::report {

namespace {

// `target` as a path from the folder of `page`.
std::string relativeTo(const std::string& page, const std::string& target) {
  if (target.empty()) return "";
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path from = fs::absolute(fs::path(page), ec).parent_path();
  const fs::path relative = fs::absolute(fs::path(target), ec).lexically_relative(from);
  return ec || relative.empty() ? target : relative.generic_string();
}

// Writes what `write` puts on a stream to `path` whole; "" or the problem.
template <typename Write>
std::string writeOne(const std::string& path, Write write) {
  if (path.empty()) return "";
  std::ostringstream text;
  write(text);
  return writeWholeFile(path, text.str());
}

}  // namespace

std::string writeReportFiles(const LoadedRun& in, const ReportFiles& files) {
  const struct {
    const std::string& path;
    void (*write)(std::ostream&, const LoadedRun&);
  } plain[] = {{files.bed, writeBed},
               {files.gff3, writeGff3},
               {files.tsv, writeTable},
               {in.annotation ? files.genes : std::string(), writeGenes},
               {in.geneScores ? files.evidence : std::string(), writeEvidence}};
  std::string error;
  for (const auto& file : plain) {
    error = writeOne(file.path, [&](std::ostream& out) { file.write(out, in); });
    if (!error.empty()) return error;
  }
  error = writeOne(files.svg, [&](std::ostream& out) { writeSvg(out, in); });
  if (!error.empty()) return error;
  const PageLinks links{relativeTo(files.html, files.bed), relativeTo(files.html, files.gff3),
                        relativeTo(files.html, files.tsv),
                        in.annotation ? relativeTo(files.html, files.genes) : "",
                        in.geneScores ? relativeTo(files.html, files.evidence) : ""};
  return writeOne(files.html, [&](std::ostream& out) { writeHtmlPage(out, in, links); });
}

}  // namespace morvale::report
