// The one-line editor "１行編集" (dialog 5): one addressee row of the list at
// a time, through `work_card`. The postal code, one of the five name lines,
// the reading and one of the five address lines, the sender and the status of the card
// year and the two years before it. Every step stores the fields first.
#pragma once

#include "editors/dialog_view.h"
#include "model/document.h"

// What the open editor knows besides its card.
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

// One open one-line editor on its dialog's view, editing `card`; the Win32
// dialog creates it when it opens and deletes it when it is destroyed.
class OneLineEditor {
public:
    OneLineEditor(DialogView& view, CardRecord& card) : view_(view), card_(card) {}
    OneLineEditor(const OneLineEditor&) = delete;
    OneLineEditor& operator=(const OneLineEditor&) = delete;

    // Opens on the card prepared by the caller and shows its fields. The
    // combo boxes 271..273 already offer the seven status texts.
    void open(int row, int total, int year);
    // A button of the dialog. "閉じる" closes the view with 1, "キャンセル" with 0.
    void press(int id);
    // The close box (and Esc): closes with 0, nothing stored, no repaint.
    void close_box();

private:
    DialogView& view_;
    CardRecord& card_;
    LineEditorState state_{};
};
