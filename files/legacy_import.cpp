#include "files/legacy_import.h"

#include "files/legacy_layout_keys.h"
#include "files/kv_line_splitter.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"

namespace {

// Card lines with a known field, applied where they lie in the splitter's
// chunk.
size_t take_old_layout_lines(KvLineSplitter& lines, OldFieldGuesses& guesses) {
    size_t available = 0;
    const char16_t* units = lines.peek(&available);
    const size_t used = read_old_layout_lines_in_place(units, available, guesses);
    lines.skip(used);
    return used;
}

void show_close_failure(WindowHandle owner, const char16_t* path) {
    platform().message_box(owner, path, u"CloseHandle-errer", kButtonsOk);
}

}  // namespace

int import_legacy(WindowHandle owner, int kind) {
    if (kind != LEGACY_LAYOUT && kind != LEGACY_ADDRESS) return LEGACY_DECLINED;
    if (platform().message_box(owner, u"データーはクリアしますが実行しますか？", u"旧ファイル読込",
                               kButtonsYesNo) != kAnswerYes)
        return LEGACY_DECLINED;

    Document& d = doc();
    if (d.work_dir[0] != 0) platform().set_current_directory(d.work_dir);
    // Opened as an existing file only: a mistyped name must not leave an
    // empty file behind.
    FileHandle file = platform().open_for_read(d.chosen_file);
    if (file == nullptr) {
        platform().message_box(owner, u"ﾌｧｲﾙが開けません", u"ﾌｧｲﾙｴﾗｰ", kButtonsOk | kIconWarning);
        return LEGACY_FAILED;
    }
    if (kind == LEGACY_LAYOUT)
        reset_layouts();
    else
        clear_addressees();

    KvLineSplitter lines(file, KV_OLDER_FILE_LINES);
    int result = LEGACY_READ;
    if (!lines.read_byte_order_mark()) {
        char16_t message[PATH_CAP + 32];
        format_with_text(message, sizeof message / sizeof message[0], u"%sがWide文字で有りません!。",
                         d.chosen_file);
        platform().message_box(owner, message, u"ErrorFileRead", kButtonsOk);
        result = LEGACY_FAILED;
    } else if (kind == LEGACY_LAYOUT) {
        // Card lines with a known field are applied where they lie in the
        // splitter's chunk; every other line goes through the line handler,
        // with the same result.
        OldFieldGuesses guesses;
        kv_split_lines(lines, [&guesses](KvLineSplitter& at) { return take_old_layout_lines(at, guesses); },
                       [](const char16_t* line, int) { read_old_layout_line(line); });
    } else {
        kv_split_lines(lines, nullptr, [](const char16_t* line, int) { read_old_address_line(line); });
    }
    if (!platform().close(file)) show_close_failure(owner, d.chosen_file);
    return result;
}
