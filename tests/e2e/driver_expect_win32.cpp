// The driver's helpers that check with GoogleTest's expectations: only the
// end-to-end tests link them (the print benchmark uses the driver without
// GoogleTest).
#include <gtest/gtest.h>

#include "tests/e2e/driver_win32.h"

namespace e2e {

std::wstring sample_picture(const wchar_t* name) {
#ifdef ZK_SAMPLE_IMAGES
    return host_path(ZK_SAMPLE_IMAGES) + L"\\" + name;
#else
    (void)name;
    return L"";
#endif
}

HWND expect_message_box(const App& app, const std::wstring& caption, const std::wstring& text) {
    HWND box = app.wait_message_box();
    EXPECT_NE(box, nullptr) << "no message box \"" << utf8(text) << "\"";
    if (!box) return nullptr;
    MessageBoxText shown = App::read_message_box(box);
    EXPECT_EQ(utf8(shown.caption), utf8(caption));
    EXPECT_EQ(utf8(shown.text), utf8(text));
    return box;
}

bool answer(const App& app, const std::wstring& caption, const std::wstring& text, int button) {
    HWND box = expect_message_box(app, caption, text);
    return box && App::answer(box, button);
}

bool open_in_file_dialog(const App& app, const std::wstring& caption, const std::wstring& path) {
    HWND dialog = app.wait_dialog(caption);
    EXPECT_NE(dialog, nullptr) << "no file dialog " << utf8(caption);
    if (!dialog) return false;
    HWND edit = GetDlgItem(dialog, 0x480);  // edt1, the file name
    if (!edit || !IsWindowVisible(edit)) edit = find_descendant(dialog, L"Edit");
    EXPECT_NE(edit, nullptr) << "no file name field";
    return edit && set_control_text(edit, path) && App::answer(dialog, IDOK);
}

void screenshot(HWND window, const wchar_t* name) {
    if (environment(L"ZK_ARTIFACTS").empty()) return;
    EXPECT_TRUE(capture_window(window, name)) << utf8(name);
}

}  // namespace e2e
