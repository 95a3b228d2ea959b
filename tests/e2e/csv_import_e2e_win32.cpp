// The CSV import driven through the real menu command and open dialog: a
// Shift_JIS file as Japanese spreadsheets save it (a title line, split
// address columns, a column the import does not use) is summed up before
// anything changes, 追加 puts its rows behind the addressee in use, the
// preview shows the first new card, and the exit save writes all cards to
// zelko2.txt. Outlook's Japanese contacts export replaces the addressees
// with their home (else work) addresses. A phone's contacts file goes the
// same way through the vCard command.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;
using e2e::answer;
using e2e::sample_picture;

namespace {

constexpr int kImportCsvCommand = 69;
constexpr int kImportVcardCommand = 72;
constexpr int kNextCardCommand = 334;  // the toolbar's next card
constexpr int kAddresseeListCommand = 332;  // the toolbar's あて先の編集
constexpr int kListRows = 902;              // the addressee list's report list
constexpr int kReadingColumn = 16;          // its よみ column
constexpr int kSearchField = 140;           // "検索"
constexpr int kFindNext = 141;              // "次を検索"
constexpr int kListSaveClose = 107;         // "保存後閉じる"

const std::wstring kSenders =
    L"fdata_cont_max=2\r\n"
    L"fdata[0].t=1500001\r\nfdata[0].a[0].s=東京都渋谷区神宮前一丁目\r\nfdata[0].n[0].s=山田　太郎\r\n"
    L"fdata[1].t=2220002\r\nfdata[1].a[0].s=神奈川県横浜市\r\nfdata[1].n[0].s=鈴木　一郎\r\n";
const std::wstring kAddressees =
    L"hdata_cont_max=1\r\nhdata[0].tt.m=9000001\r\nhdata[0].ta.m[0].s=沖縄県那覇市\r\n"
    L"hdata[0].tn.m[0].s=前の宛先　様\r\nhdata[0].ftb=0\r\n";
// A spreadsheet's sheet: a title line, the name and the address in parts, a
// quoted field with a comma, a postal code with its mark and hyphen, the
// honorific in a column of its own, a telephone column.
const std::wstring kRows =
    L"年賀状の住所録\r\n"
    L"姓,名,敬称,郵便番号,都道府県,市区町村,番地,建物名,差出番号,電話\r\n"
    L"高橋,美咲,様,〒530-0001,大阪府,大阪市北区,梅田一丁目,\"梅田ビル, 三階\",1,06-1234-5678\r\n"
    L"佐藤,一郎,様,060-0001,北海道,札幌市中央区,北一条西,,0,\r\n";
const std::wstring kSummary =
    L"住所録.csvから2件の宛先を読み込みます。\r\n"
    L"欄の対応: 氏名 ← 姓+名、敬称 ← 敬称、郵便番号 ← 郵便番号、"
    L"住所1 ← 都道府県+市区町村+番地、住所2 ← 建物名、差出番号 ← 差出番号\r\n"
    L"使わない欄: 電話\r\n"
    L"\r\n置き換え: 今の宛先1件を消して、この2件にします。"
    L"\r\n追加: 今の宛先1件の後ろに2件を加えます。"
    L"\r\nキャンセル: 何も変えません。";

// The card on the main window's client area.
const RECT kCardArea{10, 50, 410, 642};

std::string shift_jis(const std::wstring& text) {
    int n = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

class CsvImport : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
    }

    // Runs the import command and picks `path` in its open dialog; with
    // `unsaved` changes first agrees to the question about them.
    static void choose_through_menu(App& app, int command, const std::wstring& path, bool unsaved = false) {
        app.post_command(command);
        if (unsaved) ASSERT_TRUE(answer(app, L"開く！", L"保存せず開いて良いですか？", IDYES));
        HWND dialog = app.wait_dialog(L"ファイルの読込");
        ASSERT_NE(dialog, nullptr) << "no open dialog";
        HWND edit = GetDlgItem(dialog, 0x480);  // edt1, the file name
        if (!edit || !IsWindowVisible(edit)) edit = e2e::find_descendant(dialog, L"Edit");
        ASSERT_NE(edit, nullptr) << "no file name field";
        ASSERT_TRUE(e2e::set_control_text(edit, path));
        ASSERT_TRUE(App::answer(dialog, IDOK)) << "the open dialog did not close";
    }

    // Checks that the exit save's zelko2.txt holds each line; returns it.
    static std::wstring expect_saved(const TempDir& dir, std::initializer_list<const wchar_t*> lines) {
        const std::wstring addressees = e2e::utf16le_text(dir.read(L"zelko2.txt"));
        for (const wchar_t* line : lines)
            EXPECT_NE(addressees.find(line), std::wstring::npos) << utf8(line) << " in\n" << utf8(addressees);
        return addressees;
    }

    // Ends the program with the exit save.
    static void exit_saving(App& app) {
        app.post_close();
        ASSERT_TRUE(answer(app, L"Zelkovane", L"終了しますか？", IDYES));
        ASSERT_TRUE(answer(app, L"ファイル書込確認", L"保存しますか？", IDYES));
        DWORD code = 99;
        ASSERT_TRUE(app.wait_exit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
    }
};

TEST_F(CsvImport, SpreadsheetFileThroughTheMenuIsAppendedAndSavedAtExit) {
    TempDir dir(L"csv_import");
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSenders));
    dir.write(L"zelko2.txt", e2e::utf16le_file(kAddressees));
    dir.write(L"住所録.csv", shift_jis(kRows));
    std::wstring background = sample_picture(L"base1.bmp");
    if (!background.empty()) dir.copy_in(background, L"base1.bmp");

    std::string old_card;
    std::string imported_card;
    {
        App app(dir.path());
        ASSERT_TRUE(app.started());
        HWND main = app.start();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(app.settle());
        old_card = e2e::client_pixels(main, kCardArea);

        ASSERT_NO_FATAL_FAILURE(choose_through_menu(app, kImportCsvCommand, dir.file(L"住所録.csv")));

        HWND summary = e2e::expect_message_box(app, L"CSVから読込", kSummary);
        ASSERT_NE(summary, nullptr);
        wchar_t label[32] = L"";
        GetDlgItemTextW(summary, IDYES, label, 32);
        EXPECT_EQ(utf8(label), utf8(L"置き換え(&R)"));
        GetDlgItemTextW(summary, IDNO, label, 32);
        EXPECT_EQ(utf8(label), utf8(L"追加(&A)"));
        GetDlgItemTextW(summary, IDCANCEL, label, 32);
        EXPECT_EQ(utf8(label), utf8(L"キャンセル"));
        ASSERT_TRUE(App::answer(summary, IDNO));
        ASSERT_TRUE(app.settle());
        EXPECT_EQ(app.find_message_box(), nullptr);
        imported_card = e2e::client_pixels(main, kCardArea);
        ASSERT_FALSE(imported_card.empty());
        EXPECT_TRUE(imported_card != old_card) << "the preview shows the imported card";
        if (!e2e::environment(L"ZK_ARTIFACTS").empty())
            EXPECT_TRUE(e2e::capture_window(main, L"csv_import_card.bmp"));

        // The same file again with 追加: both rows are addressees in use.
        ASSERT_NO_FATAL_FAILURE(choose_through_menu(app, kImportCsvCommand, dir.file(L"住所録.csv"), true));
        summary = e2e::expect_message_box(
            app, L"CSVから読込",
            L"住所録.csvから2件の宛先を読み込みます。\r\n"
            L"欄の対応: 氏名 ← 姓+名、敬称 ← 敬称、郵便番号 ← 郵便番号、"
            L"住所1 ← 都道府県+市区町村+番地、住所2 ← 建物名、差出番号 ← 差出番号\r\n"
            L"使わない欄: 電話\r\n"
            L"\r\n置き換え: 今の宛先3件を消して、この2件にします。"
            L"\r\n追加: 加える宛先はありません。"
            L"\r\n　重複のため取り込まなかった行 2件（高橋　美咲　様、佐藤　一郎　様）"
            L"\r\nキャンセル: 何も変えません。");
        ASSERT_NE(summary, nullptr);
        ASSERT_TRUE(App::answer(summary, IDNO));
        ASSERT_TRUE(app.settle());

        // The imported cards are not saved yet: the exit offers to save.
        ASSERT_NO_FATAL_FAILURE(exit_saving(app));
    }

    expect_saved(dir, {
        L"hdata_cont_max=3\r\n",
        L"hdata[0].tn.m[0].s=前の宛先　様\r\n",
        L"hdata[1].tt.m=5300001\r\n",
        L"hdata[1].ta.m[0].s=大阪府大阪市北区梅田一丁目\r\n",
        L"hdata[1].ta.m[1].s=梅田ビル, 三階\r\n",
        L"hdata[1].tn.m[0].s=高橋　美咲　様\r\n",
        L"hdata[1].ftb=1\r\n",
        L"hdata[2].tt.m=0600001\r\n",
        L"hdata[2].ta.m[0].s=北海道札幌市中央区北一条西\r\n",
        L"hdata[2].tn.m[0].s=佐藤　一郎　様\r\n",
        L"hdata[2].ftb=0\r\n",
    });
    const std::wstring senders = e2e::utf16le_text(dir.read(L"zelko1.txt"));
    EXPECT_NE(senders.find(L"fdata[1].n[0].s=鈴木　一郎\r\n"), std::wstring::npos)
        << "the senders are kept";

    // Started again on the saved files, the program shows the card that was
    // there before, and the next card is the first one imported.
    App again(dir.path());
    HWND main = again.start();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(again.settle());
    EXPECT_TRUE(e2e::client_pixels(main, kCardArea) == old_card);
    again.post_command(kNextCardCommand);
    ASSERT_TRUE(again.settle());
    EXPECT_TRUE(e2e::client_pixels(main, kCardArea) == imported_card);
    again.post_close();
    ASSERT_TRUE(answer(again, L"Zelkovane", L"終了しますか？", IDYES));
    EXPECT_TRUE(again.wait_exit(nullptr));
}

// Outlook's Japanese export as Outlook writes it (Shift_JIS, every field
// quoted, the work, home and other addresses side by side, reading
// columns) through the menu: the summary names the columns it reads,
// 置き換え, and the exit save holds each contact's home address, or its
// work address when the home one is empty.
TEST_F(CsvImport, OutlookJapaneseExportReplacesTheAddresseesAndIsSavedAtExit) {
    const std::wstring header =
        L"\"肩書き\",\"名\",\"ミドル ネーム\",\"姓\",\"敬称\",\"会社名\",\"部署\",\"役職\",\"番地 (会社)\","
        L"\"住所 2 (会社)\",\"住所 3 (会社)\",\"市町村 (会社)\",\"都道府県 (会社)\",\"郵便番号 (会社)\","
        L"\"国 (会社)/地域\",\"番地 (自宅)\",\"住所 2 (自宅)\",\"住所 3 (自宅)\",\"市町村 (自宅)\","
        L"\"都道府県 (自宅)\",\"郵便番号 (自宅)\",\"国 (自宅)/地域\",\"番地 (その他)\",\"市町村 (その他)\","
        L"\"都道府県 (その他)\",\"郵便番号 (その他)\",\"携帯電話\",\"電子メール アドレス\",\"姓フリガナ\","
        L"\"名前フリガナ\"\r\n";
    const std::wstring rows =
        L"\"\",\"美咲\",\"\",\"高橋\",\"様\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
        L"\"梅田一丁目1-1\",\"梅田ハイツ305\",\"\",\"大阪市北区\",\"大阪府\",\"530-0001\",\"日本\","
        L"\"\",\"\",\"\",\"\",\"090-0000-0000\",\"misaki@example.jp\",\"タカハシ\",\"ミサキ\"\r\n"
        L"\"\",\"一郎\",\"\",\"佐藤\",\"様\",\"佐藤商事\",\"営業部\",\"部長\",\"北一条西2-1\","
        L"\"札幌ビル5階\",\"\",\"札幌市中央区\",\"北海道\",\"060-0001\",\"日本\",\"\",\"\",\"\",\"\",\"\","
        L"\"\",\"日本\",\"\",\"\",\"\",\"\",\"\",\"ichiro@example.jp\",\"サトウ\",\"イチロウ\"\r\n";
    TempDir dir(L"csv_import_outlook");
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSenders));
    dir.write(L"zelko2.txt", e2e::utf16le_file(kAddressees));
    dir.write(L"contacts.CSV", shift_jis(header + rows));
    {
        App app(dir.path());
        ASSERT_TRUE(app.started());
        ASSERT_NE(app.start(), nullptr);
        ASSERT_TRUE(app.settle());
        ASSERT_NO_FATAL_FAILURE(choose_through_menu(app, kImportCsvCommand, dir.file(L"contacts.CSV")));
        HWND summary = e2e::expect_message_box(
            app, L"CSVから読込",
            L"contacts.CSVから2件の宛先を読み込みます。\r\n"
            L"欄の対応: 氏名 ← 姓+名、敬称 ← 敬称、郵便番号 ← 郵便番号 (自宅)、"
            L"住所1 ← 都道府県 (自宅)+市町村 (自宅)+番地 (自宅)、住所2 ← 住所 2 (自宅)、住所3 ← 住所 3 (自宅)、"
            L"国 ← 国 (自宅)/地域、住所が空のときは 番地 (会社) などの列、次に 番地 (その他) などの列、"
            L"会社名 ← 会社名、部署 ← 部署、役職 ← 役職、よみ ← 姓フリガナ+名前フリガナ\r\n"
            L"よみのある宛先 2件\r\n"
            L"使わない欄: 肩書き、ミドル ネーム、携帯電話、電子メール アドレス\r\n"
            L"\r\n置き換え: 今の宛先1件を消して、この2件にします。"
            L"\r\n追加: 今の宛先1件の後ろに2件を加えます。"
            L"\r\nキャンセル: 何も変えません。");
        ASSERT_NE(summary, nullptr);
        e2e::screenshot(summary, L"csv_import_summary.bmp");
        ASSERT_TRUE(App::answer(summary, IDYES));
        ASSERT_TRUE(app.settle());
        EXPECT_EQ(app.find_message_box(), nullptr);

        // In あて先の編集 the name sort goes あいうえお順 by the readings
        // (サトウ before タカハシ; the first click sorts descending), and a
        // reading typed in hiragana finds its row.
        app.post_command(kAddresseeListCommand);
        HWND list_dialog = app.wait_dialog(L"あて先の編集");
        ASSERT_NE(list_dialog, nullptr) << "no addressee list";
        HWND list = GetDlgItem(list_dialog, kListRows);
        ASSERT_NE(list, nullptr);
        const auto first_name_is = [&](const wchar_t* name) {
            return e2e::wait_until([&] { return e2e::list_cell(list, 0, 0) == name; }, e2e::kWaitTimeout);
        };
        ASSERT_TRUE(first_name_is(L"高橋　美咲　様"));
        EXPECT_EQ(utf8(e2e::list_cell(list, 0, kReadingColumn)), utf8(L"タカハシ　ミサキ"));
        ASSERT_TRUE(e2e::list_click_header(list, 0));
        ASSERT_TRUE(app.settle());
        ASSERT_TRUE(e2e::list_click_header(list, 0));
        ASSERT_TRUE(first_name_is(L"佐藤　一郎　様"));
        ASSERT_TRUE(e2e::set_item_text(list_dialog, kSearchField, L"たかはし"));
        ASSERT_TRUE(e2e::click_button(list_dialog, kFindNext));
        ASSERT_TRUE(e2e::wait_until([&] { return e2e::list_selected_rows(list) == std::vector<int>{1}; },
                                    e2e::kWaitTimeout))
            << "the search did not select 高橋's row";
        SetWindowPos(list_dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(app.settle());
        e2e::capture_window(list_dialog, L"addressee_list_search.bmp");
        // A text no row holds says so in the list's own words.
        ASSERT_TRUE(e2e::set_item_text(list_dialog, kSearchField, L"すずき"));
        ASSERT_TRUE(e2e::click_button(list_dialog, kFindNext));
        ASSERT_TRUE(answer(app, L"あて先の編集", L"見つかりません。", IDOK));
        ASSERT_TRUE(e2e::click_button(list_dialog, kListSaveClose));
        ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(list_dialog); }, e2e::kWaitTimeout));
        ASSERT_NO_FATAL_FAILURE(exit_saving(app));
    }
    const std::wstring addressees = expect_saved(dir, {
        L"hdata_cont_max=2\r\n",
        L"hdata[1].tt.m=5300001\r\n",
        L"hdata[1].tn.m[0].s=高橋　美咲　様\r\n",
        L"hdata[1].ta.m[0].s=大阪府大阪市北区梅田一丁目1-1\r\n",
        L"hdata[1].ta.m[1].s=梅田ハイツ305\r\n",
        L"hdata[1].yomi.s=タカハシ　ミサキ\r\n",
        L"hdata[0].tt.m=0600001\r\n",
        L"hdata[0].tn.m[0].s=佐藤　一郎　様\r\n",
        L"hdata[0].ta.m[0].s=北海道札幌市中央区北一条西2-1\r\n",
        L"hdata[0].ta.m[1].s=札幌ビル5階\r\n",
        L"hdata[0].ta.m[2].s=佐藤商事\r\n",
        L"hdata[0].ta.m[3].s=営業部　部長\r\n",
        L"hdata[0].yomi.s=サトウ　イチロウ\r\n",
    });
    EXPECT_EQ(addressees.find(L"前の宛先"), std::wstring::npos) << "置き換え removes the addressee before";
}

// A phone's contacts file through 連絡先(vCard)から読込: the same summary,
// 追加, and the exit save keeps the card before and adds the contact.
TEST_F(CsvImport, PhoneContactsThroughTheVcardMenuAreAppendedAndSavedAtExit) {
    TempDir dir(L"vcard_import");
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSenders));
    dir.write(L"zelko2.txt", e2e::utf16le_file(kAddressees));
    dir.write(L"連絡先.vcf",
              "\xEF\xBB\xBF" + utf8(L"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;花子;;;\r\n"
                                     L"FN:山田 花子\r\nitem1.ADR;type=HOME:;青葉ハイツ\\, 2階;"
                                     L"青葉1-1;仙台市青葉区;宮城県;980-0001;日本\r\n"
                                     L"TEL;type=CELL:090-0000-0000\r\nX-PHONETIC-LAST-NAME:やまだ\r\n"
                                     L"X-PHONETIC-FIRST-NAME:はなこ\r\nEND:VCARD\r\n"));
    {
        App app(dir.path());
        ASSERT_TRUE(app.started());
        ASSERT_NE(app.start(), nullptr);
        ASSERT_TRUE(app.settle());
        ASSERT_NO_FATAL_FAILURE(choose_through_menu(app, kImportVcardCommand, dir.file(L"連絡先.vcf")));
        ASSERT_TRUE(answer(app, L"vCardから読込",
                           L"連絡先.vcfから1件の宛先を読み込みます。\r\n"
                           L"欄の対応: 氏名 ← N（姓+名。空のときは FN）、郵便番号 ← ADRの郵便番号、"
                           L"住所1 ← ADRの都道府県+市区町村+番地、住所2 ← ADRの建物名、国 ← ADRの国（日本は入れません）、"
                           L"会社名 ← ORG、ADRがないときの住所 ← LABEL、よみ ← X-PHONETIC-LAST-NAME+"
                           L"X-PHONETIC-FIRST-NAME（ないときは NのSORT-AS、SOUND;X-IRMC-N、SORT-STRING）\r\n"
                           L"よみのある宛先 1件\r\n"
                           L"使わない欄: TEL\r\n"
                           L"\r\n置き換え: 今の宛先1件を消して、この1件にします。"
                           L"\r\n追加: 今の宛先1件の後ろに1件を加えます。"
                           L"\r\nキャンセル: 何も変えません。",
                           IDNO));
        ASSERT_TRUE(app.settle());
        ASSERT_NO_FATAL_FAILURE(exit_saving(app));
    }
    expect_saved(dir, {
        L"hdata_cont_max=2\r\n",
        L"hdata[0].tn.m[0].s=前の宛先　様\r\n",
        L"hdata[1].tt.m=9800001\r\n",
        L"hdata[1].ta.m[0].s=宮城県仙台市青葉区青葉1-1\r\n",
        L"hdata[1].ta.m[1].s=青葉ハイツ, 2階\r\n",
        L"hdata[1].tn.m[0].s=山田　花子\r\n",
        L"hdata[1].yomi.s=やまだ　はなこ\r\n",
    });
}

}  // namespace
