#include "files/file_stamps.h"

#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t* const kChangedQuestion = u"%sは他のプログラムで変更されています。上書きしますか？";
const char16_t* const kChangedCaption = u"ファイル書込確認";

struct RememberedFile {
    char16_t path[PATH_CAP];  // empty: the slot is free
    bool exists;
    FileStamp stamp;
    unsigned long long last_use;
    bool kept;  // never makes room for another
};

RememberedFile g_files[REMEMBERED_FILES + KEPT_FILE_STAMPS];
unsigned long long g_uses = 0;

// Windows file names ignore the case of letters.
RememberedFile* find(const char16_t* path) {
    for (RememberedFile& f : g_files)
        if (f.path[0] != 0 && text_equal_ignore_case(f.path, path)) return &f;
    return nullptr;
}

}  // namespace

void remember_file_stamp(const char16_t* path) {
    if (path == nullptr || path[0] == 0 || text_length_bounded(path, PATH_CAP) >= PATH_CAP) return;
    RememberedFile* slot = find(path);
    if (!slot) {
        // A free slot, else the one unused longest of those not kept.
        slot = nullptr;
        for (RememberedFile& f : g_files) {
            if (f.path[0] == 0) {
                slot = &f;
                break;
            }
            if (!f.kept && (slot == nullptr || f.last_use < slot->last_use)) slot = &f;
        }
        slot->kept = false;
    }
    text_set(slot->path, path);
    slot->exists = platform().file_stamp(path, &slot->stamp);
    slot->last_use = ++g_uses;
}

void keep_file_stamp(const char16_t* path) {
    RememberedFile* slot = find(path);
    if (slot == nullptr || slot->kept) return;
    int kept = 0;
    for (const RememberedFile& f : g_files) kept += f.kept ? 1 : 0;
    if (kept < KEPT_FILE_STAMPS) slot->kept = true;
}

int confirm_overwrite_if_changed(WindowHandle owner, const char16_t* path, const char16_t* name,
                                 unsigned buttons) {
    const RememberedFile* seen = find(path);
    if (!seen) return kAnswerYes;
    FileStamp now{};
    bool exists = platform().file_stamp(path, &now);
    if (exists == seen->exists &&
        (!exists || (now.size == seen->stamp.size && now.write_time == seen->stamp.write_time)))
        return kAnswerYes;
    char16_t question[PATH_CAP + 48];
    format_with_text(question, PATH_CAP + 48, kChangedQuestion, name);
    return platform().message_box(owner, question, kChangedCaption, buttons | kIconWarning);
}

void forget_file_stamps() {
    for (RememberedFile& f : g_files) {
        f.path[0] = 0;
        f.kept = false;
    }
}
