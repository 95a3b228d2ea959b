#include "files/kv_file.h"

#include <cstdint>
#include <cstring>

#include "files/data_files.h"
#include "files/file_dialogs.h"
#include "model/defaults.h"
#include "model/document.h"

// The data files are UTF-16LE; file bytes are taken as char16_t units as
// they stand, which is right on the little-endian machines the program runs on.
#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "UTF-16LE files need a little-endian host");
#endif

namespace {

constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;
constexpr char16_t kByteOrderMark = 0xFEFF;  // bytes FF FE

// Texts of the messages; `%s` is the file name as the caller passed it.
const char16_t* const kCannotOpen = u"ﾌｧｲﾙが開けません";
const char16_t* const kCannotOpenCaption = u"ﾌｧｲﾙｴﾗｰ";
const char16_t* const kNotWide = u"%sがWide文字で有りません!。";
const char16_t* const kNotWideCaption = u"ErrorFileRead";
const char16_t* const kCloseFailedCaption = u"CloseHandle-errer";
const char16_t* const kOverwriteQuestion = u"既に%sのファイルが存在しています。\r\n上書きしますか？";
const char16_t* const kCannotCreate = u"ファイルが開きません。\r\n書込中止します。";

struct KindCaptions {
    const char16_t* confirm;
    const char16_t* error;
    int dialog;
};

const KindCaptions& captions_of(int kind) {
    static const KindCaptions sender{u"差出ファイル書込確認", u"差出ファイル書込エラー", DIALOG_SENDER};
    static const KindCaptions addressee{u"宛先ファイル書込確認", u"宛先ファイル書込エラー",
                                        DIALOG_ADDRESSEE};
    static const KindCaptions layout{u"情報ファイル書込確認", u"情報ファイル書込エラー", DIALOG_LAYOUT};
    if (kind == KIND_SENDER) return sender;
    if (kind == KIND_ADDRESSEE) return addressee;
    return layout;
}

// Every file operation starts from the working directory.
void enter_work_dir() {
    if (doc().work_dir[0] != 0) platform().set_current_directory(doc().work_dir);
}

// Reads a file in large chunks and hands out its UTF-16 units. A trailing
// odd byte is dropped; a read that delivers nothing ends the file.
class UnitReader {
public:
    static constexpr size_t kChunkUnits = 16384;

    explicit UnitReader(FileHandle file) : file_(file) {}

    // Makes at least one unit available at pos(); false at the end of the file.
    bool fill() {
        if (pos_ < end_) return true;
        unsigned char* bytes = reinterpret_cast<unsigned char*>(units_);
        while (!eof_) {
            size_t have = 0;
            if (has_carry_) {
                bytes[0] = carry_;
                have = 1;
                has_carry_ = false;
            }
            size_t got = platform().read(file_, bytes + have, sizeof(units_) - have);
            if (got == 0 || got > sizeof(units_) - have) {
                eof_ = true;
                break;
            }
            have += got;
            if (have & 1) {
                carry_ = bytes[have - 1];
                has_carry_ = true;
            }
            pos_ = 0;
            end_ = have / 2;
            if (end_ > 0) return true;
        }
        pos_ = end_ = 0;
        return false;
    }

    // The units not yet consumed; they may be changed in place.
    char16_t* pos() { return units_ + pos_; }
    size_t available() const { return end_ - pos_; }
    void advance(size_t n) { pos_ += n; }

private:
    FileHandle file_;
    char16_t units_[kChunkUnits];
    size_t pos_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool has_carry_ = false;
    unsigned char carry_ = 0;
};

// Four units at a time: the lanes of a 64-bit word that hold LF or NUL.
constexpr uint64_t kLaneOnes = 0x0001000100010001ULL;
constexpr uint64_t kLaneTops = 0x8000800080008000ULL;
constexpr uint64_t kLaneLf = 0x000A000A000A000AULL;

// Marks zero lanes; the lowest mark is always exact.
inline uint64_t zero_lanes(uint64_t v) { return (v - kLaneOnes) & ~v & kLaneTops; }

inline int lowest_mark(uint64_t marks) {
#if defined(__GNUC__)
    return __builtin_ctzll(marks);
#else
    int bit = 0;
    while ((marks & 1) == 0) {
        marks >>= 1;
        ++bit;
    }
    return bit;
#endif
}

// Index of the first unit in s[from, to) that is LF or NUL, or `to`.
size_t find_lf_or_nul(const char16_t* s, size_t from, size_t to) {
    size_t i = from;
    for (; i + 4 <= to; i += 4) {
        uint64_t v;
        std::memcpy(&v, s + i, sizeof v);
        uint64_t marks = zero_lanes(v) | zero_lanes(v ^ kLaneLf);
        if (marks != 0) return i + static_cast<size_t>(lowest_mark(marks) / 16);
    }
    for (; i < to; ++i) {
        if (s[i] == kLf || s[i] == 0) return i;
    }
    return to;
}

// Splits the units of a file into lines: a line ends after a LF that follows
// a CR at a position above 0, after 574 units, or at the end of the file.
// Of each line, the last unit of its text (up to its first NUL) is dropped
// if it is CR or LF, and then once more, which removes the CR LF.
class LineSplitter {
public:
    explicit LineSplitter(UnitReader& reader) : reader_(reader) {}

    // The next line and its length; returns false when the end of the file
    // ended it, which makes it the last line.
    bool next(const char16_t** text, int* len) {
        size_t n = 0;         // units gathered in line_
        long first_nul = -1;  // position of the first NUL in the line
        bool more = true;
        for (;;) {
            if (!reader_.fill()) {
                more = false;
                break;
            }
            char16_t* src = reader_.pos();
            size_t take = reader_.available();
            if (take > KV_READ_LINE_MAX - n) take = KV_READ_LINE_MAX - n;
            size_t used = take;
            bool ended = false;
            for (size_t from = 0;;) {
                size_t q = find_lf_or_nul(src, from, take);
                if (q == take) break;
                from = q + 1;
                if (src[q] == 0) {
                    if (first_nul < 0) first_nul = static_cast<long>(n + q);
                    continue;
                }
                char16_t previous = q > 0 ? src[q - 1] : (n > 0 ? line_[n - 1] : 0);
                if (n + q > 0 && previous == kCr) {
                    used = q + 1;
                    ended = true;
                    break;
                }
            }
            if (ended && n == 0 && first_nul < 0) {
                // The usual case: the whole line lies in the chunk. The CR
                // becomes its terminating NUL.
                src[used - 2] = 0;
                *text = src;
                *len = static_cast<int>(used - 2);
                reader_.advance(used);
                return true;
            }
            std::memcpy(line_ + n, src, used * sizeof(char16_t));
            n += used;
            reader_.advance(used);
            if (ended || n == static_cast<size_t>(KV_READ_LINE_MAX)) break;
        }
        line_[n] = 0;
        int length = first_nul >= 0 ? static_cast<int>(first_nul) : static_cast<int>(n);
        for (int pass = 0; pass < 2; ++pass) {
            if (length > 0 && (line_[length - 1] == kLf || line_[length - 1] == kCr)) line_[--length] = 0;
        }
        *text = line_;
        *len = length;
        return more;
    }

private:
    UnitReader& reader_;
    char16_t line_[KV_READ_LINE_CAP];
};

}  // namespace

bool resolve_data_path(const char16_t* name, char16_t* out, int cap) {
    if (cap <= 0) return false;
    out[0] = 0;
    if (name == nullptr) return false;
    const bool drive_path = name[0] != 0 && name[1] == u':' && name[2] == u'\\';
    const int name_len = text_length_bounded(name, cap);
    int dir_len = 0;
    bool separator = false;
    const char16_t* dir = doc().work_dir;
    if (!drive_path && dir[0] != 0) {
        dir_len = text_length_bounded(dir, PATH_CAP - 1);
        separator = dir[dir_len - 1] != u'\\';
    }
    if (dir_len + (separator ? 1 : 0) + name_len > cap - 1) return false;
    TextBuilder path(out, cap);
    for (int i = 0; i < dir_len; ++i) path.add_unit(dir[i]);
    if (separator) path.add_unit(u'\\');
    path.add(name);
    return true;
}

void read_kv_file(WindowHandle owner, int mode, int kind, const char16_t* name) {
    if (name == nullptr) name = u"";
    enter_work_dir();
    char16_t path[PATH_CAP];
    FileHandle file = nullptr;
    if (resolve_data_path(name, path, PATH_CAP)) file = platform().open_for_read(path);
    if (file == nullptr) {
        if (mode == READ_INTERACTIVE)
            platform().message_box(owner, kCannotOpen, kCannotOpenCaption, kButtonsOk | kIconWarning);
        return;
    }

    void (*handle_line)(const char16_t*, int) = read_layout_line;
    if (kind == KIND_SENDER) {
        clear_senders();
        handle_line = read_sender_line;
    } else if (kind == KIND_ADDRESSEE) {
        clear_addressees();
        handle_line = read_addressee_line;
    } else {
        reset_layouts();
    }

    UnitReader reader(file);
    if (!reader.fill() || reader.pos()[0] != kByteOrderMark) {
        char16_t message[PATH_CAP + 32];
        format_with_text(message, PATH_CAP + 32, kNotWide, name);
        platform().message_box(owner, message, kNotWideCaption, kButtonsOk);
        platform().close(file);
        return;
    }
    reader.advance(1);

    LineSplitter lines(reader);
    bool more = true;
    while (more) {
        const char16_t* line = nullptr;
        int len = 0;
        more = lines.next(&line, &len);
        handle_line(line, len);
    }

    if (!platform().close(file)) platform().message_box(owner, name, kCloseFailedCaption, kButtonsOk);
}

KvWriter::KvWriter() : buffer_{}, builder_(buffer_, KV_WRITE_LINE_CAP) {
    units_.reserve(1 << 16);
    units_.push_back(kByteOrderMark);
}

TextBuilder& KvWriter::line() {
    builder_ = TextBuilder(buffer_, KV_WRITE_LINE_CAP);
    return builder_;
}

void KvWriter::end_line() {
    int len = builder_.len;
    if (len > KV_WRITE_LINE_CAP - 3) len = KV_WRITE_LINE_CAP - 3;
    units_.append(buffer_, static_cast<size_t>(len));
    units_.push_back(kCr);
    units_.push_back(kLf);
}

void kv_add_field(TextBuilder& line, const char16_t* field, int cap) {
    for (int i = 0; i < cap - 1 && field[i] != 0; ++i) line.add_unit(field[i]);
}

int write_kv_file(WindowHandle owner, const char16_t* name, int mode, int kind,
                  void (*emit)(KvWriter& out)) {
    if (name == nullptr) name = u"";
    const KindCaptions& captions = captions_of(kind);
    enter_work_dir();
    char16_t path[PATH_CAP];
    bool resolved = resolve_data_path(name, path, PATH_CAP);

    if (mode == WRITE_INTERACTIVE && resolved && platform().path_exists(path)) {
        char16_t question[PATH_CAP + 48];
        format_with_text(question, PATH_CAP + 48, kOverwriteQuestion, name);
        if (platform().message_box(owner, question, captions.confirm, kButtonsYesNo) != kAnswerYes) {
            // The user may pick another file; the chosen path replaces the
            // one being written (chosen_file itself when that was passed).
            char16_t other[PATH_CAP];
            char16_t* destination = name == doc().chosen_file ? doc().chosen_file : other;
            if (destination == other) text_copy(other, PATH_CAP, name);
            if (save_file_dialog(owner, destination, captions.dialog) != EXT_TXT) return WRITE_DECLINED;
            resolved = resolve_data_path(destination, path, PATH_CAP);
        }
    }

    if (resolved) {
        KvWriter out;
        emit(out);
        const std::u16string& units = out.units();
        if (platform().replace_file(path, units.data(), units.size() * sizeof(char16_t)))
            return WRITE_DONE;
    }
    platform().message_box(owner, kCannotCreate, captions.error, kButtonsOk | kIconWarning);
    return WRITE_FAILED;
}
