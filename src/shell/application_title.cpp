#include "shell/application_title.h"

namespace shell {

namespace {

constexpr std::size_t kMaxPath = 255;

}  // namespace

std::u16string ApplicationTitle(std::u16string_view executablePath, platform::Os& os) {
  std::u16string_view name = executablePath.substr(0, kMaxPath);
  if (const auto slash = name.rfind(u'\\'); slash != std::u16string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  name = name.substr(0, name.find(u'.'));
  if (name.empty()) return {};
  return std::u16string(name.substr(0, 1)) + os.LowerCase(name.substr(1));
}

}  // namespace shell
