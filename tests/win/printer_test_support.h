// Helpers of the Windows printing tests: the test printer of the Wine
// prefix ("Zelkovane Test Printer", a PostScript printer writing into a
// Unix file), its default device mode read and written directly through the
// spooler, and a platform that records message boxes instead of showing
// them, so that no test can hang on a modal box.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "platform/platform_win32.h"
#include "tests/e2e/driver_win32.h"

namespace printer_test {

const wchar_t kTestPrinter[] = L"Zelkovane Test Printer";

// The default printer and its paper, read and written through the spooler
// by the helpers the end-to-end driver has for the same purpose.
using e2e::default_paper;
using e2e::default_printer;
using e2e::Paper;
using e2e::printer_info;
using e2e::set_default_paper;

// The file the test printer writes: its port is a Unix path, seen by
// Windows programs on drive Z:.
inline std::wstring output_file(const wchar_t* name) {
    std::vector<BYTE> buffer = printer_info(name);
    if (buffer.empty()) return {};
    const wchar_t* port = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pPortName;
    if (port == nullptr || port[0] != L'/') return {};
    std::wstring path = L"Z:";
    for (const wchar_t* p = port; *p; ++p) path += *p == L'/' ? L'\\' : *p;
    return path;
}

inline std::string read_file(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string out;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) out.append(chunk, got);
    CloseHandle(h);
    return out;
}

inline bool write_file(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(h);
    return ok;
}

inline std::string utf8(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), &out[0], n, nullptr,
                            nullptr);
    return out;
}

// Lines of a PostScript file that begin with `prefix`.
inline int count_lines(const std::string& text, const std::string& prefix) {
    int n = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (text.compare(at, prefix.size(), prefix) == 0) ++n;
        at = end + 1;
    }
    return n;
}

// The Win32 platform with its message boxes recorded and answered, not
// shown: a box a test does not expect would otherwise wait forever.
class RecordingPlatform final : public Platform {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
    };
    std::vector<Box> boxes;
    int answer_yes_no = IDNO;

    RecordingPlatform() : real_(win32_platform()) { set_platform(this); }
    ~RecordingPlatform() override { set_platform(&real_); }

    int message_box(WindowHandle, const char16_t* text, const char16_t* caption,
                    unsigned style) override {
        boxes.push_back({reinterpret_cast<const wchar_t*>(text),
                         reinterpret_cast<const wchar_t*>(caption)});
        return (style & 0xF) == MB_YESNO ? answer_yes_no : IDOK;
    }
    bool file_dialog(WindowHandle owner, FileDialogRequest& r) override {
        return real_.file_dialog(owner, r);
    }
    bool get_current_directory(char16_t* out, int cap) override {
        return real_.get_current_directory(out, cap);
    }
    bool set_current_directory(const char16_t* path) override {
        return real_.set_current_directory(path);
    }
    bool path_exists(const char16_t* path) override { return real_.path_exists(path); }
    FileHandle open_for_read(const char16_t* path) override { return real_.open_for_read(path); }
    size_t read(FileHandle f, void* buffer, size_t bytes) override {
        return real_.read(f, buffer, bytes);
    }
    bool close(FileHandle f) override { return real_.close(f); }
    bool replace_file(const char16_t* path, const void* data, size_t bytes) override {
        return real_.replace_file(path, data, bytes);
    }
    LocalTime local_time() override { return real_.local_time(); }
    void show_wait_window(WindowHandle owner) override { real_.show_wait_window(owner); }
    void close_wait_window() override { real_.close_wait_window(); }

private:
    Platform& real_;
};

}  // namespace printer_test
