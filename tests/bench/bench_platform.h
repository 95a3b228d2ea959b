// What the import benchmarks share: a platform that answers every question
// with Yes and records nothing (repeated imports pile up no message boxes
// or events), and the baseline they are measured against: reading the same
// file whole through the same platform seam.
#pragma once

#include <vector>

#include "tests/support/fake_platform.h"

class YesBenchPlatform : public FakePlatform {
public:
    int message_box(WindowHandle, const char16_t*, const char16_t*, unsigned) override {
        return kAnswerYes;
    }
    void show_wait_window(WindowHandle) override {}
    void close_wait_window() override {}
};

// Reads the file at `path` whole into `content` in blocks of 64 KiB.
inline void read_whole_file(Platform& p, const char16_t* path, std::vector<unsigned char>& content) {
    static unsigned char block[1 << 16];
    content.clear();
    FileHandle file = p.open_for_read(path);
    for (size_t got; (got = p.read(file, block, sizeof block)) != 0;)
        content.insert(content.end(), block, block + got);
    p.close(file);
}
