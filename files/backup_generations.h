// Backup generations of the data files: before a data file is replaced, the
// file as it is goes into the folder "backup" beside it, as
// <name>-YYYYMMDD-HHMMSS<ext> (local time of the save), byte for byte; the
// ten newest copies of each file are kept and older ones removed. A copy
// made in the same second as an earlier one gets "_1" to "_9" before the
// extension. A copy stays only when the replace succeeded, none is made
// when the file holds the same bytes as its newest copy, and the copy just
// made is never the one removed, whatever the clock said when the others
// were made.
#pragma once

#include <cstddef>

#include "platform/platform.h"

constexpr int BACKUP_GENERATIONS = 10;

// Writes `bytes` bytes as the new content of the file at `path` (a full
// path, or a bare name in the current folder) through the platform's
// replace_file, keeping the file as it was as a backup generation. True
// when the file was replaced. A backup that could not be made is reported
// once per run (owned by `owner`) and does not stop the replace; when the
// replace fails, the backup folder is left as it was.
bool replace_keeping_backup(WindowHandle owner, const char16_t* path, const void* data, size_t bytes);

// Forgets that a failure was reported, so the next one is shown again.
void reset_backup_report();
