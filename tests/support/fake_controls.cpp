#include "support/fake_controls.h"

namespace testing_support {

std::u16string Shown(const shell::Message& message) {
  std::u16string event(message.caption);
  event.append(u"|").append(message.text).append(u"|");
  for (const char c : std::to_string(message.flags)) event += static_cast<char16_t>(c);
  return event;
}

void FakeScreen::Show(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) {
  events.push_back(Shown({text, caption, flags}));
}

}  // namespace testing_support
