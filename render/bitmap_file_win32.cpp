#include "render/bitmap_file.h"

#include <windows.h>

#include <cstdint>

#include "render/bitmap_check.h"

namespace {

// The first bytes of the file and its size; false when it cannot be read.
bool read_head(const wchar_t* path, uint8_t* head, size_t* head_bytes, uint64_t* file_bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != FALSE && size.QuadPart >= 0;
    DWORD got = 0;
    if (ok) {
        DWORD want = static_cast<DWORD>(
            size.QuadPart < static_cast<LONGLONG>(kBitmapHeadBytes) ? size.QuadPart : kBitmapHeadBytes);
        ok = ReadFile(file, head, want, &got, nullptr) != FALSE && got == want;
    }
    CloseHandle(file);
    *head_bytes = got;
    *file_bytes = static_cast<uint64_t>(size.QuadPart);
    return ok;
}

}  // namespace

BitmapHandle load_bitmap_file(const char16_t* path) {
    if (path == nullptr || path[0] == 0) return nullptr;
    const wchar_t* name = reinterpret_cast<const wchar_t*>(path);
    uint8_t head[kBitmapHeadBytes] = {};
    size_t head_bytes = 0;
    uint64_t file_bytes = 0;
    if (!read_head(name, head, &head_bytes, &file_bytes)) return nullptr;
    if (check_bitmap_file(head, head_bytes, file_bytes) != BITMAP_FILE_OK) return nullptr;
    return LoadImageW(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
}
