#include "files/file_dialogs.h"

#include "model/document.h"
#include "model/text.h"

namespace {

// The settings of one dialog kind: its filter (description and pattern
// texts, each NUL-terminated, ended by an empty text) and the file name
// proposed in the working folder.
struct DialogKind {
    const char16_t* filter;
    const char16_t* initial_name;
};

// The literals end in an explicit NUL; the compiler adds the final one.
constexpr char16_t kTextFilter[] = u"txtFile(*.txt)\0*.txt\0AllFile(*.*)\0*.*\0";
constexpr char16_t kCsvFilter[] = u"CsvFile(*.csv)\0*.csv\0AllFile(*.*)\0*.*\0";
constexpr char16_t kBmpFilter[] = u"BmpFile(*.bmp)\0*.bmp\0AllFile(*.*)\0*.*\0";
constexpr char16_t kVcardFilter[] = u"vCard(*.vcf)\0*.vcf\0AllFile(*.*)\0*.*\0";
constexpr char16_t kPostalFilter[] = u"郵便番号データ(*.csv)\0*.csv\0AllFile(*.*)\0*.*\0";
constexpr char16_t kAnyFilter[] = u"AllFile(*.*)\0*.*\0";

DialogKind dialog_kind(int kind) {
    switch (kind) {
    case KIND_SENDER: return {kTextFilter, u"\\差出_無題.txt"};
    case KIND_ADDRESSEE: return {kTextFilter, u"\\宛先_無題.txt"};
    case KIND_LAYOUT: return {kTextFilter, u"\\情報_無題.txt"};
    case DIALOG_CSV: return {kCsvFilter, u"\\無題.csv"};
    case DIALOG_BMP: return {kBmpFilter, u"\\無題.bmp"};
    case DIALOG_VCARD: return {kVcardFilter, u"\\無題.vcf"};
    case DIALOG_POSTAL: return {kPostalFilter, u"\\utf_ken_all.csv"};
    case DIALOG_POSTAL_BUSINESS: return {kPostalFilter, u"\\JIGYOSYO.CSV"};
    default: return {kAnyFilter, u"\\無題.txt"};
    }
}

// Shows the dialog and copies the chosen path (the text up to the first NUL:
// the folder when several files were picked) into `destination`. Returns the
// extension code, or EXT_NONE when cancelled, leaving `destination` as it was.
int run_dialog(WindowHandle owner, bool save, char16_t* destination, int kind) {
    DialogKind settings = dialog_kind(kind);
    char16_t file[PATH_CAP];
    TextBuilder initial(file, PATH_CAP);
    const char16_t* work_dir = doc().work_dir;
    initial.add(work_dir);
    // A root folder ("C:\") already ends with the separator.
    int dir_len = text_length(work_dir);
    const char16_t* name = settings.initial_name;
    if (dir_len > 0 && work_dir[dir_len - 1] == u'\\') ++name;
    initial.add(name);

    FileDialogRequest request;
    request.save = save;
    request.title = save ? u"ファイルの保存" : u"ファイルの読込";
    request.filter = settings.filter;
    request.file = file;
    request.file_cap = PATH_CAP;
    request.flags = kOfnExplorer | kOfnAllowMultiSelect;
    if (!platform().file_dialog(owner, request)) return EXT_NONE;

    file[PATH_CAP - 1] = 0;
    text_copy(destination, PATH_CAP, file);
    return extension_code(destination);
}

}  // namespace

int extension_code(const char16_t* path) {
    int len = text_length(path);
    if (len < 4) return EXT_OTHER;
    const char16_t* tail = path + len - 4;
    if (text_equal_ignore_case(tail, u".txt")) return EXT_TXT;
    if (text_equal_ignore_case(tail, u".csv")) return EXT_CSV;
    if (text_equal_ignore_case(tail, u".bmp")) return EXT_BMP;
    return EXT_OTHER;
}

int open_file_dialog(WindowHandle owner, int kind) {
    return run_dialog(owner, false, doc().chosen_file, kind);
}

int save_file_dialog(WindowHandle owner, char16_t* destination, int kind) {
    return run_dialog(owner, true, destination, kind);
}
