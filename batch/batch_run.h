// One morvale-run: the output folder and its lock, every genome into its own
// subfolder (batch/genome_run), then the summary and the index of all of them, and
// the stop on a signal. Genomes fail on their own: the others still run.
#pragma once

#include <ostream>
#include <string>

#include "base/console.h"
#include "batch/options.h"

namespace morvale {

// The subfolder name of genome file number `index` (from 0): its base name without
// ".gz" and without a sequence-file extension (.fasta, .fa, .fna, ...), with path
// separators and control characters made '_' and leading dots dropped; "genome_N"
// (N = index + 1) when nothing is left, "stdin" for "-". runBatch makes the names
// unique with _2, _3, ...
std::string genomeName(const std::string& path, std::size_t index = 0);

// Runs the whole command; progress and errors go to `err`. Returns the exit status:
// 0 every genome completed, 1 any failed (or the summary could not be written), 2 a
// usage error found before anything started (an output folder that holds results
// without --force), 128 + the signal's number when a signal stopped it (130 for
// Ctrl-C, 143 for SIGTERM, 129 for SIGHUP). Nothing is written outside options.out.
int runBatch(const BatchOptions& options, Console& console, std::ostream& err, bool terminal);

}  // namespace morvale
