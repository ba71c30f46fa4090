#pragma once
// The one operating-system call of the catalogue: read a whole file into a buffer.

#include <cstdint>
#include <memory>

namespace vyr {

// Opens path read-only (it must exist), reserves size + 1 bytes and reads the whole
// file with one read. Returns nullptr if the file cannot be opened, sized, reserved or
// read in full; size is set only on success. The extra byte is left for a NUL.
std::unique_ptr<char[]> readWholeFile(const char* path, std::uint32_t& size);

}  // namespace vyr
