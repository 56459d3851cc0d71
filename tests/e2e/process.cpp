#include "e2e/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

std::vector<std::string> Environment(const std::vector<std::string>& overrides) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    const auto name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const auto& override : overrides) replaced |= override.starts_with(name);
    if (!replaced) env.emplace_back(text);
  }
  env.insert(env.end(), overrides.begin(), overrides.end());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts the command in a process group of its own, its standard output into
// `outFd` (or inherited when -1).
pid_t Spawn(const Command& command, int outFd, bool quiet) {
  if (command.args.empty()) throw std::invalid_argument("no program to run");
  std::vector<std::string> args = command.args;
  std::vector<std::string> env = Environment(command.env);
  auto argv = Pointers(args);
  auto envp = Pointers(env);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  if (pid == 0) {
    setpgid(0, 0);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    if (outFd >= 0) dup2(outFd, STDOUT_FILENO);
    if (quiet) dup2(devNull, STDERR_FILENO);
    if (!command.cwd.empty() && chdir(command.cwd.c_str()) != 0) _exit(126);
    environ = envp.data();
    execvp(argv[0], argv.data());
    _exit(127);
  }
  setpgid(pid, pid);
  return pid;
}

int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

void KillGroup(pid_t pid) {
  kill(-pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace

Outcome Run(const Command& command, Millis limit, bool quiet) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe");
  const pid_t pid = Spawn(command, pipeFds[1], quiet);
  close(pipeFds[1]);

  // Read until the program ends (not until its output closes: a server that
  // it started may hold that open), then take what is left in the pipe.
  Outcome outcome;
  const auto drain = [&] {
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
      outcome.output.append(buffer, static_cast<std::size_t>(got));
    }
  };
  const auto deadline = Clock::now() + limit;
  int status = 0;
  while (Clock::now() < deadline) {
    pollfd fd{pipeFds[0], POLLIN, 0};
    const bool closed = poll(&fd, 1, 20) > 0 && (fd.revents & POLLIN) == 0;
    if (closed) std::this_thread::sleep_for(Millis(20));
    drain();
    if (waitpid(pid, &status, WNOHANG) == pid) {
      drain();
      outcome.finished = true;
      outcome.exitCode = ExitCode(status);
      break;
    }
  }
  close(pipeFds[0]);
  if (!outcome.finished) KillGroup(pid);
  return outcome;
}

Process::Process(const Command& command) : pid_(Spawn(command, -1, false)) {}

Process::~Process() { Kill(); }

std::optional<int> Process::Wait(Millis limit) {
  const auto deadline = Clock::now() + limit;
  do {
    if (!Running()) return exitCode_;
    std::this_thread::sleep_for(Millis(20));
  } while (Clock::now() < deadline);
  return Running() ? std::nullopt : exitCode_;
}

bool Process::Running() {
  if (exitCode_ || pid_ < 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  exitCode_ = ExitCode(status);
  return false;
}

void Process::Kill() {
  if (Running()) {
    KillGroup(pid_);
    exitCode_ = -1;
  }
}

}  // namespace e2e
