#include "app/main_window_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/bitmap_export_command.h"
#include "app/navigation.h"
#include "app/resource_ids.h"
#include "editors/addressee_list.h"
#include "editors/addressee_list_ids.h"
#include "editors/card_layout_editor.h"
#include "editors/card_layout_ids.h"
#include "editors/sender_editor.h"
#include "editors/sender_editor_ids.h"
#include "files/fit_settings_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "print/print_command.h"
#include "print/print_job.h"
#include "print/printer_state.h"
#include "render/card_fit.h"
#include "tests/editors/fake_dialog_view.h"
#include "tests/editors/fake_list_control.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/render/recording_surface.h"
#include "tests/support/fake_platform.h"

namespace {

using Calls = std::vector<std::string>;

// Records what the commands ask of the window.
class RecordingWindow final : public MainWindowActions {
public:
    Calls calls;
    std::u16string exported;
    int export_result = 0;
    // The printer the settings dialog "chooses" (empty: cancelled).
    std::u16string chosen_printer;

    void repaint() override { calls.push_back("repaint"); }
    void open_card_layout() override { calls.push_back("card_layout"); }
    void open_sender_editor() override { calls.push_back("sender_editor"); }
    void open_addressee_list() override { calls.push_back("addressee_list"); }
    void open_proof_sheet() override { calls.push_back("proof_sheet"); }
    void printer_settings() override {
        calls.push_back("printer_settings");
        if (!chosen_printer.empty()) text_set(printer_state().printer_name, chosen_printer.c_str());
    }
    void print_position() override { calls.push_back("print_position"); }
    void print() override { calls.push_back("print"); }
    void refresh_status() override { calls.push_back("refresh_status"); }
    void show_fit_switches() override { calls.push_back("show_fit_switches"); }
    int export_bitmap(const char16_t* path) override {
        calls.push_back("export_bitmap");
        exported = path;
        return export_result;
    }
    void open_manual() override { calls.push_back("manual"); }
    void about() override { calls.push_back("about"); }
    void destroy() override { calls.push_back("destroy"); }
};

// The layout dialog's choosers, never reached in these tests.
struct NoChoosers final : LayoutChoosers {
    RecordingSurface surface;
    bool choose_font(WindowHandle, const PrinterEntry*, LogFont&) override { return false; }
    bool choose_colour(WindowHandle, RgbColor&) override { return false; }
    DrawingSurface& screen_surface() override { return surface; }
};

class MainWindowCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        clear_senders();
        clear_addressees();
        reset_layouts();
        text_set(doc().work_dir, u"C:\\work");
        for (int i = 0; i < 3; ++i) text_set(doc().hdata[i].tn.m[0].s, u"宛名");
        reset_printer_state();
        set_nav_request(NAV_NONE);
        text_clear(bitmap_export_path(), PATH_CAP);
        // The list's sort directions as at program start.
        for (int& d : sort_direction) d = 0;
        sort_direction[0] = 1;
    }
    void TearDown() override {
        set_nav_request(NAV_NONE);
        reset_printer_state();
    }

    void run(int id) { run_command(owner, id, window); }
    std::u16string box_text(size_t i) const { return fake.boxes.at(i).text; }

    FakePlatform fake;
    RecordingWindow window;
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x42);
};

TEST_F(MainWindowCommandsTest, ToolbarNavigationRepaintsAndLeavesItsRequest) {
    doc().current_card = 0;
    run(333);
    EXPECT_EQ(doc().current_card, 2);
    EXPECT_EQ(nav_request(), NAV_PREVIOUS);
    run(334);
    EXPECT_EQ(doc().current_card, 0);
    EXPECT_EQ(nav_request(), NAV_NEXT);
    EXPECT_EQ(window.calls, (Calls{"repaint", "repaint"}));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(MainWindowCommandsTest, ArrowKeysStepAndPPrintsWithoutStatusRefresh) {
    doc().current_card = 2;
    run_key(KEY_RIGHT, window);
    EXPECT_EQ(doc().current_card, 0);
    run_key(KEY_LEFT, window);
    EXPECT_EQ(doc().current_card, 0);
    run_key(KEY_PRINT, window);
    for (int other : {0x0D, 0x1B, 0x26, 0x28, 0x70, int{'Q'}, int{'p'}}) run_key(other, window);
    EXPECT_EQ(window.calls, (Calls{"repaint", "repaint", "print"}));
    EXPECT_EQ(nav_request(), NAV_NONE);
    EXPECT_FALSE(doc().modified);
}

TEST_F(MainWindowCommandsTest, PrintPositionAsksForAPrinterFirstAndAlwaysMarksModified) {
    run(65);  // no printer known, and the settings dialog is cancelled
    EXPECT_EQ(window.calls, (Calls{"printer_settings", "print_position", "refresh_status"}));
    EXPECT_TRUE(doc().modified);

    window.calls.clear();
    doc().modified = false;
    window.chosen_printer = u"Zelkovane Test Printer";
    run(336);  // the toolbar button: the printer is chosen this time
    EXPECT_EQ(window.calls, (Calls{"printer_settings", "print_position", "refresh_status"}));
    EXPECT_TRUE(doc().modified);

    window.calls.clear();
    run(65);  // now a printer is known: straight to the dialog
    EXPECT_EQ(window.calls, (Calls{"print_position", "refresh_status"}));
}

// The four switches of the 印刷 menu flip, show, are kept in their own file
// at once (the document is not changed) and come back at the next start.
TEST_F(MainWindowCommandsTest, FittingSwitchesFlipAndAreKeptInTheirOwnFile) {
    fit_switches() = FitSwitches{};
    run(73);
    EXPECT_FALSE(fit_switches().fit_long_lines);
    EXPECT_EQ(window.calls, (Calls{"show_fit_switches", "repaint"}));
    run(74);
    run(73);
    EXPECT_TRUE(fit_switches().fit_long_lines);
    EXPECT_FALSE(fit_switches().align_names);
    EXPECT_FALSE(doc().modified);
    EXPECT_TRUE(fake.has_file(u"C:\\work\\zelko_fit.txt"));
    EXPECT_FALSE(fake.has_file(u"C:\\work\\zelko1.txt"));
    run(77);
    run(78);
    EXPECT_FALSE(fit_switches().vertical_forms);
    EXPECT_TRUE(fit_switches().kanji_digits);
    fit_switches() = FitSwitches{};
    load_fit_settings();
    EXPECT_TRUE(fit_switches().fit_long_lines);
    EXPECT_FALSE(fit_switches().align_names);
    EXPECT_FALSE(fit_switches().vertical_forms);
    EXPECT_TRUE(fit_switches().kanji_digits);
    // Anything else in the file leaves a switch on.
    fake.put_file(u"C:\\work\\zelko_fit.txt", utf16le_file(u"fit_long_lines=2\r\nalign_names=0 \r\n\xFFFF"));
    load_fit_settings();
    EXPECT_TRUE(fit_switches().fit_long_lines && fit_switches().align_names);
    fake.put_file(u"C:\\work\\zelko_fit.txt", "\xFF");
    load_fit_settings();
    EXPECT_TRUE(fit_switches().fit_long_lines && fit_switches().align_names);
    // A file that cannot be written is said so; the switch still flips.
    fake.unwritable.insert(u"C:\\work\\zelko_fit.txt");
    run(74);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(box_text(0), u"設定をzelko_fit.txtに保存できません。");
    EXPECT_FALSE(fit_switches().align_names);
    fit_switches() = FitSwitches{};
}

TEST_F(MainWindowCommandsTest, PrinterSettingsMarksModifiedAndPrintDoesNot) {
    run(66);
    EXPECT_EQ(window.calls, (Calls{"printer_settings", "refresh_status"}));
    EXPECT_TRUE(doc().modified);
    window.calls.clear();
    doc().modified = false;
    run(67);
    run(335);
    EXPECT_EQ(window.calls, (Calls{"print", "refresh_status", "print", "refresh_status"}));
    EXPECT_FALSE(doc().modified);
}

TEST_F(MainWindowCommandsTest, EditorsHelpAndAboutOpenTheirWindows) {
    for (int id : {62, 330, 63, 331, 64, 332, 75, 68, 337, 70}) run(id);
    EXPECT_EQ(window.calls, (Calls{"card_layout", "card_layout", "sender_editor", "sender_editor",
                                   "addressee_list", "addressee_list", "proof_sheet", "manual",
                                   "manual", "about"}));
    EXPECT_FALSE(doc().modified);
}

TEST_F(MainWindowCommandsTest, UnknownCommandsDoNothing) {
    for (int id : {0, 50, 80, 329, 339, 9999}) run(id);
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.dialogs.empty());
}

TEST_F(MainWindowCommandsTest, ExitDestroysOnlyAfterYes) {
    fake.answer(kAnswerNo);
    run(71);
    EXPECT_TRUE(window.calls.empty());
    fake.answer(kAnswerYes);
    run(338);
    EXPECT_EQ(window.calls, (Calls{"destroy"}));
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(box_text(1), u"終了しますか？");
}

// A close request that a print job's message pump serves (the taskbar's
// close, a posted WM_CLOSE) does not end the program in the middle of the
// job: it asks once whether to cancel the job, and the exit question comes
// when the job has ended.
TEST_F(MainWindowCommandsTest, CloseDuringAPrintJobWaitsForTheJobsEnd) {
    FakePrinterSpooler spooler;
    auto log = std::make_shared<PageLog>();
    FakePrintTarget target(log);
    spooler.on_progress = [&](int page) { if (page >= 2) exit_command(owner, window); };
    for (int answer : {kAnswerNo, kAnswerYes}) {
        log->pages.clear();
        fake.boxes.clear();
        fake.answer(answer);
        print_job(owner, target, 0, 3, 1);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(box_text(0), u"印刷中です。印刷を中止しますか？");
        EXPECT_EQ(log->pages.size(), answer == kAnswerNo ? 3u : 1u) << "No goes on, Yes cancels";
        EXPECT_TRUE(window.calls.empty());
        EXPECT_FALSE(print_job_running());
        EXPECT_TRUE(take_close_after_print_job());
        EXPECT_FALSE(take_close_after_print_job());
    }
    fake.answer(kAnswerYes);  // the close that waited: the usual exit flow
    exit_command(owner, window);
    EXPECT_EQ(box_text(1), u"終了しますか？");
    EXPECT_EQ(window.calls, (Calls{"destroy"}));
}

// Between two pages of a print the job serves the thread's messages: a
// command, a key or a list button arriving there must not change the cards
// the next pages print (a refresh of a sorted list, another file opened).
TEST_F(MainWindowCommandsTest, NothingButACloseActsWhileAPrintRuns) {
    for (int i = 0; i < 4; ++i) text_set(doc().hdata[i].tn.m[0].s, card_label(i).c_str());
    FakePrinterSpooler spooler;
    FakePrinterSpooler::DialogAnswer all;  // all pages
    FakeDialogView list_view, senders, layout;
    FakeListControl list;
    NoChoosers choosers;
    auto list_editor = std::make_unique<AddresseeList>(list_view, list);
    list_editor->open();
    SenderEditor sender_editor(senders);
    sender_editor.open();
    CardLayoutEditor layout_editor(layout);
    layout_editor.open();
    list_editor->sort(0);  // card 3 .. card 0, not saved
    auto meddle = [&] {
        for (int id : {CMD_OPEN_ADDRESSEES, CMD_NEW, CMD_IMPORT_CSV, CMD_TB_PRINT, CMD_TB_NEXT})
            run(id);
        run_key(KEY_PRINT, window);
        run_key(KEY_RIGHT, window);
        list.select({0});
        for (int id : {IDC_LIST_REFRESH, IDC_LIST_SAVE_CLOSE, IDC_LIST_PRINT, IDC_LIST_DELETE})
            list_editor->command(id);
        list_editor->sort(0);
        char16_t cell[LINE_CAP];
        int row = -1;
        EXPECT_FALSE(list_editor->begin_cell_edit(0, &row, cell));
        EXPECT_FALSE(list_editor->close_box());
        sender_editor.press(IDC_SE_SAVE_CLOSE);
        layout_editor.press(choosers, IDC_CL_SAVE_CLOSE);
        EXPECT_FALSE(sender_editor.close_box());
        EXPECT_FALSE(layout_editor.close_box());
    };
    auto printed = [&] {
        std::vector<int> cards;
        for (const auto& page : spooler.logs.back()->pages) cards.push_back(card_on_page(page));
        return cards;
    };
    // A close while the print dialog is open waits for the print's end too,
    // without a question.
    spooler.prepare_target = [&](FakePrintTarget&) { exit_command(owner, window); };
    spooler.on_progress = [&](int page) { if (page == 2) meddle(); };

    // From the main window, all cards.
    spooler.dialog_answers.push_back(all);
    fake.answer(kAnswerYes);
    print_command(owner);
    EXPECT_EQ(printed(), (std::vector<int>{0, 1, 2, 3}));
    ASSERT_EQ(fake.boxes.size(), 1u) << "the confirmation alone";
    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_TRUE(window.calls.empty());
    EXPECT_EQ(list.column(0), (std::vector<std::u16string>{u"card 3", u"card 2", u"card 1", u"card 0"}));
    EXPECT_EQ(std::u16string(doc().hdata[0].tn.m[0].s), u"card 0") << "the list was not saved";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(doc().hdata[i].typ[0].t, STATUS_SENT) << i;
    EXPECT_EQ(spooler.calls.front(), "lock_windows");
    EXPECT_EQ(spooler.calls.back(), "unlock_windows");
    EXPECT_EQ(spooler.locked_owner, owner);
    EXPECT_FALSE(print_lock_held());
    EXPECT_TRUE(take_close_after_print_job());

    // From the list, its rows 1 and 2 (cards 2 and 1 once the list is
    // written into the cards); a close during the job asks about the job.
    list.select({1, 2});
    spooler.prepare_target = nullptr;
    spooler.on_progress = [&](int page) {
        if (page != 2) return;
        meddle();
        exit_command(owner, window);
    };
    FakePrinterSpooler::DialogAnswer selection;
    selection.flags = kPdSelection;
    spooler.dialog_answers.push_back(selection);
    for (int answer : {kAnswerYes, kAnswerNo}) fake.answer(answer);
    list_editor->command(IDC_LIST_PRINT);
    EXPECT_EQ(printed(), (std::vector<int>{2, 1}));
    EXPECT_EQ(box_text(2), u"印刷中です。印刷を中止しますか？");
    ASSERT_EQ(fake.boxes.size(), 3u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(doc().hdata[i].typ[0].t, i == 1 || i == 2 ? STATUS_SENT : STATUS_NONE) << i;
    EXPECT_FALSE(list_view.closed || senders.closed || layout.closed);
    EXPECT_TRUE(take_close_after_print_job());
    fake.answer(kAnswerYes);
    EXPECT_TRUE(list_editor->close_box()) << "and everything again once it ended";
}

TEST_F(MainWindowCommandsTest, ExitStaysOpenWhenTheSenderFileCannotBeWritten) {
    doc().modified = true;
    fake.unwritable.insert(u"C:\\work\\zelko1.txt");
    fake.answer(kAnswerYes);
    fake.answer(kAnswerYes);
    exit_command(owner, window);
    EXPECT_TRUE(window.calls.empty()) << "the window is not destroyed";
    ASSERT_EQ(fake.boxes.size(), 3u);
    EXPECT_EQ(box_text(2), u"ファイルが開きません。\r\n書込中止します。");
    EXPECT_EQ(fake.boxes[2].caption, u"差出ファイル書込エラー");
}

TEST_F(MainWindowCommandsTest, FileCommandsRepaintOnlyWhereTheyChangedTheView) {
    doc().modified = true;
    fake.answer(kAnswerNo);
    run(51);  // declined: nothing to show
    EXPECT_TRUE(window.calls.empty());
    EXPECT_EQ(count_cards(), 3);

    fake.answer(kAnswerYes);
    doc().current_card = 2;
    run(51);
    EXPECT_EQ(window.calls, (Calls{"repaint"}));
    EXPECT_EQ(count_cards(), 0);
    EXPECT_EQ(doc().current_card, 2) << "a new document keeps the card index";
    EXPECT_FALSE(doc().modified);

    window.calls.clear();
    fake.cancel_dialog();
    run(53);  // a cancelled open still repaints
    EXPECT_EQ(window.calls, (Calls{"repaint"}));

    window.calls.clear();
    fake.cancel_dialog();
    run(69);  // the CSV import's open dialog, cancelled: repaints like the opens
    EXPECT_EQ(window.calls, (Calls{"repaint"}));
    EXPECT_EQ(fake.dialogs.back().initial_file, u"C:\\work\\無題.csv");

    window.calls.clear();
    fake.cancel_dialog();
    run(55);  // a cancelled save refuses and does not repaint
    EXPECT_TRUE(window.calls.empty());
    EXPECT_EQ(fake.boxes.back().text, u"拡張子違い又は未選択で保存しません。");
}

TEST_F(MainWindowCommandsTest, BitmapExportNeedsABmpNameAndKeepsItsOwnPath) {
    text_set(doc().chosen_file, u"C:\\work\\宛先.txt");
    fake.answer_dialog(u"C:\\work\\card.txt");
    run(59);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(box_text(0), u"拡張子違い又は未選択で保存しません。");
    EXPECT_EQ(fake.boxes[0].caption, u"ファイル保存！");
    EXPECT_EQ(fake.boxes[0].style & 0xF, kButtonsOk);
    EXPECT_TRUE(window.calls.empty());

    fake.cancel_dialog();
    run(59);
    EXPECT_EQ(fake.boxes.size(), 2u) << "a cancel is refused the same way";
    EXPECT_TRUE(window.calls.empty());

    fake.answer_dialog(u"C:\\work\\CARD.BMP");
    run(59);
    EXPECT_EQ(window.calls, (Calls{"export_bitmap"}));
    EXPECT_EQ(window.exported, u"C:\\work\\CARD.BMP");
    EXPECT_EQ(std::u16string(bitmap_export_path()), u"C:\\work\\CARD.BMP");
    EXPECT_EQ(std::u16string(doc().chosen_file), u"C:\\work\\宛先.txt")
        << "the data files' chosen name is not touched";
    EXPECT_EQ(fake.events, (std::vector<std::string>{"wait_show", "wait_close"}));
    EXPECT_FALSE(doc().modified);

    ASSERT_EQ(fake.dialogs.size(), 3u);
    const FakePlatform::DialogCall& dialog = fake.dialogs.back();
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(dialog.title, u"ファイルの保存");
    EXPECT_EQ(dialog.initial_file, u"C:\\work\\無題.bmp");
}

TEST_F(MainWindowCommandsTest, ADeclinedOrFailedBitmapExportIsNotReportedAgain) {
    window.export_result = 1;
    fake.answer_dialog(u"C:\\work\\a.bmp");
    run(59);
    window.export_result = 2;
    fake.answer_dialog(u"C:\\work\\b.bmp");
    run(59);
    EXPECT_EQ(window.calls, (Calls{"export_bitmap", "export_bitmap"}));
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.events,
              (std::vector<std::string>{"wait_show", "wait_close", "wait_show", "wait_close"}));
}

TEST_F(MainWindowCommandsTest, OpenEditorsSettleTheirChangesBeforeTheDocumentIsReplaced) {
    const char16_t* names[] = {u"A", u"B", u"C"};
    for (int i = 0; i < 3; ++i) text_set(doc().hdata[i].tn.m[0].s, names[i]);
    FakeDialogView layout, senders, list_view;
    FakeListControl list;
    CardLayoutEditor layout_editor(layout);
    layout_editor.open();
    SenderEditor sender_editor(senders);
    sender_editor.open();
    auto list_editor = std::make_unique<AddresseeList>(list_view, list);
    list_editor->open();
    layout.type(IDC_CL_TA_X, u"250");   // typed, not stored yet
    list_editor->sort(0);                  // C B A
    list_editor->command(IDC_LIST_REFRESH);

    // Every command that replaces the document asks its own question (the
    // editors have changes) and shows its file dialog before the editors
    // are asked: Cancel in the dialog leaves them as they were.
    const int opening[] = {CMD_OPEN_ADDRESSEES, CMD_IMPORT_CSV, CMD_IMPORT_VCARD, CMD_OPEN_LEGACY_ADDRESS};
    for (int id : opening) {
        fake.answer(kAnswerYes);
        run(id);
        EXPECT_EQ(box_text(fake.boxes.size() - 1), u"保存せず開いて良いですか？") << id;
    }
    EXPECT_EQ(fake.dialogs.size(), 4u);
    // A file chosen, the editors ask; Cancel there stops the command. 新規作成
    // chooses no file: its question, then the editors.
    fake.answer(kAnswerYes);
    fake.answer_dialog(u"C:\\work\\other.txt");
    fake.answer(kAnswerCancel);
    run(CMD_OPEN_ADDRESSEES);
    for (int answer : {kAnswerYes, kAnswerCancel}) fake.answer(answer);
    run(CMD_NEW);
    ASSERT_EQ(fake.boxes.size(), 8u);
    EXPECT_EQ(box_text(5), u"「葉書の設定」の変更を保存しますか？");
    EXPECT_EQ(fake.boxes[5].caption, u"葉書の設定");
    EXPECT_EQ(fake.boxes[5].style, kButtonsYesNoCancel);
    EXPECT_EQ(box_text(6), u"保存せず新規にして良いですか？");
    EXPECT_EQ(box_text(7), u"「葉書の設定」の変更を保存しますか？");
    EXPECT_FALSE(layout.closed || senders.closed || list_view.closed);
    EXPECT_EQ(count_cards(), 3);
    window.calls.clear();  // the opens repaint after a cancelled dialog

    // The exit asks "終了しますか？" first: No leaves every editor as it was.
    fake.answer(kAnswerNo);
    run(CMD_EXIT);
    ASSERT_EQ(fake.boxes.size(), 9u);
    EXPECT_EQ(box_text(8), u"終了しますか？");
    EXPECT_FALSE(layout.closed || senders.closed || list_view.closed);
    EXPECT_EQ(layout.text(IDC_CL_TA_X), u"250");

    // Yes, then Yes saves the layout, the unchanged sender editor closes
    // unasked, No puts back the list's cards; then the save question.
    for (int answer : {kAnswerYes, kAnswerYes, kAnswerNo, kAnswerNo}) fake.answer(answer);
    run(CMD_EXIT);
    ASSERT_EQ(fake.boxes.size(), 13u);
    EXPECT_EQ(box_text(9), u"終了しますか？");
    EXPECT_EQ(box_text(11), u"「あて先の編集」の変更を保存しますか？");
    EXPECT_EQ(box_text(12), u"保存しますか？");
    EXPECT_EQ(window.calls, (Calls{"destroy"}));
    EXPECT_TRUE(layout.closed && senders.closed && list_view.closed);
    EXPECT_EQ(doc().hdata[0].ta.xy[0].x, 250);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(std::u16string(doc().hdata[0].tn.m[0].s), u"A");

    // Closed editors ask nothing more.
    fake.answer(kAnswerYes);
    run(CMD_NEW);
    EXPECT_EQ(box_text(13), u"保存せず新規にして良いですか？");
    EXPECT_EQ(count_cards(), 0);
}

TEST_F(MainWindowCommandsTest, NothingActsBehindAnEditorsModalDialog) {
    FakeDialogView view;
    FakeListControl list;
    auto list_editor = std::make_unique<AddresseeList>(view, list);
    list_editor->open();
    list.select({1});
    doc().current_card = 1;
    list.line_editor = [this](int, int) {
        for (int id : {CMD_PRINT, CMD_TB_PRINT, CMD_TB_NEXT, CMD_EXIT, CMD_NEW, CMD_ADDRESSEE_LIST, CMD_PROOF_SHEET})
            run(id);
        run_key(KEY_PRINT, window);
        run_key(KEY_RIGHT, window);
        exit_command(owner, window);
        return 1;
    };
    list_editor->command(IDC_LIST_EDIT);
    EXPECT_EQ(list.line_editor_calls, 1);
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(doc().current_card, 1);
    run(CMD_TB_NEXT);  // and everything again once it closed
    EXPECT_EQ(doc().current_card, 2);
}

}  // namespace
