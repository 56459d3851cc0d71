#include "support/timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

double Samples::Min() const { return *std::min_element(seconds_.begin(), seconds_.end()); }

double Samples::Median() const {
  std::vector<double> sorted = seconds_;
  std::sort(sorted.begin(), sorted.end());
  const std::size_t middle = sorted.size() / 2;
  return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

std::string Describe(const Samples& samples) {
  char text[96];
  std::snprintf(text, sizeof(text), "min %.2f ms, median %.2f ms", samples.Min() * 1e3,
                samples.Median() * 1e3);
  return text;
}

void Report(std::string_view name, double ratio, std::string_view absolute) {
  std::printf("bench: %.*s ratio=%.3f %.*s\n", static_cast<int>(name.size()), name.data(), ratio,
              static_cast<int>(absolute.size()), absolute.data());
  std::fflush(stdout);
}

void CompareMeasured(std::string_view name, int repetitions, const std::function<double()>& project,
                     const std::function<double()>& floor) {
  // One round of each first: caches, allocator and file system warm.
  project();
  floor();
  Samples projectTimes, floorTimes, ratios;
  for (int i = 0; i < repetitions; ++i) {
    const double projectSeconds = project();
    const double floorSeconds = floor();
    projectTimes.Add(projectSeconds);
    floorTimes.Add(floorSeconds);
    ratios.Add(projectSeconds / floorSeconds);
  }
  Report(name, ratios.Median(),
         "project: " + Describe(projectTimes) + "; floor: " + Describe(floorTimes) + "; " +
             std::to_string(repetitions) + " runs each");
}

void CompareWithFloor(std::string_view name, int repetitions, const std::function<void()>& prepare,
                      const std::function<void()>& project, const std::function<void()>& floor) {
  CompareMeasured(
      name, repetitions,
      [&] {
        prepare();
        return Seconds(project);
      },
      [&] {
        prepare();
        return Seconds(floor);
      });
}

int Repetitions(int fallback) {
  const char* text = std::getenv("DOPLIKI_BENCH_REPETITIONS");
  const int value = text != nullptr ? std::atoi(text) : 0;
  return value > 0 ? value : fallback;
}

}  // namespace bench
