// The File menu's commands as the main window runs them: new, open, save,
// CSV export and the import of the older files. Each asks its questions,
// shows the wait window around the file operation and keeps `modified`
// up to date. Repainting is the main window's business: each command returns
// whether the main window must be repainted afterwards.
//
// The commands that replace part of the document (new, the opens and the
// imports) ask "保存せず…良いですか？" while the document or an open editor
// has unsaved changes, then show their file dialog, and only then let the
// open editors settle their changes (editors/editor_shared.h; a Cancel there
// ends the command): a command called off at its question or its file
// dialog leaves every editor as it was. A command that replaced its part
// clears the selection of 一覧で確認.
#pragma once

#include "app/resource_ids.h"  // the command numbers (CMD_NEW ... CMD_OPEN_LEGACY_ADDRESS)
#include "platform/platform.h"

// What the main window does after a command.
constexpr int REPAINT_NONE = 0;
constexpr int REPAINT_WINDOW = 1;  // invalidate the whole client area with erase, paint at once

// 51: after "保存せず新規にして良いですか？" (only while `modified`) clears the
// senders and cards and resets the layouts. REPAINT_WINDOW unless declined.
int command_new(WindowHandle owner);
// 52 to 54, kind 1 sender, 2 addressee, 3 layout file: after
// "保存せず開いて良いですか？" (only while `modified`) and an open dialog that
// returned a ".txt" name, loads that file and clears `modified`. A load that
// fails changes nothing: the document, `chosen_file` and `modified` stay as
// they were. REPAINT_WINDOW unless declined.
int command_open(WindowHandle owner, int kind);
// 55 to 57, kind 1 to 3: save dialog, then the writer with its overwrite
// question; `modified` is cleared only when the file was written.
// REPAINT_NONE.
int command_save(WindowHandle owner, int kind);
// 58: save dialog for a ".csv" name, then the CSV export. REPAINT_NONE.
int command_export_csv(WindowHandle owner);
// 60 and 61, kind LEGACY_LAYOUT or LEGACY_ADDRESS: like the open commands
// with a dialog for any file; imports a ".txt" name and clears `modified`
// (kept, with `chosen_file`, when the user declines the import question or
// the import fails, which change nothing).
// REPAINT_WINDOW unless declined.
int command_import_legacy(WindowHandle owner, int kind);

// 69 (CMD_IMPORT_CSV): after "保存せず開いて良いですか？" (only while
// `modified`) and an open dialog for CSV or any file, the CSV import with its
// own question; the imported cards are marked changed. `chosen_file` stays
// as it was unless the import changed the cards. REPAINT_WINDOW unless
// declined at the first question.
int command_import_csv(WindowHandle owner);
// 連絡先(vCard)から読込: the same for a contacts file (.vcf).
int command_import_vcard(WindowHandle owner);

// Runs the file command with menu number `command` (CMD_NEW to CMD_SAVE_CSV,
// CMD_OPEN_LEGACY_LAYOUT, CMD_OPEN_LEGACY_ADDRESS, CMD_IMPORT_CSV).
// Returns whether to repaint; other numbers do nothing and give REPAINT_NONE.
int run_file_command(WindowHandle owner, int command);
