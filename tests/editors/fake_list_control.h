// The addressee list's report list for the native tests: keeps the rows as
// last shown, lets a test select rows as the user does, and runs a scripted
// one-line editor.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "editors/addressee_list.h"
#include "render/card_fit.h"
#include "tests/render/recording_surface.h"

class FakeListControl : public ListControl {
public:
    std::vector<ListRow> rows;  // as last shown
    std::set<int> selection;    // what the user has selected
    // The one-line editor: gets row and total, works on work_card, returns
    // 1 for "閉じる". Unset: cancelled.
    std::function<int(int, int)> line_editor;
    int line_editor_calls = 0;
    int scrolled_to = -1;  // the row last scrolled into view

    void select(std::set<int> rows_to_select) { selection = std::move(rows_to_select); }
    std::u16string cell(int r, int c) const { return rows.at(r).cell[c]; }
    // Column c of every row, top to bottom.
    std::vector<std::u16string> column(int c) const {
        std::vector<std::u16string> out;
        for (const ListRow& r : rows) out.push_back(r.cell[c]);
        return out;
    }

    void show_rows(const ListRow* shown, int count) override {
        rows.assign(shown, shown + count);
        selection.clear();
        for (int r = 0; r < count; ++r)
            if (shown[r].selected) selection.insert(r);
    }
    bool row_selected(int row) override { return selection.count(row) != 0; }
    void scroll_to_row(int row) override { scrolled_to = row; }
    int open_line_editor(int row, int total) override {
        ++line_editor_calls;
        return line_editor ? line_editor(row, total) : 0;
    }
    // Measured as a full-width face advances: |lfHeight| a character.
    int overflow_lines(const CardRecord& card) override {
        RecordingSurface surface;
        surface.square_cells = true;
        return card_overflow_lines(surface, card);
    }
};
