// Plain objects in place of the window's controls, for tests of the main
// form's handlers.
#pragma once

#include <string>
#include <vector>

#include "shell/controls.h"
#include "shell/main_form.h"

namespace testing_support {

struct FakeText : shell::TextControl {
  std::u16string text;
  std::u16string Text() const override { return text; }
};

struct FakeLines : shell::LinesControl {
  std::vector<std::u16string> lines;
  std::vector<std::u16string> Lines() const override { return lines; }
  void Clear() override { lines.clear(); }
  void Append(std::u16string_view entry) override { lines.emplace_back(entry); }
};

struct FakeCheck : shell::CheckControl {
  bool checked = false;
  bool Checked() const override { return checked; }
};

struct FakeLog : shell::LogControl {
  std::u16string text;
  std::u16string Text() const override { return text; }
  bool EndsWithLineBreak() const override {
    return text.empty() || text.back() == u'\n' || text.back() == u'\r';
  }
  void AppendText(std::u16string_view more) override { text += more; }
};

// A list window as it was shown.
struct ShownList {
  std::u16string title, summary;
  std::vector<std::u16string> lines;
};

// Everything the window showed, in order: message boxes as
// "caption|text|flags", screen changes as "lists" and "run screen", list
// windows as "list|title", or "ask|title" when they ask (and whole in
// `lists`); each one that asks is answered with `answer`.
struct FakeScreen : shell::MessageDisplay, shell::Screens, shell::ListDisplay {
  std::vector<std::u16string> events;
  std::vector<ShownList> lists;
  bool answer = false;
  bool Ask(std::u16string_view title, std::u16string_view summary,
           const std::vector<std::u16string>& lines) override {
    events.push_back(u"ask|" + std::u16string(title));
    lists.push_back({std::u16string(title), std::u16string(summary), lines});
    return answer;
  }
  void Show(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) override;
  void ShowList(std::u16string_view title, std::u16string_view summary,
                const std::vector<std::u16string>& lines) override {
    events.push_back(u"list|" + std::u16string(title));
    lists.push_back({std::u16string(title), std::u16string(summary), lines});
  }
  void ShowCompanyLists() override { events.emplace_back(u"lists"); }
  void ShowRunScreen() override { events.emplace_back(u"run screen"); }
};

// The event FakeScreen records for a message box.
std::u16string Shown(const shell::Message& message);

// A main window over fake controls; the file list holds its start-up entry.
struct FakeForm {
  FakeText edt_ZETKA_source, edt_ZETKA_dest;
  FakeLines mmo_1, mmo_2, mmo_3;
  FakeCheck chk_4, chk_Remanenty;
  FakeLog mmo_Log;
  FakeScreen screen;

  FakeForm() { mmo_3.lines = {u"BAZA_DW8.REK"}; }
  shell::MainFormControls Controls() {
    return {edt_ZETKA_source, edt_ZETKA_dest, mmo_1,  mmo_2,  mmo_3, chk_4,
            chk_Remanenty,    mmo_Log,        screen, screen, screen};
  }
};

}  // namespace testing_support
