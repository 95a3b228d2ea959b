#include "files/fit_settings_file.h"

#include "files/kv_file.h"
#include "model/document.h"
#include "platform/platform.h"
#include "render/card_fit.h"

const char16_t* const FIT_SETTINGS_FILE = u"zelko_fit.txt";

namespace {

// More than the file ever holds; anything behind it is not read.
constexpr unsigned long kMaxBytes = 4096;

// One line of the file: sets the switch it names when its value is 0 or 1.
void apply_line(const char16_t* line, int length) {
    struct Key {
        const char16_t* name;
        bool FitSwitches::*field;
    };
    static const Key keys[] = {{u"fit_long_lines=", &FitSwitches::fit_long_lines},
                               {u"align_names=", &FitSwitches::align_names},
                               {u"vertical_forms=", &FitSwitches::vertical_forms},
                               {u"kanji_digits=", &FitSwitches::kanji_digits}};
    for (const Key& key : keys) {
        int n = text_length(key.name);
        if (length != n + 1 || !text_starts_with(line, key.name)) continue;
        if (line[n] == u'0' || line[n] == u'1') fit_switches().*key.field = line[n] == u'1';
    }
}

}  // namespace

void parse_fit_settings(const unsigned char* bytes, unsigned long count) {
    fit_switches() = FitSwitches{};
    if (count > kMaxBytes) count = kMaxBytes;
    char16_t line[32] = {};
    int length = 0;
    bool too_long = false;
    for (unsigned long i = 0; i + 1 < count; i += 2) {
        char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (i == 0 && unit == 0xFEFF) continue;
        if (unit == u'\r' || unit == u'\n') {
            if (!too_long) apply_line(line, length);
            length = 0;
            too_long = false;
        } else if (length < 31) {
            line[length++] = unit;
            line[length] = 0;
        } else {
            too_long = true;
        }
    }
    if (!too_long) apply_line(line, length);
}

void load_fit_settings() {
    static unsigned char bytes[kMaxBytes];
    unsigned long count = 0;
    char16_t path[PATH_CAP];
    if (resolve_data_path(FIT_SETTINGS_FILE, path, PATH_CAP)) {
        if (FileHandle file = platform().open_for_read(path)) {
            size_t got = 0;
            while (count < kMaxBytes &&
                   (got = platform().read(file, bytes + count, kMaxBytes - count)) > 0)
                count += static_cast<unsigned long>(got);
            platform().close(file);
        }
    }
    parse_fit_settings(bytes, count);
}

bool save_fit_settings() {
    KvWriter out;
    out.line().add(u"fit_long_lines=").add_int(fit_switches().fit_long_lines ? 1 : 0);
    out.end_line();
    out.line().add(u"align_names=").add_int(fit_switches().align_names ? 1 : 0);
    out.end_line();
    out.line().add(u"vertical_forms=").add_int(fit_switches().vertical_forms ? 1 : 0);
    out.end_line();
    out.line().add(u"kanji_digits=").add_int(fit_switches().kanji_digits ? 1 : 0);
    out.end_line();
    char16_t path[PATH_CAP];
    if (!resolve_data_path(FIT_SETTINGS_FILE, path, PATH_CAP)) return false;
    const std::u16string& units = out.units();
    return platform().replace_file(path, units.data(), units.size() * sizeof(char16_t));
}
