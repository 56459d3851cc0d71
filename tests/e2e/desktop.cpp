#include "e2e/desktop.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

constexpr Millis kToolLimit{10'000};
constexpr Millis kPoll{100};

Outcome Tool(std::vector<std::string> args) {
  return Run({std::move(args), {}, {}}, kToolLimit, true);
}

std::string Id(WindowId window) { return std::to_string(window); }

// The window ids after "#" in xprop's answer for a property of windows.
std::vector<WindowId> WindowIds(const std::string& line) {
  std::vector<WindowId> ids;
  const auto hash = line.find('#');
  if (hash == std::string::npos) return ids;
  std::istringstream list(line.substr(hash + 1));
  std::string item;
  while (std::getline(list, item, ',')) ids.push_back(std::strtoul(item.c_str(), nullptr, 0));
  return ids;
}

// xprop's answer for one property: the line that begins with its name.
std::string PropertyLine(const std::string& answer, const std::string& property) {
  std::istringstream lines(answer);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.starts_with(property + ":") || line.starts_with(property + " ")) return line;
  }
  return {};
}

template <typename Condition>
bool PollUntil(Millis limit, Condition condition) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace

std::vector<WindowId> FindWindows(const std::string& nameRegex) {
  std::vector<WindowId> windows;
  std::istringstream lines(
      Tool({"xdotool", "search", "--onlyvisible", "--name", nameRegex}).output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty()) windows.push_back(std::strtoul(line.c_str(), nullptr, 10));
  }
  return windows;
}

std::optional<WindowId> WaitForWindow(const std::string& nameRegex, Millis limit) {
  std::optional<WindowId> found;
  PollUntil(limit, [&] {
    const auto windows = FindWindows(nameRegex);
    if (!windows.empty()) found = windows.front();
    return found.has_value();
  });
  return found;
}

bool WaitUntilGone(WindowId window, Millis limit) {
  return PollUntil(limit, [&] {
    const Outcome answer = Tool({"xwininfo", "-id", Id(window)});
    return !answer.finished || answer.exitCode != 0 ||
           answer.output.find("IsViewable") == std::string::npos;
  });
}

std::string WindowName(WindowId window) {
  std::string name = Tool({"xdotool", "getwindowname", Id(window)}).output;
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

std::optional<WindowId> ActiveWindow() {
  const auto ids = WindowIds(PropertyLine(
      Tool({"xprop", "-root", "-notype", "_NET_ACTIVE_WINDOW"}).output, "_NET_ACTIVE_WINDOW"));
  if (ids.empty() || ids.front() == 0) return std::nullopt;
  return ids.front();
}

bool WaitUntilActive(WindowId window, Millis limit) {
  return PollUntil(limit, [&] { return ActiveWindow() == window; });
}

std::optional<WindowId> WaitUntilActiveOther(WindowId window, Millis limit) {
  std::optional<WindowId> other;
  PollUntil(limit, [&] {
    const auto active = ActiveWindow();
    if (active && *active != window) other = active;
    return other.has_value();
  });
  return other;
}

std::vector<ManagedWindow> ManagedWindows() {
  std::vector<ManagedWindow> windows;
  const auto ids = WindowIds(PropertyLine(
      Tool({"xprop", "-root", "-notype", "_NET_CLIENT_LIST"}).output, "_NET_CLIENT_LIST"));
  for (const WindowId id : ids) {
    const std::string answer =
        Tool({"xprop", "-id", Id(id), "-notype", "_NET_WM_STATE", "WM_TRANSIENT_FOR"}).output;
    ManagedWindow window{id, WindowName(id), false, std::nullopt};
    window.skipTaskbar = PropertyLine(answer, "_NET_WM_STATE").find("_NET_WM_STATE_SKIP_TASKBAR") !=
                         std::string::npos;
    const auto owners = WindowIds(PropertyLine(answer, "WM_TRANSIENT_FOR"));
    if (!owners.empty()) window.transientFor = owners.front();
    windows.push_back(window);
  }
  return windows;
}

void Type(const std::vector<std::string>& keys) {
  std::vector<std::string> args{"xdotool", "key", "--delay", "50"};
  args.insert(args.end(), keys.begin(), keys.end());
  Tool(args);
}

void TypeText(const std::string& text) { Tool({"xdotool", "type", "--delay", "50", "--", text}); }

void Hold(const std::string& key, Millis held) {
  const auto seconds = std::to_string(static_cast<double>(held.count()) / 1000);
  Tool({"xdotool", "keydown", key, "sleep", seconds, "keyup", key});
}

namespace {

std::string CaptureOf(const std::string& window, bool frame) {
  std::vector<std::string> args{"import", "-silent", "-screen", "-window", window};
  if (frame) args.insert(args.begin() + 2, "-frame");
  args.insert(args.end(), {"+repage", "png:-"});
  return Tool(args).output;
}

bool Save(const std::string& bytes, const std::filesystem::path& png) {
  if (bytes.empty()) return false;
  std::ofstream(png, std::ios::binary) << bytes;
  return true;
}

}  // namespace

std::string Capture(WindowId window, bool frame) { return CaptureOf(Id(window), frame); }

std::optional<std::string> WaitUntilStill(WindowId window, const std::string& unlike,
                                          Millis limit) {
  std::string last = unlike;
  std::optional<std::string> still;
  PollUntil(limit, [&] {
    std::string now = Capture(window);
    if (!now.empty() && now == last && now != unlike) still = now;
    last = std::move(now);
    return still.has_value();
  });
  return still;
}

bool SaveScreenshot(WindowId window, const std::filesystem::path& png) {
  return Save(Capture(window, true), png);
}

bool SaveScreen(const std::filesystem::path& png) { return Save(CaptureOf("root", false), png); }

}  // namespace e2e
