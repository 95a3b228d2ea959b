#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "exchange/csv_decode.h"
#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "app/file_commands.h"
#include "exchange/vcard_import.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"
#include "tests/support/iconv_decoder.h"
#include "tests/support/full_document.h"

namespace {

const char16_t kPath[] = u"C:\\work\\in.csv";
const char16_t kCaption[] = u"CSVから読込";

std::u16string text(const char16_t* s) { return s; }

// The text in a charset iconv knows ("CP932", "EUC-JP", "ISO-2022-JP", …).
std::string encoded(const char* charset, const std::u16string& s) {
    iconv_t cd = iconv_open(charset, "UTF-16LE");
    std::string in = utf16le_file(s).substr(2);
    std::string out(in.size() * 2, '\0');
    char* from = &in[0];
    size_t from_left = in.size();
    char* to = &out[0];
    size_t to_left = out.size();
    EXPECT_NE(iconv(cd, &from, &from_left, &to, &to_left), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - to_left);
    return out;
}

std::string utf16be_file(const std::u16string& s) {
    std::string out("\xFE\xFF", 2);
    for (char16_t u : s) {
        out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xFF);
    }
    return out;
}

// The cards' addressee texts as one line each, "postal|names|addresses|ftb".
std::string cards_text() {
    std::string out;
    for (int i = 0; i < count_cards(); ++i) {
        const CardRecord& c = doc().hdata[i];
        out += utf8(c.tt.m) + "|";
        for (const TextLine& l : c.tn.m) out += utf8(l.s) + "/";
        out += "|";
        for (const TextLine& l : c.ta.m) out += utf8(l.s) + "/";
        out += "|" + std::to_string(c.ftb) + "\n";
    }
    return out;
}

class CsvImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        clear_senders();
        clear_addressees();
        reset_layouts();
        text_set(doc().work_dir, u"C:\\work");
        for (int j = 0; j < 3; ++j) text_set(doc().fdata[j].n[0].s, u"差出人");
        text_set(doc().hdata[0].tn.m[0].s, u"前からの宛先");
        doc().hdata[0].typ[0] = TypEntry{1, 2026};
    }

    // Puts the bytes into the import file and imports it, answering the
    // summary question with `answer`.
    int import(const std::string& bytes, int answer = kAnswerYes) {
        fake.put_file(kPath, bytes);
        text_set(doc().chosen_file, kPath);
        fake.boxes.clear();
        fake.answer(answer);
        return import_csv(nullptr);
    }

    // Line `line` of the text of message box `box`, in UTF-8.
    std::string summary_line(size_t line, size_t box = 0) {
        std::string text = utf8(fake.boxes.at(box).text);
        size_t start = 0;
        for (size_t i = 0; i < line && start != std::string::npos; ++i) {
            start = text.find("\r\n", start);
            if (start != std::string::npos) start += 2;
        }
        if (start == std::string::npos) return "";
        return text.substr(start, text.find("\r\n", start) - start);
    }

    FakePlatform fake;
};

TEST_F(CsvImportTest, ExportThenImportGivesBackEveryCardOfAFullDocument) {
    fill_full_document();
    // Texts the export must quote to keep them one field.
    text_set(doc().hdata[0].tn.m[1].s, u"山田, \"太郎\"");
    text_set(doc().hdata[7].ta.m[4].s, u"\"");
    static Document before;
    std::memcpy(&before, &doc(), sizeof(Document));
    text_set(doc().chosen_file, u"C:\\work\\export.csv");
    ASSERT_EQ(export_csv(nullptr), CSV_WRITTEN);
    const std::string exported = fake.file_bytes(u"C:\\work\\export.csv");
    doc().current_card = 42;
    doc().modified = false;

    ASSERT_EQ(import(exported), CSV_IMPORTED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(utf8(fake.boxes[0].text),
              "in.csvから200件の宛先を読み込みます。\r\n"
              "欄の対応: 氏名 ← 名前1、名前2 ← 名前2、名前3 ← 名前3、名前4 ← 名前4、名前5 ← 名前5、"
              "郵便番号 ← 郵便番号、住所1 ← 住所1、住所2 ← 住所2、住所3 ← 住所3、住所4 ← 住所4、"
              "住所5 ← 住所5、差出番号 ← 差出番号\r\n"
              "使わない欄: 名前1、名前2、郵便番号、住所1、住所2\r\n"
              "\r\n置き換え: 今の宛先200件を消して、この200件にします。"
              "\r\n追加: 宛先が200件あり、追加できません。"
              "\r\nキャンセル: 何も変えません。");
    EXPECT_EQ(fake.boxes[0].caption, kCaption);
    EXPECT_EQ(fake.boxes[0].style, kButtonsYesNoCancel | kIconQuestion);
    EXPECT_EQ(fake.choice_labels, u"置き換え(&R)/追加(&A)/キャンセル");
    EXPECT_EQ(fake.events, (std::vector<std::string>{"wait_show", "wait_close"}));
    EXPECT_EQ(count_cards(), 200);
    EXPECT_EQ(doc().current_card, 0);
    EXPECT_TRUE(doc().modified);
    for (int i = 0; i < HDATA_MAX; ++i) {
        SCOPED_TRACE(i);
        const CardRecord& was = before.hdata[i];
        const CardRecord& now = doc().hdata[i];
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            EXPECT_EQ(describe_text(now.tn.m[k].s, LINE_CAP), describe_text(was.tn.m[k].s, LINE_CAP));
            EXPECT_EQ(describe_text(now.ta.m[k].s, LINE_CAP), describe_text(was.ta.m[k].s, LINE_CAP));
        }
        // Postal codes keep their digits.
        std::u16string digits;
        for (const char16_t* p = was.tt.m; *p; ++p)
            if (*p >= u'0' && *p <= u'9') digits += *p;
        EXPECT_EQ(text(now.tt.m), digits);
        EXPECT_EQ(now.ftb, was.ftb);
        for (const TypEntry& entry : now.typ) EXPECT_EQ(entry.t + entry.y, 0);
        EXPECT_EQ(describe_layout(now), describe_layout(was));
    }
    for (int j = 0; j < FDATA_MAX; ++j)
        EXPECT_EQ(describe_sender(doc().fdata[j]), describe_sender(before.fdata[j]));
    EXPECT_EQ(describe_print(doc().print), describe_print(before.print));
}

TEST_F(CsvImportTest, TheSameRowsReadAlikeInEveryEncodingWithQuotingAndLineBreaks) {
    // A spreadsheet's file: quoted fields with commas, doubled quotes and a
    // line break, a trailing comma on one row, columns the import ignores.
    const std::u16string rows =
        u"氏名,フリガナ,郵便番号,住所1,住所2,差出番号\r\n"
        u"鈴木　花子,スズキ,530-0001,\"大阪府大阪市北区梅田1-2\",\"梅田ビル, 3階\",2,\r\n"
        u"\"高橋 \"\"ミサ\"\" 美咲\",,\"900-0001\",\"沖縄県\r\n那覇市\",,0\r\n"
        u"佐藤　一郎,,0600001,北海道札幌市,,1\r\n";
    const std::string expected =
        "5300001|鈴木　花子/////|大阪府大阪市北区梅田1-2/梅田ビル, 3階////|2\n"
        "9000001|高橋 \"ミサ\" 美咲/////|沖縄県　那覇市/////|0\n"
        "0600001|佐藤　一郎/////|北海道札幌市/////|1\n";
    std::u16string lf_rows;
    for (char16_t u : rows)
        if (u != u'\r') lf_rows += u;
    struct Case {
        const char* name;
        std::string bytes;
        int encoding;
    };
    const std::string utf8_rows = utf8(rows);
    const std::vector<Case> cases = {
        {"UTF-8", utf8_rows, CSV_UTF8},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8_rows, CSV_UTF8_BOM},
        {"UTF-8, LF", utf8(lf_rows), CSV_UTF8},
        {"Shift_JIS", shift_jis(rows), CSV_SHIFT_JIS},
        {"Shift_JIS, LF", shift_jis(lf_rows), CSV_SHIFT_JIS},
        {"UTF-16LE", utf16le_file(rows), CSV_UTF16LE},
        {"UTF-16LE without BOM", utf16le_file(rows).substr(2), CSV_UTF16LE},
        {"UTF-16BE", utf16be_file(rows), CSV_UTF16BE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string file;
        store_csv_bytes(c.bytes.data(), c.bytes.size(), file);
        EXPECT_EQ(decode_csv_file(file, c.bytes.size()), c.encoding);
        clear_addressees();
        ASSERT_EQ(import(c.bytes), CSV_IMPORTED);
        EXPECT_EQ(summary_line(0), "in.csvから3件の宛先を読み込みます。");
        EXPECT_EQ(cards_text(), expected);
    }

    // Bytes that are no Shift_JIS character become replacement characters;
    // the rest of the row is read.
    ASSERT_EQ(import(shift_jis(u"氏名,住所\r\n") + "\x81\xFF\x82\xA0,X\r\n"), CSV_IMPORTED);
    EXPECT_EQ(doc().hdata[0].ta.m[0].s[0], u'X');
    EXPECT_EQ(count_cards(), 1);
}

TEST_F(CsvImportTest, HeaderVariantsOfOtherToolsAndNoHeader) {
    ASSERT_EQ(import(utf8(
                  u"姓,名,敬称,〒,住所,住所2,会社名,部署,差出番号\n"
                  u"山田,太郎,様,〒150-0001,東京都渋谷区,神宮前1-2-3,山田商事,総務部,2\n"
                  u"田中,,様,１５０－０００２,,,,,5\n"          // full-width digits; no such sender
                  u",花子,様,,京都府,,,,x\n"                     // honorific needs a name
                  u"木村 様,,様,,,,株式会社木村,,1\n"            // company alone: address line 0
                  u",,,,,,,,\n"                                  // nothing: skipped
                  u"\n"
                  u"\"\",,殿,-,,,,,2\n")),                        // honorific alone: skipped
              CSV_IMPORTED);
    EXPECT_EQ(summary_line(1), "欄の対応: 氏名 ← 姓+名、敬称 ← 敬称、郵便番号 ← 〒、住所1 ← 住所、"
                               "住所2 ← 住所2、会社名 ← 会社名、部署 ← 部署、差出番号 ← 差出番号");
    EXPECT_EQ(cards_text(),
              "1500001|山田　太郎　様/////|東京都渋谷区/神宮前1-2-3/山田商事/総務部//|2\n"
              "1500002|田中　様/////|/////|0\n"
              "|花子　様/////|京都府/////|0\n"
              "|木村 様/////|株式会社木村/////|1\n");

    // "氏名" wins over 姓 and 名; the first of two columns of one name counts.
    ASSERT_EQ(import(utf8(u"氏名,姓,名,住所1,住所1\n田中 一郎,x,y,一,二\n,田中,次郎,三,四\n")),
              CSV_IMPORTED);
    EXPECT_EQ(cards_text(), "|田中 一郎/////|一/////|0\n|田中　次郎/////|三/////|0\n");
    EXPECT_EQ(summary_line(1), "欄の対応: 氏名 ← 氏名（空のときは 姓+名）、住所1 ← 住所1");
    EXPECT_EQ(summary_line(2), "使わない欄: 住所1");

    // No known header: the column order of the export; the first row is data.
    // A row whose only text is on later lines has them moved up, so that its
    // card counts and the cards behind it are kept.
    ASSERT_EQ(import(utf8(u"7,名前A,名前B,,,,1000001,住所A,,,,,1\n"
                          u"8,,,,,,,,住所B,,,,2\n"
                          u"9,,名前C\n")),
              CSV_IMPORTED);
    EXPECT_EQ(cards_text(),
              "1000001|名前A/名前B////|住所A/////|1\n"
              "|/////|住所B/////|2\n"
              "|名前C/////|/////|0\n");

    // A name longer than a line is cut to 63 units without splitting a
    // surrogate pair; an address goes on on the next line; a postal code
    // that is no Japanese one stays in the address.
    std::u16string long_name(62, u'長');
    ASSERT_EQ(import(utf8(u"氏名,住所1,郵便番号\n" + long_name + u"𠮷," + std::u16string(70, u'a') +
                          u",12345678901234567890\n")),
              CSV_IMPORTED);
    EXPECT_EQ(text(doc().hdata[0].tn.m[0].s), long_name);
    EXPECT_EQ(text(doc().hdata[0].ta.m[0].s), std::u16string(63, u'a'));
    EXPECT_EQ(text(doc().hdata[0].ta.m[1].s), u"aaaaaaa 12345678901234567890");
    EXPECT_EQ(text(doc().hdata[0].tt.m), u"");
    EXPECT_EQ(summary_line(2), "郵便番号が7桁でない宛先 1件（住所に入れました）");

    // A wide table: known columns far to the right are read, every unused
    // column is listed, and the columns behind the 256th are named as such.
    std::u16string header;
    std::u16string row;
    for (int i = 1; i <= 260; ++i) {
        char16_t number[8];
        TextBuilder(number, 8).add_int(i);
        header += i == 100 ? u"氏名" : i == 200 ? u"Home Postal Code" : u"メモ" + std::u16string(number);
        row += i == 100 ? u"山田" : i == 200 ? u"150-0001" : u"";
        header += i < 260 ? u"," : u"\n";
        row += i < 260 ? u"," : u"\n";
    }
    ASSERT_EQ(import(utf8(header + row)), CSV_IMPORTED);
    EXPECT_EQ(cards_text(), "1500001|山田/////|/////|0\n");
    const std::string unused = summary_line(2);
    EXPECT_EQ(unused.substr(0, std::strlen("使わない欄: メモ1、メモ2、")), "使わない欄: メモ1、メモ2、");
    EXPECT_NE(unused.find("、ほか"), std::string::npos) << unused;
    EXPECT_EQ(unused.substr(unused.size() - std::strlen("列、257列目以降")), "列、257列目以降");

    // A header that names no name and no address: nothing is read, and the
    // message says which headers the file has.
    EXPECT_EQ(import(utf8(u"E-mail Address,E-mail 2 Address,Mobile Phone\na@example.jp,,090\n")),
              CSV_IMPORT_FAILED);
    EXPECT_EQ(fake.boxes.at(0).text,
              u"名前や住所の欄が見つかりません。見出し: E-mail Address、E-mail 2 Address、Mobile Phone");
}

// Files as people have them, bytes in, cards out: the summary's mapping,
// unused columns and losses, then the cards after 置き換え.
TEST_F(CsvImportTest, RealShapedFilesGiveTheirCardsAndTellEveryLossFirst) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string mapping;  // line 2 of the summary
        std::string rest;     // the summary's lines from line 3 to the choices
        std::string cards;
    };
    std::string stray_byte = utf8(u"氏名,住所\r\n山田　花子,京都府京都市\r\n");
    stray_byte.insert(stray_byte.size() - 5, "\x93");  // a Shift_JIS lead byte pasted in
    const std::vector<Case> cases = {
        {"spreadsheet with split address columns (Shift_JIS)",
         shift_jis(u"姓,名,郵便番号,都道府県,市区町村,番地,建物名\r\n"
                   u"山田,太郎,150-0001,東京都,渋谷区,神宮前1-2-3,メゾン神宮前101\r\n"
                   u"鈴木,一郎,〒530-0001,大阪府,大阪市北区,梅田1-1,\r\n"),
         "氏名 ← 姓+名、郵便番号 ← 郵便番号、住所1 ← 都道府県+市区町村+番地、住所2 ← 建物名", "",
         "1500001|山田　太郎/////|東京都渋谷区神宮前1-2-3/メゾン神宮前101////|0\n"
         "5300001|鈴木　一郎/////|大阪府大阪市北区梅田1-1/////|0\n"},
        {"web mail contacts export, English headers (UTF-8 with BOM)",
         "\xEF\xBB\xBF" +
             utf8(u"First Name,Middle Name,Last Name,E-mail 1 - Value,Address 1 - Label,"
                  u"Address 1 - Formatted,Address 1 - Street,Address 1 - City,Address 1 - PO Box,"
                  u"Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
                  u"Address 1 - Extended Address,Organization Name,Organization Title,"
                  u"Organization Department\r\n"
                  u"花子,,佐藤,hanako@example.jp,Home,\"北海道札幌市中央区北1条西2-1\n060-0001\","
                  u"北1条西2-1,札幌市中央区,,北海道,060-0001,JP,札幌ハイツ305,,,\r\n"
                  u"Ken,,Ito,,Work,,1-1 Marunouchi,Chiyoda-ku,,Tokyo,100-0005,JP,,Ito Trading,"
                  u"Manager,Sales\r\n"),
         "氏名 ← Last Name+First Name、郵便番号 ← Address 1 - Postal Code、"
         "住所1 ← Address 1 - Region+Address 1 - City+Address 1 - Street、"
         "住所2 ← Address 1 - Extended Address、国 ← Address 1 - Country、会社名 ← Organization Name、"
         "部署 ← Organization Department、役職 ← Organization Title",
         "使わない欄: Middle Name、E-mail 1 - Value、Address 1 - Label、Address 1 - Formatted、"
         "Address 1 - PO Box\n",
         "0600001|佐藤　花子/////|北海道札幌市中央区北1条西2-1/札幌ハイツ305////|0\n"
         "1000005|Ken Ito/////|1-1 Marunouchi Chiyoda-ku Tokyo/Ito Trading/Sales　Manager///|0\n"},
        {"title line, an empty record and full-width header digits (UTF-8)",
         utf8(u"住所録 2026年\r\n,,,\r\n宛名,〒,住所１,住所２,連名\r\n"
              u"高橋 美咲 様,900-0001,沖縄県那覇市,,健太 様\r\n"),
         "氏名 ← 宛名、連名 ← 連名、郵便番号 ← 〒、住所1 ← 住所１、住所2 ← 住所２", "",
         "9000001|高橋 美咲 様/健太 様////|沖縄県那覇市/////|0\n"},
        {"Excel's sep= line, semicolons and 名前 as the whole name",
         utf8(u"sep=;\r\n名前;郵便番号;住所\r\n\"田中; 一郎\";100-0001;東京都千代田区\r\n"),
         "氏名 ← 名前、郵便番号 ← 郵便番号、住所1 ← 住所", "",
         "1000001|田中; 一郎/////|東京都千代田区/////|0\n"},
        {"semicolons without sep=, English headers",
         utf8(u"Name;ZIP;State;City;Street\r\nMori Aya;9800001;宮城県;仙台市;青葉区1\r\n"),
         "氏名 ← Name、郵便番号 ← ZIP、住所1 ← State+City+Street", "",
         "9800001|Mori Aya/////|宮城県仙台市青葉区1/////|0\n"},
        {"Excel's Unicode text: UTF-16LE with tabs",
         utf16le_file(u"苗字\t名前\t郵便番号\t住所\t会社名\t部署\t役職\r\n"
                      u"木村\t拓也\t2220002\t神奈川県横浜市\t木村商事\t総務部\t部長\r\n"),
         "氏名 ← 苗字+名前、郵便番号 ← 郵便番号、住所1 ← 住所、会社名 ← 会社名、部署 ← 部署、"
         "役職 ← 役職",
         "",
         "2220002|木村　拓也/////|神奈川県横浜市/木村商事/総務部　部長///|0\n"},
        {"tab-separated UTF-8",
         utf8(u"氏名\t郵便番号\t住所\r\n中村 真一\t812-0011\t福岡県福岡市\r\n"),
         "氏名 ← 氏名、郵便番号 ← 郵便番号、住所1 ← 住所", "",
         "8120011|中村 真一/////|福岡県福岡市/////|0\n"},
        {"UTF-8 without BOM and one stray byte", stray_byte, "氏名 ← 氏名、住所1 ← 住所",
         "読み込めないもの:\n・文字にならないバイト（\xEF\xBF\xBDになります） 1か所\n",
         "|山田　花子/////|京都府京都\xEF\xBF\xBD市/////|0\n"},
        {"a quote never closed, rows behind it",
         utf8(u"氏名,住所\r\n\"山田 太郎,東京都\r\n佐藤 次郎,大阪府\r\n"),
         "氏名 ← 氏名、住所1 ← 住所",
         "読み込めないもの:\n・2行目の引用符が閉じていません（その欄は引用符を除き、区切りまでを読みます）\n",
         "|山田 太郎/////|東京都/////|0\n|佐藤 次郎/////|大阪府/////|0\n"},
        {"連名 and 敬称 columns, texts too long",
         utf8(u"姓,名,敬称,連名1,連名2,連名3,連名4,郵便番号,住所1,住所2\r\n"
              u"山田,太郎,様,花子,一郎,,,1500001,東京都渋谷区,\r\n"
              u"大家族,父,様,母,長男,長女,次男,1500002," + std::u16string(70, u'長') + u",\r\n"),
         "氏名 ← 姓+名、連名 ← 連名1+連名2+連名3+連名4、敬称 ← 敬称、郵便番号 ← 郵便番号、"
         "住所1 ← 住所1、住所2 ← 住所2",
         "",
         "1500001|山田　太郎　様/花子　様/一郎　様///|東京都渋谷区/////|0\n"
         "1500002|大家族　父　様/母　様/長男　様/長女　様/次男　様/|" + utf8(std::u16string(63, u'長')) +
             "/" + utf8(std::u16string(7, u'長')) + "////|0\n"},
        {"Outlook's Japanese export (Shift_JIS): the home address, else the work address",
         shift_jis(u"\"肩書き\",\"名\",\"ミドル ネーム\",\"姓\",\"敬称\",\"会社名\",\"部署\",\"役職\","
                   u"\"番地 (会社)\",\"住所 2 (会社)\",\"住所 3 (会社)\",\"市町村 (会社)\",\"都道府県 (会社)\","
                   u"\"郵便番号 (会社)\",\"国 (会社)/地域\",\"番地 (自宅)\",\"住所 2 (自宅)\",\"住所 3 (自宅)\","
                   u"\"市町村 (自宅)\",\"都道府県 (自宅)\",\"郵便番号 (自宅)\",\"国 (自宅)/地域\",\"携帯電話\","
                   u"\"姓フリガナ\",\"名前フリガナ\"\r\n"
                   u"\"\",\"太郎\",\"\",\"山田\",\"様\",\"山田商事\",\"総務部\",\"部長\",\"丸の内1-1\",\"\",\"\","
                   u"\"千代田区\",\"東京都\",\"100-0005\",\"日本\",\"神宮前1-2-3\",\"メゾン101\",\"\",\"渋谷区\","
                   u"\"東京都\",\"150-0001\",\"日本\",\"090-0000-0000\",\"ヤマダ\",\"タロウ\"\r\n"
                   u",花子,,佐藤,,,,,梅田1-1,,,大阪市北区,大阪府,530-0001,日本,,,,,,,,,サトウ,ハナコ\r\n"),
         "氏名 ← 姓+名、敬称 ← 敬称、郵便番号 ← 郵便番号 (自宅)、住所1 ← 都道府県 (自宅)+市町村 (自宅)+番地 (自宅)、"
         "住所2 ← 住所 2 (自宅)、住所3 ← 住所 3 (自宅)、国 ← 国 (自宅)/地域、住所が空のときは 番地 (会社) などの列、"
         "会社名 ← 会社名、部署 ← 部署、役職 ← 役職",
         "使わない欄: 肩書き、ミドル ネーム、携帯電話、姓フリガナ、名前フリガナ\n",
         "1500001|山田　太郎　様/////|東京都渋谷区神宮前1-2-3/メゾン101/山田商事/総務部　部長//|0\n"
         "5300001|佐藤　花子/////|大阪府大阪市北区梅田1-1/////|0\n"},
        {"Thunderbird's Japanese export: the display name, the work address",
         utf8(u"名,姓,表示名,ニックネーム,メールアドレス,番地 (自宅),番地 (自宅) 2,市区町村 (自宅),都道府県 (自宅),"
              u"郵便番号 (自宅),国 (自宅),番地 (勤務先),番地 (勤務先) 2,市区町村 (勤務先),都道府県 (勤務先),"
              u"郵便番号 (勤務先),国 (勤務先),役職,部門,組織\r\n"
              u"一郎,鈴木,鈴木 一郎,,ichiro@example.jp,,,,,,,北1条西2-1,札幌ビル5階,札幌市中央区,北海道,"
              u"060-0001,日本,課長,営業部,鈴木商会\r\n"),
         "氏名 ← 表示名（空のときは 姓+名）、郵便番号 ← 郵便番号 (自宅)、"
         "住所1 ← 都道府県 (自宅)+市区町村 (自宅)+番地 (自宅)、住所2 ← 番地 (自宅) 2、国 ← 国 (自宅)、"
         "住所が空のときは 番地 (勤務先) などの列、会社名 ← 組織、部署 ← 部門、役職 ← 役職",
         "使わない欄: ニックネーム、メールアドレス\n",
         "0600001|鈴木 一郎/////|北海道札幌市中央区北1条西2-1/札幌ビル5階/鈴木商会/営業部　課長//|0\n"},
        {"Thunderbird's English export, foreign addresses: Latin parts with spaces, the country, long lines",
         utf8(u"First Name,Last Name,Display Name,Home Address,Home Address 2,Home City,Home State,Home ZipCode,"
              u"Home Country\r\n"
              u"John,Smith,,221B Baker Street,,London,,NW1 6XE,United Kingdom\r\n"
              u"Anna,Müller,,\"Lämmerweg 12, Hinterhaus, 3. Obergeschoss, Wohnung 14, bei Familie Hoffmann\","
              u",Ulm,,89079,Germany\r\n"),
         "氏名 ← Display Name（空のときは Last Name+First Name）、郵便番号 ← Home ZipCode、"
         "住所1 ← Home State+Home City+Home Address、住所2 ← Home Address 2、国 ← Home Country",
         "郵便番号が7桁でない宛先 2件（住所に入れました）\n",
         "|John Smith/////|221B Baker Street London NW1 6XE/United Kingdom////|0\n"
         "|Anna Müller/////|Lämmerweg 12, Hinterhaus, 3. Obergeschoss, Wohnung 14, bei/"
         "Familie Hoffmann Ulm 89079/Germany///|0\n"},
        {"owners written in front, a reading in brackets",
         utf8(u"姓,姓 (フリガナ),名,自宅の郵便番号,自宅の都道府県,自宅の市町村,自宅住所,自宅住所2,国/地域 (自宅),"
              u"勤務先住所\r\n中村,ナカムラ,真一,812-0011,福岡県,福岡市博多区,博多駅前1-1,博多ビル2階,日本,天神1-1\r\n"),
         "氏名 ← 姓+名、郵便番号 ← 自宅の郵便番号、住所1 ← 自宅の都道府県+自宅の市町村+自宅住所、住所2 ← 自宅住所2、"
         "国 ← 国/地域 (自宅)、住所が空のときは 勤務先住所 などの列",
         "使わない欄: 姓 (フリガナ)\n", "8120011|中村　真一/////|福岡県福岡市博多区博多駅前1-1/博多ビル2階////|0\n"},
        {"a header cell merged over the address columns",
         utf8(u"氏名,氏名（カタカナ）,電話番号,メールアドレス,郵便番号,住所,,,,\r\n"
              u"佐川恭子,サガワキョウコ,0768-00-0000,kyoko@example.jp,927-1214,石川県,珠洲市,飯田町,4-13-20,\r\n"),
         "氏名 ← 氏名、郵便番号 ← 郵便番号、住所1 ← 住所+3列",
         "使わない欄: 氏名（カタカナ）、電話番号、メールアドレス\n",
         "9271214|佐川恭子/////|石川県珠洲市飯田町4-13-20/////|0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clear_addressees();
        ASSERT_EQ(import(c.bytes), CSV_IMPORTED);
        EXPECT_EQ(summary_line(1), "欄の対応: " + c.mapping);
        std::string rest;
        for (size_t line = 2; summary_line(line) != ""; ++line) rest += summary_line(line) + "\n";
        EXPECT_EQ(rest, c.rest);
        EXPECT_EQ(cards_text(), c.cards);
    }
}

// 追加 puts the rows behind the cards in use, up to 200, and tells before
// how many do not fit; cards behind the ones in use keep no old texts.
TEST_F(CsvImportTest, AppendFillsUpTo200BehindTheCardsInUse) {
    for (int i = 0; i < 198; ++i) text_set(doc().hdata[i].tn.m[0].s, u"前からの宛先");
    text_set(doc().hdata[199].ta.m[3].s, u"見えない古い住所");
    doc().current_card = 5;
    ASSERT_EQ(import(utf8(u"氏名,郵便番号\n一,1000001\n二,1000002\n三,1000003\n"), kAnswerNo), CSV_IMPORTED);
    EXPECT_EQ(summary_line(4), "追加: 今の宛先198件の後ろに2件を加えます。（残りの1件は入りません）");
    EXPECT_EQ(count_cards(), 200);
    EXPECT_EQ(text(doc().hdata[197].tn.m[0].s), u"前からの宛先");
    EXPECT_EQ(text(doc().hdata[198].tn.m[0].s), u"一");
    EXPECT_EQ(text(doc().hdata[199].tt.m), u"1000002");
    EXPECT_EQ(text(doc().hdata[199].ta.m[3].s), u"");
    EXPECT_EQ(doc().current_card, 198);
    EXPECT_TRUE(doc().modified);

    // Full: 追加 changes nothing, and the summary said so.
    doc().modified = false;
    EXPECT_EQ(import(utf8(u"氏名\n四\n"), kAnswerNo), CSV_IMPORT_DECLINED);
    EXPECT_EQ(summary_line(4), "追加: 宛先が200件あり、追加できません。");
    EXPECT_EQ(text(doc().hdata[199].tn.m[0].s), u"二");
    EXPECT_FALSE(doc().modified);
}

// Contacts files as phones and web services write them, bytes in, cards
// out, through the same summary as the CSV import.
TEST_F(CsvImportTest, VcardFilesOfPhonesAndWebServicesGiveTheirCards) {
    const auto quoted_printable = [](const std::string& bytes) {
        static const char kHex[] = "0123456789ABCDEF";
        std::string out;
        for (unsigned char b : bytes) out += std::string("=") + kHex[b >> 4] + kHex[b & 15];
        return out;
    };
    const std::string street = quoted_printable(shift_jis(u"北一条西2-1"));
    const std::string old_phone =
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:" +
        quoted_printable(shift_jis(u"佐藤")) + ";" + quoted_printable(shift_jis(u"花子")) +
        "\r\nADR;HOME;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:;;" + street.substr(0, 12) +
        "=\r\n" + street.substr(12) + ";" + quoted_printable(shift_jis(u"札幌市中央区")) + ";" +
        quoted_printable(shift_jis(u"北海道")) +
        ";060-0001;\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n " + std::string(76, 'A') + "\r\n " +
        std::string(76, 'B') + "\r\n\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN:Mori;Aya\r\n"
        "TEL;CELL:090-0000-0000\r\n";  // cut off before its END
    struct Case {
        const char* name;
        std::string bytes;
        std::string rest;  // the summary's lines from line 3 to the choices
        std::string cards;
    };
    const std::vector<Case> cases = {
        {"phone, vCard 3.0 UTF-8, folded lines and escapes",
         "\xEF\xBB\xBF" + utf8(u"BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.0//EN\r\n"
                              u"N:山田;太郎;;;\r\nFN:山田 太郎\r\n"
                              u"item1.ADR;type=HOME;type=pref:;メゾン神宮前\\, 101;神宮前1-2-3;渋\r\n"
                              u" 谷区;東京都;150-0001;日本\r\nTEL;type=CELL:090-0000-0000\r\n"
                              u"ORG:山田商事;総務部\r\nEND:VCARD\r\n"),
         "使わない欄: TEL\n",
         "1500001|山田　太郎/////|東京都渋谷区神宮前1-2-3/メゾン神宮前, 101/山田商事/総務部//|0\n"},
        {"vCard 4.0, LF only, a work and a home address",
         "BEGIN:VCARD\nVERSION:4.0\nFN:Ken Ito\nN:;;;;\n"
         "ADR;TYPE=work:;;1-1 Marunouchi;Chiyoda-ku;Tokyo;100-0005;Japan\n"
         "ADR;TYPE=\"home,pref\":;;2-2 Aoba;Sendai;Miyagi;980-0001;Japan\nEND:VCARD\n",
         "使わない欄: ADR（自宅でも最初でもない住所 1件）\n", "9800001|Ken Ito/////|2-2 Aoba Sendai Miyagi/////|0\n"},
        {"old phone, vCard 2.1 Shift_JIS quoted-printable, a photo, a contact without address",
         old_phone,
         "使わない欄: PHOTO、TEL\n読み込めないもの:\n・住所のない連絡先 1件は読み込みません\n",
         "0600001|佐藤　花子/////|北海道札幌市中央区北一条西2-1/////|0\n"},
        {"Android, the whole address in the extended part; an empty home address and two others",
         utf8(u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:渋谷;花子;;;\r\n"
              u"ADR;TYPE=HOME:;東京都渋谷区桜丘町26-1セルリアンタワー6階;;;;150-8512;\r\nEND:VCARD\r\n"),
         "", "1508512|渋谷　花子/////|東京都渋谷区桜丘町26-1セルリアンタワー6階/////|0\n"},
        {"an empty home address does not win over the work address",
         "BEGIN:VCARD\nVERSION:3.0\nN:Ito;Ken\nADR;TYPE=HOME:;;;;;;\n"
         "ADR;TYPE=WORK:;;1-1 Marunouchi;Chiyoda-ku;Tokyo;100-0005;Japan\n"
         "ADR;TYPE=OTHER:;;2-2 Aoba;Sendai;Miyagi;980-0001;Japan\nEND:VCARD\n",
         "使わない欄: ADR（自宅でも最初でもない住所 1件）\n",
         "1000005|Ken Ito/////|1-1 Marunouchi Chiyoda-ku Tokyo/////|0\n"},
        {"quoted parameters with colons, CR CR LF, an AGENT's vCard, two ORGs",
         "BEGIN:VCARD\r\r\nVERSION:2.1\r\r\nN:Holmes;Sherlock\r\r\nAGENT:\r\r\nBEGIN:VCARD\r\r\n"
         "N:Watson;John\r\r\nEND:VCARD\r\r\n"
         "ADR;GEO=\"geo:51.52,0.15\";LABEL=\"221B Baker Street\\nLondon\":;;221B Baker Street;London;;NW1 6XE;"
         "United Kingdom\r\r\nORG:Consulting;Detectives;Baker St\r\r\nORG:Royal Society\r\r\nEND:VCARD\r\r\n",
         "使わない欄: AGENT\n郵便番号が7桁でない宛先 1件（住所に入れました）\n",
         "|Sherlock Holmes/////|221B Baker Street London NW1 6XE/United Kingdom/Consulting/"
         "Detectives Baker St/Royal Society/|0\n"},
        {"declared charsets: ISO-8859-1, windows-1252, EUC-JP, ISO-2022-JP, windows-1251; one undeclared",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:M\xFCller;Anna\r\n"
         "ADR;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:;;L=E4mmerweg 12 =80;Ulm;;89079;Germany\r\n"
         "ORG;CHARSET=EUC-JP:" + encoded("EUC-JP", u"株式会社") + "\r\nORG;CHARSET=ISO-2022-JP:" +
             encoded("ISO-2022-JP", u"日本郵便") + "\r\nORG:" + shift_jis(u"山田商事") + "\r\nEND:VCARD\r\n",
         "郵便番号が7桁でない宛先 1件（住所に入れました）\n読み込めないもの:\n"
         "・文字コードの書かれていない、UTF-8でない値 1件をShift_JISとして読みました\n",
         "|Anna Müller/////|Lämmerweg 12 € Ulm 89079/Germany/株式会社/日本郵便/山田商事/|0\n"},
        {"a code page by its quoted name, a Cyrillic address",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=\"windows-1251\":\xC8\xE2\xE0\xED\xEE\xE2;\xC8\xE2\xE0\xED\r\n"
         "ADR;CHARSET=UTF-8:;;" + utf8(u"Тверская 1;Москва;;125009;Россия") + "\r\nEND:VCARD\r\n",
         "郵便番号が7桁でない宛先 1件（住所に入れました）\n",
         "|Иван Иванов/////|Тверская 1 Москва 125009/Россия////|0\n"},
        {"an address only in LABEL",
         utf8(u"BEGIN:VCARD\nVERSION:3.0\nN:皇;花子\nLABEL;TYPE=HOME:東京都千代田区千代田1-1\\n皇居東御苑\nEND:VCARD\n"),
         "", "|皇　花子/////|東京都千代田区千代田1-1/皇居東御苑////|0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clear_addressees();
        fake.put_file(kPath, c.bytes);
        text_set(doc().chosen_file, kPath);
        fake.boxes.clear();
        fake.answer(kAnswerYes);
        ASSERT_EQ(import_vcard(nullptr), VCARD_IMPORTED);
        EXPECT_EQ(fake.boxes.at(0).caption, u"vCardから読込");
        EXPECT_EQ(summary_line(0), "in.csvから1件の宛先を読み込みます。");
        std::string rest;
        for (size_t line = 2; summary_line(line) != ""; ++line) rest += summary_line(line) + "\n";
        EXPECT_EQ(rest, c.rest);
        EXPECT_EQ(cards_text(), c.cards);
    }

    // The phone's file saved as UTF-16, little-endian with a byte order
    // mark and big-endian without one, reads alike.
    std::u16string phone;
    const std::string phone_utf8 = cases[0].bytes.substr(3);
    store_csv_bytes(phone_utf8.data(), phone_utf8.size(), phone);
    decode_csv_file(phone, phone_utf8.size());
    for (const std::string& bytes : {utf16le_file(phone), utf16be_file(phone).substr(2)}) {
        clear_addressees();
        fake.put_file(kPath, bytes);
        fake.answer(kAnswerYes);
        ASSERT_EQ(import_vcard(nullptr), VCARD_IMPORTED);
        EXPECT_EQ(cards_text(), cases[0].cards);
    }

    // A file without any vCard, or with contacts without address only.
    fake.boxes.clear();
    for (const char* bytes : {"氏名,住所\r\n山田,東京\r\n", "BEGIN:VCARD\nN:A;B\nEND:VCARD\n"}) {
        fake.put_file(kPath, bytes);
        EXPECT_EQ(import_vcard(nullptr), VCARD_IMPORT_FAILED);
    }
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, u"C:\\work\\in.csvには連絡先(vCard)がありません。");
    EXPECT_EQ(fake.boxes[1].text, u"C:\\work\\in.csvには住所のある連絡先がありません。");
}

TEST_F(CsvImportTest, MoreThan200RowsTakeTheFirst200AndTellHowManyWereLeftOut) {
    std::u16string rows = u"氏名,郵便番号\r\n";
    for (int i = 1; i <= 203; ++i) {
        char16_t number[16];
        TextBuilder(number, 16).add_int(i);
        const std::u16string postal = std::u16string(7 - text_length(number), u'0') + number;
        rows += std::u16string(u"宛名") + number + u"," + postal + u"\r\n";
        if (i == 100) rows += u",\r\n";  // an empty row is not counted
    }
    ASSERT_EQ(import(utf16le_file(rows)), CSV_IMPORTED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(summary_line(0), "in.csvから203件の宛先を読み込みます。");
    EXPECT_EQ(summary_line(3), "置き換え: 今の宛先1件を消して、この200件にします。（201件目以降の3件は入りません）");
    EXPECT_EQ(summary_line(4), "追加: 今の宛先1件の後ろに199件を加えます。（残りの4件は入りません）");
    EXPECT_EQ(count_cards(), 200);
    EXPECT_EQ(text(doc().hdata[0].tn.m[0].s), u"宛名1");
    EXPECT_EQ(text(doc().hdata[199].tn.m[0].s), u"宛名200");
    EXPECT_EQ(text(doc().hdata[199].tt.m), u"0000200");
}

TEST_F(CsvImportTest, MissingEmptyMalformedOrDeclinedFilesChangeNothing) {
    static Document before;
    std::memcpy(&before, &doc(), sizeof(Document));
    auto unchanged = [&] { return std::memcmp(&before, &doc(), sizeof(Document)) == 0; };

    text_set(doc().chosen_file, u"C:\\work\\missing.csv");
    std::memcpy(before.chosen_file, doc().chosen_file, sizeof before.chosen_file);
    EXPECT_EQ(import_csv(nullptr), CSV_IMPORT_FAILED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, u"C:\\work\\missing.csvのファイルが読み込めません。");
    EXPECT_EQ(fake.boxes[0].caption, kCaption);
    EXPECT_TRUE(unchanged());

    text_set(before.chosen_file, kPath);
    const std::vector<std::string> no_rows = {
        "", "\xFF\xFE", "\xEF\xBB\xBF", "\r\n\r\n", utf8(u"氏名,住所\r\n"), utf8(u"氏名,住所\r\n,\r\n"),
        std::string("\xFF\xFE\x00", 3),  // an odd byte of UTF-16
        std::string("\""),                // a quote never closed
    };
    for (const std::string& bytes : no_rows) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(import(bytes), CSV_IMPORT_FAILED);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, u"C:\\work\\in.csvには読み込める宛先がありません。");
        EXPECT_TRUE(unchanged());
        fake.answers.clear();
    }

    // Declined: nothing changes, whatever the file held.
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) >> 3);
    EXPECT_EQ(import(utf8(u"氏名\r\n新しい宛先\r\n"), kAnswerCancel), CSV_IMPORT_DECLINED);
    EXPECT_TRUE(unchanged());
    EXPECT_NE(import(garbage, kAnswerCancel), CSV_IMPORTED);
    EXPECT_TRUE(unchanged());

    // A read error part of the way is no shorter file: nothing is imported.
    fake.read_error_after = 100;
    EXPECT_EQ(import(utf8(u"氏名\r\n" + std::u16string(200, u'山') + u"\r\n")), CSV_IMPORT_FAILED);
    EXPECT_EQ(fake.boxes.at(0).text, u"C:\\work\\in.csvのファイルが読み込めません。");
    EXPECT_TRUE(unchanged());
    fake.read_error_after = SIZE_MAX;

    // A file larger than the import reads is refused before it is read.
    fake.put_file(kPath, std::string(CSV_MAX_BYTES + 1, 'a'));
    std::u16string file = u"x";
    size_t bytes = 1;
    EXPECT_FALSE(read_csv_file(kPath, file, &bytes));
    EXPECT_TRUE(file.empty());
    EXPECT_EQ(bytes, 0u);
}

TEST_F(CsvImportTest, CommandAsksBeforeDiscardingChangesAndOpensACsvDialog) {
    fake.put_file(u"C:\\data\\list.txt", utf8(u"氏名\n新しい宛先\n"));
    doc().modified = true;
    fake.answer(kAnswerNo);
    EXPECT_EQ(run_file_command(nullptr, CMD_IMPORT_CSV), REPAINT_NONE);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, u"保存せず開いて良いですか？");
    EXPECT_EQ(fake.boxes[0].caption, u"開く！");
    EXPECT_TRUE(fake.dialogs.empty());

    fake.answer(kAnswerYes);
    fake.cancel_dialog();
    EXPECT_EQ(command_import_csv(nullptr), REPAINT_WINDOW);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_FALSE(fake.dialogs[0].save);
    EXPECT_EQ(fake.dialogs[0].title, u"ファイルの読込");
    EXPECT_EQ(fake.dialogs[0].filter,
              std::u16string(u"CsvFile(*.csv)\0*.csv\0AllFile(*.*)\0*.*\0", 38));
    EXPECT_EQ(fake.dialogs[0].initial_file, u"C:\\work\\無題.csv");
    EXPECT_EQ(text(doc().hdata[0].tn.m[0].s), u"前からの宛先");

    // An import called off at its summary keeps the remembered file name.
    text_set(doc().chosen_file, u"C:\\work\\zelko2.txt");
    fake.answer(kAnswerYes);
    fake.answer_dialog(u"C:\\data\\list.txt");
    fake.answer(kAnswerCancel);
    EXPECT_EQ(command_import_csv(nullptr), REPAINT_WINDOW);
    EXPECT_EQ(text(doc().chosen_file), u"C:\\work\\zelko2.txt");

    // Any file name is read: spreadsheets save CSV text as .txt too.
    fake.boxes.clear();
    fake.answer(kAnswerYes);
    fake.answer_dialog(u"C:\\data\\list.txt");
    fake.answer(kAnswerYes);
    EXPECT_EQ(command_import_csv(nullptr), REPAINT_WINDOW);
    EXPECT_EQ(text(doc().chosen_file), u"C:\\data\\list.txt");
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(summary_line(0, 1), "list.txtから1件の宛先を読み込みます。");
    EXPECT_EQ(cards_text(), "|新しい宛先/////|/////|0\n");
    EXPECT_TRUE(doc().modified);
}

}  // namespace
