// CRC-32 (IEEE 802.3, as in ZIP and PNG): each journal entry's own check, so
// that an entry torn by a power cut or damaged on the disk is recognised
// rather than believed. It catches every change of up to 32 neighbouring bits.
#pragma once

#include <cstdint>
#include <string_view>

namespace transfer {

std::uint32_t Crc32(std::string_view bytes);

}  // namespace transfer
