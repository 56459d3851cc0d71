#include "support/whole_operation.h"

#include <filesystem>

#include "support/records.h"
#include "transfer/errors.h"

namespace testing_support {

namespace fs = std::filesystem;

namespace {
const fs::path kJournal = fs::path("zetka_2009") / "dopliki32.cofnij";
}

WholeOperation::WholeOperation(platform::Os& system)
    : os(system, pair.dir.Path(u"bin\\dopliki32.exe")) {
  pair.dir.WriteBytes(u"zetka_2008\\spisfirm.dat", "");
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", "");
  pair.dir.MakeDir(u"bin");
}

template <typename Click>
WholeOperation::Outcome WholeOperation::Clicked(Click click) {
  form.screen.events.clear();
  const std::size_t logged = form.mmo_Log.text.size();
  Outcome outcome;
  try {
    click();
  } catch (const transfer::Exception& e) {
    outcome.failure = e.Message();
  }
  outcome.events = form.screen.events;
  outcome.logged = form.mmo_Log.text.substr(logged);
  return outcome;
}

WholeOperation::Outcome WholeOperation::Accept(const std::u16string& source,
                                               const std::u16string& dest) {
  form.edt_ZETKA_source.text = source;
  form.edt_ZETKA_dest.text = dest;
  return Clicked([&] { main.btn_1Click(); });
}

WholeOperation::Outcome WholeOperation::Accept() {
  return Accept(pair.dir.Path(Installations::kOld), pair.dir.Path(Installations::kNew));
}

WholeOperation::Outcome WholeOperation::Run(bool copy, bool transfer) {
  form.chk_4.checked = copy;
  form.chk_Remanenty.checked = transfer;
  return Clicked([&] { main.btn_2Click(); });
}

Tree WholeOperation::Files() const {
  Tree tree;
  const fs::path root = pair.dir.Native(u"");
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path relative = fs::relative(it->path(), root);
    if (relative == "bin") it.disable_recursion_pending();
    if (!it->is_regular_file() || relative == kJournal) continue;
    const std::u16string name = relative.u16string();
    tree[relative.generic_string()] = pair.dir.ReadBytes(name);
  }
  return tree;
}

void WholeOperation::Register(const std::vector<std::string>& katalogi) {
  Bytes firms;
  for (const auto& katalog : katalogi) {
    firms += FirmaRecord(static_cast<std::uint8_t>(1), "x",
                         static_cast<std::uint8_t>(katalog.size()), katalog);
  }
  pair.dir.WriteBytes(u"zetka_2009\\spisfirm.dat", firms);
}

std::string Differences(const Tree& before, const Tree& after,
                        const std::map<std::string, std::optional<Bytes>>& expected) {
  Tree wanted = before;
  for (const auto& [name, bytes] : expected) {
    if (bytes) {
      wanted[name] = *bytes;
    } else {
      wanted.erase(name);
    }
  }
  std::string differences;
  for (const auto& [name, bytes] : wanted) {
    if (!after.count(name)) {
      differences += "missing: " + name + "\n";
    } else if (after.at(name) != bytes) {
      differences += "changed: " + name + "\n";
    }
  }
  for (const auto& [name, bytes] : after) {
    if (!wanted.count(name)) differences += "appeared: " + name + "\n";
  }
  return differences;
}

std::u16string Lines(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const auto& line : lines) text += line + u"\r\n";
  return text;
}

}  // namespace testing_support
