// Fuzzes the import of the older files: both line handlers on arbitrary
// units, and import_legacy on arbitrary file bytes delivered in reads of
// arbitrary sizes. The older layout file's in-place reading must give the
// same document as reading line by line with read_old_layout_line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "exchange/legacy_import.h"
#include "files/kv_line_splitter.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "platform/platform.h"

namespace {

// A platform whose only file is held in memory and is read in pieces of
// `piece` bytes; every question is answered with Yes.
class MemoryPlatform : public Platform {
public:
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t piece = 0;
    size_t pos = 0;

    int message_box(WindowHandle, const char16_t*, const char16_t*, unsigned) override { return kAnswerYes; }
    bool file_dialog(WindowHandle, FileDialogRequest&) override { return false; }
    bool get_current_directory(char16_t* out, int cap) override {
        text_copy(out, cap, u"C:\\work");
        return true;
    }
    bool set_current_directory(const char16_t*) override { return true; }
    bool path_exists(const char16_t*) override { return true; }
    FileHandle open_for_read(const char16_t*) override {
        pos = 0;
        return this;
    }
    size_t read(FileHandle, void* buffer, size_t bytes) override {
        size_t n = size - pos;
        if (n > bytes) n = bytes;
        if (n > piece) n = piece;
        std::memcpy(buffer, data + pos, n);
        pos += n;
        return n;
    }
    bool close(FileHandle) override { return true; }
    bool replace_file(const char16_t*, const void*, size_t) override { return false; }
    LocalTime local_time() override { return {2026, 1, 1, 0, 0, 0}; }
    void show_wait_window(WindowHandle) override {}
    void close_wait_window() override {}
};

MemoryPlatform g_platform;
CardRecord g_expected_cards[HDATA_MAX];
PrintSettings g_expected_print;

// The handlers and the import work on whatever the document holds; only the
// file name must be there.
void name_the_file() {
    text_set(doc().work_dir, u"C:\\work");
    text_set(doc().chosen_file, u"C:\\work\\old.txt");
}

// One line of units, exactly as long as the input, so that any read past
// its NUL is caught.
std::vector<char16_t> units_of(const uint8_t* data, size_t size) {
    std::vector<char16_t> units(size / 2 + 1, 0);
    for (size_t i = 0; i + 1 < size; i += 2) units[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    set_platform(&g_platform);
    const uint8_t mode = data[0];
    ++data;
    --size;
    static const size_t kPieces[8] = {1, 2, 3, 7, 64, 4095, 65536, 1 << 20};

    switch (mode & 3) {
    case 0: {
        std::vector<char16_t> line = units_of(data, size);
        read_old_layout_line(line.data());
        break;
    }
    case 1: {
        std::vector<char16_t> line = units_of(data, size);
        read_old_address_line(line.data());
        break;
    }
    case 2: {
        // The whole import, then the same bytes line by line.
        g_platform.data = data;
        g_platform.size = size;
        g_platform.piece = kPieces[(mode >> 2) & 7];
        name_the_file();
        if (import_legacy(nullptr, LEGACY_LAYOUT) != LEGACY_READ) break;
        std::memcpy(g_expected_cards, doc().hdata, sizeof g_expected_cards);
        g_expected_print = doc().print;

        reset_layouts();
        g_platform.pos = 0;
        {
            KvLineSplitter lines(&g_platform, KV_OLDER_FILE_LINES);
            if (lines.read_byte_order_mark())
                kv_split_lines(lines, nullptr, [](const char16_t* line, int) { read_old_layout_line(line); });
        }
        if (std::memcmp(g_expected_cards, doc().hdata, sizeof g_expected_cards) != 0 ||
            std::memcmp(&g_expected_print, &doc().print, sizeof g_expected_print) != 0)
            std::abort();
        break;
    }
    default:
        g_platform.data = data;
        g_platform.size = size;
        g_platform.piece = kPieces[(mode >> 2) & 7];
        name_the_file();
        import_legacy(nullptr, LEGACY_ADDRESS);
        break;
    }
    return 0;
}
