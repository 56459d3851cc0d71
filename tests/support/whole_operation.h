// A pair of installations in a temporary folder and a window over them, for
// whole operations ("OK", then "SRU") on bad inputs: what each click showed
// and logged, and every file of the folder before and after, so a test can
// prove that nothing changed beyond what the operation says.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/forwarding_os.h"
#include "support/installations.h"
#include "support/system.h"

namespace testing_support {

// Every file under the folder by its relative path ("/" between parts), with
// its bytes. The executable's folder "bin", where the log goes, is left out,
// and so is the new installation's undo journal, which every run that may
// change something writes (its content has tests of its own).
using Tree = std::map<std::string, Bytes>;

class WholeOperation {
 public:
  // Both installations with an empty register; the executable in "bin". The
  // window works through `system`, the system's own layer unless given.
  explicit WholeOperation(platform::Os& system = SystemOs());

  // What a click showed: message boxes and screen changes (FakeScreen's
  // events), the lines it added to the log, the message of the failure it
  // ended with (empty when none).
  struct Outcome {
    std::vector<std::u16string> events;
    std::u16string logged;
    std::u16string failure;
  };
  Outcome Accept(const std::u16string& source, const std::u16string& dest);
  // "OK" on the two installations.
  Outcome Accept();
  Outcome Run(bool copy, bool transfer);

  Tree Files() const;
  // The destination's register: one record per directory name (ANSI bytes).
  void Register(const std::vector<std::string>& katalogi);

  Installations pair;
  RegionalOs os;
  FakeForm form;
  shell::Tfrm_Main main{os, form.Controls()};

 private:
  template <typename Click>
  Outcome Clicked(Click click);
};

// What differs between two trees, beyond the expected changes (a relative
// path with its new bytes, or nothing where the file is to be gone): one line
// per difference, empty when the trees agree.
std::string Differences(const Tree& before, const Tree& after,
                        const std::map<std::string, std::optional<Bytes>>& expected = {});

// The log lines as the log box holds them, each followed by CR LF.
std::u16string Lines(const std::vector<std::u16string>& lines);

// What the window showed for the usual outcomes of a click.
using Events = std::vector<std::u16string>;
inline const Events kAccepted{u"lists", u"run screen"};
inline const Events kSamePaths{Shown(shell::kPathsEqual)};
inline const Events kRegisterMissing{Shown(shell::kRegisterMissing)};
inline const Events kKoniec{Shown(shell::kRunEnded)};

}  // namespace testing_support
