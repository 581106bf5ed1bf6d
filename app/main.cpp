// Morvale: finds genomic islands, stretches of a genome whose k-mer composition
// differs from the genome as a whole. The whole interface is the console dialogue.
#include <iostream>
#include <new>

#include "app/dialogue.h"

int main() {
  morvale::RealPhases phases;
  try {
    return morvale::runDialogue(std::cin, std::cout, phases);
  } catch (const std::bad_alloc&) {
    std::cout.flush();
    std::cerr << "Out of memory: the chosen k-tuple size, pool size or genome needs more memory "
                 "than this machine can give"
              << std::endl;
    return 1;
  }
}
