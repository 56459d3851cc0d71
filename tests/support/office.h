// An office's pair of installations in memory, with the main form over it:
// for the handlers' properties over many generated installations.
#pragma once

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/memory_os.h"

namespace testing_support {

inline constexpr std::u16string_view kSource = u"C:\\zetka_2008";
inline constexpr std::u16string_view kDest = u"C:\\zetka_2009";
inline constexpr std::u16string_view kLogFile = u"C:\\bin\\dopliki32.log";
inline constexpr std::u16string_view kJournalFile = u"C:\\zetka_2009\\dopliki32.cofnij";

std::u16string In(std::u16string_view installation, std::u16string_view rest);

// A window over an in-memory pair of installations.
struct Office {
  Office();
  void Register(const std::vector<std::string>& katalogi);
  // "OK" on the pair.
  void Accept();
  // "Podgląd", then what it showed.
  ShownList Preview();
  // "Cofnij", answered `answer` where it asks, then what it showed.
  ShownList Undo(bool answer);

  MemoryOs os;
  FakeForm form;
  shell::Tfrm_Main main{os, form.Controls()};
};

// A random installation pair: companies with annual files of various values
// and states, aliases and missing directories among them, extra files
// present or not in either year, with backups and partial files left; and
// the run screen's switches and file list.
void Generate(std::mt19937& random, Office& office);

}  // namespace testing_support
