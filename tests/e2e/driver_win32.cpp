#include "tests/e2e/driver_win32.h"

#include <psapi.h>

#include <winspool.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace e2e {

namespace {

// The text control of a message box.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    DWORD pid;
    const wchar_t* class_name;
    bool message_box_only;
    const wchar_t* caption;  // nullptr: any
    HWND found;
    bool no_message_box = false;
};

BOOL CALLBACK find_window_of_process(HWND window, LPARAM param) {
    Search& s = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s.pid || !IsWindowVisible(window)) return TRUE;
    if (class_name(window) != s.class_name) return TRUE;
    if (s.message_box_only && !GetDlgItem(window, kMessageBoxTextId)) return TRUE;
    if (s.no_message_box && GetDlgItem(window, kMessageBoxTextId)) return TRUE;
    // The caption as the window manager keeps it: a window whose thread is
    // busy (the printer notice) does not answer WM_GETTEXT.
    if (s.caption) {
        wchar_t caption[256] = {};
        GetWindowTextW(window, caption, 256);
        if (s.caption != std::wstring(caption)) return TRUE;
    }
    s.found = window;
    return FALSE;
}

HWND find_window(DWORD pid, const wchar_t* cls, bool message_box_only,
                 const wchar_t* caption = nullptr) {
    Search s{pid, cls, message_box_only, caption, nullptr};
    EnumWindows(find_window_of_process, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// WM_GETTEXT works across processes where GetWindowText does not for
// controls.
std::wstring control_text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeout, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_NORMAL, kSendTimeout, &copied))
        return L"";
    text.resize(copied);
    return text;
}

}  // namespace

std::wstring environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return L"";
    return buffer;
}

std::string utf8(const std::wstring& s) {
    if (s.empty()) return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::string utf16le_file(const std::wstring& text) {
    std::string out("\xFF\xFE", 2);
    for (wchar_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
    }
    return out;
}

std::wstring utf16le_text(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE", 2) != 0) return L"";
    std::wstring out;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        out += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                    (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

std::wstring host_path(const std::string& unix_path) {
    std::wstring out = L"Z:";
    for (char c : unix_path) out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return out;
}

std::wstring window_text(HWND window) { return control_text(window); }

std::wstring class_name(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

// --- TempDir ----------------------------------------------------------------

TempDir::TempDir(const std::wstring& tag) {
    // Process ids are reused, so a name already taken is skipped.
    static unsigned counter = 0;
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    do {
        path_ = std::wstring(base) + L"zk_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter) + L"_" + tag;
    } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempDir::~TempDir() { remove_tree(L""); }

// Removes the folder `sub` (the whole folder for "") with everything in it.
void TempDir::remove_tree(const std::wstring& sub) const {
    for (const auto& name : names(sub)) {
        std::wstring child = sub.empty() ? name : sub + L"\\" + name;
        SetFileAttributesW(file(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(file(child).c_str())) remove_tree(child);
    }
    RemoveDirectoryW(sub.empty() ? path_.c_str() : file(sub).c_str());
}

void TempDir::write(const std::wstring& name, const std::string& bytes) const {
    HANDLE h = CreateFileW(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::string TempDir::read(const std::wstring& name) const {
    HANDLE h = CreateFileW(file(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(h);
    return out;
}

bool TempDir::exists(const std::wstring& name) const {
    return GetFileAttributesW(file(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> TempDir::names(const std::wstring& sub) const {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(((sub.empty() ? path_ : file(sub)) + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        std::wstring n = found.cFileName;
        if (n != L"." && n != L"..") out.push_back(n);
    } while (FindNextFileW(h, &found));
    FindClose(h);
    std::sort(out.begin(), out.end());
    return out;
}

unsigned long long TempDir::write_time(const std::wstring& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file(name).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

void TempDir::set_read_only(const std::wstring& name, bool read_only) const {
    SetFileAttributesW(file(name).c_str(),
                       read_only ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool TempDir::copy_in(const std::wstring& source, const std::wstring& name) const {
    return CopyFileW(source.c_str(), file(name).c_str(), FALSE) != FALSE;
}

std::string read_file(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(h);
    return out;
}

// --- App --------------------------------------------------------------------

App::App(const std::wstring& working_dir) {
    std::wstring exe = environment(L"ZK_EXE");
    if (exe.empty()) return;
    std::wstring command_line = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        working_dir.c_str(), &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
}

App::~App() {
    kill();
}

bool App::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND App::wait_main_window(DWORD timeout) {
    if (!process_) return nullptr;
    wait_until([&] {
        main_ = find_window(pid_, L"Main Window", false);
        return main_ != nullptr || !running();
    }, timeout);
    return main_;
}

bool App::answer_printer_question(bool switch_to_postcard) {
    HWND box = wait_message_box(kStartTimeout);
    if (!box) return false;
    MessageBoxText shown = read_message_box(box);
    if (shown.caption != kPrinterCaption || shown.text != kPrinterQuestion) return false;
    return answer(box, switch_to_postcard ? IDYES : IDNO);
}

HWND App::start(bool switch_to_postcard) {
    if (!answer_printer_question(switch_to_postcard)) return nullptr;
    return wait_main_window();
}

HWND App::wait_notice(DWORD timeout) const {
    HWND notice = nullptr;
    if (!process_) return nullptr;
    wait_until([&] {
        Search s{pid_, L"#32770", false, kPrinterCaption, nullptr};
        s.no_message_box = true;
        EnumWindows(find_window_of_process, reinterpret_cast<LPARAM>(&s));
        notice = s.found;
        return notice != nullptr || !running();
    }, timeout);
    return notice;
}

std::wstring App::notice_text(HWND notice) {
    wchar_t text[512] = {};
    HWND control = GetDlgItem(notice, 301);
    if (!control) return L"";
    GetWindowTextW(control, text, 512);
    return text;
}

HWND App::find_message_box() const {
    if (!process_) return nullptr;
    return find_window(pid_, L"#32770", true);
}

HWND App::wait_message_box(DWORD timeout) const {
    HWND box = nullptr;
    wait_until([&] {
        box = find_message_box();
        return box != nullptr || !running();
    }, timeout);
    return box;
}

HWND App::wait_dialog(const std::wstring& caption, DWORD timeout) const {
    HWND dialog = nullptr;
    if (!process_) return nullptr;
    wait_until([&] {
        dialog = find_window(pid_, L"#32770", false, caption.c_str());
        return dialog != nullptr || !running();
    }, timeout);
    return dialog;
}

HWND App::wait_other_dialog(DWORD timeout) const {
    HWND dialog = nullptr;
    if (!process_) return nullptr;
    wait_until([&] {
        Search s{pid_, L"#32770", false, nullptr, nullptr};
        s.no_message_box = true;
        EnumWindows(find_window_of_process, reinterpret_cast<LPARAM>(&s));
        dialog = s.found;
        return dialog != nullptr || !running();
    }, timeout);
    return dialog;
}

MessageBoxText App::read_message_box(HWND box) {
    return {window_text(box), window_text(GetDlgItem(box, kMessageBoxTextId))};
}

bool App::answer(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    if (!control) return false;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    return wait_until([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kWaitTimeout);
}

void App::post_close() const {
    PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void App::post_command(int id) const {
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void App::post_menu_key(wchar_t mnemonic) const {
    PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
}

void App::post_key(int virtual_key) const {
    UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    PostMessageW(main_, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
    PostMessageW(main_, WM_KEYUP, virtual_key, 1 | (scan << 16) | (3u << 30));
}

void App::post_mouse(UINT message, WPARAM keys, int x, int y) const {
    PostMessageW(main_, message, keys, MAKELPARAM(x, y));
}

bool App::settle(DWORD timeout) const {
    // A thread serves the messages sent to it before its posted ones, so one
    // sent message can be answered while a posted one still waits. The
    // second is sent only after the first was answered, when the thread is
    // already on its way to the posted messages: it is answered once they
    // have been handled. A program that has not served its queue for a few
    // seconds (its start-up on a busy machine: the printer switch, the
    // notice) counts as hung; it is still waited for, up to `timeout`.
    DWORD_PTR result = 0;
    for (int round = 0; round < 2; ++round) {
        if (!main_ || !SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &result))
            return false;
    }
    return true;
}

bool App::wait_exit(DWORD* exit_code, DWORD timeout) const {
    if (!process_ || WaitForSingleObject(process_, timeout) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (exit_code) *exit_code = code;
    return true;
}

void App::kill() {
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

SIZE_T App::peak_memory() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!process_ || !running() || !K32GetProcessMemoryInfo(process_, &counters, sizeof counters))
        return 0;
    return counters.PeakWorkingSetSize > counters.PeakPagefileUsage ? counters.PeakWorkingSetSize
                                                                    : counters.PeakPagefileUsage;
}

// --- The default printer ----------------------------------------------------

bool operator==(const Paper& a, const Paper& b) {
    return a.code == b.code && a.width == b.width && a.length == b.length &&
           a.orientation == b.orientation;
}

std::wstring default_printer() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetDefaultPrinterW(name, &size)) return L"";
    return name;
}

std::vector<BYTE> printer_info(const std::wstring& name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr)) return {};
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    bool ok = needed > 0 && GetPrinterW(printer, 2, buffer.data(), needed, &needed);
    ClosePrinter(printer);
    if (!ok) buffer.clear();
    return buffer;
}

Paper default_paper(const std::wstring& printer) {
    std::vector<BYTE> buffer = printer_info(printer);
    if (buffer.empty()) return {-1, 0, 0, 0};
    const DEVMODEW* mode = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDevMode;
    if (mode == nullptr) return {-1, 0, 0, 0};
    return {mode->dmPaperSize, mode->dmPaperWidth, mode->dmPaperLength, mode->dmOrientation};
}

bool set_default_paper(const std::wstring& name, const Paper& paper) {
    std::vector<BYTE> buffer = printer_info(name);
    if (buffer.empty()) return false;
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    if (info->pDevMode == nullptr) return false;
    info->pDevMode->dmPaperSize = paper.code;
    info->pDevMode->dmPaperWidth = paper.width;
    info->pDevMode->dmPaperLength = paper.length;
    info->pDevMode->dmOrientation = paper.orientation;
    info->pSecurityDescriptor = nullptr;
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) return false;
    bool ok = SetPrinterW(printer, 2, buffer.data(), 0) != 0;
    ClosePrinter(printer);
    return ok;
}

PaperGuard::PaperGuard() : printer_(default_printer()), paper_(default_paper(printer_)) {}

PaperGuard::~PaperGuard() {
    if (printer_.empty() || paper_.code < 0) return;
    if (default_paper(printer_) != paper_) set_default_paper(printer_, paper_);
}

// --- Screenshots ------------------------------------------------------------

namespace {

// The screen's pixels inside `r` as bottom-up 24-bit rows, each padded to
// four bytes; empty on failure.
std::string grab_screen(const RECT& r) {
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string pixels;
    if (dib) {
        HGDIOBJ old = SelectObject(memory, dib);
        if (BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY)) {
            GdiFlush();
            size_t row = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
            pixels.assign(static_cast<const char*>(bits), row * static_cast<size_t>(height));
        }
        SelectObject(memory, old);
        DeleteObject(dib);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

namespace {

struct DescendantSearch {
    const std::wstring* class_name;
    HWND found;
};

BOOL CALLBACK find_descendant_proc(HWND window, LPARAM param) {
    DescendantSearch& s = *reinterpret_cast<DescendantSearch*>(param);
    if (IsWindowVisible(window) && class_name(window) == *s.class_name) {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND find_descendant(HWND parent, const std::wstring& cls) {
    DescendantSearch s{&cls, nullptr};
    EnumChildWindows(parent, find_descendant_proc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool set_control_text(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_NORMAL, kSendTimeout, &result) &&
           result == TRUE;
}

bool click_button(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return false;
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
}

std::wstring item_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? control_text(control) : std::wstring();
}

bool set_item_text(HWND dialog, int id, const std::wstring& text) {
    HWND control = GetDlgItem(dialog, id);
    return control && set_control_text(control, text);
}

bool post_close_box(HWND window) {
    return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) != 0;
}

void post_key_to(HWND window, int virtual_key) {
    UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
    PostMessageW(window, WM_KEYUP, virtual_key, 1 | (scan << 16) | (3u << 30));
}

HWND focused_window(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

HWND wait_owned_dialog(HWND owner, DWORD timeout) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    wait_until([&] {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                Search& s = *reinterpret_cast<Search*>(param);
                if (GetWindow(window, GW_OWNER) != s.owner || !IsWindowVisible(window) ||
                    class_name(window) != L"#32770")
                    return TRUE;
                s.found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !IsWindow(owner);
    }, timeout);
    return search.found;
}

int count_windows(DWORD pid, const std::wstring& caption) {
    struct Search {
        DWORD pid;
        const std::wstring* caption;
        int count;
    } search{pid, &caption, 0};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.pid && IsWindowVisible(window) && window_text(window) == *s.caption)
                ++s.count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

std::string client_pixels(HWND window, const RECT& area) {
    POINT top_left{area.left, area.top};
    if (!ClientToScreen(window, &top_left)) return "";
    RECT r{top_left.x, top_left.y, top_left.x + (area.right - area.left),
           top_left.y + (area.bottom - area.top)};
    // Wine hands what a window draws to the X server a little later, in
    // batches: the picture counts once it has not changed for a while.
    std::string pixels = grab_screen(r);
    DWORD unchanged_since = GetTickCount();
    wait_until([&] {
        std::string again = grab_screen(r);
        if (again != pixels) {
            pixels.swap(again);
            unchanged_since = GetTickCount();
            return false;
        }
        return GetTickCount() - unchanged_since >= kSteadyTime;
    }, kWaitTimeout);
    return pixels;
}

bool capture_window(HWND window, const std::wstring& file_name) {
    std::wstring folder = environment(L"ZK_ARTIFACTS");
    if (folder.empty() || !IsWindow(window)) return false;
    CreateDirectoryW(folder.c_str(), nullptr);

    // Bring the window up and have it painted before copying the screen.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The program paints in its own time (late on a busy machine): wait
    // until neither the window nor a child has anything left to paint.
    wait_until([&] {
        bool pending = GetUpdateRect(window, nullptr, FALSE) != 0;
        if (!pending)
            EnumChildWindows(window, [](HWND child, LPARAM any) {
                if (!GetUpdateRect(child, nullptr, FALSE)) return TRUE;
                *reinterpret_cast<bool*>(any) = true;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&pending));
        return !pending;
    }, kWaitTimeout);
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;

    // What is drawn reaches the screen a little later: take the picture
    // once two grabs in a row agree (or after a bounded wait).
    std::string pixels = grab_screen(r);
    wait_until([&] {
        std::string again = grab_screen(r);
        bool stable = again == pixels;
        pixels.swap(again);
        return stable;
    }, 1000);
    if (pixels.empty()) return false;

    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as the rows were grabbed
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + info.biSizeImage;

    std::wstring path = folder + L"\\" + file_name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &header, sizeof header, &written, nullptr) &&
              WriteFile(file, &info, sizeof info, &written, nullptr) &&
              WriteFile(file, pixels.data(), info.biSizeImage, &written, nullptr) &&
              written == info.biSizeImage;
    CloseHandle(file);
    return ok;
}

// --- Report list controls of the program ------------------------------------

namespace {

// A block of memory inside the process that owns `window`, for the list
// messages whose parameters are pointers.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t bytes) : bytes_(bytes) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            base_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool ok() const { return base_ != nullptr; }
    char* at(size_t offset) const { return static_cast<char*>(base_) + offset; }
    bool write(size_t offset, const void* data, size_t n) const {
        return ok() && offset + n <= bytes_ &&
               WriteProcessMemory(process_, at(offset), data, n, nullptr);
    }
    bool read(size_t offset, void* data, size_t n) const {
        return ok() && offset + n <= bytes_ &&
               ReadProcessMemory(process_, at(offset), data, n, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* base_ = nullptr;
    size_t bytes_;
};

LRESULT send_to(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendTimeout, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

// A rectangle the list fills in (LVM_GETITEMRECT, HDM_GETITEMRECT).
bool remote_rect(HWND window, UINT message, WPARAM wparam, RECT* rect) {
    RemoteMemory memory(window, sizeof(RECT));
    return memory.write(0, rect, sizeof(RECT)) &&
           send_to(window, message, wparam, reinterpret_cast<LPARAM>(memory.at(0))) > 0 &&
           memory.read(0, rect, sizeof(RECT));
}

bool set_row_state(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    RemoteMemory memory(list, sizeof item);
    return memory.write(0, &item, sizeof item) &&
           send_to(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(memory.at(0))) > 0;
}

void post_click(HWND window, UINT down, UINT up, WPARAM keys, int x, int y) {
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageW(window, down, keys, MAKELPARAM(x, y));
    PostMessageW(window, up, 0, MAKELPARAM(x, y));
}

}  // namespace

int list_row_count(HWND list) { return static_cast<int>(send_to(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring list_cell(HWND list, int row, int column) {
    constexpr int kChars = 260;
    RemoteMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof item));
    wchar_t text[kChars] = {};
    if (!memory.write(0, &item, sizeof item)) return L"";
    LRESULT n = send_to(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(memory.at(0)));
    if (n <= 0 || !memory.read(sizeof item, text, sizeof text)) return L"";
    text[kChars - 1] = 0;
    return text;
}

std::wstring status_part(HWND status_bar, int part) {
    constexpr int kChars = 260;
    RemoteMemory memory(status_bar, kChars * sizeof(wchar_t));
    wchar_t text[kChars] = {};
    if (!memory.write(0, text, sizeof text) ||
        send_to(status_bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(memory.at(0))) < 0 ||
        !memory.read(0, text, sizeof text))
        return L"";
    text[kChars - 1] = 0;
    return text;
}

bool list_select_rows(HWND list, const std::vector<int>& rows) {
    bool ok = set_row_state(list, -1, 0, LVIS_SELECTED);
    for (int r : rows) ok = set_row_state(list, r, LVIS_SELECTED, LVIS_SELECTED) && ok;
    return ok;
}

std::vector<int> list_selected_rows(HWND list) {
    std::vector<int> rows;
    for (int r = -1;;) {
        r = static_cast<int>(send_to(list, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED));
        if (r < 0) return rows;
        rows.push_back(r);
    }
}

bool list_click_header(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(send_to(list, LVM_GETHEADER, 0, 0));
    RECT r{};
    if (!header || !remote_rect(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), &r)) return false;
    post_click(header, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, (r.left + r.right) / 2,
               (r.top + r.bottom) / 2);
    return true;
}

bool list_right_click_cell(HWND list, int row, int column) {
    // The cell where the list shows it: its columns need not stand in index order.
    RECT r{};
    r.top = column;
    r.left = LVIR_LABEL;
    if (!remote_rect(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), &r)) return false;
    post_click(list, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return true;
}

bool choose_combo_item(HWND dialog, int id, const std::wstring& text) {
    HWND box = GetDlgItem(dialog, id);
    if (!box) return false;
    LRESULT index = send_to(box, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return false;
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box)) != 0;
}

}  // namespace e2e
