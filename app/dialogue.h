// The console dialogue: the two menus, every parameter prompt, the result-file
// names by measure, and the order in which the scans and island assemblies run.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "scan/scan_common.h"

namespace morvale {

// The four operations the dialogue drives; the program uses the real scans and
// assemblies, tests record the calls.
class Phases {
 public:
  virtual ~Phases() = default;
  virtual ScanResult IslandI(int tupleSize, int windowSize, int drawCount, int windowStep,
                             int windowIncrement, const std::string& genomeFileName, int measure,
                             int poolSize) = 0;
  virtual ScanResult IslandII(int tupleSize, int windowSize, int drawCount, int windowStep,
                              const std::string& genomeFileName, const std::string& islandsFileName,
                              int measure, int poolSize, int scanCount) = 0;
  // Both return false when the islands file could not be written.
  virtual bool cordsortI(int overlapCount, double cutoff, const std::string& scoreFileName,
                         const std::string& islandsFileName) = 0;
  virtual bool cordsortII(double cutoff, const std::string& scoreFileName,
                          const std::string& islandsFileName, int voteThreshold) = 0;
};

// The real scans and assemblies.
class RealPhases : public Phases {
 public:
  ScanResult IslandI(int tupleSize, int windowSize, int drawCount, int windowStep,
                     int windowIncrement, const std::string& genomeFileName, int measure,
                     int poolSize) override;
  ScanResult IslandII(int tupleSize, int windowSize, int drawCount, int windowStep,
                      const std::string& genomeFileName, const std::string& islandsFileName,
                      int measure, int poolSize, int scanCount) override;
  bool cordsortI(int overlapCount, double cutoff, const std::string& scoreFileName,
                 const std::string& islandsFileName) override;
  bool cordsortII(double cutoff, const std::string& scoreFileName,
                  const std::string& islandsFileName, int voteThreshold) override;
};

// Runs the whole dialogue on `in` and `out`; returns the process's exit status.
int runDialogue(std::istream& in, std::ostream& out, Phases& phases);

}  // namespace morvale
