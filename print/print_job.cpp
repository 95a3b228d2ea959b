#include "print/print_job.h"

#include "model/document.h"
#include "print/printer_spooler.h"
#include "render/card_renderer.h"

const char16_t* const kPrintDocName = u"Zelkovane";

namespace {

// The print lock is one for the whole program: every window asks it, and
// the messages that reach them carry no pointer to it.
int g_locks = 0;
// A close request of the main window waiting for the lock's end; the main
// window asks for it again when the lock is free.
bool g_close_after_job = false;

void show_start_failure(WindowHandle window) {
    platform().message_box(window, u"印刷を開始できませんでした", u"Error", kButtonsOk);
}

// Cards as pages: page n is card cards[n], drawn by the print path, which
// records it as sent.
struct CardPages final : PageSource {
    const int* cards;
    explicit CardPages(const int* list) : cards(list) {}
    void draw_page(DrawingSurface& surface, int page) override { draw_card_print(surface, cards[page]); }
};

// One job while it runs: its pages on its target, and whether the user
// cancelled it.
class PrintJob {
public:
    PrintJob(PrintTarget& target, PageSource& pages) : target_(target), pages_(pages) {}

    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    // The pages of the job; false when the job was cancelled or a page
    // failed, in which case the document has been aborted.
    bool print_pages(int first, int end, int copies) {
        PrinterSpooler& spooler = printer_spooler();
        const int pages = (end - first) * copies;
        int page = 0;
        for (int n = first; n < end; ++n) {
            for (int copy = 0; copy < copies; ++copy) {
                // Showing the page serves the messages: the user may cancel there.
                if (!cancelled_) spooler.show_job_progress(++page, pages);
                if (cancelled_ || !target_.start_page()) {
                    target_.abort_doc();
                    return false;
                }
                pages_.draw_page(target_.surface(), n);
                if (cancelled_) {
                    target_.abort_doc();
                    return false;
                }
                if (!target_.end_page()) {
                    target_.abort_doc();
                    return false;
                }
            }
        }
        return true;
    }

private:
    PrintTarget& target_;
    PageSource& pages_;
    bool cancelled_ = false;
};

// The job that runs, for the abort dialog, the spooler's abort procedure
// and the main window's close, which are Windows callbacks without a
// pointer to it (the abort procedure gets only the printer's DC).
PrintJob* g_running_job = nullptr;

}  // namespace

bool print_user_abort() { return g_running_job != nullptr && g_running_job->cancelled(); }

void set_print_user_abort() {
    if (g_running_job != nullptr) g_running_job->cancel();
}

bool print_job_running() { return g_running_job != nullptr; }

PrintLock::PrintLock(WindowHandle owner) {
    if (g_locks++ == 0) printer_spooler().lock_windows(owner);
}

PrintLock::~PrintLock() {
    if (--g_locks == 0) printer_spooler().unlock_windows();
}

bool print_lock_held() { return g_locks > 0 || print_job_running(); }

bool close_after_print_job() {
    if (g_close_after_job) return false;
    g_close_after_job = true;
    return true;
}

bool take_close_after_print_job() {
    if (print_lock_held() || !g_close_after_job) return false;
    g_close_after_job = false;
    return true;
}

void print_job(WindowHandle window, PrintTarget& target, int first, int end, int copies) {
    int cards[HDATA_MAX];
    int count = 0;
    for (int i = first < 0 ? 0 : first; i < end && count < HDATA_MAX; ++i) cards[count++] = i;
    print_cards_job(window, target, cards, count, copies);
}

void print_cards_job(WindowHandle window, PrintTarget& target, const int* cards, int count, int copies) {
    // Never past the cards in use, whatever the caller asked for.
    int in_use[HDATA_MAX];
    int printed = 0;
    for (int n = 0; n < count && printed < HDATA_MAX; ++n)
        if (cards[n] >= 0 && cards[n] < count_cards()) in_use[printed++] = cards[n];
    CardPages pages(in_use);
    print_pages_job(window, target, pages, 0, printed, copies);
}

void print_pages_job(WindowHandle window, PrintTarget& target, PageSource& pages, int first,
                     int end, int copies) {
    PrinterSpooler& spooler = printer_spooler();
    PrintJob job(target, pages);
    if (first < 0) first = 0;
    if (end < first) end = first;

    // The window takes no input from the confirmation on: the printer's
    // set-up in start_doc can take seconds.
    spooler.enable_window(window, false);
    spooler.create_abort_dialog(window);
    g_running_job = &job;

    DocStart started = target.start_doc(kPrintDocName);
    if (started == DocStart::Started && job.print_pages(first, end, copies)) target.end_doc();

    g_running_job = nullptr;
    spooler.destroy_abort_dialog();
    spooler.enable_window(window, true);
    spooler.focus_window(window);
    if (started == DocStart::Failed) show_start_failure(window);
}
