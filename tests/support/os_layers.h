// The OS layers that one contract holds for, each with a folder of its own and
// the fixture's access to the files there: the system's layer, the in-memory
// drive of the fuzz targets, and the preview's overlay over either.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "support/temp_dir.h"

namespace testing_support {

class LayerUnderTest {
 public:
  virtual ~LayerUnderTest() = default;

  virtual platform::Os& Os() = 0;
  // The name the program would give a file of the folder.
  virtual std::u16string Path(std::u16string_view relative = u"") const = 0;

  // The files before the layer is asked anything: put there without it.
  virtual void MakeDir(std::u16string_view relative) = 0;
  virtual void WriteBytes(std::u16string_view relative, const Bytes& bytes) = 0;
  virtual void SetReadOnly(std::u16string_view relative) = 0;
  // The files as the layer's calls left them; ReadBytes throws for no file.
  virtual Bytes ReadBytes(std::u16string_view relative) = 0;
  virtual bool Exists(std::u16string_view relative) = 0;

  // What the layer did that it must never do, one line each; empty when none.
  virtual std::string Misdeeds() { return {}; }

  // What a layer does not claim, so that a test of it is skipped for that
  // layer only.
  struct Limits {
    // The executable's path is the fixture's choice, not the test program's.
    bool executableChosen = false;
    // Lower case covers the letters file names fold (Latin) only.
    bool latinLowerCaseOnly = false;
  };
  Limits limits;
};

struct LayerKind {
  const char* name;
  std::function<std::unique_ptr<LayerUnderTest>()> make;
};

// A failed case names its layer.
inline void PrintTo(const LayerKind& kind, std::ostream* out) { *out << kind.name; }

// Every layer the contract holds for.
std::vector<LayerKind> ContractLayers();

}  // namespace testing_support
