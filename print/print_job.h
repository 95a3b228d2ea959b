// One print job: every card of a range drawn on pages of its own, all copies
// of a card together (card 0, card 0, card 1, card 1 ...), each page drawn
// by the card renderer, which records the card as sent. A small modeless
// abort dialog shows the page being printed and lets the user cancel the
// job on any page.
#pragma once

#include "platform/platform.h"
#include "print/print_target.h"

// The document name under which the jobs appear in the spooler.
extern const char16_t* const kPrintDocName;

// Prints the cards with indices first up to but excluding end, each `copies`
// times, on `target`. The requesting window is disabled first, owns the
// abort dialog and stays disabled while the job runs. Indices are limited to the cards in use.
// After a cancel the job is aborted at once: the remaining pages are neither
// drawn nor recorded as sent.
void print_job(WindowHandle window, PrintTarget& target, int first, int end, int copies);
// The same for the cards cards[0] .. cards[count - 1], in this order (the
// addressee list's selected rows); indices of cards not in use are skipped.
void print_cards_job(WindowHandle window, PrintTarget& target, const int* cards, int count, int copies);

// Pages that are not cards (a printed sheet of thumbnails): the job asks
// for each page in turn. Nothing is recorded as sent unless draw_page does
// it.
class PageSource {
public:
    virtual ~PageSource() = default;
    virtual void draw_page(DrawingSurface& surface, int page) = 0;
};
// Prints pages first up to but excluding end of `pages`, each `copies`
// times, as print_job prints cards: the same abort dialog, the same
// disabled window, the same running state.
void print_pages_job(WindowHandle window, PrintTarget& target, PageSource& pages, int first,
                     int end, int copies);

// Each job is an object of its own while it runs, holding its pages and
// whether it was cancelled. The abort dialog's cancel command cancels the
// running job (nothing when none runs); the abort procedure tells the
// spooler to stop once it is cancelled.
bool print_user_abort();
void set_print_user_abort();

// True while a job runs. The job serves the thread's messages on every page,
// so a request to close the main window can arrive in the middle of it.
bool print_job_running();

// The program-wide print lock, held by a print command from its print
// dialog to the end of its job (or to the No of its confirmation). While it
// is held no window of the program takes commands, keys, mouse input or
// menu choices but the job's abort dialog: the windows are disabled (all
// but `owner`, which the dialog, the confirmation and the job disable
// themselves), and the main window's commands and the editors check
// print_lock_held(), since messages posted to a disabled window still
// arrive. A close request meanwhile waits for the lock's end.
class PrintLock {
public:
    explicit PrintLock(WindowHandle owner);
    ~PrintLock();
    PrintLock(const PrintLock&) = delete;
    PrintLock& operator=(const PrintLock&) = delete;
};
// True while a print command holds the lock or a job runs.
bool print_lock_held();

// A close request of the main window that arrived while the lock was held
// waits for its end: it is noted here (false when one was noted already),
// and once the lock is free take_close_after_print_job() returns true once
// (and clears it).
bool close_after_print_job();
bool take_close_after_print_job();
