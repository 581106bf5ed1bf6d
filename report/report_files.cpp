#include "report/report_files.h"

#include <filesystem>
#include <fstream>

#include "report/html_page.h"
#include "report/svg_plot.h"

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

// Writes `path` whole: path + ".tmp", renamed over `path` once complete. On failure
// (a full disk) the temporary file is removed and `path` is left as it was. A path
// that is not a regular file (a pipe, /dev/stdout) is written to directly.
template <typename Write>
bool writeOne(const std::string& path, Write write) {
  if (path.empty()) return true;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    std::ofstream out(path);
    write(out);
    out.close();
    return static_cast<bool>(out);
  }
  const std::string temporary = path + ".tmp";
  std::ofstream out(temporary);
  write(out);
  out.close();
  if (out) fs::rename(temporary, path, ec);
  if (out && !ec) return true;
  fs::remove(temporary, ec);
  return false;
}

}  // namespace

std::string writeReportFiles(const LoadedRun& in, const ReportFiles& files) {
  const struct {
    const std::string& path;
    void (*write)(std::ostream&, const LoadedRun&);
  } plain[] = {{files.bed, writeBed},
               {files.gff3, writeGff3},
               {files.tsv, writeTable},
               {in.annotated ? files.genes : std::string(), writeGenes}};
  for (const auto& file : plain)
    if (!writeOne(file.path, [&](std::ostream& out) { file.write(out, in); }))
      return "cannot write " + file.path;
  if (!writeOne(files.svg, [&](std::ostream& out) { writeSvg(out, in); }))
    return "cannot write " + files.svg;
  const PageLinks links{relativeTo(files.html, files.bed), relativeTo(files.html, files.gff3),
                        relativeTo(files.html, files.tsv),
                        in.annotated ? relativeTo(files.html, files.genes) : ""};
  if (!writeOne(files.html, [&](std::ostream& out) { writeHtmlPage(out, in, links); }))
    return "cannot write " + files.html;
  return "";
}

}  // namespace morvale::report
