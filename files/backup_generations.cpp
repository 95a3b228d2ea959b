#include "files/backup_generations.h"

#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t* const kCannotBackUp = u"%sにバックアップを作成できません。\r\n保存はそのまま続けます。";
const char16_t* const kCannotBackUpCaption = u"バックアップエラー";
constexpr int kMaxSameSecond = 10;  // the plain name and "_1" to "_9"

bool g_failure_reported = false;

// Where the name and the extension of a file path start.
struct NameParts {
    int name_start;  // after the last separator (0 for a bare name)
    int ext_start;   // at the last dot of the name, or at the end
    int end;
};

NameParts split_name(const char16_t* path) {
    NameParts parts{0, 0, text_length_bounded(path, PATH_CAP)};
    for (int i = 0; i < parts.end; ++i)
        if (path[i] == u'\\' || path[i] == u'/') parts.name_start = i + 1;
    parts.ext_start = parts.end;
    for (int i = parts.end - 1; i >= parts.name_start; --i)
        if (path[i] == u'.') {
            parts.ext_start = i;
            break;
        }
    return parts;
}

void add_digits(TextBuilder& out, int value, int width) {
    char16_t digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char16_t>(u'0' + value % 10);
    for (int i = 0; i < width; ++i) out.add_unit(digits[i]);
}

void add_range(TextBuilder& out, const char16_t* s, int from, int to) {
    for (int i = from; i < to; ++i) out.add_unit(s[i]);
}

// The units [from, to) of `s` equal `name` from `at` on, ignoring the case
// of ASCII letters.
bool same_units(const char16_t* s, int from, int to, const char16_t* name, int at) {
    for (int i = from; i < to; ++i, ++at) {
        char16_t a = s[i], b = name[at];
        if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a + 32);
        if (b >= u'A' && b <= u'Z') b = static_cast<char16_t>(b + 32);
        if (b == 0 || a != b) return false;
    }
    return true;
}

// Reads `count` digits of `name` at `at` into `value`; false at any other unit.
bool take_digits(const char16_t* name, int& at, int count, unsigned long long& value) {
    for (int i = 0; i < count; ++i, ++at) {
        if (name[at] < u'0' || name[at] > u'9') return false;
        value = value * 10 + static_cast<unsigned>(name[at] - u'0');
    }
    return true;
}

// The generations of one data file found in its backup folder: how many,
// and the name of the oldest.
struct Generations {
    const char16_t* path;
    NameParts parts;
    int count;
    unsigned long long oldest_age;
    char16_t oldest[PATH_CAP];
};

// The age of a backup name of the file: its date, time and same-second
// number as one number (larger is newer); false when the name is no
// generation of this file.
bool generation_age(const Generations& g, const char16_t* name, unsigned long long& age) {
    const NameParts& parts = g.parts;
    if (!same_units(g.path, parts.name_start, parts.ext_start, name, 0)) return false;
    int at = parts.ext_start - parts.name_start;
    age = 0;
    if (name[at++] != u'-' || !take_digits(name, at, 8, age) || name[at++] != u'-' ||
        !take_digits(name, at, 6, age))
        return false;
    unsigned long long same_second = 0;
    if (name[at] == u'_') {
        ++at;
        if (!take_digits(name, at, 1, same_second)) return false;
    }
    age = age * 10 + same_second;
    return same_units(g.path, parts.ext_start, parts.end, name, at) &&
           name[at + parts.end - parts.ext_start] == 0;
}

void count_generation(const char16_t* name, void* context) {
    Generations& g = *static_cast<Generations*>(context);
    unsigned long long age = 0;
    if (!generation_age(g, name, age)) return;
    if (g.count++ == 0 || age < g.oldest_age) {
        g.oldest_age = age;
        text_set(g.oldest, name);
    }
}

// Removes the oldest generations until BACKUP_GENERATIONS are left. A copy
// that cannot be removed stops the clean-up; it is tried again next time.
void remove_old_generations(const char16_t* path, const NameParts& parts, const char16_t* folder) {
    for (;;) {
        Generations g{path, parts, 0, 0, {}};
        platform().list_files(folder, count_generation, &g);
        if (g.count <= BACKUP_GENERATIONS) return;
        char16_t old[PATH_CAP];
        TextBuilder name(old, PATH_CAP);
        name.add(folder).add_unit(u'\\').add(g.oldest);
        if (name.len >= PATH_CAP - 1 || !platform().remove_file(old)) return;
    }
}

// Copies the file to the first free generation name of this second.
bool copy_to_new_generation(const char16_t* path, const NameParts& parts, const char16_t* folder) {
    LocalTime t = platform().local_time();
    for (int n = 0; n < kMaxSameSecond; ++n) {
        char16_t copy[PATH_CAP];
        TextBuilder name(copy, PATH_CAP);
        name.add(folder).add_unit(u'\\');
        add_range(name, path, parts.name_start, parts.ext_start);
        name.add_unit(u'-');
        add_digits(name, t.year, 4);
        add_digits(name, t.month, 2);
        add_digits(name, t.day, 2);
        name.add_unit(u'-');
        add_digits(name, t.hour, 2);
        add_digits(name, t.minute, 2);
        add_digits(name, t.second, 2);
        if (n > 0) name.add_unit(u'_').add_int(n);
        add_range(name, path, parts.ext_start, parts.end);
        if (name.len >= PATH_CAP - 1) return false;  // too long for a path
        if (!platform().path_exists(copy)) return platform().copy_file(path, copy);
    }
    return false;
}

}  // namespace

bool back_up_before_replace(WindowHandle owner, const char16_t* path) {
    FileStamp stamp;
    if (!platform().file_stamp(path, &stamp)) return true;
    NameParts parts = split_name(path);
    char16_t folder[PATH_CAP];
    TextBuilder f(folder, PATH_CAP);
    add_range(f, path, 0, parts.name_start);
    f.add(u"backup");
    bool made = f.len < PATH_CAP - 1 && platform().make_folder(folder) &&
                copy_to_new_generation(path, parts, folder);
    if (made) {
        remove_old_generations(path, parts, folder);
        return true;
    }
    if (!g_failure_reported) {
        g_failure_reported = true;
        char16_t message[PATH_CAP + 64];
        format_with_text(message, PATH_CAP + 64, kCannotBackUp, folder);
        platform().message_box(owner, message, kCannotBackUpCaption, kButtonsOk | kIconWarning);
    }
    return false;
}

void reset_backup_report() { g_failure_reported = false; }
