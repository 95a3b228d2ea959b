// Backup generations of the data files: before a data file is replaced, the
// file as it is goes into the folder "backup" beside it, as
// <name>-YYYYMMDD-HHMMSS<ext> (local time of the save), byte for byte; the
// ten newest copies of each file are kept and older ones removed. A copy
// made in the same second as an earlier one gets "_1" to "_9" before the
// extension.
#pragma once

#include "platform/platform.h"

constexpr int BACKUP_GENERATIONS = 10;

// Keeps a copy of the file at `path` (a full path, or a bare name in the
// current folder) before it is replaced. True when the copy was made or
// there is no file yet; false when it could not be made, which is reported
// once per run (owned by `owner`) and must not stop the save.
bool back_up_before_replace(WindowHandle owner, const char16_t* path);

// Forgets that a failure was reported, so the next one is shown again.
void reset_backup_report();
