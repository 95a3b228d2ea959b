#include "print/default_printer.h"

#include "model/text.h"
#include "print/message_format.h"
#include "print/paper_names.h"
#include "print/printer_spooler.h"
#include "print/printer_state.h"
#include "render/paper_metrics.h"

namespace {

constexpr int16_t kPortrait = 1;
constexpr int16_t kPostcard = 43;  // DMPAPER_JAPANESE_POSTCARD
constexpr PaperSetting kPostcardPaper{kPortrait, kPostcard, 1000, 1480};

DefaultPrinterState g_state{};
char16_t g_notice[NOTICE_TEXT_CAP];

void error_box(WindowHandle window, const char16_t* text) {
    platform().message_box(window, text, u"Error", kButtonsOk);
}

// What the shared reading steps hold open until they are released.
struct DefaultReading {
    PrintDialogResult dialog;          // device mode and information context
    PrinterHandle printer = nullptr;
    MemoryHandle block = nullptr;      // the printer's own device mode
    char16_t name[DEFAULT_PRINTER_CAP] = {};  // the printer's whole name
};

void release_dialog_devmode(DefaultReading& r) {
    printer_spooler().unlock_memory(r.dialog.devmode);
    printer_spooler().free_memory(r.dialog.devmode);
}

// Finds the default printer, opens it and reads its device mode; on success
// the printer state and the saved paper are set and everything stays open
// for the caller. On failure the message has been shown and everything is
// released.
bool open_default_printer(WindowHandle window, DefaultReading& r) {
    PrinterSpooler& spooler = printer_spooler();

    PrintDialogRecord record{};
    record.hwndOwner = window;
    record.Flags = kPdReturnDefault | kPdReturnIc;
    if (!spooler.print_dialog(record, r.dialog)) {
        error_box(window, u"デフォルトのプリンタ名の取得に失敗しました");
        return false;
    }

    void* locked = r.dialog.devmode ? spooler.lock_memory(r.dialog.devmode) : nullptr;
    if (locked == nullptr) {
        error_box(window, u"メモリブロックをロックできません");
        if (r.dialog.devmode) spooler.free_memory(r.dialog.devmode);
        return false;
    }
    // The device names hold the whole name; the device mode only its first
    // 31 characters, with which a longer name could not be opened.
    DevModeFields dialog_mode = spooler.devmode_fields(locked);
    if (!r.dialog.device_name.empty())
        text_copy(r.name, DEFAULT_PRINTER_CAP, r.dialog.device_name.c_str());
    else
        text_copy(r.name, DEFAULT_PRINTER_CAP, dialog_mode.dmDeviceName, kDevModeNameCap - 1);

    r.printer = spooler.open_printer(r.name);
    if (r.printer == nullptr) {
        error_box(window, u"プリンタをオープンできません");
        release_dialog_devmode(r);
        return false;
    }

    int32_t size = spooler.document_properties(window, r.printer, r.name, nullptr);
    r.block = size > 0 ? spooler.alloc_memory(static_cast<size_t>(size)) : nullptr;
    if (r.block == nullptr) {
        error_box(window, u"バッファのためのメモリを確保できません");
        spooler.close_printer(r.printer);
        release_dialog_devmode(r);
        return false;
    }

    void* block = spooler.lock_memory(r.block);
    bool filled = false;
    if (block == nullptr) {
        error_box(window, u"GlobalLockに失敗しました");
    } else if (spooler.document_properties(window, r.printer, r.name, block) < 0) {
        error_box(window, u"DocumentProperties関数が失敗しました");
        spooler.unlock_memory(r.block);
    } else {
        filled = true;
    }
    if (!filled) {
        spooler.free_memory(r.block);
        spooler.close_printer(r.printer);
        release_dialog_devmode(r);
        return false;
    }

    DevModeFields mode = spooler.devmode_fields(block);
    if (!r.dialog.device_name.empty())
        text_copy(g_state.default_printer, DEFAULT_PRINTER_CAP, r.name);
    else
        text_copy(g_state.default_printer, DEFAULT_PRINTER_CAP, mode.dmDeviceName,
                  kDevModeNameCap - 1);
    g_state.saved_paper = {mode.dmPaperSize, mode.dmPaperWidth, mode.dmPaperLength,
                           mode.dmOrientation};
    text_copy(printer_state().printer_name, PRINTER_NAME_CAP, g_state.default_printer);
    return true;
}

// Opens a printer and closes it again at once, so that the spooler takes up
// the changed default settings.
void touch_printer(const char16_t* name) {
    PrinterHandle printer = printer_spooler().open_printer(name);
    if (printer) printer_spooler().close_printer(printer);
}

void measure_paper(DefaultReading& r) {
    if (r.dialog.device) read_paper_metrics(r.dialog.device->surface());
}

}  // namespace

DefaultPrinterState& default_printer_state() { return g_state; }

void reset_default_printer_state() {
    g_state = DefaultPrinterState{};
    text_clear(g_notice, NOTICE_TEXT_CAP);
}

const char16_t* saved_paper_name(int code) { return code == 153 ? u"A1" : paper_name(code); }

void ask_postcard_switch(WindowHandle window) {
    int answer = platform().message_box(window, u"デフォルトプリンタをはがきサイズにしますか？",
                                        u"印刷設定", kButtonsYesNo);
    if (answer == kAnswerYes)
        switch_to_postcard(window);
    else
        read_default_printer(window);
}

void read_default_printer(WindowHandle window) {
    PrinterSpooler& spooler = printer_spooler();
    DefaultReading r;
    if (!open_default_printer(window, r)) return;
    printer_state().paper_code = g_state.saved_paper.code;
    measure_paper(r);

    spooler.unlock_memory(r.block);
    spooler.free_memory(r.block);
    spooler.close_printer(r.printer);
    release_dialog_devmode(r);
}

void switch_to_postcard(WindowHandle window) {
    PrinterSpooler& spooler = printer_spooler();
    DefaultReading r;
    if (!open_default_printer(window, r)) return;

    bool written = spooler.set_default_paper(r.printer, kPostcardPaper) == PaperWrite::Written;
    if (written) {
        g_state.paper_switched = true;
        printer_state().paper_code = kPostcard;
    }
    spooler.close_printer(r.printer);

    spooler.unlock_memory(r.block);
    if (!spooler.free_memory(r.block)) error_box(window, u"GlobalFree(hMem) が失敗しました");
    spooler.unlock_memory(r.dialog.devmode);
    if (!spooler.free_memory(r.dialog.devmode)) {
        error_box(window, u"GlobalFree Error");
        return;
    }

    touch_printer(printer_state().printer_name);

    if (written) {
        char16_t text[NOTICE_TEXT_CAP];
        format_message(text, NOTICE_TEXT_CAP, u"%sを%sからはがきサイズにしました",
                       {printer_state().printer_name, saved_paper_name(g_state.saved_paper.code)});
        printer_notice(text);
    } else {
        platform().message_box(window, u"プリンタの用紙をはがきサイズにできませんでした",
                               u"印刷設定", kButtonsOk | kIconWarning);
    }

    // The information context was made before the switch and measures the
    // old paper; the printer now has postcard paper.
    measure_paper(r);
    if (written) paper_size_from_code(kPostcard);
}

void restore_default_printer(WindowHandle window) {
    if (!g_state.paper_switched) return;
    PrinterSpooler& spooler = printer_spooler();
    PrinterHandle printer = spooler.open_printer(g_state.default_printer);
    if (printer == nullptr) {
        error_box(window, u"プリンタをオープンできません");
        return;
    }
    const SavedPaper& saved = g_state.saved_paper;
    // The orientation the printer had is put back too; a device mode that
    // named none gets portrait, as the switch wrote.
    int16_t orientation = saved.orientation == 1 || saved.orientation == 2 ? saved.orientation
                                                                            : kPortrait;
    PaperSetting paper{orientation, saved.code, saved.width, saved.length};
    bool written = spooler.set_default_paper(printer, paper) == PaperWrite::Written;
    spooler.close_printer(printer);
    touch_printer(g_state.default_printer);

    if (written) {
        char16_t text[NOTICE_TEXT_CAP];
        format_message(text, NOTICE_TEXT_CAP, u"%sを%sへ戻しました",
                       {g_state.default_printer, saved_paper_name(saved.code)});
        printer_notice(text);
    } else {
        platform().message_box(window, u"プリンタの用紙を元に戻せませんでした", u"印刷設定",
                               kButtonsOk | kIconWarning);
    }
}

void printer_notice(const char16_t* text) {
    text_copy(g_notice, NOTICE_TEXT_CAP, text);
    printer_spooler().show_notice();
}

const char16_t* printer_notice_text() { return g_notice; }
