#include "editors/addressee_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/editor_shared.h"
#include "editors/one_line_editor.h"
#include "editors/one_line_editor_ids.h"
#include "postal/postal_code_ids.h"
#include "model/card_status.h"
#include "model/text.h"
#include "print/printer_state.h"
#include "tests/editors/fake_dialog_view.h"
#include "tests/editors/fake_list_control.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"
#include "tests/support/postal_tables.h"

namespace {

// The fake platform's clock stands in December 2026: card year 2027.
constexpr int kYear = 2027;

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// The status code a history holds for `year` (0 when none).
int code_of(const TypEntry (&typ)[TYP_MAX], int year) {
    int code = 0;
    for (const TypEntry& e : typ)
        if (e.y == year) code = e.t;
    return code;
}

class AddresseeListTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakeDialogView view_;
    FakeListControl list_;
    std::unique_ptr<AddresseeList> editor_;

    // A new list window on the cards as they are now.
    void open_list() {
        editor_ = std::make_unique<AddresseeList>(view_, list_);
        editor_->open();
    }

    void SetUp() override {
        reset_print_test_document(0);
        std::memset(&work_card, 0, sizeof work_card);
        std::memset(sort_direction, 0, sizeof sort_direction);
        sort_direction[0] = 1;
        put_senders();
    }

    static void put_senders() {
        for (int j = 0; j < 3; ++j) text_set(doc().fdata[j].n[0].s, (u"差出" + u16(std::to_string(j))).c_str());
    }

    // Card i: name, address "addr <name>", postal code, sender and one
    // history entry { code, card year - 1 }; its layout marked by base_w.
    static void put_card(int i, const std::u16string& name, const std::u16string& postal = u"",
                         int ftb = 0, int code = 0) {
        CardRecord& c = doc().hdata[i];
        text_set(c.tn.m[0].s, name.c_str());
        text_set(c.ta.m[0].s, (u"addr " + name).c_str());
        text_set(c.tt.m, postal.c_str());
        c.ftb = ftb;
        c.typ[1] = {code, kYear - 1};
        c.base_w = 1000 + i;
    }

    void press(int id) { editor_->command(id); }

    // Types into the in-place editor of the first selected row's column c.
    void edit_cell(int row, int c, const std::u16string& text) {
        list_.select({row});
        int r = -1;
        char16_t old[LINE_CAP];
        ASSERT_TRUE(editor_->begin_cell_edit(c, &r, old));
        EXPECT_EQ(r, row);
        EXPECT_EQ(list_.cell(row, c), u"");  // emptied while the editor is open
        editor_->end_cell_edit(text.c_str());
    }

    std::vector<std::u16string> box_texts() const {
        std::vector<std::u16string> out;
        for (const auto& b : platform_.boxes) out.push_back(b.text + u"|" + b.caption);
        return out;
    }
};

TEST_F(AddresseeListTest, FillShowsTheCardsAndSaveWritesRowsAndClearsTheCardsBehind) {
    ListColumn cols[LIST_COLUMNS];
    list_columns(cols, 2026);
    std::vector<std::u16string> captions;
    for (const auto& c : cols) captions.push_back(c.caption);
    EXPECT_EQ(captions, (std::vector<std::u16string>{u"氏名0", u"氏名1", u"氏名2", u"氏名3", u"氏名4",
                                                     u"住所0", u"住所1", u"住所2", u"住所3", u"住所4",
                                                     u"郵便番号", u"差", u"差出名", u"26年", u"25年",
                                                     u"24年", u"よみ"}));
    EXPECT_EQ(cols[0].width + cols[2].width + cols[10].width + cols[11].width + cols[13].width, 340);
    list_columns(cols, 2109);
    EXPECT_EQ(std::u16string(cols[15].caption), u"07年");

    // No card in use: an empty list; saving clears every card's texts, but
    // no layout.
    for (int i = 0; i < HDATA_MAX; ++i) put_card(i, u"", u"", 3, 1), doc().hdata[i].ta.m[0].s[0] = 0;
    text_set(doc().hdata[5].tn.m[1].s, u"stale");
    open_list();
    EXPECT_TRUE(list_.rows.empty());
    press(IDC_LIST_SAVE_CLOSE);
    EXPECT_TRUE(view_.closed);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(view_.main_repaints, 1);
    for (int i = 0; i < HDATA_MAX; ++i) {
        EXPECT_EQ(doc().hdata[i].ftb, 0);
        EXPECT_EQ(doc().hdata[i].typ[1].t, 0);
        EXPECT_EQ(doc().hdata[i].base_w, 1000 + i);
    }
    EXPECT_EQ(doc().hdata[5].tn.m[1].s[0], 0);

    // Three cards: the rows show texts, sender and the three years' status.
    reset_print_test_document(0);
    put_senders();
    put_card(0, u"Ann", u"1234567890", 1, 5);
    put_card(1, u"Bob", u"", 2, 0);
    put_card(2, u"Cy", u"7", 7, 3);  // sender 8 is not in use
    put_card(4, u"hidden");          // behind the first card not in use
    open_list();
    ASSERT_EQ(list_.rows.size(), 3u);
    EXPECT_EQ(list_.cell(0, 0), u"Ann");
    EXPECT_EQ(list_.cell(0, 5), u"addr Ann");
    EXPECT_EQ(list_.cell(0, 10), u"1234567890");
    EXPECT_EQ(list_.cell(0, 11), u"2");
    EXPECT_EQ(list_.cell(0, 12), u"差出1");
    EXPECT_EQ(list_.cell(0, 13), u"未/未");
    EXPECT_EQ(list_.cell(0, 14), u"済/受");
    EXPECT_EQ(list_.cell(2, 11), u"8");
    EXPECT_EQ(list_.cell(2, 12), u"");
    EXPECT_EQ(list_.cell(2, 14), u"止/未");

    // In-place edits: sender 0, a number above the senders in use and a
    // word keep the card's sender; a ten-digit postal code keeps seven
    // digits, one typed with a hyphen its digits, one with a letter all.
    edit_cell(0, COLUMN_SENDER, u"0");
    edit_cell(1, COLUMN_SENDER, u"9");
    edit_cell(2, COLUMN_SENDER, u"abc");
    edit_cell(1, COLUMN_POSTAL, u"9876543210");
    edit_cell(2, COLUMN_POSTAL, u"123-4567");
    edit_cell(2, COLUMN_NAME0 + 1, u"second name line");
    EXPECT_EQ(list_.cell(0, 12), u"差出1");  // the name follows only when the row is rebuilt
    // Columns 12 to 15 and a list without selection open no editor.
    int r = -1;
    char16_t old[LINE_CAP];
    for (int c : {12, 13, 15}) EXPECT_FALSE(editor_->begin_cell_edit(c, &r, old));
    list_.select({});
    EXPECT_FALSE(editor_->begin_cell_edit(0, &r, old));
    list_.select({0});
    ASSERT_TRUE(editor_->begin_cell_edit(10, &r, old));
    EXPECT_EQ(std::u16string(old), u"1234567890");
    editor_->end_cell_edit(old);

    press(IDC_LIST_REFRESH);
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(view_.dialog_repaints, 1);
    EXPECT_EQ(std::u16string(doc().hdata[0].tt.m), u"1234567");
    EXPECT_EQ(std::u16string(doc().hdata[1].tt.m), u"9876543");
    EXPECT_EQ(std::u16string(doc().hdata[2].tt.m), u"1234567");
    EXPECT_EQ(list_.cell(2, 10), u"1234567") << "the row shows what the card holds";
    EXPECT_EQ(doc().hdata[0].ftb, 1);
    EXPECT_EQ(doc().hdata[1].ftb, 2);
    EXPECT_EQ(doc().hdata[2].ftb, 7);
    EXPECT_EQ(std::u16string(doc().hdata[2].tn.m[1].s), u"second name line");
    EXPECT_EQ(doc().hdata[4].tn.m[0].s[0], 0);  // behind the list: cleared
    EXPECT_EQ(doc().hdata[4].base_w, 1004);

    // 200 cards: all shown; "新規" is refused until a row is deleted.
    for (int i = 0; i < HDATA_MAX; ++i) put_card(i, u"n" + u16(std::to_string(i)));
    open_list();
    EXPECT_EQ(list_.rows.size(), 200u);
    press(IDC_LIST_NEW);
    EXPECT_EQ(list_.line_editor_calls, 0);
    list_.select({7});
    press(IDC_LIST_INSERT);
    EXPECT_EQ(box_texts(), std::vector<std::u16string>(2, u"宛先は200個以上登録出来ません。|残念！"));
    EXPECT_EQ(list_.rows.size(), 200u);
    list_.select({7});
    press(IDC_LIST_DELETE);
    list_.line_editor = [](int row, int total) {
        EXPECT_EQ(row, 199);
        EXPECT_EQ(total, 199);
        text_set(work_card.tt.m, u"1000001");
        return 1;
    };
    press(IDC_LIST_NEW);
    ASSERT_EQ(list_.rows.size(), 200u);
    EXPECT_EQ(list_.cell(199, 10), u"1000001");
    EXPECT_EQ(list_.cell(199, 0), u"");  // not the deleted addressee still in the card behind
}

TEST_F(AddresseeListTest, SortingFlipsPerColumnKeepsEqualRowsInOrderAndSurvivesReopening) {
    const char16_t* names[] = {u"b", u"2", u"10", u"B", u"a", u"あ", u"ア", u"亜", u"_"};
    for (int i = 0; i < 9; ++i) put_card(i, names[i], u16(std::to_string(i)));
    open_list();
    list_.select({3});  // the selection follows its row
    editor_->sort(0);  // column 0 starts as ascending: the first click sorts descending
    // The name column sorts as readings do: あ and ア are one kana, so they
    // keep their order as b and B do.
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"亜", u"あ", u"ア", u"b", u"B", u"a",
                                                            u"_", u"2", u"10"}));
    EXPECT_EQ(list_.selection, std::set<int>{4});
    editor_->sort(0);  // "10" before "2", "_" before letters, b and B equal in their order
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"10", u"2", u"_", u"a", u"b", u"B",
                                                            u"あ", u"ア", u"亜"}));
    editor_->sort(10);  // any other column: ascending first
    EXPECT_EQ(list_.cell(0, 0), u"b");
    EXPECT_EQ(sort_direction[10], 1);
    // Closing and opening again keeps each column's direction.
    open_list();
    editor_->sort(10);
    EXPECT_EQ(list_.cell(0, 0), u"_");
    editor_->sort(0);
    EXPECT_EQ(list_.cell(0, 0), u"亜");
}

TEST_F(AddresseeListTest, EachAddresseeKeepsItsOwnHistoryThroughSortInsertDeleteAndSave) {
    put_card(0, u"Ccc", u"", 0, 5);
    put_card(1, u"Aaa", u"", 0, 1);
    put_card(2, u"Bbb", u"", 1, 3);
    put_card(3, u"Ddd", u"", 0, 7);
    open_list();
    editor_->sort(0);
    editor_->sort(0);  // ascending: Aaa Bbb Ccc Ddd
    list_.select({3});
    press(IDC_LIST_DELETE);  // Ddd goes
    list_.select({0});
    press(IDC_LIST_COPY);    // Aaa with sender 1 into work_card
    list_.select({1});
    press(IDC_LIST_INSERT);  // a copy of Aaa before Bbb, without history
    EXPECT_EQ(list_.cell(1, 13), u"");
    press(IDC_LIST_SAVE_CLOSE);
    const char16_t* want[] = {u"Aaa", u"Aaa", u"Bbb", u"Ccc"};
    const int codes[] = {1, 0, 3, 5};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::u16string(doc().hdata[i].tn.m[0].s), want[i]);
        EXPECT_EQ(std::u16string(status_text_for(doc().hdata[i].typ, kYear - 1)),
                  status_code_text(codes[i]));
        EXPECT_EQ(doc().hdata[i].base_w, 1000 + i);  // layouts stay with their position
    }
    EXPECT_EQ(doc().hdata[2].ftb, 1);
    EXPECT_EQ(doc().hdata[4].tn.m[0].s[0], 0);
    EXPECT_EQ(doc().hdata[4].typ[1].t, 0);  // Ddd's card lost its history with its texts
}

TEST_F(AddresseeListTest, AfterASortHistoryAndSenderGoWithTheRowsAddressee) {
    put_card(0, u"Ccc", u"", 7, 5);  // sender 8: none in use
    put_card(1, u"Aaa", u"", 1, 1);
    put_card(2, u"Bbb", u"", 0, 3);
    open_list();
    editor_->sort(0);
    editor_->sort(0);  // Aaa Bbb Ccc, standing for cards 1 2 0

    // 編集 of Aaa, its status changed: written at once into Aaa's card.
    list_.select({0});
    list_.line_editor = [](int, int) {
        work_card.typ[0] = {STATUS_SENT, kYear};
        return 1;
    };
    press(IDC_LIST_EDIT);
    EXPECT_EQ(doc().hdata[1].typ[0].t, STATUS_SENT);
    EXPECT_EQ(doc().hdata[0].typ[0].t, STATUS_NONE);
    EXPECT_EQ(doc().hdata[0].typ[1].t, 5);  // Ccc's history untouched

    // A print of Bbb's card from the main window marks Bbb's row.
    static AddresseeList* list;
    list = editor_.get();
    set_card_marked_hook([](int card, int year) { list->card_marked(card, year); });
    mark_card_sent(2);
    set_card_marked_hook(nullptr);
    EXPECT_EQ(list_.column(13), (std::vector<std::u16string>{u"済/未", u"済/未", u"未/未"}));

    // 編集 of Ccc, whose sender cell names no sender in use: its own sender.
    list_.select({2});
    int sender = -1;
    list_.line_editor = [&sender](int, int) {
        sender = work_card.ftb;
        return 1;
    };
    press(IDC_LIST_EDIT);
    EXPECT_EQ(sender, 7);

    press(IDC_LIST_SAVE_CLOSE);
    const char16_t* names[] = {u"Aaa", u"Bbb", u"Ccc"};
    const int senders[] = {1, 0, 7};
    const int sent[] = {STATUS_SENT, STATUS_SENT, STATUS_NONE};
    const int last_year[] = {1, 3, 5};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::u16string(doc().hdata[i].tn.m[0].s), names[i]);
        EXPECT_EQ(doc().hdata[i].ftb, senders[i]);
        EXPECT_EQ(code_of(doc().hdata[i].typ, kYear), sent[i]);
        EXPECT_EQ(code_of(doc().hdata[i].typ, kYear - 1), last_year[i]);
    }
}

TEST_F(AddresseeListTest, NewAfterDeleteStartsEmptyAndRowsWithTextAreNeverDropped) {
    put_card(0, u"Ann", u"", 0, 1);
    put_card(1, u"Bob", u"", 2, 3);
    text_set(doc().hdata[1].tn.m[2].s, u"Bob's third line");
    open_list();
    list_.select({1});
    press(IDC_LIST_DELETE);  // card 1 still holds Bob
    CardRecord seen{};
    list_.line_editor = [&seen](int, int) {
        seen = work_card;
        text_set(work_card.tt.m, u"1000001");
        work_card.typ[0] = {STATUS_SENT, kYear};
        return 1;
    };
    press(IDC_LIST_NEW);
    EXPECT_EQ(seen.tn.m[0].s[0], 0);
    EXPECT_EQ(seen.tn.m[2].s[0], 0);
    EXPECT_EQ(seen.ta.m[0].s[0], 0);
    EXPECT_EQ(seen.typ[1].t, 0);
    EXPECT_EQ(seen.ftb, 2);  // the sender card 1 would give
    EXPECT_EQ(doc().hdata[1].typ[1].t, 3);  // Bob's card untouched until the save
    EXPECT_EQ(list_.cell(1, 2), u"");

    // A row with text only on later lines keeps it, moved up; a row with
    // a postal code only stays; only a row without any text goes.
    edit_cell(0, COLUMN_NAME0, u"");
    edit_cell(0, COLUMN_ADDRESS0, u"");
    edit_cell(0, COLUMN_NAME0 + 3, u"name four");
    edit_cell(0, COLUMN_ADDRESS0 + 2, u"address three");
    std::memset(&work_card, 0, sizeof work_card);
    list_.select({1});
    press(IDC_LIST_INSERT);  // an empty row before the new one
    press(IDC_LIST_REFRESH);
    ASSERT_EQ(list_.rows.size(), 2u);
    EXPECT_EQ(count_cards(), 2);
    EXPECT_EQ(std::u16string(doc().hdata[0].tn.m[0].s), u"name four");
    EXPECT_EQ(doc().hdata[0].tn.m[3].s[0], 0);
    EXPECT_EQ(std::u16string(doc().hdata[0].ta.m[0].s), u"address three");
    EXPECT_EQ(code_of(doc().hdata[0].typ, kYear - 1), 1);  // Ann's history stays
    EXPECT_EQ(std::u16string(doc().hdata[1].tt.m), u"1000001");
    EXPECT_EQ(doc().hdata[1].tn.m[2].s[0], 0);  // nothing of Bob
    EXPECT_EQ(code_of(doc().hdata[1].typ, kYear), STATUS_SENT);
    EXPECT_EQ(doc().hdata[1].ftb, 2);
}

TEST_F(AddresseeListTest, UndoPutsBackTheListsOwnChangesButNoLayoutAndNoPrintMark) {
    put_card(0, u"Bbb", u"", 0, 1);
    put_card(1, u"Aaa", u"", 1, 3);
    put_card(2, u"Ccc", u"", 2, 5);
    open_list();
    editor_->sort(0);
    editor_->sort(0);  // Aaa Bbb Ccc
    // A cell edited while its header is clicked keeps its row.
    list_.select({2});
    int r = -1;
    char16_t old[LINE_CAP];
    ASSERT_TRUE(editor_->begin_cell_edit(COLUMN_POSTAL, &r, old));
    editor_->sort(0);  // Ccc Bbb Aaa
    editor_->end_cell_edit(u"7777777");
    EXPECT_EQ(list_.column(10), (std::vector<std::u16string>{u"7777777", u"", u""}));
    press(IDC_LIST_REFRESH);  // Ccc Bbb Aaa now in cards 0 1 2
    editor_->sort(COLUMN_POSTAL);
    press(IDC_LIST_REFRESH);  // Bbb Aaa Ccc: the opening order again, through two sorts
    doc().hdata[1].base_w = 77;  // the layout dialog's work meanwhile

    static AddresseeList* list;
    list = editor_.get();
    set_card_marked_hook([](int card, int year) { list->card_marked(card, year); });
    mark_card_sent(2);  // Ccc printed
    set_card_marked_hook(nullptr);
    press(IDC_LIST_UNDO);
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"Bbb", u"Aaa", u"Ccc"}));
    EXPECT_EQ(list_.column(13), (std::vector<std::u16string>{u"未/未", u"未/未", u"済/未"}));
    EXPECT_EQ(doc().hdata[1].base_w, 77);
    EXPECT_EQ(doc().hdata[2].tt.m[0], 0);

    // The close box likewise.
    press(IDC_LIST_REFRESH);
    list_.select({0});
    press(IDC_LIST_DELETE);
    press(IDC_LIST_REFRESH);
    platform_.answer(kAnswerYes);
    EXPECT_TRUE(editor_->close_box());
    EXPECT_EQ(std::u16string(doc().hdata[0].tn.m[0].s), u"Bbb");
    EXPECT_EQ(code_of(doc().hdata[2].typ, kYear), STATUS_SENT);
    EXPECT_EQ(doc().hdata[1].base_w, 77);

    // What the exit asks about: a status edited alone, the last row deleted.
    open_list();
    EXPECT_FALSE(open_editors_have_changes());
    list_.select({0});
    list_.line_editor = [](int, int) {
        work_card.typ[0] = {STATUS_SENT, kYear};
        return 1;
    };
    press(IDC_LIST_EDIT);
    EXPECT_TRUE(open_editors_have_changes());
    press(IDC_LIST_UNDO);
    EXPECT_FALSE(open_editors_have_changes());
    list_.select({2});
    press(IDC_LIST_DELETE);
    EXPECT_TRUE(open_editors_have_changes());
    platform_.answer(kAnswerYes);
    EXPECT_TRUE(editor_->close_box());
}

TEST_F(AddresseeListTest, RowOperationsInsertOverwriteDeleteAndTheirMessages) {
    for (int i = 0; i < 10; ++i) put_card(i, u"r" + u16(std::to_string(i)), u"", 0, 1);
    open_list();
    for (int id : {IDC_LIST_EDIT, IDC_LIST_COPY, IDC_LIST_INSERT, IDC_LIST_OVERWRITE,
                   IDC_LIST_DELETE, IDC_LIST_PRINT})
        press(id);
    EXPECT_EQ(box_texts(), std::vector<std::u16string>(6, u"行を選択して下さい。|残念！"));

    // 挿入 before anything was copied pastes an empty row; saving drops it
    // instead of ending the cards in use there (and losing those behind).
    list_.select({1});
    press(IDC_LIST_INSERT);
    EXPECT_EQ(list_.cell(1, 0), u"");
    press(IDC_LIST_REFRESH);
    EXPECT_EQ(list_.rows.size(), 10u);
    EXPECT_EQ(count_cards(), 10);

    list_.select({1});
    edit_cell(1, COLUMN_SENDER, u"2");
    list_.select({1});
    press(IDC_LIST_COPY);
    EXPECT_EQ(work_card.ftb, 1);
    list_.select({3, 4, 5});
    press(IDC_LIST_INSERT);  // three copies at 3..5, the former 3..5 now at 6..8
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"r0", u"r1", u"r2", u"r1", u"r1", u"r1",
                                                            u"r3", u"r4", u"r5", u"r6", u"r7",
                                                            u"r8", u"r9"}));
    EXPECT_EQ(list_.cell(3, 11), u"2");
    EXPECT_EQ(list_.cell(3, 12), u"差出1");
    EXPECT_TRUE(list_.selection.empty());
    list_.select({0, 2});    // a broken run: one copy
    press(IDC_LIST_INSERT);
    EXPECT_EQ(list_.rows.size(), 14u);
    EXPECT_EQ(list_.cell(0, 0), u"r1");
    EXPECT_EQ(list_.cell(1, 0), u"r0");

    list_.select({1, 7});
    press(IDC_LIST_OVERWRITE);
    EXPECT_EQ(list_.cell(1, 0), u"r1");
    EXPECT_EQ(list_.cell(7, 0), u"r1");
    EXPECT_EQ(list_.cell(7, 13), u"");
    EXPECT_EQ(list_.cell(7, 14), u"");
    EXPECT_EQ(list_.rows.size(), 14u);

    list_.select({0, 1, 13});
    press(IDC_LIST_DELETE);
    EXPECT_EQ(list_.rows.size(), 11u);
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"r1", u"r2", u"r1", u"r1", u"r1", u"r1",
                                                            u"r4", u"r5", u"r6", u"r7", u"r8"}));

    // "新規" closed with nothing typed adds nothing; with a postal code only
    // it adds a row. "編集" replaces the row; "キャンセル" leaves it.
    list_.line_editor = [](int, int) { return 1; };
    std::memset(&doc().hdata[11], 0, sizeof(CardRecord));
    press(IDC_LIST_NEW);
    EXPECT_EQ(list_.rows.size(), 11u);
    list_.line_editor = [](int row, int total) {
        EXPECT_EQ(row, 11);
        EXPECT_EQ(total, 11);
        text_set(work_card.tt.m, u"5550000");
        work_card.typ[0] = {STATUS_SENT, kYear};
        return 1;
    };
    press(IDC_LIST_NEW);
    EXPECT_EQ(list_.cell(11, 10), u"5550000");
    EXPECT_EQ(list_.cell(11, 13), u"済/未");
    EXPECT_EQ(doc().hdata[11].typ[0].t, STATUS_NONE);  // a new row writes no card before a save
    list_.select({2});
    list_.line_editor = [](int row, int) {
        EXPECT_EQ(row, 2);
        text_set(work_card.tn.m[0].s, u"edited");
        return 0;
    };
    press(IDC_LIST_EDIT);
    EXPECT_EQ(list_.cell(2, 0), u"r1");
    list_.line_editor = [](int, int) { return 1; };
    press(IDC_LIST_EDIT);
    EXPECT_EQ(list_.cell(2, 0), u"r1");     // read from the row again
    EXPECT_EQ(list_.cell(2, 14), u"未/未");  // the pasted row's empty history, now shown

    // "元に戻す" and the close box put back the cards of the opening.
    press(IDC_LIST_REFRESH);
    EXPECT_EQ(std::u16string(doc().hdata[1].tn.m[0].s), u"r2");
    press(IDC_LIST_UNDO);
    EXPECT_EQ(std::u16string(doc().hdata[1].tn.m[0].s), u"r1");
    EXPECT_EQ(list_.rows.size(), 10u);
    press(IDC_LIST_REFRESH);
    list_.select({0});
    press(IDC_LIST_DELETE);
    press(IDC_LIST_REFRESH);
    platform_.answer(kAnswerNo);
    EXPECT_FALSE(editor_->close_box());
    EXPECT_FALSE(view_.closed);
    platform_.answer(kAnswerYes);
    EXPECT_TRUE(editor_->close_box());
    EXPECT_EQ(view_.close_result, 0);
    EXPECT_EQ(std::u16string(doc().hdata[0].tn.m[0].s), u"r0");
    EXPECT_EQ(platform_.boxes.back().text, u"修正を破棄して閉じていいですか？");
}

TEST_F(AddresseeListTest, PrintAfterASortPrintsAndMarksEverySelectedAddresseeInListOrder) {
    FakePrinterSpooler spooler;
    for (int i = 0; i < 6; ++i) put_card(i, card_label(5 - i));  // "card 5" .. "card 0"
    doc().hdata[1].typ[0] = {STATUS_RECEIVED, kYear};  // "card 4" wrote first
    open_list();
    editor_->sort(0);
    editor_->sort(0);  // card 0 .. card 5 top to bottom
    static AddresseeList* list;
    list = editor_.get();  // the hook the dialog installs
    set_card_marked_hook([](int card, int year) { list->card_marked(card, year); });
    list_.select({1, 2, 4});  // not one run
    printer_state().list_from = 7;
    printer_state().list_to = 9;
    FakePrinterSpooler::DialogAnswer a;
    FakePrinterSpooler::set_mode(a.mode, u"Office Printer", u"はがき", 43, 1000, 1480);
    a.caps = {{kCapLogPixelsX, 300}, {kCapLogPixelsY, 300}, {kCapPhysicalWidth, 1181},
              {kCapPhysicalHeight, 1748}};
    a.flags = kPdSelection;
    a.keep_pages = true;
    spooler.dialog_answers.push_back(a);
    platform_.answer(kAnswerYes);
    press(IDC_LIST_PRINT);
    // No range is left to the main window's next print: it would offer
    // pages 2 to 5 and print the unselected card 3.
    EXPECT_EQ(doc().print.prn_mode, 0);
    EXPECT_EQ(printer_state().list_from, 7);
    EXPECT_EQ(printer_state().list_to, 9);
    ASSERT_EQ(spooler.dialogs.size(), 1u);
    EXPECT_EQ(spooler.dialogs[0].Flags, kPdReturnDc | kPdCollate | kPdSelection);  // "selection" chosen
    EXPECT_EQ(spooler.dialogs[0].nFromPage, 2);  // pages first to last selected, if the user wants them
    EXPECT_EQ(spooler.dialogs[0].nToPage, 5);
    EXPECT_NE(platform_.boxes.back().text.find(u"で3枚印刷していいですか？"), std::u16string::npos);
    ASSERT_EQ(spooler.logs.size(), 1u);
    std::vector<int> printed;
    for (const auto& page : spooler.logs[0]->pages) printed.push_back(card_on_page(page));
    EXPECT_EQ(printed, (std::vector<int>{1, 2, 4}));
    EXPECT_TRUE(list_.selection.empty());
    EXPECT_EQ(list_.column(13), (std::vector<std::u16string>{u"未/未", u"済/未", u"済/未", u"未/未",
                                                             u"済/受", u"未/未"}));
    EXPECT_EQ(doc().hdata[1].typ[0].t, STATUS_SENT);
    EXPECT_EQ(doc().hdata[4].typ[0].t, STATUS_RECEIVED + STATUS_SENT);
    EXPECT_EQ(std::u16string(doc().hdata[1].tn.m[0].s), u"card 1");
    // A run of rows is left to the main window's next print.
    list_.select({0, 1});
    spooler.dialog_answers.push_back(a);
    platform_.answer(kAnswerYes);
    press(IDC_LIST_PRINT);
    EXPECT_EQ(doc().print.prn_mode, 3);
    EXPECT_EQ(printer_state().list_from, 1);
    EXPECT_EQ(printer_state().list_to, 2);
    // A later save keeps the marks with their addressees.
    editor_->sort(0);
    press(IDC_LIST_SAVE_CLOSE);
    EXPECT_EQ(std::u16string(doc().hdata[3].tn.m[0].s), u"card 2");
    EXPECT_EQ(doc().hdata[3].typ[0].t, STATUS_SENT);
    EXPECT_EQ(doc().hdata[2].typ[0].t, STATUS_NONE);
    set_card_marked_hook(nullptr);
}

TEST_F(AddresseeListTest, TheYearlyRoundSelectsByStatusAndCountsTheCardYear) {
    // One addressee per code of the card year, named so that sorting turns
    // the codes around; an entry of last year never counts.
    for (int code = 0; code < STATUS_COUNT; ++code) {
        put_card(code, u16(std::string(1, char('h' - code))), u"", 0, 4);
        doc().hdata[code].typ[0] = {code, kYear};
    }
    open_list();
    editor_->sort(0);
    editor_->sort(0);  // a .. h: codes 7 down to 0
    list_.select({0, 1});
    press(IDC_LIST_SELECT_UNSENT);  // 未/受 (4) and 未/未 (0)
    EXPECT_EQ(list_.selection, (std::set<int>{3, 7}));
    EXPECT_EQ(list_.scrolled_to, 3);
    press(IDC_LIST_SELECT_REPLY);
    EXPECT_EQ(list_.selection, (std::set<int>{3}));
    char16_t line[ROUND_SUMMARY_CAP];
    format_round_summary(line, ROUND_SUMMARY_CAP, list_.rows.data(), 8, kYear);
    EXPECT_EQ(std::u16string(line), u"2027年　済 2・未 2・喪 2・止 2　受 4");
    format_round_summary(line, ROUND_SUMMARY_CAP, list_.rows.data(), 8, kYear - 1);
    EXPECT_EQ(std::u16string(line), u"2026年　済 0・未 8・喪 0・止 0　受 8");

    // Nothing left to do: the selection is empty and the user is told.
    for (int code : {0, 4}) doc().hdata[code].typ[0].t = 5;
    open_list();
    list_.scrolled_to = -1;
    press(IDC_LIST_SELECT_UNSENT);
    press(IDC_LIST_SELECT_REPLY);
    EXPECT_TRUE(list_.selection.empty());
    EXPECT_EQ(list_.scrolled_to, -1);
    EXPECT_EQ(box_texts(), (std::vector<std::u16string>{  // and only now
                               u"2027年の年賀状をまだ出していない宛先はありません。|あて先の編集",
                               u"2027年の年賀状が届いて返信が必要な宛先はありません。|あて先の編集"}));
}

TEST_F(AddresseeListTest, PostalCodeCheckSelectsExactlyTheBadRows) {
    put_card(0, u"a", u"1500001");
    put_card(1, u"b", u"150-000");   // a digit short
    put_card(2, u"c", u"9000001");
    put_card(3, u"d", u"1500002");   // not in the table
    open_list();
    edit_cell(2, COLUMN_POSTAL, u"９００００１");  // a digit short, in the list only
    edit_cell(0, COLUMN_POSTAL, u"150-0001");      // stored as 1500001: fine
    list_.select({0, 2});
    press(IDC_LIST_POSTAL_CHECK);  // the program without the table: nothing changes
    EXPECT_EQ(list_.selection, (std::set<int>{0, 2}));
    platform_.resources[IDR_POSTAL_CODES] = postal_fixture_table();
    press(IDC_LIST_POSTAL_CHECK);
    EXPECT_EQ(list_.selection, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(list_.scrolled_to, 1);
    EXPECT_EQ(box_texts(), (std::vector<std::u16string>{
                               u"郵便番号データが組み込まれていません|郵便番号チェック",
                               u"郵便番号が７桁でないか見つからない行が3行あります|郵便番号チェック"}));
    EXPECT_EQ(std::u16string(doc().hdata[2].tt.m), u"9000001");  // the list changed, not the cards
}

TEST_F(AddresseeListTest, OverflowCheckSelectsTheRowsWhoseCardCannotBeFitted) {
    put_card(0, u"a");
    put_card(1, u"b");
    put_card(2, u"c");
    open_list();
    press(IDC_LIST_OVERFLOW_CHECK);
    EXPECT_TRUE(list_.selection.empty());
    // 40 characters of 27 units need a third of the size; the list's text
    // counts before it is saved.
    edit_cell(2, COLUMN_ADDRESS0, std::u16string(40, u'一').c_str());
    list_.select({0});
    press(IDC_LIST_OVERFLOW_CHECK);
    EXPECT_EQ(list_.selection, (std::set<int>{2}));
    EXPECT_EQ(list_.scrolled_to, 2);
    EXPECT_EQ(box_texts(), (std::vector<std::u16string>{u"はみ出す宛先はありません。|あて先の編集"}));
}

TEST_F(AddresseeListTest, VerticalFormConvertsTheSelectedRowsAddressLinesUntilUndo) {
    put_card(0, u"a");
    put_card(1, u"b");
    text_set(doc().hdata[1].ta.m[4].s, u"5-1");
    open_list();
    press(IDC_LIST_VERTICAL_FORM);
    EXPECT_EQ(box_texts(), std::vector<std::u16string>{u"行を選択して下さい。|残念！"});
    for (int pass = 0; pass < 2; ++pass) {  // undone, then saved
        list_.select({1});
        press(IDC_LIST_VERTICAL_FORM);
        EXPECT_EQ(list_.column(COLUMN_ADDRESS0), (std::vector<std::u16string>{u"addr a", u"ａｄｄｒ　ｂ"}));
        EXPECT_EQ(list_.cell(1, COLUMN_ADDRESS0 + 4), u"五ー一");
        EXPECT_EQ(list_.selection, std::set<int>{1});
        EXPECT_EQ(std::u16string(doc().hdata[1].ta.m[4].s), u"5-1");
        press(pass == 0 ? IDC_LIST_UNDO : IDC_LIST_SAVE_CLOSE);
        EXPECT_EQ(list_.cell(1, COLUMN_ADDRESS0 + 4), pass == 0 ? u"5-1" : u"五ー一");
    }
    EXPECT_EQ(std::u16string(doc().hdata[1].ta.m[4].s), u"五ー一");
}

TEST_F(AddresseeListTest, ReadingGoesWithItsRowSortsAiueoAndTheListFindsAndCatchesRepeats) {
    const char16_t* names[] = {u"山田太郎", u"伊藤花子", u"佐藤一郎", u"Smith"};
    const char16_t* readings[] = {u"やまだ たろう", u"イトウ ハナコ", u"ｻﾄｳ ｲﾁﾛｳ", u""};
    for (int i = 0; i < 4; ++i) {
        put_card(i, names[i], u16(std::to_string(1500001 + i)), 0, 0);
        text_set(doc().hdata[i].yomi, readings[i]);
    }
    open_list();
    EXPECT_EQ(list_.column(COLUMN_YOMI)[2], u"ｻﾄｳ ｲﾁﾛｳ");
    // あいうえお順 by reading, the row without one behind; each click reverses.
    editor_->sort(COLUMN_NAME0);
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"Smith", u"山田太郎", u"佐藤一郎", u"伊藤花子"}));
    editor_->sort(COLUMN_NAME0);
    EXPECT_EQ(list_.column(0), (std::vector<std::u16string>{u"伊藤花子", u"佐藤一郎", u"山田太郎", u"Smith"}));

    // The reading is edited in place and goes with its row through copy,
    // insert, delete and save; undo puts the opening's back.
    edit_cell(3, COLUMN_YOMI, u"すみす");
    list_.select({3});
    press(IDC_LIST_COPY);
    EXPECT_EQ(std::u16string(work_card.yomi), u"すみす");
    list_.select({0});
    press(IDC_LIST_INSERT);
    EXPECT_EQ(list_.cell(0, COLUMN_YOMI), u"すみす");
    list_.select({1});
    press(IDC_LIST_DELETE);
    press(IDC_LIST_REFRESH);
    EXPECT_EQ(std::u16string(doc().hdata[0].yomi), u"すみす");
    EXPECT_EQ(std::u16string(doc().hdata[1].yomi), u"ｻﾄｳ ｲﾁﾛｳ");
    EXPECT_EQ(doc().hdata[4].yomi[0], 0);
    press(IDC_LIST_UNDO);
    EXPECT_EQ(std::u16string(doc().hdata[1].yomi), u"イトウ ハナコ");
    EXPECT_EQ(doc().hdata[3].yomi[0], 0);
    // The one-line editor's reading reaches the row.
    list_.line_editor = [](int, int) { return text_set(work_card.yomi, u"スミス"), 1; };
    list_.select({3});
    press(IDC_LIST_EDIT);
    EXPECT_EQ(list_.cell(3, COLUMN_YOMI), u"スミス");

    // 次を検索: the next row holding the text, wrapping; a postal code by its digits.
    list_.select({});
    view_.texts[IDC_LIST_SEARCH] = u"さとう";
    press(IDC_LIST_FIND_NEXT);
    EXPECT_EQ(list_.selection, std::set<int>{2});
    EXPECT_EQ(list_.scrolled_to, 2);
    press(IDC_LIST_FIND_NEXT);  // the only match, found again after wrapping
    EXPECT_EQ(list_.selection, std::set<int>{2});
    view_.texts[IDC_LIST_SEARCH] = u"150-0002";
    press(IDC_LIST_FIND_NEXT);
    EXPECT_EQ(list_.selection, std::set<int>{1});
    view_.texts[IDC_LIST_SEARCH] = u"鈴木";
    press(IDC_LIST_FIND_NEXT);
    EXPECT_EQ(list_.selection, std::set<int>{1});
    // The index buttons: the first row of the 行, else of the next one that has one.
    press(IDC_LIST_INDEX_FIRST + 7);  // や
    ASSERT_EQ(list_.selection.size(), 1u);
    EXPECT_EQ(list_.cell(*list_.selection.begin(), 0), u"山田太郎");
    press(IDC_LIST_INDEX_FIRST + 1);  // か: none, さ is next
    EXPECT_EQ(list_.cell(*list_.selection.begin(), 0), u"佐藤一郎");

    // 重複チェック: the later of two rows of one addressee.
    put_card(4, u"山田　太郎　様", u"1500001");
    editor_->fill();
    press(IDC_LIST_DUPLICATES);
    EXPECT_EQ(list_.selection, std::set<int>{4});
    list_.select({});
    list_.line_editor = nullptr;
    press(IDC_LIST_UNDO);
    press(IDC_LIST_DUPLICATES);
    EXPECT_EQ(box_texts(), (std::vector<std::u16string>{u"見つかりません。|あて先の編集",
                                                        u"前の行と重複する行が1行あります。|あて先の編集",
                                                        u"重複はありません。|あて先の編集"}));
}

}  // namespace
