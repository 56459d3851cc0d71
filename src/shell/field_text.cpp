#include "shell/field_text.h"

namespace shell {

std::u16string_view DirectoryFieldText(std::u16string_view text) {
  return text.substr(0, text.find_first_of(u"\r\n"));
}

}  // namespace shell
