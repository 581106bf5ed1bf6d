// Morvale: finds genomic islands, stretches of a genome whose k-mer composition
// differs from the genome as a whole. The whole interface is the console dialogue.
#include <iostream>
#include <new>

#include "app/dialogue.h"
#include "base/precondition.h"
#include "base/stop_signal.h"

int main() {
  morvale::installStopHandlers(morvale::StopMode::kImmediate);
  morvale::SystemConsole console;
  morvale::DialoguePhases phases(std::cout, console);
  try {
    return morvale::runConsoleProgram(std::cin, std::cout, console, phases);
  } catch (const std::bad_alloc&) {
    std::cout.flush();
    std::cerr << "Out of memory: the chosen k-tuple size, pool size or genome needs more memory "
                 "than this machine can give"
              << std::endl;
  } catch (const morvale::PreconditionError& e) {
    std::cout.flush();
    std::cerr << "Internal error: " << e.what() << std::endl;
  }
  return 1;
}
