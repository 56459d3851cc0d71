#include "fuzz/check.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {
bool throwing = false;
}  // namespace

void ThrowOnBrokenProperty() { throwing = true; }

void Fail(const std::string& what) {
  if (throwing) throw PropertyBroken(what);
  std::fprintf(stderr, "property broken: %s\n", what.c_str());
  std::abort();
}

}  // namespace fuzz
