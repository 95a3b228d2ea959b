#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/kv_grammar.h"
#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t* const kCountKey = u"fdata_cont_max=";
const char16_t kRecordPrefix[] = u"fdata[";

// "fdata[j]<field>" at the start of a new line.
TextBuilder& sender_key(KvWriter& out, int j, const char16_t* field) {
    return out.line().add(kRecordPrefix).add_int(j).add(field);
}

// "fdata[j]<field>[k].s=<text>"
void sender_line(KvWriter& out, int j, const char16_t* field, int k, const TextLine& text) {
    TextBuilder& line = sender_key(out, j, field).add_int(k).add(u"].s=");
    kv_add_field(line, text.s);
    out.end_line();
}

void emit_senders(KvWriter& out) {
    const int count = count_senders();
    out.line().add(kCountKey).add_int(count);
    out.end_line();
    for (int j = 0; j < count; ++j) {
        const SenderRecord& sender = doc().fdata[j];
        kv_add_field(sender_key(out, j, u"].t="), sender.t);
        out.end_line();
        for (int k = 0; k < SENDER_LINES; ++k) sender_line(out, j, u"].a[", k, sender.a[k]);
        for (int k = 0; k < SENDER_LINES; ++k) sender_line(out, j, u"].n[", k, sender.n[k]);
    }
}

// "[k].s=value" behind ".a" or ".n".
void read_sender_text(TextLine (&lines)[SENDER_LINES], const char16_t* index, const char16_t* end) {
    const char16_t* after = nullptr;
    int k = kv_index(index, SENDER_LINES, &after);
    if (const char16_t* value = kv_match_literal(after, u".s=")) kv_set_text(lines[k].s, LINE_CAP, value, end);
}

}  // namespace

int write_sender_file(WindowHandle owner, const char16_t* name, int mode) {
    return write_kv_file(owner, name, mode, KIND_SENDER, emit_senders);
}

void read_sender_line(const char16_t* line) { read_sender_line(line, text_length(line)); }

void read_sender_line(const char16_t* line, int len) {
    // The count line is for the reader's information only; like any line
    // without the table prefix it changes nothing.
    char16_t buffer[KV_REST_CAP];
    KvRest rest;
    int j = kv_split_record(line, len, kRecordPrefix, FDATA_MAX, buffer, &rest);
    if (j < 0) return;
    SenderRecord& sender = doc().fdata[j];
    if (const char16_t* value = kv_match_literal(rest.text, u".t="))
        kv_set_text(sender.t, POSTAL_CAP, value, rest.end);
    if (const char16_t* index = kv_match_literal(rest.text, u".a[")) read_sender_text(sender.a, index, rest.end);
    if (const char16_t* index = kv_match_literal(rest.text, u".n[")) read_sender_text(sender.n, index, rest.end);
}
