#include "render/background_path.h"

#include "model/document.h"
#include "model/text.h"

namespace {

bool is_drive_path(const char16_t* name) {
    return name[0] != 0 && name[1] == u':' && name[2] == u'\\';
}

}  // namespace

bool resolve_background_path(const char16_t* work_dir, const char16_t* name, char16_t* out,
                             int cap) {
    if (cap <= 0) return false;
    out[0] = 0;
    int name_len = text_length_bounded(name, PATH_CAP);
    if (name_len == 0) return false;
    if (is_drive_path(name)) {
        if (name_len >= cap) return false;
        text_copy(out, cap, name, name_len);
        return true;
    }
    int dir_len = text_length_bounded(work_dir, PATH_CAP);
    bool need_separator = dir_len == 0 || work_dir[dir_len - 1] != u'\\';
    int total = dir_len + (need_separator ? 1 : 0) + name_len;
    if (total >= cap) return false;
    int n = 0;
    for (int i = 0; i < dir_len; ++i) out[n++] = work_dir[i];
    if (need_separator) out[n++] = u'\\';
    for (int i = 0; i < name_len; ++i) out[n++] = name[i];
    out[n] = 0;
    return true;
}
