// Genome names as a run's folders hold them, and the sample sheet of a workflow:
// one set of rules for --name, the sheet the workflow runs and the sheet --collect
// orders its summary by, so a name that passes one passes them all.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace morvale {

// The longest name in bytes: a genome's name becomes a folder and, in the jobs
// folder, NAME.done, NAME.tsv, NAME.log and NAME.tsv.tmp; all of them fit a file name
// of 255 bytes.
constexpr std::size_t kMaxNameBytes = 247;

// "" when `name` can name a genome's folder and its job files, else what it must be:
// not empty, valid UTF-8 without control characters, no '/' or '\', no '{' or '}', no
// leading '.', not ending in ".tmp", none of the output folder's own names, at most
// kMaxNameBytes bytes.
std::string nameProblem(const std::string& name);

// A sheet cell as the workflow takes it: surrounding blanks dropped, then one pair of
// matching surrounding quotes (" or '), then blanks again.
std::string sheetValue(const std::string& cell);

struct SampleRow {
  std::string name;
  std::string genome;
  std::string annotation;  // "" for none
  std::size_t line = 0;    // in the sheet, from 1
};

// Reads a sample sheet: a tab-separated table whose first line names its columns,
// among them "name" and, when `needGenomes`, "genome" (an "annotation" column is
// optional; others are passed over). Empty lines are passed over. False with `error`
// set to one line naming the sheet, the line and the problem: a file that cannot be
// read, a missing column, a row without a name or genome, a name that breaks the
// rules, a name given twice. Genome files are not opened: a missing one fails its own
// genome when it runs.
bool readSampleSheet(const std::string& path, bool needGenomes, std::vector<SampleRow>& rows,
                     std::string& error);

// --check-sheet: reads the sheet at `path` and writes its rows to `out` as
// "name<TAB>genome<TAB>annotation" lines after that header, values as the workflow
// takes them. Returns 0, or 1 with one line on `err` when the sheet is refused.
int printSampleSheet(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace morvale
