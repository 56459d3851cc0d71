// Programs started from a test: each gets a time limit and is ended when it
// runs over, so a test never hangs on a program that waits for nothing.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

struct Command {
  std::vector<std::string> args;  // the program, found on PATH, and its arguments
  std::vector<std::string> env;   // NAME=VALUE, added to or replacing the inherited ones
  std::string cwd;                // the working directory; empty: this process's
};

struct Outcome {
  bool finished = false;  // false: ended after running over its time limit
  int exitCode = -1;      // when it finished; -1 when a signal ended it
  std::string output;     // what it wrote to its standard output
};

// Runs a program to its end, for at most `limit`. Its standard error goes to
// ours unless `quiet`.
Outcome Run(const Command& command, Millis limit, bool quiet = false);

// A program running beside the test, in a process group of its own; it is
// ended with the whole group when the object goes.
class Process {
 public:
  explicit Process(const Command& command);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The exit code once it has ended within `limit` (-1 for a signal).
  std::optional<int> Wait(Millis limit);
  bool Running();
  void Kill();

 private:
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};

}  // namespace e2e
