// A scripted print spooler for the native tests of the printing logic: it
// answers the print dialogs, locks and frees device mode blocks, opens
// printers and writes their paper as the test script says, and records
// every call. FakePrintTarget is the device context of a dialog: it records
// the job's calls and, page by page, the texts the card renderer drew.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/text.h"
#include "print/default_printer.h"
#include "print/print_job.h"
#include "print/printer_spooler.h"
#include "tests/support/fake_platform.h"

// Page by page, the texts drawn on a job's pages.
struct PageLog {
    std::vector<std::string> calls;                // "start_doc Zelkovane", "start_page", ...
    std::vector<std::vector<std::u16string>> pages;  // texts drawn on each page
    bool deleted = false;                          // the device context was released
};

class RecordingPrinterSurface : public DrawingSurface {
public:
    explicit RecordingPrinterSurface(PageLog& log) : log_(log) {}
    std::map<int, int32_t> caps{{kCapHorzRes, 2244}, {kCapVertRes, 3389}};
    // Called after every text drawn: (page index, text).
    std::function<void(int, const std::u16string&)> on_text;

    int32_t device_caps(int index) override {
        auto it = caps.find(index);
        return it == caps.end() ? 0 : it->second;
    }
    BitmapHandle load_bitmap(const char16_t*) override { return nullptr; }
    void release_bitmap(BitmapHandle) override {}
    void stretch_bitmap(BitmapHandle, Point, int32_t, int32_t) override {}
    void begin_font(const LogFont& font, RgbColor) override { height_ = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight; }
    void end_font() override {}
    void text_out(Point, const char16_t* text, int length) override {
        if (log_.pages.empty()) log_.pages.emplace_back();
        std::u16string t(text, static_cast<size_t>(length));
        log_.pages.back().push_back(t);
        if (on_text) on_text(static_cast<int>(log_.pages.size()) - 1, t);
    }
    // A full-width face: each unit advances the font's height.
    Extent text_extent(const char16_t*, int length) override { return {height_ * length, height_}; }
    void fill_rect(const Rect&, RgbColor) override {}

private:
    PageLog& log_;
    int32_t height_ = 0;
};

class FakePrintTarget : public PrintTarget {
public:
    explicit FakePrintTarget(std::shared_ptr<PageLog> log) : log_(std::move(log)), surface_(*log_) {}
    ~FakePrintTarget() override { log_->deleted = true; }

    DocStart doc_start = DocStart::Started;
    int fail_start_page = -1;  // the page index whose StartPage fails
    int fail_end_page = -1;    // the page index whose EndPage fails
    int cancel_in_end_page = -1;  // the abort procedure sees a cancel during this EndPage

    RecordingPrinterSurface& recording() { return surface_; }
    DrawingSurface& surface() override { return surface_; }
    DocStart start_doc(const char16_t* name) override {
        log_->calls.push_back("start_doc " + utf8(name));
        return doc_start;
    }
    bool start_page() override {
        int index = static_cast<int>(log_->pages.size());
        log_->calls.push_back("start_page");
        if (index == fail_start_page) return false;
        log_->pages.emplace_back();
        return true;
    }
    bool end_page() override {
        int index = static_cast<int>(log_->pages.size()) - 1;
        log_->calls.push_back("end_page");
        if (index == cancel_in_end_page) set_print_user_abort();
        return index != fail_end_page;
    }
    void end_doc() override { log_->calls.push_back("end_doc"); }
    void abort_doc() override { log_->calls.push_back("abort_doc"); }

private:
    std::shared_ptr<PageLog> log_;
    RecordingPrinterSurface surface_;
};

class FakePrinterSpooler : public PrinterSpooler {
public:
    // One answer of a print dialog.
    struct DialogAnswer {
        bool ok = true;
        uint32_t flags = 0;  // returned flags
        uint16_t from = 0, to = 0, copies = 1;
        bool keep_pages = true;  // leave the preset pages as they were
        DevModeFields mode{};
        std::u16string device_name;  // the device names' whole name ("": none)
        bool has_devmode = true;
        bool lock_fails = false;
        bool free_fails = false;
        bool has_device = true;
        std::map<int, int32_t> caps;  // added to the device's capabilities
    };
    struct Memory {
        DevModeFields mode{};
        bool lock_fails = false;
        bool free_fails = false;
        int locks = 0;
        bool freed = false;
    };
    struct PaperWriteCall {
        std::u16string printer;
        PaperSetting paper;
    };

    FakePrinterSpooler() {
        set_printer_spooler(this);
        set_mode(printer_mode, u"Office Printer", u"A4", 9, 2100, 2970);
        printer_mode.dmOrientation = 1;
    }
    ~FakePrinterSpooler() override { set_printer_spooler(nullptr); }

    static void set_mode(DevModeFields& m, const char16_t* device, const char16_t* form,
                         int16_t code, int16_t width, int16_t length) {
        text_copy(m.dmDeviceName, kDevModeNameCap, device);
        text_copy(m.dmFormName, kDevModeNameCap, form);
        m.dmPaperSize = code;
        m.dmPaperWidth = width;
        m.dmPaperLength = length;
    }

    // Script.
    std::deque<DialogAnswer> dialog_answers;  // none left: the dialog is cancelled
    std::set<std::u16string> open_fails;
    DevModeFields printer_mode{};  // what DocumentPropertiesW reports for any printer
    int32_t devmode_size = 220;
    int32_t fill_result = 1;
    bool alloc_fails = false;
    bool block_lock_fails = false;
    bool block_free_fails = false;
    PaperWrite paper_result = PaperWrite::Written;
    bool enum_fails = false;
    std::vector<PrinterNames> printers;
    std::map<int, int32_t> device_caps{{kCapHorzRes, 2244}, {kCapVertRes, 3389}};
    // Called with each target a dialog hands out, before the caller sees it.
    std::function<void(FakePrintTarget&)> prepare_target;

    // Record.
    std::vector<std::string> calls;
    std::function<void(int page)> on_progress;
    std::vector<PrintDialogRecord> dialogs;  // the records as handed to PrintDlgW
    std::vector<PaperWriteCall> paper_writes;
    std::vector<std::u16string> notices;
    std::vector<std::u16string> opened;
    int open_printers = 0;
    bool abort_dialog = false;
    std::vector<std::string> progress;  // "page/pages" as the abort dialog shows them
    std::map<WindowHandle, bool> enabled;
    std::vector<std::shared_ptr<PageLog>> logs;  // one per device handed out
    std::map<uintptr_t, Memory> memory;

    // Every block handed out has been freed and no printer is left open.
    bool all_released() const {
        for (const auto& m : memory)
            if (!m.second.freed) return false;
        return open_printers == 0;
    }

    bool print_dialog(PrintDialogRecord& record, PrintDialogResult& result) override {
        dialogs.push_back(record);
        calls.push_back("print_dialog");
        if (dialog_answers.empty()) return false;
        DialogAnswer a = dialog_answers.front();
        dialog_answers.pop_front();
        if (!a.ok) return false;
        record.Flags = a.flags;
        if (!a.keep_pages) {
            record.nFromPage = a.from;
            record.nToPage = a.to;
        }
        record.nCopies = a.copies;
        result.device_name = a.device_name;
        if (a.has_devmode) {
            Memory m;
            m.mode = a.mode;
            m.lock_fails = a.lock_fails;
            m.free_fails = a.free_fails;
            result.devmode = add_memory(m);
        }
        if (a.has_device) {
            auto log = std::make_shared<PageLog>();
            logs.push_back(log);
            auto target = std::make_unique<FakePrintTarget>(log);
            target->recording().caps = device_caps;
            for (const auto& c : a.caps) target->recording().caps[c.first] = c.second;
            if (prepare_target) prepare_target(*target);
            result.device = std::move(target);
        }
        return true;
    }
    MemoryHandle alloc_memory(size_t bytes) override {
        calls.push_back("alloc " + std::to_string(bytes));
        if (alloc_fails) return nullptr;
        Memory m;
        m.lock_fails = block_lock_fails;
        m.free_fails = block_free_fails;
        return add_memory(m);
    }
    void* lock_memory(MemoryHandle h) override {
        Memory& m = memory.at(key(h));
        calls.push_back("lock " + std::to_string(key(h)));
        if (m.lock_fails || m.freed) return nullptr;
        ++m.locks;
        return &m.mode;
    }
    void unlock_memory(MemoryHandle h) override {
        calls.push_back("unlock " + std::to_string(key(h)));
        Memory& m = memory.at(key(h));
        if (m.locks > 0) --m.locks;
    }
    bool free_memory(MemoryHandle h) override {
        calls.push_back("free " + std::to_string(key(h)));
        Memory& m = memory.at(key(h));
        m.freed = true;
        return !m.free_fails;
    }
    DevModeFields devmode_fields(const void* locked) override {
        return *static_cast<const DevModeFields*>(locked);
    }
    PrinterHandle open_printer(const char16_t* name) override {
        opened.push_back(name);
        calls.push_back("open " + utf8(name));
        if (open_fails.count(name)) return nullptr;
        ++open_printers;
        printer_names_.push_back(name);
        return reinterpret_cast<PrinterHandle>(printer_names_.size());
    }
    void close_printer(PrinterHandle) override {
        calls.push_back("close");
        --open_printers;
    }
    int32_t document_properties(WindowHandle, PrinterHandle, const char16_t*, void* out) override {
        if (out == nullptr) {
            calls.push_back("document_properties size");
            return devmode_size;
        }
        calls.push_back("document_properties fill");
        if (fill_result >= 0) *static_cast<DevModeFields*>(out) = printer_mode;
        return fill_result;
    }
    PaperWrite set_default_paper(PrinterHandle printer, const PaperSetting& paper) override {
        calls.push_back("set_default_paper");
        size_t i = reinterpret_cast<uintptr_t>(printer) - 1;
        paper_writes.push_back({printer_names_.at(i), paper});
        return paper_result;
    }
    bool enum_printers(std::vector<PrinterNames>& out) override {
        calls.push_back("enum_printers");
        if (enum_fails) return false;
        out = printers;
        return true;
    }
    void show_notice() override {
        calls.push_back("notice");
        notices.push_back(printer_notice_text());
    }
    void create_abort_dialog(WindowHandle) override {
        calls.push_back("abort_dialog");
        abort_dialog = true;
    }
    void destroy_abort_dialog() override {
        if (abort_dialog) calls.push_back("abort_dialog_destroyed");
        abort_dialog = false;
    }
    void show_job_progress(int page, int pages) override {
        progress.push_back(std::to_string(page) + "/" + std::to_string(pages));
        if (on_progress) on_progress(page);  // the messages the job serves there
    }
    void enable_window(WindowHandle window, bool enable) override {
        calls.push_back(enable ? "enable" : "disable");
        enabled[window] = enable;
    }
    void focus_window(WindowHandle) override { calls.push_back("focus"); }
    void lock_windows(WindowHandle owner) override {
        calls.push_back("lock_windows");
        locked_owner = owner;
    }
    void unlock_windows() override { calls.push_back("unlock_windows"); }
    WindowHandle locked_owner = nullptr;

private:
    std::vector<std::u16string> printer_names_;
    uintptr_t next_ = 0x100;

    static uintptr_t key(MemoryHandle h) { return reinterpret_cast<uintptr_t>(h); }
    MemoryHandle add_memory(const Memory& m) {
        uintptr_t k = next_++;
        memory[k] = m;
        return reinterpret_cast<MemoryHandle>(k);
    }
};
