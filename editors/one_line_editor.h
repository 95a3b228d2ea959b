// The one-line editor "１行編集" (dialog 5): one addressee row of the list at
// a time, through `work_card`. The postal code, one of the five name lines,
// the reading and one of the five address lines, the sender and the status of the card
// year and the two years before it. Every step stores the fields first.
#pragma once

#include "editors/dialog_view.h"
#include "model/document.h"

// The editor's own state while it is open.
struct LineEditorState {
    int row;           // 0-based row of the list, shown only
    int total;         // rows of the list, shown only
    int address_line;  // 0..4
    int name_line;     // 0..4
    int sender;        // index into fdata
    int senders;       // count_senders() when the editor opened
    int year;          // the list's card year
};

// One address line, one name line and one postal code, kept for the whole
// run by "コピー" and "ペースト".
struct LineClipboard {
    char16_t address[LINE_CAP];
    char16_t name[LINE_CAP];
    char16_t postal[LINE_CAP];
};
extern LineClipboard line_clipboard;

// Opens on `work_card` prepared by the caller and shows its fields. The
// combo boxes 271..273 already offer the seven status texts.
void line_editor_open(LineEditorState& st, DialogView& view, int row, int total, int year);
// A button of the dialog. "閉じる" closes the view with 1, "キャンセル" with 0.
void line_editor_command(LineEditorState& st, DialogView& view, int id);
// The close box (and Esc): closes with 0, nothing stored, no repaint.
void line_editor_close_box(DialogView& view);
