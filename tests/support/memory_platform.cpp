#include "tests/support/memory_platform.h"

#include <cstring>

#include "tests/support/iconv_decoder.h"

size_t MemoryPlatform::read(FileHandle, void* buffer, size_t bytes) {
    size_t n = size - offset_;
    if (n > bytes) n = bytes;
    if (n > read_step) n = read_step;
    if (n > 0) std::memcpy(buffer, data + offset_, n);
    offset_ += n;
    return n;
}

int MemoryPlatform::decode_code_page(unsigned code_page, const void* bytes, size_t count,
                                     char16_t* out, size_t out_cap) {
    return iconv_decode_code_page(code_page, bytes, count, out, out_cap);
}
