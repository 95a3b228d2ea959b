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

// Units of the writers' line buffer: every written line, CR LF included,
// fits in 287 units. (The reader's line rules are in kv_line_splitter.h.)
constexpr int KV_WRITE_LINE_CAP = 288;

// Resolves a data file name: a drive path ("C:\...") as it stands, any other
// name inside `work_dir` (as it stands too while no working folder was
// captured). Returns false when the result does not fit in `cap` units.
bool resolve_data_path(const char16_t* name, char16_t* out, int cap);

// Reader results (the older files' import has its own, legacy_import.h).
constexpr int KV_READ_DONE = 0;
constexpr int KV_READ_FAILED = 1;  // the document is as before; the message was shown

// The line added to a failure message of a load the user asked for, and
// the message of a file that could not be read to its end.
extern const char16_t* const KV_READ_KEPT_NOTE;  // "\r\n読込を中止しました。データは開く前のままです。"
extern const char16_t* const KV_READ_CUT_SHORT;  // "%sを最後まで読めません。" (caption "ErrorFileRead")

// Loads one data file of `kind` (1 sender, 2 addressee, anything else
// layout); `name` is a full path or a bare name inside `work_dir`. The
// kind's part of the document is replaced only when the whole file was
// read: a file that cannot be opened, has no byte order mark or cannot be
// read to its end leaves the document as it was and is reported ("ﾌｧｲﾙが
// 開けません" only on request), a load the user asked for adding
// KV_READ_KEPT_NOTE.
int read_kv_file(WindowHandle owner, int mode, int kind, const char16_t* name);

// Shows a reader's failure: `pattern` with its "%s" replaced by `name`, then
// `kept` (KV_READ_KEPT_NOTE or empty).
void report_read_failure(WindowHandle owner, const char16_t* pattern, const char16_t* name, const char16_t* kept,
                         const char16_t* caption, unsigned style);

// Collects the lines of a data file being written, as UTF-16 units behind
// the byte order mark.
class KvWriter {
public:
    KvWriter();
    // Starts a new line in a cleared buffer of KV_WRITE_LINE_CAP units.
    TextBuilder& line();
    // Appends the current line and CR LF to the output; a line is cut so that
    // with its CR LF it fits in KV_WRITE_LINE_CAP - 1 units.
    void end_line();
    // The output so far: the byte order mark, then the lines with CR LF.
    const std::u16string& units() const { return units_; }

private:
    char16_t buffer_[KV_WRITE_LINE_CAP];
    TextBuilder builder_;
    std::u16string units_;
};

// Appends a text field to a line being written: its units up to the NUL, at
// most cap - 1 of them, so a field that lost its NUL never runs into the next.
void kv_add_field(TextBuilder& line, const char16_t* field, int cap);
template <int N>
inline void kv_add_field(TextBuilder& line, const char16_t (&field)[N]) {
    kv_add_field(line, field, N);
}

// The writing procedure shared by the three writers (`kind` picks the
// captions and the alternative save dialog). `name` is resolved as for
// reading; when the user picks another file in the overwrite flow, that path
// is written instead (and stored in `chosen_file` when `name` was it).
// `emit` writes the file's lines. The whole file is built in memory and
// handed to the platform's replace_file, so a failed write leaves the old
// file as it was. Returns WRITE_DONE, WRITE_DECLINED or WRITE_FAILED.
int write_kv_file(WindowHandle owner, const char16_t* name, int mode, int kind,
                  void (*emit)(KvWriter& out));
