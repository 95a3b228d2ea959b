#include "tests/support/memory_platform.h"

#include <cstring>

size_t MemoryPlatform::read(FileHandle, void* buffer, size_t bytes) {
    size_t n = size - offset_;
    if (n > bytes) n = bytes;
    if (n > read_step) n = read_step;
    if (n > 0) std::memcpy(buffer, data + offset_, n);
    offset_ += n;
    return n;
}
