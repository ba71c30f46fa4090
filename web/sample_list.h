// The page's sample spell list, scrambled by the native vyr at build time (sample_list.cmake).
#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace vyr::web {
extern const std::span<const std::uint8_t> sampleList;
}
