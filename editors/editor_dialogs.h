// The editors the main window opens. Each is a modeless dialog that exists
// once: a second request while it is open brings it to the front. And the
// one-line editor, which the addressee list opens.
#pragma once

#include "platform/platform.h"

// "葉書の設定" (dialog 2): the layout of every card.
void open_card_layout_dialog(WindowHandle main_window);
// "差出人の設定" (dialog 3): the senders.
void open_sender_editor_dialog(WindowHandle main_window);
// "あて先の編集" (dialog 4): the addressee list.
void open_addressee_list_dialog(WindowHandle main_window);
// "一覧で確認": every card in use as a thumbnail with its marks; exists
// once. Not owned by the main window (it may cover it, and the main window
// comes in front to show a card), so the main window closes it when it
// goes.
void open_proof_sheet_window(WindowHandle main_window);
void close_proof_sheet_window();

// "１行編集" (dialog 5), modal over `owner`, on `work_card` as the addressee
// list prepared it: row `row` (0-based) of `total`, statuses around `year`.
// 1 when ended with "閉じる", 0 with "キャンセル" or the close box.
int open_one_line_editor_dialog(WindowHandle owner, int row, int total, int year);
