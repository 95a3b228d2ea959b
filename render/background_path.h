// The file the preview loads as a card's background: a drive-letter path
// ("X:\...") as it stands, any other name joined to the working directory.
#pragma once

// Writes the resolved name into out (cap units, NUL included). False, with
// an empty out, when the name is empty or the joined name does not fit.
bool resolve_background_path(const char16_t* work_dir, const char16_t* name, char16_t* out,
                             int cap);
