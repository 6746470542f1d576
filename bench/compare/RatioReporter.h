#pragma once
// Prints, after the usual console table, how Quill compares with each peer that ran the
// same work in the same run. Benchmarks opt in by their name: "<work>/<side>", where the
// side is "quill" or a peer such as "libass" or "fontconfig". Each iteration must do one
// unit of the work on either side, so CPU times per iteration compare directly.
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace QuillCompare {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Timing {
    double cpuSeconds = 0;  ///< per iteration
    bool median = false;    ///< from the median of repetitions rather than a single run
  };
  // work -> side -> timing, in the order the work first ran.
  std::vector<std::string> order_;
  std::map<std::string, std::map<std::string, Timing>> timings_;
};

/// "0.31 ms", "42 us": a CPU time per iteration the way a reader takes it in.
std::string formatDuration(double seconds);

}  // namespace QuillCompare
