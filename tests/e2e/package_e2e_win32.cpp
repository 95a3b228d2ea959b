// The Windows package as a user gets it: unpacked into a folder of its own
// (named by ZK_PACKAGE_DIR), started from there with no data files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::utf8;
using e2e::expect_message_box;

namespace {

// Size of a file, -1 when it does not exist.
long long file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The first bytes of a file ("" when it cannot be read).
std::string head(const std::wstring& path, DWORD count) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes(count, '\0');
    DWORD read = 0;
    if (!ReadFile(file, &bytes[0], count, &read, nullptr)) read = 0;
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Points ZK_EXE, which the driver starts, at the package's own program for
// the length of a test.
class ExeOverride {
public:
    explicit ExeOverride(const std::wstring& exe) : old_(e2e::environment(L"ZK_EXE")) {
        SetEnvironmentVariableW(L"ZK_EXE", exe.c_str());
    }
    ~ExeOverride() { SetEnvironmentVariableW(L"ZK_EXE", old_.empty() ? nullptr : old_.c_str()); }

private:
    std::wstring old_;
};

// Pixels of the postal code boxes' red in the top of the preview: the
// sample background is drawn under the empty card.
int red_pixels(HWND main) {
    const RECT area{10, 50, 410, 250};
    std::string pixels = e2e::client_pixels(main, area);
    int red = 0;
    for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
        unsigned char b = pixels[i], g = pixels[i + 1], r = pixels[i + 2];
        if (r > 170 && g < 110 && b < 110) ++red;
    }
    return red;
}

TEST(Package, StartsInItsFolderWithAnEmptyBookAndKeepsItsDataThere) {
    const std::wstring dir = e2e::environment(L"ZK_PACKAGE_DIR");
    if (dir.empty()) GTEST_SKIP() << "ZK_PACKAGE_DIR is not set";
    const std::wstring readme = L"はじめにお読みください.txt";
    for (const wchar_t* name : {L"Zelkovane.exe", L"Zelkovane_manual.pdf", L"base1.bmp",
                                L"yousi.gdt", readme.c_str()})
        EXPECT_GT(file_size(dir + L"\\" + name), 0) << utf8(name) << " is in the package";
    EXPECT_EQ(head(dir + L"\\" + readme, 2), "\xff\xfe") << "Notepad reads it as UTF-16";
    const wchar_t* data_files[] = {L"zelko1.txt", L"zelko2.txt", L"zelko3.txt"};
    for (const wchar_t* name : data_files)
        ASSERT_EQ(file_size(dir + L"\\" + name), -1) << "no sample data in the package";

    ExeOverride exe(dir + L"\\Zelkovane.exe");
    App app(dir);
    ASSERT_TRUE(app.started());
    HWND main = app.start();
    ASSERT_NE(main, nullptr) << "the printer question, then the main window";
    ASSERT_TRUE(app.settle());
    EXPECT_EQ(app.find_message_box(), nullptr) << "a first start shows no message";
    EXPECT_GT(red_pixels(main), 200) << "the empty card shows the sample background";
    EXPECT_TRUE(e2e::capture_window(main, L"package_main_window.bmp"));

    // ヘルプ opens Zelkovane_manual.pdf from the working folder, which is
    // the package's folder.
    EXPECT_EQ(head(dir + L"\\Zelkovane_manual.pdf", 5), "%PDF-");

    // The print position dialog marks the document changed, so the exit
    // offers to save; the three data files then appear in the folder.
    app.post_command(65);
    HWND position = app.wait_dialog(L"印刷の位置設定");
    ASSERT_NE(position, nullptr);
    ASSERT_TRUE(App::answer(position, 107));  // "OK"
    ASSERT_TRUE(app.settle());
    app.post_close();
    HWND box = expect_message_box(app, L"Zelkovane", L"終了しますか？");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(App::answer(box, IDYES));
    box = expect_message_box(app, L"ファイル書込確認", L"保存しますか？");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(App::answer(box, IDYES));
    DWORD code = 99;
    ASSERT_TRUE(app.wait_exit(&code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
    for (const wchar_t* name : data_files)
        EXPECT_EQ(head(dir + L"\\" + name, 2), "\xff\xfe") << utf8(name) << " written at exit";
}

}  // namespace
