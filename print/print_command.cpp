#include "print/print_command.h"

#include "model/document.h"
#include "model/text.h"
#include "print/message_format.h"
#include "print/paper_names.h"
#include "print/print_job.h"
#include "print/printer_state.h"
#include "render/card_fit.h"
#include "render/paper_metrics.h"

namespace {

constexpr int kMessageCap = 512;

void show_lock_failure(WindowHandle window) {
    platform().message_box(window, u"メモリブロックをロックできません", u"Error", kButtonsOk);
}

uint16_t page(int32_t card_number) { return static_cast<uint16_t>(card_number); }

// The print dialog refuses to open when a preset page lies outside the
// minimum and maximum page, which would make the command do nothing at all
// (a range saved with the layouts may name cards that no longer exist).
// Such pages are pulled into 1 .. count_cards(); pages in range stay as they
// are.
void keep_pages_in_range(int32_t& from, int32_t& to, int32_t cards) {
    if (cards < 1) return;
    if (from < 1) from = 1;
    if (from > cards) from = cards;
    if (to > cards) to = cards;
    if (to < from) to = from;
}

// Unlocks and frees the device mode a dialog returned.
void release_devmode(MemoryHandle devmode) {
    if (devmode == nullptr) return;
    printer_spooler().unlock_memory(devmode);
    printer_spooler().free_memory(devmode);
}

// The form the dialog chose; a driver that leaves the form name empty
// (Wine's PostScript driver does) still names the paper: the short name of
// its paper code.
void take_form_name(const DevModeFields& mode) {
    char16_t* form = printer_state().form_name;
    text_copy(form, FORM_NAME_CAP, mode.dmFormName, kDevModeNameCap - 1);
    if (form[0] == 0) text_copy(form, FORM_NAME_CAP, paper_name(mode.dmPaperSize));
}

// Printer, form and paper size, with `cards` >= 0 how many cards, and with
// `overflowing` > 0 how many of them have a line that does not fit.
bool confirm(WindowHandle window, int cards, int overflowing) {
    const PrinterState& s = printer_state();
    char16_t text[kMessageCap];
    if (cards < 0) {
        format_message(text, kMessageCap, u"%s %s %d×%dで印刷していいですか？",
                       {s.printer_name, s.form_name, paper_width() / 10, paper_height() / 10});
    } else {
        format_message(text, kMessageCap, u"%s %s %d×%dで%d枚印刷していいですか？",
                       {s.printer_name, s.form_name, paper_width() / 10, paper_height() / 10, cards});
    }
    if (overflowing > 0) {
        char16_t note[kMessageCap];
        format_message(note, kMessageCap, u"（はみ出す行のある葉書が%d枚あります）", {overflowing});
        TextBuilder(text + text_length(text), kMessageCap - text_length(text)).add(note);
    }
    return platform().message_box(window, text, u"PageSize", kButtonsYesNo) == kAnswerYes;
}

// The print command with the list's selected cards (`selection` nullptr
// from the main window).
void run_print_command(WindowHandle window, const int* selection, int selected) {
    PrinterSpooler& spooler = printer_spooler();
    // From the dialog to the job's end nothing else of the program acts on
    // the cards: a file opened or a list saved between two pages would
    // change what the following pages print.
    PrintLock lock(window);
    preset_print_dialog(window);
    PrintDialogRecord& record = print_dialog_record();
    if (selection != nullptr) record.Flags = (record.Flags & ~(kPdNoSelection | kPdPageNums)) | kPdSelection;
    PrintDialogResult result;
    if (!spooler.print_dialog(record, result)) return;
    PrintRange range = print_range(record);
    const bool print_selection = selection != nullptr && (record.Flags & kPdSelection) != 0;

    if (result.devmode != nullptr) {
        void* locked = spooler.lock_memory(result.devmode);
        if (locked == nullptr) {
            show_lock_failure(window);
        } else {
            DevModeFields mode = spooler.devmode_fields(locked);
            PrinterState& state = printer_state();
            take_printer_name(mode, result.device_name);
            take_form_name(mode);
            state.paper_code = mode.dmPaperSize;
            set_paper_size(mode.dmPaperWidth, mode.dmPaperLength);
        }
        release_devmode(result.devmode);
    }
    if (result.device) read_paper_metrics(result.device->surface());

    int cards = -1;  // the main window's confirmation names no number
    if (selection != nullptr) {
        int first = range.first < 0 ? 0 : range.first;
        int end = range.end > count_cards() ? count_cards() : range.end;
        cards = (print_selection ? selected : (end > first ? end - first : 0)) * range.copies;
    }
    // More than one card: how many of them have a line that does not fit
    // (the verdict the screen shows too).
    int overflowing = 0;
    if (result.device) {
        int first = print_selection ? 0 : (range.first < 0 ? 0 : range.first);
        int end = print_selection ? selected : (range.end > count_cards() ? count_cards() : range.end);
        if (end - first > 1) {
            DrawingSurface& page = result.device->surface();
            for (int i = first; i < end; ++i)
                if (card_overflow_lines(page, doc().hdata[print_selection ? selection[i] : i]) > 0) ++overflowing;
        }
    }
    // Answering No releases the device context with `result`.
    if (!result.device || !confirm(window, cards, overflowing)) return;
    if (print_selection) {
        print_cards_job(window, *result.device, selection, selected, range.copies);
    } else {
        print_job(window, *result.device, range.first, range.end, range.copies);
    }
}

}  // namespace

void preset_print_dialog(WindowHandle window) {
    const PrintSettings& settings = doc().print;
    const PrinterState& state = printer_state();
    const int32_t cards = count_cards();
    PrintDialogRecord& r = print_dialog_record();
    r = PrintDialogRecord{};
    r.hwndOwner = window;
    r.Flags = kPdReturnDc | kPdNoSelection | kPdCollate;
    int32_t from = 1;
    int32_t to = cards;
    switch (settings.prn_mode) {
    case 0:
        from = to = doc().current_card + 1;
        r.Flags |= kPdPageNums;
        break;
    case 1:
        break;
    case 2:
        from = settings.start_p;
        to = settings.stop_p;
        r.Flags |= kPdPageNums;
        break;
    default:
        from = state.list_from;
        to = state.list_to;
        r.Flags |= kPdPageNums;
        break;
    }
    keep_pages_in_range(from, to, cards);
    r.nFromPage = page(from);
    r.nToPage = page(to);
    r.nMinPage = 1;
    r.nMaxPage = page(cards);
    r.nCopies = 1;
}

PrintRange print_range(const PrintDialogRecord& r) {
    if (r.Flags & kPdPageNums) return {r.nFromPage - 1, r.nToPage, r.nCopies};
    return {0, count_cards(), r.nCopies};
}

void print_command(WindowHandle window) { run_print_command(window, nullptr, 0); }

void print_cards_command(WindowHandle window, const int* cards, int count) {
    run_print_command(window, cards, count);
}

void print_pages_command(WindowHandle window, PageSource& source, int pages, int16_t paper) {
    if (pages <= 0) return;
    PrinterSpooler& spooler = printer_spooler();
    // The sheet shows the cards as they are: nothing else acts on them from
    // the dialog to the job's end.
    PrintLock lock(window);
    PrintDialogRecord& record = print_dialog_record();
    record = PrintDialogRecord{};
    record.hwndOwner = window;
    record.Flags = kPdReturnDc | kPdNoSelection | kPdCollate;
    record.nFromPage = record.nMinPage = 1;
    record.nToPage = record.nMaxPage = page(pages);
    record.nCopies = 1;
    record.paper = paper;
    PrintDialogResult result;
    if (!spooler.print_dialog(record, result)) return;
    int first = 0, end = pages;
    if (record.Flags & kPdPageNums) {
        first = record.nFromPage - 1;
        end = record.nToPage < pages ? record.nToPage : pages;
    }

    char16_t printer[PRINTER_NAME_CAP] = {};
    char16_t form[FORM_NAME_CAP] = {};
    text_copy(printer, PRINTER_NAME_CAP, result.device_name.c_str());
    if (result.devmode != nullptr) {
        if (const void* locked = spooler.lock_memory(result.devmode)) {
            DevModeFields mode = spooler.devmode_fields(locked);
            if (printer[0] == 0) text_copy(printer, PRINTER_NAME_CAP, mode.dmDeviceName, kDevModeNameCap - 1);
            text_copy(form, FORM_NAME_CAP, mode.dmFormName, kDevModeNameCap - 1);
            if (form[0] == 0) text_copy(form, FORM_NAME_CAP, paper_name(mode.dmPaperSize));
        }
        release_devmode(result.devmode);
    }
    if (!result.device || end <= first) return;
    char16_t text[kMessageCap];
    format_message(text, kMessageCap, u"%s %sで%dページ印刷していいですか？",
                   {printer, form, (end - first) * record.nCopies});
    if (platform().message_box(window, text, u"PageSize", kButtonsYesNo) != kAnswerYes) return;
    print_pages_job(window, *result.device, source, first, end, record.nCopies);
}

void printer_settings_command(WindowHandle window) {
    PrinterSpooler& spooler = printer_spooler();
    PrintDialogRecord& record = print_dialog_record();
    record = PrintDialogRecord{};
    record.hwndOwner = window;
    record.Flags = kPdPrintSetup | kPdReturnDc;
    PrintDialogResult result;
    if (!spooler.print_dialog(record, result)) return;

    PrinterState& state = printer_state();
    if (result.devmode != nullptr) {
        void* locked = spooler.lock_memory(result.devmode);
        if (locked == nullptr) {
            show_lock_failure(window);
        } else {
            DevModeFields mode = spooler.devmode_fields(locked);
            take_printer_name(mode, result.device_name);
            state.paper_code = mode.dmPaperSize;
            set_paper_size(mode.dmPaperWidth, mode.dmPaperLength);
        }
        release_devmode(result.devmode);
    }
    if (result.device) read_paper_metrics(result.device->surface());
    paper_size_from_code(state.paper_code);
}
