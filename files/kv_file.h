// The UTF-16 key=value data file format shared by the sender, addressee and
// layout files: the generic reader, which splits a file into lines and hands
// each to the line handler of its kind, and the shared writing procedure.
#pragma once

#include <string>

#include "model/text.h"
#include "platform/platform.h"

// File kinds of the data files.
constexpr int KIND_SENDER = 1;
constexpr int KIND_ADDRESSEE = 2;
constexpr int KIND_LAYOUT = 3;

// Reading modes.
constexpr int READ_SILENT = 0;       // start-up load: a missing file shows nothing
constexpr int READ_INTERACTIVE = 1;  // a load the user asked for

// Writing modes.
constexpr int WRITE_SILENT = 0;       // exit save: overwrite without asking
constexpr int WRITE_INTERACTIVE = 1;  // menu save: ask before overwriting

// Writer results.
constexpr int WRITE_DONE = 0;
constexpr int WRITE_DECLINED = 1;
constexpr int WRITE_FAILED = 2;

// Units of the line buffers: the reader's (a line is cut after 574 units)
// and the writers' (every written line, CR LF included, fits in 287 units).
constexpr int KV_READ_LINE_CAP = 576;
constexpr int KV_READ_LINE_MAX = 574;
constexpr int KV_WRITE_LINE_CAP = 288;

// Resolves a data file name: a drive path ("C:\...") as it stands, any other
// name inside `work_dir`. Returns false when the result does not fit in
// `cap` units.
bool resolve_data_path(const char16_t* name, char16_t* out, int cap);

// Loads one data file of `kind` (1 sender, 2 addressee, anything else
// layout); `name` is a full path or a bare name inside `work_dir`.
void read_kv_file(WindowHandle owner, int mode, int kind, const char16_t* name);

// Collects the lines of a data file being written, as UTF-16 units behind
// the byte order mark.
class KvWriter {
public:
    KvWriter();
    // Starts a new line in a cleared buffer of KV_WRITE_LINE_CAP units.
    TextBuilder& line();
    // Appends the current line and CR LF to the output.
    void end_line();
    // The output as file bytes: FF FE, then the lines in UTF-16LE.
    const std::u16string& units() const { return units_; }

private:
    char16_t buffer_[KV_WRITE_LINE_CAP];
    TextBuilder builder_;
    std::u16string units_;
};

// The writing procedure shared by the three writers (`kind` picks the
// captions and the alternative save dialog). `name` is resolved as for
// reading; when the user picks another file in the overwrite flow, that path
// is written instead (and stored in `chosen_file` when `name` was it).
// `emit` writes the file's lines. Returns WRITE_DONE, WRITE_DECLINED or
// WRITE_FAILED.
int write_kv_file(WindowHandle owner, const char16_t* name, int mode, int kind,
                  void (*emit)(KvWriter& out));
