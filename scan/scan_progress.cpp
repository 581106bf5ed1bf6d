#include "scan/scan_progress.h"

namespace morvale {

void ConsoleProgress::staleFileRemoved(const std::string& name) {
  out_ << name << " is deleted" << std::endl;
}

void ConsoleProgress::windowSizeStarted(std::int64_t w) {
  out_ << "Generating random sample for " << w << " probing window" << std::endl;
}

void ConsoleProgress::firstPhaseWindow(std::int64_t w, std::int64_t centre) {
  console_.clearScreen(out_);
  out_ << w << " window is running at " << centre << " bp position" << std::endl;
}

void ConsoleProgress::refinementScoring(std::int64_t w, std::int64_t centre) {
  console_.clearScreen(out_);
  out_ << "A window of " << w << " is running at position " << centre << std::endl;
}

void ConsoleProgress::windowSkipped(std::int64_t centre) {
  out_ << "No random sample starts outside the window at " << centre
       << " bp position; window skipped" << std::endl;
}

void ConsoleProgress::noRoomForSamples(std::int64_t w, std::int64_t length) {
  out_ << "No room for a random sample of " << w << " letters in a genome of " << length
       << " letters; larger window sizes are not scanned" << std::endl;
}

}  // namespace morvale
