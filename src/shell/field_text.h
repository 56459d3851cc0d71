// The text rule of the directory fields: a field never holds a line break.
#pragma once

#include <string_view>

namespace shell {

// The text up to its first carriage return or line feed.
std::u16string_view DirectoryFieldText(std::u16string_view text);

}  // namespace shell
