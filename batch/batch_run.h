// One morvale-run: every genome into its own subfolder of the output folder, then
// the summary of all of them. Genomes fail on their own: the others still run.
#pragma once

#include <ostream>
#include <string>

#include "base/console.h"
#include "batch/options.h"

namespace morvale {

// The subfolder name of a genome file: its base name without ".gz" and without a
// sequence-file extension (.fasta, .fa, .fna, .fas, .fsa, .seq, .txt).
std::string genomeName(const std::string& path);

// Runs the whole command; progress and errors go to `err`. Returns the exit status:
// 0 every genome completed, 1 any failed, 2 a usage error found before anything
// started (the same name twice, an output folder that holds results without
// --force), 128 + the signal's number when a signal stopped it (130 for Ctrl-C,
// 143 for SIGTERM, 129 for SIGHUP).
int runBatch(const BatchOptions& options, Console& console, std::ostream& err, bool terminal);

}  // namespace morvale
