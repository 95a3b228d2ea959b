#include "app/bitmap_export_command.h"

#include "files/file_dialogs.h"
#include "model/document.h"

namespace {
char16_t g_bitmap_export_path[PATH_CAP];
}

char16_t* bitmap_export_path() { return g_bitmap_export_path; }

void command_export_bitmap(WindowHandle owner, MainWindowActions& window) {
    Platform& os = platform();
    if (save_file_dialog(owner, g_bitmap_export_path, DIALOG_BMP) != EXT_BMP) {
        os.message_box(owner, u"拡張子違い又は未選択で保存しません。", u"ファイル保存！",
                       kButtonsOk);
        return;
    }
    os.show_wait_window(owner);
    window.export_bitmap(g_bitmap_export_path);
    os.close_wait_window();
}
