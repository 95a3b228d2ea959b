// A minimal platform for fuzz targets: every path opens the same in-memory
// file, reads deliver at most `read_step` bytes, message boxes are counted
// and all get the same answer, and written files are kept in memory.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

class MemoryPlatform : public Platform {
public:
    MemoryPlatform() { set_platform(this); }
    ~MemoryPlatform() override { set_platform(nullptr); }

    const unsigned char* data = nullptr;  // the file's bytes
    size_t size = 0;
    size_t read_step = 1 << 16;
    int boxes = 0;
    int answer = kAnswerNo;  // the answer to every message box
    std::string written;

    int message_box(WindowHandle, const char16_t*, const char16_t*, unsigned) override {
        ++boxes;
        return answer;
    }
    bool file_dialog(WindowHandle, FileDialogRequest&) override { return false; }
    bool get_current_directory(char16_t* out, int cap) override {
        if (cap > 0) out[0] = 0;
        return true;
    }
    bool set_current_directory(const char16_t*) override { return true; }
    bool path_exists(const char16_t*) override { return true; }
    FileHandle open_for_read(const char16_t*) override {
        offset_ = 0;
        return &offset_;
    }
    size_t read(FileHandle, void* buffer, size_t bytes) override;
    bool close(FileHandle) override { return true; }
    bool replace_file(const char16_t*, const void* bytes, size_t count) override {
        written.assign(static_cast<const char*>(bytes), count);
        return true;
    }
    LocalTime local_time() override { return LocalTime{2026, 1, 1, 0, 0, 0}; }
    void show_wait_window(WindowHandle) override {}
    void close_wait_window() override {}
    int decode_code_page(unsigned code_page, const void* bytes, size_t count, char16_t* out,
                         size_t out_cap) override;

private:
    size_t offset_ = 0;
};
