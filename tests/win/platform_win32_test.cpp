// The Win32 implementation of the platform seam against the real file
// system, current directory and window manager (run under Wine).
#include "platform/platform_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/resource_ids.h"

namespace {

const char16_t* u(const std::wstring& s) { return reinterpret_cast<const char16_t*>(s.c_str()); }

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
public:
    // Process ids are reused, so a name already taken is skipped.
    TempFolder() {
        static unsigned counter = 0;
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        do {
            path_ = std::wstring(base) + L"zk_win_" + std::to_wstring(GetCurrentProcessId()) +
                    L"_" + std::to_wstring(++counter);
        } while (!CreateDirectoryW(path_.c_str(), nullptr) &&
                 GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ~TempFolder() {
        for (const auto& name : names()) {
            std::wstring p = file(name);
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(p.c_str())) RemoveDirectoryW(p.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

    std::vector<std::wstring> names() const {
        std::vector<std::wstring> out;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return out;
        do {
            std::wstring n = found.cFileName;
            if (n != L"." && n != L"..") out.push_back(n);
        } while (FindNextFileW(h, &found));
        FindClose(h);
        std::sort(out.begin(), out.end());
        return out;
    }

    void write(const std::wstring& name, const std::string& bytes) const {
        HANDLE h = CreateFileW(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }

private:
    std::wstring path_;
};

// The whole content through the seam's reading calls, in small pieces.
std::string read_through_seam(const std::wstring& path, size_t piece = 3) {
    Platform& os = win32_platform();
    FileHandle f = os.open_for_read(u(path));
    if (!f) return "<cannot open>";
    std::string out;
    std::vector<char> buffer(piece);
    for (;;) {
        size_t got = os.read(f, buffer.data(), piece);
        if (got == 0) break;
        out.append(buffer.data(), got);
    }
    EXPECT_TRUE(os.close(f));
    return out;
}

const std::string kContent("\xFF\xFE" "f\0d\0a\0\r\0\n\0\0\0", 14);

TEST(ReplaceFileTest, CreatesTheFileWithExactlyTheBytesGiven) {
    TempFolder dir;
    std::wstring target = dir.file(L"zelko1.txt");
    ASSERT_TRUE(win32_platform().replace_file(u(target), kContent.data(), kContent.size()));
    EXPECT_EQ(read_through_seam(target), kContent);
    EXPECT_EQ(dir.names(), std::vector<std::wstring>{L"zelko1.txt"});
}

TEST(ReplaceFileTest, ReplacesLongerAndShorterContentWithoutLeftovers) {
    TempFolder dir;
    std::wstring target = dir.file(L"zelko2.txt");
    dir.write(L"zelko2.txt", std::string(5000, 'x'));
    ASSERT_TRUE(win32_platform().replace_file(u(target), kContent.data(), kContent.size()));
    EXPECT_EQ(read_through_seam(target), kContent);

    std::string big(3 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(win32_platform().replace_file(u(target), big.data(), big.size()));
    EXPECT_EQ(read_through_seam(target, 65536), big);

    ASSERT_TRUE(win32_platform().replace_file(u(target), "", 0));
    EXPECT_EQ(read_through_seam(target), "");
    EXPECT_EQ(dir.names(), std::vector<std::wstring>{L"zelko2.txt"});
}

TEST(ReplaceFileTest, ReadOnlyTargetIsLeftAloneAndNoTemporaryFileRemains) {
    TempFolder dir;
    std::wstring target = dir.file(L"zelko1.txt");
    dir.write(L"zelko1.txt", "old content");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(win32_platform().replace_file(u(target), kContent.data(), kContent.size()));
    EXPECT_EQ(read_through_seam(target), "old content");
    EXPECT_EQ(dir.names(), std::vector<std::wstring>{L"zelko1.txt"});
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(ReplaceFileTest, MissingFolderOrAFolderAsTargetFails) {
    TempFolder dir;
    std::wstring missing = dir.file(L"no_such_folder\\zelko1.txt");
    EXPECT_FALSE(win32_platform().replace_file(u(missing), kContent.data(), kContent.size()));
    EXPECT_TRUE(dir.names().empty());

    ASSERT_TRUE(CreateDirectoryW(dir.file(L"sub").c_str(), nullptr));
    EXPECT_FALSE(win32_platform().replace_file(u(dir.file(L"sub")), "x", 1));
    EXPECT_EQ(dir.names(), std::vector<std::wstring>{L"sub"});
}

TEST(ReplaceFileTest, TargetHeldOpenWithoutSharingIsLeftAlone) {
    TempFolder dir;
    std::wstring target = dir.file(L"zelko3.txt");
    dir.write(L"zelko3.txt", "held");
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(win32_platform().replace_file(u(target), kContent.data(), kContent.size()));
    CloseHandle(held);
    EXPECT_EQ(read_through_seam(target), "held");
    EXPECT_EQ(dir.names(), std::vector<std::wstring>{L"zelko3.txt"});
}

TEST(ReplaceFileTest, AStaleTemporaryFileIsNeitherReusedNorRemoved) {
    TempFolder dir;
    std::wstring target = dir.file(L"zelko1.txt");
    dir.write(L"zelko1.txt.zktmp", "someone else's");
    ASSERT_TRUE(win32_platform().replace_file(u(target), kContent.data(), kContent.size()));
    EXPECT_EQ(read_through_seam(target), kContent);
    EXPECT_EQ(read_through_seam(dir.file(L"zelko1.txt.zktmp")), "someone else's");
    EXPECT_EQ(dir.names(), (std::vector<std::wstring>{L"zelko1.txt", L"zelko1.txt.zktmp"}));
}

TEST(ReplaceFileTest, BareNameIsResolvedInTheCurrentDirectory) {
    TempFolder dir;
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
    bool ok = win32_platform().replace_file(u"bare.txt", "abc", 3);
    SetCurrentDirectoryW(before);
    ASSERT_TRUE(ok);
    EXPECT_EQ(read_through_seam(dir.file(L"bare.txt")), "abc");
}

TEST(OpenForRead, MissingFileSharedOpenAndReadErrors) {
    TempFolder dir;
    Platform& os = win32_platform();
    EXPECT_EQ(os.open_for_read(u(dir.file(L"missing.txt"))), nullptr);

    dir.write(L"a.txt", "12345");
    // A spreadsheet keeps the file it shows open for writing and lets others
    // read it: it is read all the same.
    HANDLE excel = CreateFileW(dir.file(L"a.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(excel, INVALID_HANDLE_VALUE);
    FileHandle first = os.open_for_read(u(dir.file(L"a.txt")));
    ASSERT_NE(first, nullptr);
    char buffer[8];
    size_t got = 99;
    EXPECT_TRUE(os.read_checked(first, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 5u);
    EXPECT_TRUE(os.read_checked(first, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 0u) << "end of file";
    EXPECT_TRUE(os.close(first));
    CloseHandle(excel);

    // A file another program holds without sharing cannot be opened.
    HANDLE exclusive = CreateFileW(dir.file(L"a.txt").c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(os.open_for_read(u(dir.file(L"a.txt"))), nullptr);
    CloseHandle(exclusive);

    // A failing read is told from the end of the file.
    HANDLE write_only = CreateFileW(dir.file(L"a.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(write_only, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(os.read_checked(write_only, buffer, sizeof buffer, &got));
    EXPECT_EQ(os.read(write_only, buffer, sizeof buffer), 0u);
    CloseHandle(write_only);
}

TEST(CurrentDirectory, RoundTripAndFailures) {
    TempFolder dir;
    Platform& os = win32_platform();
    char16_t before[260];
    ASSERT_TRUE(os.get_current_directory(before, 260));

    ASSERT_TRUE(os.set_current_directory(u(dir.path())));
    char16_t now[260];
    ASSERT_TRUE(os.get_current_directory(now, 260));
    EXPECT_EQ(_wcsicmp(reinterpret_cast<wchar_t*>(now), dir.path().c_str()), 0);

    // A buffer too small for the path fails and leaves an empty text.
    char16_t tiny[4] = {u'x', u'x', u'x', 0};
    EXPECT_FALSE(os.get_current_directory(tiny, 4));
    EXPECT_EQ(tiny[0], 0);

    EXPECT_FALSE(os.set_current_directory(u(dir.file(L"no_such_folder"))));
    ASSERT_TRUE(os.get_current_directory(now, 260));
    EXPECT_EQ(_wcsicmp(reinterpret_cast<wchar_t*>(now), dir.path().c_str()), 0);

    EXPECT_TRUE(os.set_current_directory(before));
}

TEST(PathExists, FilesAndFolders) {
    TempFolder dir;
    dir.write(L"zelko1.txt", "x");
    Platform& os = win32_platform();
    EXPECT_TRUE(os.path_exists(u(dir.file(L"zelko1.txt"))));
    EXPECT_TRUE(os.path_exists(u(dir.path())));
    EXPECT_FALSE(os.path_exists(u(dir.file(L"zelko2.txt"))));
}

TEST(LocalTime, MatchesTheSystemClock) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    LocalTime now = win32_platform().local_time();
    EXPECT_EQ(now.year, t.wYear);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
}

std::wstring window_text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

TEST(WaitWindow, ShowsTheFileAccessTextsCentredAndCloses) {
    Platform& os = win32_platform();
    os.show_wait_window(nullptr);
    HWND wait = static_cast<HWND>(wait_window());
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(IsWindowVisible(wait));
    EXPECT_EQ(window_text(wait), L"Zelkovane");
    EXPECT_EQ(window_text(GetDlgItem(wait, IDC_WAIT_BUSY)), L"ただ今！ファイル読み書き中で～す。");
    EXPECT_EQ(window_text(GetDlgItem(wait, IDC_WAIT_PLEASE)), L"数秒お待ち下さい！。");
    EXPECT_EQ(window_text(GetDlgItem(wait, IDC_WAIT_ACCESS)), L"ファイルアクセス中！");
    RECT r;
    GetWindowRect(wait, &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // Showing it again replaces it rather than stacking a second one.
    os.show_wait_window(nullptr);
    HWND second = static_cast<HWND>(wait_window());
    EXPECT_FALSE(IsWindow(wait) && wait != second);

    os.close_wait_window();
    EXPECT_EQ(wait_window(), nullptr);
    EXPECT_FALSE(IsWindow(second));
    os.close_wait_window();  // closing again is harmless
}

TEST(WaitWindow, OwnedByAWindowThatGoesAwayFirst) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    Platform& os = win32_platform();
    os.show_wait_window(owner);
    HWND wait = static_cast<HWND>(wait_window());
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(GetWindow(wait, GW_OWNER), owner);
    DestroyWindow(owner);  // destroys the owned wait window too
    os.close_wait_window();
    EXPECT_EQ(wait_window(), nullptr);
}

}  // namespace

namespace {

TEST(DecodeCodePage, ShiftJisTextAndBytesThatAreNoCharacter) {
    Platform& p = win32_platform();
    const char shift_jis[] = "\x8E\x52\x93\x63,\xB1\r\n";  // 山田,ｱ CR LF
    char16_t out[16] = {};
    int n = p.decode_code_page(932, shift_jis, 8, out, 16);
    ASSERT_EQ(n, 6);
    EXPECT_TRUE(std::u16string(out, 6) == u"山田,ｱ\r\n");

    // A lead byte with no valid second byte still gives units, never more
    // than one per byte, and the text behind it is read.
    const char broken[] = "\x81\xFF" "A";
    n = p.decode_code_page(932, broken, 3, out, 16);
    ASSERT_GT(n, 0);
    EXPECT_LE(n, 3);
    EXPECT_EQ(out[n - 1], u'A');

    EXPECT_EQ(p.decode_code_page(932, shift_jis, 0, out, 16), 0);
    EXPECT_EQ(p.decode_code_page(932, shift_jis, 8, out, 2), -1);  // does not fit
}

}  // namespace
