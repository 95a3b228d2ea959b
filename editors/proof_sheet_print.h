// "一覧を印刷": the cards the proof sheet shows, printed as a sheet on A4,
// twelve to a page (three across, four down), each card drawn as it prints
// (its background only when the cards print theirs) in a thin frame, with
// its number, name, status and marks written under it.
#pragma once

#include "editors/proof_sheet.h"
#include "platform/platform.h"
#include "print/print_job.h"

constexpr int SHEET_COLUMNS = 3;
constexpr int SHEET_ROWS = 4;
constexpr int SHEET_CARDS_PER_PAGE = SHEET_COLUMNS * SHEET_ROWS;
constexpr int16_t SHEET_PAPER_A4 = 9;  // DMPAPER_A4

// The pages of the sheet, one per twelve shown cards.
class ProofSheetPages final : public PageSource {
public:
    explicit ProofSheetPages(const ProofSheet& sheet) : sheet_(sheet) {}
    int pages() const;
    // Page `page`: a heading ("一覧で確認　2027年　1/17") and the page's cards,
    // fitted to the printable area of whatever paper the printer has.
    void draw_page(DrawingSurface& surface, int page) override;

private:
    const ProofSheet& sheet_;
};

// Through the print dialog (A4 offered first) and its confirmation; nothing
// is recorded as sent.
void print_proof_sheet(WindowHandle window, const ProofSheet& sheet);
