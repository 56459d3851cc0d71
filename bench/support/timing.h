// Timing for the benchmark programs: the project's code and its floor run in
// turn in one process, several times, and one line gives the figure.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// Seconds of repeated runs of one piece of work.
class Samples {
 public:
  void Add(double seconds) { seconds_.push_back(seconds); }
  double Min() const;
  double Median() const;
  std::size_t Count() const { return seconds_.size(); }

 private:
  std::vector<double> seconds_;
};

template <typename Work>
double Seconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// "min 12.3 ms, median 12.9 ms"
std::string Describe(const Samples& samples);

// Prints "bench: NAME ratio=R" and the absolute figures after it.
void Report(std::string_view name, double ratio, std::string_view absolute);

// Runs the project's work and the floor's in turn, `repetitions` times each
// after one round untimed, and reports project ÷ floor: the median of the
// ratios of the runs made one after the other, which a shared machine's
// changing load touches least. Each call times its own run and gives its
// seconds.
void CompareMeasured(std::string_view name, int repetitions, const std::function<double()>& project,
                     const std::function<double()>& floor);

// The same, with `prepare` run untimed before each run.
void CompareWithFloor(std::string_view name, int repetitions, const std::function<void()>& prepare,
                      const std::function<void()>& project, const std::function<void()>& floor);

// Repetitions from the environment (DOPLIKI_BENCH_REPETITIONS), or the default.
int Repetitions(int fallback);

}  // namespace bench
