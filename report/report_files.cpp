#include "report/report_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <sstream>

#include "base/system_error.h"
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

// "" when `path` can be written as writeWholeFile writes it: a path that is there and
// is not a regular file (a pipe, /dev/stdout) can be opened for writing, for any
// other the temporary file beside it can be created (it is removed again) and no
// folder stands in the way; else "cannot write PATH: reason".
std::string writable(const std::string& path) {
  struct stat status;
  int reason = 0;
  if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    reason = EISDIR;
  } else if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    if (access(path.c_str(), W_OK) != 0) reason = errno;
  } else {
    const std::string temporary = temporaryPathOf(path);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) reason = errno;
    if (fd >= 0) close(fd);
    if (fd >= 0) std::remove(temporary.c_str());
  }
  return reason ? systemErrorText("cannot write " + path, reason) : "";
}

}  // namespace

std::string writeReportFiles(const LoadedRun& in, const ReportFiles& files) {
  // Every output is checked before any is written, so a path that cannot be written
  // leaves none of them behind.
  for (const std::string* path : {&files.bed, &files.gff3, &files.tsv, &files.svg, &files.html,
                                  in.annotation ? &files.genes : &files.bed}) {
    const std::string problem = path->empty() ? "" : writable(*path);
    if (!problem.empty()) return problem;
  }
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
