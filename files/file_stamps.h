// What the program knows of the data files it loaded or saved during this
// run: each file's size and last write time, or that there was no file. A
// file that another program (a sync service, a second copy of an editor)
// changed since is never overwritten without asking.
#pragma once

#include "platform/platform.h"

// How many other files are remembered besides the kept ones; the one unused
// longest makes room.
constexpr int REMEMBERED_FILES = 16;
// How many files are remembered for the whole run (the start-up files).
constexpr int KEPT_FILE_STAMPS = 3;

// Notes the file at `path` as it is on disk now (after loading or saving it).
void remember_file_stamp(const char16_t* path);
// Keeps the remembered file at `path` (noted already) for the whole run:
// no number of other files makes it forgotten. Up to KEPT_FILE_STAMPS files.
void keep_file_stamp(const char16_t* path);

// kAnswerYes when the file at `path` is as the program last saw it (or was
// never seen by it); otherwise the answer to "%sは他のプログラムで変更されて
// います。上書きしますか？" (caption "ファイル書込確認", `name` in the text,
// `buttons` kButtonsYesNo or kButtonsYesNoCancel).
int confirm_overwrite_if_changed(WindowHandle owner, const char16_t* path, const char16_t* name,
                                 unsigned buttons);

// Forgets every remembered file.
void forget_file_stamps();
