#include "shell/navigation.h"

#include <algorithm>

namespace shell {

std::vector<Id> TabOrder(Screen shown, bool listsVisible) {
  if (shown == Screen::kRun) {
    return {Id::pg_1,  Id::chk_4, Id::mmo_3, Id::chk_Remanenty, Id::mmo_Log,
            Id::btn_2, Id::btn_3, Id::btn_4, Id::btn_Podglad,   Id::btn_Cofnij};
  }
  std::vector<Id> order{Id::pg_1, Id::edt_ZETKA_source, Id::edt_ZETKA_dest, Id::btn_1};
  if (listsVisible) order.insert(order.end(), {Id::mmo_1, Id::mmo_2});
  return order;
}

Id NextInTabOrder(Id focus, bool forward, Screen shown, bool listsVisible) {
  const std::vector<Id> order = TabOrder(shown, listsVisible);
  const auto at = std::find(order.begin(), order.end(), focus);
  if (at == order.end()) return forward ? order.front() : order.back();
  const auto index = static_cast<std::size_t>(at - order.begin());
  const std::size_t count = order.size();
  return order[forward ? (index + 1) % count : (index + count - 1) % count];
}

Id FocusAfterScreenChange(Id focus, Screen shown) {
  const auto screen = ScreenOf(focus);
  if (!screen || *screen == shown) return focus;
  return TabOrder(shown, false)[1];
}

Id DefaultButton(Screen shown) { return shown == Screen::kPaths ? Id::btn_1 : Id::btn_2; }

std::optional<Id> CancelButton(Screen shown) {
  if (shown == Screen::kRun) return Id::btn_3;
  return std::nullopt;
}

}  // namespace shell
