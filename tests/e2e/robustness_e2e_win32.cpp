// The real program on hostile working folders: data files with fonts of
// millions of pixels, positions at the 32-bit limits, cards of size 0 or
// negative, print settings at the 32-bit limits, backgrounds that claim
// 60000 x 60000 pixels or unpack to 12000 x 12000 or are cut short or
// are no bitmaps at all, files made from the readers' fuzz corpora, and the
// import of an older layout file with the same values. On each folder the
// run steps through every card, drags an item, prints all cards on the test
// printer and exits; it must end normally within kRunBound, and the peak
// memory of the process, read from the system while it runs, must stay
// under kMemoryBound. Each run's time and peak go to the log.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "print/print_dialog_ids.h"
#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;

namespace {

constexpr DWORD kRunBound = 60000;                  // start to exit, ms
constexpr SIZE_T kMemoryBound = 300u * 1024 * 1024;  // peak, bytes

const wchar_t kTestPrinter[] = L"Zelkovane Test Printer";
constexpr int kPrintAll = 0x420;  // rad1 of the system print dialog

// Where the default layout puts address line 0 of a card in the preview.
constexpr int kLineX = 370;
constexpr int kLineY = 170;

std::wstring num(long long v) { return std::to_wstring(v); }

int count_pages(const std::string& ps) {
    int n = 0;
    for (size_t at = ps.find("%%Page:"); at != std::string::npos; at = ps.find("%%Page:", at + 1))
        if (at == 0 || ps[at - 1] == '\n' || ps[at - 1] == '\r') ++n;
    return n;
}

// --- Hostile data ------------------------------------------------------------

const std::wstring kLongLine(63, L'霧');                   // a full 64-unit text
const std::wstring kLongCode = L"123456789012345";          // a full postal code
const std::wstring kUnknownFace = L"@" + std::wstring(30, L'鬱');  // 31 units, no such font

// One sender and `cards` addressees with every text at its capacity.
std::wstring full_senders() {
    std::wstring s = L"fdata_cont_max=1\r\nfdata[0].t=" + kLongCode + L"\r\n";
    for (int k = 0; k < 2; ++k) {
        s += L"fdata[0].a[" + num(k) + L"].s=" + kLongLine + L"\r\n";
        s += L"fdata[0].n[" + num(k) + L"].s=" + kLongLine + L"\r\n";
    }
    return s;
}

std::wstring full_addressees(int cards) {
    std::wstring s = L"hdata_cont_max=" + num(cards) + L"\r\n";
    for (int i = 0; i < cards; ++i) {
        std::wstring p = L"hdata[" + num(i) + L"].";
        s += p + L"tt.m=" + kLongCode + L"\r\n" + p + L"ftb=0\r\n";
        for (int k = 0; k < 5; ++k) {
            s += p + L"ta.m[" + num(k) + L"].s=" + kLongLine + L"\r\n";
            s += p + L"tn.m[" + num(k) + L"].s=" + kLongLine + L"\r\n";
        }
    }
    return s;
}

const wchar_t* const kItems[] = {L"tt", L"ta", L"tn", L"ft", L"fa", L"fn"};

// The font lines of every item of card i.
std::wstring font_lines(int i, long long height, long long width, long long escapement,
                        long long orientation, long long weight, const std::wstring& face) {
    std::wstring s;
    for (const wchar_t* item : kItems) {
        std::wstring p = L"hdata[" + num(i) + L"]." + item + L".lf.";
        s += p + L"lfHeight=" + num(height) + L"\r\n" + p + L"lfWidth=" + num(width) + L"\r\n";
        s += p + L"lfEscapement=" + num(escapement) + L"\r\n";
        s += p + L"lfOrientation=" + num(orientation) + L"\r\n";
        s += p + L"lfWeight=" + num(weight) + L"\r\n";
        if (!face.empty()) s += p + L"lfFaceName=" + face + L"\r\n";
    }
    return s;
}

// Every position of card i at `x`, `y`, the digit pitch at `step`.
std::wstring position_lines(int i, long long x, long long y, long long step) {
    std::wstring s, card = L"hdata[" + num(i) + L"].";
    for (const wchar_t* code : {L"tt", L"ft"})
        for (const wchar_t* n : {L"1", L"2"})
            s += card + code + L".x" + n + L"=" + num(x) + L"\r\n" + card + code + L".y" + n +
                 L"=" + num(y) + L"\r\n" + card + code + L".w" + n + L"=" + num(step) + L"\r\n";
    for (const wchar_t* item : {L"ta", L"tn", L"fa", L"fn"})
        for (int k = 0; k < 5; ++k)
            s += card + item + L".xy[" + num(k) + L"].x=" + num(x) + L"\r\n" + card + item +
                 L".xy[" + num(k) + L"].y=" + num(y) + L"\r\n";
    return s;
}

std::wstring card_size_lines(int i, long long w, long long h, const std::wstring& background) {
    std::wstring p = L"hdata[" + num(i) + L"].";
    return p + L"base_w=" + num(w) + L"\r\n" + p + L"base_h=" + num(h) + L"\r\n" + p +
           L"base_filepass=" + background + L"\r\n";
}

// BMP files: a valid 400 x 592 picture cut in half, a header claiming
// 60000 x 60000 pixels over a few bytes, a 1 KB run-length file that
// unpacks to 12000 x 12000 pixels, text, and nothing; and a sound 4 x 4
// picture for a card of absurd size.
std::string bmp_headers(int32_t w, int32_t h, uint32_t file_size, int bits = 24,
                        uint32_t compression = 0, uint32_t packed = 0) {
    std::string b(54, '\0');
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, file_size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(w), 4);
    put(22, static_cast<uint32_t>(h), 4);
    put(26, 1, 2);
    put(28, bits, 2);
    put(30, compression, 4);
    put(34, packed, 4);
    return b;
}

std::string run_length_bomb() {
    const std::string palette(256 * 4, '\0');
    const std::string pixels("\0\1", 2);  // end of bitmap
    std::string b = bmp_headers(12000, 12000, static_cast<uint32_t>(54 + palette.size() + 2), 8,
                                1, static_cast<uint32_t>(pixels.size()));
    b[10] = static_cast<char>((54 + palette.size()) & 0xFF);
    b[11] = static_cast<char>((54 + palette.size()) >> 8);
    return b + palette + pixels;
}

void write_hostile_bitmaps(const TempDir& dir) {
    const uint32_t huge_size = 54u + 60000u * 180000u;  // wraps; the header lies anyway
    dir.write(L"huge.bmp", bmp_headers(60000, 60000, huge_size) + std::string(4096, '\x7F'));
    const uint32_t full = 54 + 1200 * 592;
    dir.write(L"truncated.bmp", bmp_headers(400, 592, full) + std::string(1200 * 296, '\x40'));
    dir.write(L"notbmp.bmp", "This is not a bitmap at all.\r\n");
    dir.write(L"empty.bmp", "");
    dir.write(L"bomb.bmp", run_length_bomb());
    dir.write(L"small.bmp", bmp_headers(4, 4, 54 + 48) + std::string(48, '\x20'));
    dir.write(L"yousi.gdt", run_length_bomb());
}

// The readers' corpus files as data files: each line corpus entry (one
// UTF-16 unit per byte, 0xFF and two bytes for any unit) becomes a line of
// all three files; each file corpus entry (a kind byte, then the file's
// text in the same coding) is appended to the file of its kind.
std::wstring decode_units(const std::string& bytes, size_t from) {
    std::wstring out;
    for (size_t i = from; i < bytes.size(); ++i) {
        unsigned unit = static_cast<unsigned char>(bytes[i]);
        if (unit == 0xFF && i + 2 < bytes.size()) {
            unit = static_cast<unsigned char>(bytes[i + 1]) |
                   (static_cast<unsigned char>(bytes[i + 2]) << 8);
            i += 2;
        }
        out += static_cast<wchar_t>(unit);
    }
    return out;
}

std::vector<std::wstring> corpus_files(const std::wstring& folder) {
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return paths;
}

bool write_corpus_files(const TempDir& dir) {
#ifdef ZK_FUZZ_CORPUS
    const std::wstring corpus = e2e::host_path(ZK_FUZZ_CORPUS);
    std::wstring files[4];
    int entries = 0;
    for (const std::wstring& path : corpus_files(corpus + L"\\kv_reader_fuzz")) {
        std::string bytes = e2e::read_file(path);
        if (bytes.empty()) continue;
        int kind = (bytes[0] & 3) == 0 ? 3 : (bytes[0] & 3);
        files[kind] += (bytes[0] & 0x20) ? decode_units(bytes, 1)
                                         : e2e::utf16le_text("\xFF\xFE" + bytes.substr(1));
        files[kind] += L"\r\n";
        ++entries;
    }
    for (const std::wstring& path : corpus_files(corpus + L"\\data_lines_fuzz")) {
        std::wstring line = decode_units(e2e::read_file(path), 0) + L"\r\n";
        for (int kind = 1; kind <= 3; ++kind) files[kind] += line;
        ++entries;
    }
    dir.write(L"zelko1.txt", e2e::utf16le_file(files[1]));
    dir.write(L"zelko2.txt", e2e::utf16le_file(files[2]));
    dir.write(L"zelko3.txt", e2e::utf16le_file(files[3]));
    return entries > 0;
#else
    (void)dir;
    return false;
#endif
}

// --- The run -----------------------------------------------------------------

class Robustness : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
        output_ = e2e::environment(L"ZK_PRINTER_OUTPUT");
        if (output_.empty()) GTEST_SKIP() << "ZK_PRINTER_OUTPUT is not set";
        if (e2e::default_printer() != kTestPrinter)
            GTEST_SKIP() << "the test printer is not the default printer";
    }

    struct Steps {
        int cards = 0;                 // cards in use after loading
        bool pages_known = true;       // the job has one page per card
        std::wstring legacy_layout;    // an older layout file to import first
        bool position_dialog = false;  // open the print position dialog
        bool save = false;             // answer Yes to the save question
    };

    // Starts the program in `dir`, runs `steps`, prints all cards, exits.
    void run(const char* name, const TempDir& dir, const Steps& steps) {
        const DWORD started = GetTickCount();
        App app(dir.path());
        ASSERT_TRUE(app.started());
        auto sample = [&] {
            SIZE_T now = app.peak_memory();
            if (now > peak_) peak_ = now;
        };
        ASSERT_TRUE(app.answer_printer_question(false)) << name;
        HWND main = app.wait_main_window();
        ASSERT_NE(main, nullptr) << name << ": no main window";
        ASSERT_TRUE(app.settle()) << name << ": the first paint did not end";
        sample();
        ASSERT_EQ(app.find_message_box(), nullptr) << name;

        if (!steps.legacy_layout.empty()) {
            app.post_command(60);
            HWND open = app.wait_dialog(L"ファイルの読込");
            ASSERT_NE(open, nullptr) << "no open dialog";
            HWND edit = GetDlgItem(open, 0x480);  // edt1, the file name
            if (!edit || !IsWindowVisible(edit)) edit = e2e::find_descendant(open, L"Edit");
            ASSERT_NE(edit, nullptr);
            ASSERT_TRUE(e2e::set_control_text(edit, dir.file(steps.legacy_layout)));
            ASSERT_TRUE(App::answer(open, IDOK));
            HWND box = app.wait_message_box();
            ASSERT_NE(box, nullptr) << "no import question";
            EXPECT_EQ(utf8(App::read_message_box(box).text),
                      utf8(L"データーはクリアしますが実行しますか？"));
            ASSERT_TRUE(App::answer(box, IDYES));
            ASSERT_TRUE(app.settle()) << name << ": the import's repaint did not end";
            sample();
            ASSERT_EQ(app.find_message_box(), nullptr);
        }

        // Every card once, round to the first again.
        for (int i = 0; i < steps.cards; ++i) {
            app.post_key(VK_RIGHT);
            ASSERT_TRUE(app.settle()) << name << ": card " << i + 2;
            sample();
        }
        screenshot(main, name);

        // A drag from where the default layout puts address line 0.
        app.post_mouse(WM_LBUTTONDOWN, MK_LBUTTON, kLineX, kLineY);
        for (int step = 1; step <= 3; ++step)
            app.post_mouse(WM_MOUSEMOVE, MK_LBUTTON, kLineX - 10 * step, kLineY + 15 * step);
        app.post_mouse(WM_LBUTTONUP, 0, kLineX - 30, kLineY + 45);
        ASSERT_TRUE(app.settle()) << name << ": the drag did not end";
        sample();

        if (steps.position_dialog) {
            app.post_command(65);
            HWND position = app.wait_dialog(L"印刷の位置設定");
            ASSERT_NE(position, nullptr) << "no print position dialog";
            ASSERT_TRUE(app.settle());
            sample();
            ASSERT_TRUE(App::answer(position, IDC_PP_CANCEL));
        }

        // All cards on the test printer.
        DeleteFileW(output_.c_str());
        app.post_key('P');
        HWND print = app.wait_other_dialog();
        ASSERT_NE(print, nullptr) << "no print dialog";
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(print, kPrintAll), BM_CLICK, 0, 0,
                                        SMTO_ABORTIFHUNG, 2000, &ignored));
        ASSERT_TRUE(App::answer(print, IDOK));
        HWND confirm = app.wait_message_box();
        ASSERT_NE(confirm, nullptr) << "no print confirmation";
        EXPECT_EQ(utf8(App::read_message_box(confirm).caption), "PageSize");
        ASSERT_TRUE(App::answer(confirm, IDYES));
        std::string ps;
        bool printed = e2e::wait_until([&] {
            sample();
            ps = e2e::read_file(output_);
            return ps.find("%%EOF") != std::string::npos && IsWindowEnabled(main);
        }, e2e::kJobTimeout);
        ASSERT_TRUE(printed) << name << ": the job did not end";
        if (steps.pages_known)
            EXPECT_EQ(count_pages(ps), steps.cards) << name << ": one page per card";
        else
            EXPECT_GT(count_pages(ps), 0) << name;

        // Exit; a printed card asks to save.
        sample();
        app.post_close();
        HWND question = app.wait_message_box();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(utf8(App::read_message_box(question).text), utf8(L"終了しますか？"));
        ASSERT_TRUE(App::answer(question, IDYES));
        bool ended = e2e::wait_until([&] {
            sample();
            if (HWND save = app.find_message_box()) {
                EXPECT_EQ(utf8(App::read_message_box(save).text), utf8(L"保存しますか？"));
                App::answer(save, steps.save ? IDYES : IDNO);
            }
            return !app.running();
        }, e2e::kWaitTimeout);
        ASSERT_TRUE(ended) << name << ": the program did not end";
        DWORD code = 99;
        ASSERT_TRUE(app.wait_exit(&code));
        EXPECT_EQ(code, 0u);

        const DWORD took = GetTickCount() - started;
        std::printf("[ robustness ] %-10s %5lu ms, peak %4lu MB\n", name,
                    static_cast<unsigned long>(took), static_cast<unsigned long>(peak_ >> 20));
        std::fflush(stdout);
        EXPECT_LE(took, kRunBound) << name;
        EXPECT_GT(peak_, 0u) << "the system reported no memory use";
        EXPECT_LE(peak_, kMemoryBound) << name;
    }

    void screenshot(HWND window, const char* name) {
        if (e2e::environment(L"ZK_ARTIFACTS").empty()) return;
        std::string file = std::string("robustness_") + name + ".bmp";
        EXPECT_TRUE(e2e::capture_window(window, std::wstring(file.begin(), file.end())));
    }

    std::wstring output_;
    SIZE_T peak_ = 0;
};

TEST_F(Robustness, SaneFolderForComparison) {
    TempDir dir(L"robust-sane");
    dir.write(L"zelko1.txt", e2e::utf16le_file(full_senders()));
    dir.write(L"zelko2.txt", e2e::utf16le_file(full_addressees(3)));
    Steps steps;
    steps.cards = 3;
    run("sane", dir, steps);
}

TEST_F(Robustness, AbsurdFontsPositionsAndFullTextsAreDrawnPrintedAndKept) {
    TempDir dir(L"robust-fonts");
    dir.write(L"zelko1.txt", e2e::utf16le_file(full_senders()));
    dir.write(L"zelko2.txt", e2e::utf16le_file(full_addressees(4)));
    // Card 1 with fonts at the 32-bit limits at the usual places (the drag
    // picks up one of its lines), card 2 in the tens of thousands at the
    // 32-bit limits, card 3 with 30000 units, card 4 at the far corner.
    const std::wstring layouts =
        L"hdata_cont_max=4\r\n" +
        font_lines(0, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, kUnknownFace) +
        font_lines(1, 45000, 60000, -900, -900, -5, L"") +
        position_lines(1, INT32_MIN, INT32_MIN, INT32_MAX) +
        font_lines(2, 30000, 0, -900, -900, 400, L"") +
        font_lines(3, -30000, 30000, 2700, 900, 2000, kUnknownFace) +
        position_lines(3, INT32_MAX, INT32_MAX, INT32_MIN) + L"bmp_mode=1\r\n";
    dir.write(L"zelko3.txt", e2e::utf16le_file(layouts));
    Steps steps;
    steps.cards = 4;
    steps.save = true;
    run("fonts", dir, steps);

    // The stored values are written back as they were read.
    const std::wstring saved = e2e::utf16le_text(dir.read(L"zelko3.txt"));
    const std::vector<std::wstring> kept = {
        L"hdata[0].tn.lf.lfHeight=-2147483648\r\n", L"hdata[0].ta.lf.lfWidth=2147483647\r\n",
        L"hdata[0].fn.lf.lfFaceName=" + kUnknownFace + L"\r\n", L"hdata[1].fa.lf.lfWeight=-5\r\n",
        L"hdata[2].tt.lf.lfHeight=30000\r\n", L"hdata[3].ft.x2=2147483647\r\n"};
    for (const std::wstring& line : kept)
        EXPECT_NE(saved.find(line), std::wstring::npos) << utf8(line);
}

TEST_F(Robustness, CardsWithoutSizeAndBrokenBitmapsShowAndPrintWhatTheyCan) {
    TempDir dir(L"robust-cards");
    write_hostile_bitmaps(dir);
    dir.write(L"zelko1.txt", e2e::utf16le_file(full_senders()));
    dir.write(L"zelko2.txt", e2e::utf16le_file(full_addressees(8)));
    const std::wstring layouts =
        L"hdata_cont_max=8\r\n" + card_size_lines(0, 0, 0, L"huge.bmp") +
        card_size_lines(1, -400, -592, L"truncated.bmp") +
        card_size_lines(2, INT32_MAX, INT32_MAX, L"small.bmp") +
        card_size_lines(3, 400, 592, L"huge.bmp") + card_size_lines(4, 400, 592, L"truncated.bmp") +
        card_size_lines(5, 400, 592, L"notbmp.bmp") +
        card_size_lines(6, 1, INT32_MIN, L"empty.bmp") + card_size_lines(7, 400, 592, L"bomb.bmp") +
        L"bmp_mode=1\r\nbase_pw=2147483647\r\nbase_ph=-2147483648\r\nbase_px=2147483647\r\n"
        L"base_py=-2147483648\r\nprn_mode=7\r\nstart_p=-5\r\nstop_p=2147483647\r\n";
    dir.write(L"zelko3.txt", e2e::utf16le_file(layouts));
    Steps steps;
    steps.cards = 8;
    steps.position_dialog = true;
    run("cards", dir, steps);
}

TEST_F(Robustness, DataFilesFromTheFuzzCorporaLoadAndPrint) {
    TempDir dir(L"robust-fuzz");
    if (!write_corpus_files(dir)) GTEST_SKIP() << "no fuzz corpus";
    // Which cards the corpus files leave in use is the program's business:
    // a few steps visit them, the job prints what is in use.
    Steps steps;
    steps.cards = 3;
    steps.pages_known = false;
    run("fuzz", dir, steps);
}

TEST_F(Robustness, OlderLayoutFileWithAbsurdValuesImportsAndPrints) {
    TempDir dir(L"robust-legacy");
    write_hostile_bitmaps(dir);
    dir.write(L"zelko1.txt", e2e::utf16le_file(full_senders()));
    dir.write(L"zelko2.txt", e2e::utf16le_file(full_addressees(3)));
    std::wstring old = L"base_w=0\r\nbase_h=-1\r\nbmp_mode=1\r\n";
    const wchar_t* const letters[] = {L"t", L"a", L"n", L"y", L"d", L"m"};
    for (int i = 0; i < 3; ++i) {
        std::wstring p = L"base_dt[" + num(i) + L"].";
        old += p + L"base_filepass=" + (i == 1 ? L"bomb.bmp" : L"truncated.bmp") + L"\r\n";
        for (const wchar_t* letter : letters) {
            std::wstring lf = p + letter + L"lf.";
            old += lf + L"lfHeight=" + num(i == 2 ? 30000 : INT32_MIN) + L"\r\n" + lf +
                   L"lfWidth=2147483647\r\n" + lf + L"lfEscapement=-2147483648\r\n" + lf +
                   L"lfWeight=99999\r\n" + lf + L"lfFaceName=" + kUnknownFace + L"\r\n";
        }
        for (const wchar_t* key : {L"x1", L"y1", L"x3", L"y3", L"axy[0].x", L"nxy[4].y", L"dxy[1].x",
                                   L"mxy[0].y"})
            old += p + key + L"=" + num(i == 0 ? INT32_MAX : INT32_MIN) + L"\r\n";
        old += p + L"w1=2147483647\r\n" + p + L"w4=-2147483648\r\n";
    }
    dir.write(L"old.txt", e2e::utf16le_file(old));
    Steps steps;
    steps.cards = 3;
    steps.legacy_layout = L"old.txt";
    run("legacy", dir, steps);
}

}  // namespace
