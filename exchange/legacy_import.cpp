#include "exchange/legacy_import.h"

#include "exchange/legacy_layout_keys.h"
#include "files/kv_file.h"
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
        report_read_failure(owner, u"ﾌｧｲﾙが開けません", d.chosen_file, KV_READ_KEPT_NOTE, u"ﾌｧｲﾙｴﾗｰ",
                            kButtonsOk | kIconWarning);
        return LEGACY_FAILED;
    }
    // Read in place of the cleared part; a file not read to its end puts
    // the whole document back before anything is shown.
    keep_document_copy();
    if (kind == LEGACY_LAYOUT)
        reset_layouts();
    else
        clear_addressees();

    KvLineSplitter lines(file, KV_OLDER_FILE_LINES);
    const char16_t* failure = nullptr;
    if (!lines.read_byte_order_mark()) {
        failure = lines.read_failed() ? KV_READ_CUT_SHORT : u"%sがWide文字で有りません!。";
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
    if (failure == nullptr && lines.read_failed()) failure = KV_READ_CUT_SHORT;
    const bool closed = platform().close(file);
    if (failure != nullptr) {
        restore_document_copy();
        report_read_failure(owner, failure, d.chosen_file, KV_READ_KEPT_NOTE, u"ErrorFileRead", kButtonsOk);
        return LEGACY_FAILED;
    }
    if (!closed) show_close_failure(owner, d.chosen_file);
    return LEGACY_READ;
}
