#include "files/backup_generations.h"

#include <cstring>

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
// the name of the oldest (never `kept`, the copy just made) and the name of
// the newest. Copies dated later than now were made before the clock was
// set back, so they count as older than every copy dated up to now.
struct Generations {
    const char16_t* path;
    NameParts parts;
    const char16_t* kept;  // a name, or empty
    unsigned long long now_age;
    int count;
    unsigned long long oldest_age;
    char16_t oldest[PATH_CAP];
    unsigned long long newest_age;
    char16_t newest[PATH_CAP];
};

// A date and time as the number generation_age() gives a name of that
// second, with the highest same-second number.
unsigned long long age_of(const LocalTime& t) {
    const int parts[] = {t.month, t.day, t.hour, t.minute, t.second};
    unsigned long long age = static_cast<unsigned>(t.year % 10000);
    for (int part : parts) age = age * 100 + static_cast<unsigned>(part);
    return age * 10 + 9;
}

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

// The copy of age `a` was made after the copy of age `b`.
bool later_than(const Generations& g, unsigned long long a, unsigned long long b) {
    const bool a_past = a <= g.now_age, b_past = b <= g.now_age;
    return a_past != b_past ? a_past : a > b;
}

void count_generation(const char16_t* name, void* context) {
    Generations& g = *static_cast<Generations*>(context);
    unsigned long long age = 0;
    if (!generation_age(g, name, age)) return;
    if (g.newest[0] == 0 || later_than(g, age, g.newest_age)) {
        g.newest_age = age;
        text_set(g.newest, name);
    }
    ++g.count;
    if (text_equal(name, g.kept)) return;
    if (g.oldest[0] == 0 || later_than(g, g.oldest_age, age)) {
        g.oldest_age = age;
        text_set(g.oldest, name);
    }
}

Generations find_generations(const char16_t* path, const NameParts& parts, const char16_t* folder,
                             const char16_t* kept) {
    Generations g{path, parts, kept, age_of(platform().local_time()), 0, 0, {}, 0, {}};
    platform().list_files(folder, count_generation, &g);
    return g;
}

// Removes the oldest generations until BACKUP_GENERATIONS are left, never
// the copy `kept` just made. A copy that cannot be removed stops the
// clean-up; it is tried again next time.
void remove_old_generations(const char16_t* path, const NameParts& parts, const char16_t* folder,
                            const char16_t* kept) {
    for (;;) {
        Generations g = find_generations(path, parts, folder, kept);
        if (g.count <= BACKUP_GENERATIONS || g.oldest[0] == 0) return;
        char16_t old[PATH_CAP];
        TextBuilder name(old, PATH_CAP);
        name.add(folder).add_unit(u'\\').add(g.oldest);
        if (name.len >= PATH_CAP - 1 || !platform().remove_file(old)) return;
    }
}

// Copies the file to the first free generation name of this second; `copy`
// gets the full path of the copy, `name_at` where its name starts (`copy`
// is empty when no copy was made).
bool copy_to_new_generation(const char16_t* path, const NameParts& parts, const char16_t* folder,
                            char16_t (&copy)[PATH_CAP], int& name_at) {
    LocalTime t = platform().local_time();
    for (int n = 0; n < kMaxSameSecond; ++n) {
        TextBuilder name(copy, PATH_CAP);
        name.add(folder).add_unit(u'\\');
        name_at = name.len;
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
        if (name.len >= PATH_CAP - 1) break;  // too long for a path
        if (platform().path_exists(copy)) continue;
        if (platform().copy_file(path, copy)) return true;
        break;
    }
    text_clear(copy, PATH_CAP);
    return false;
}

// The two files hold the same bytes (false when either cannot be read).
bool same_bytes(const char16_t* a, const char16_t* b) {
    FileStamp sa{}, sb{};
    if (!platform().file_stamp(a, &sa) || !platform().file_stamp(b, &sb) || sa.size != sb.size)
        return false;
    FileHandle fa = platform().open_for_read(a);
    FileHandle fb = fa ? platform().open_for_read(b) : nullptr;
    bool same = fb != nullptr;
    static unsigned char chunk_a[1 << 15], chunk_b[1 << 15];
    uint64_t left = sa.size;
    while (same && left > 0) {
        size_t got_a = 0, got_b = 0;
        same = platform().read_checked(fa, chunk_a, sizeof chunk_a, &got_a) &&
               platform().read_checked(fb, chunk_b, sizeof chunk_b, &got_b) && got_a == got_b &&
               got_a > 0 && got_a <= left && std::memcmp(chunk_a, chunk_b, got_a) == 0;
        left -= same ? got_a : 0;
    }
    if (fb) platform().close(fb);
    if (fa) platform().close(fa);
    return same;
}

// Where the generation made before a replace lies, so that the replace's
// outcome decides whether it stays.
struct NewGeneration {
    char16_t copy[PATH_CAP];  // empty when no copy was made
    int name_at;
};

// Copies the file into its backup folder unless its newest generation holds
// the same bytes. False when a copy was needed and could not be made.
bool make_generation(const char16_t* path, const NameParts& parts, const char16_t* folder,
                     NewGeneration& made) {
    made.copy[0] = 0;
    if (!platform().make_folder(folder)) return false;
    Generations g = find_generations(path, parts, folder, u"");
    if (g.newest[0] != 0) {
        char16_t newest[PATH_CAP];
        TextBuilder name(newest, PATH_CAP);
        name.add(folder).add_unit(u'\\').add(g.newest);
        if (name.len < PATH_CAP - 1 && same_bytes(path, newest)) return true;
    }
    return copy_to_new_generation(path, parts, folder, made.copy, made.name_at);
}

void report_failure(WindowHandle owner, const char16_t* folder) {
    if (g_failure_reported) return;
    g_failure_reported = true;
    char16_t message[PATH_CAP + 64];
    format_with_text(message, PATH_CAP + 64, kCannotBackUp, folder);
    platform().message_box(owner, message, kCannotBackUpCaption, kButtonsOk | kIconWarning);
}

}  // namespace

bool replace_keeping_backup(WindowHandle owner, const char16_t* path, const void* data, size_t bytes) {
    NewGeneration made{};
    FileStamp stamp;
    if (platform().file_stamp(path, &stamp)) {
        NameParts parts = split_name(path);
        char16_t folder[PATH_CAP];
        TextBuilder f(folder, PATH_CAP);
        add_range(f, path, 0, parts.name_start);
        f.add(u"backup");
        bool backed_up = f.len < PATH_CAP - 1 && make_generation(path, parts, folder, made);
        if (!backed_up) report_failure(owner, folder);
        if (!platform().replace_file(path, data, bytes)) {
            // The file stays as it was, so its copy is no generation.
            if (made.copy[0] != 0) platform().remove_file(made.copy);
            return false;
        }
        if (made.copy[0] != 0) remove_old_generations(path, parts, folder, made.copy + made.name_at);
        return true;
    }
    return platform().replace_file(path, data, bytes);
}

void reset_backup_report() { g_failure_reported = false; }
