#include "platform/platform_win32.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstddef>
#include <cstring>
#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

namespace {

const wchar_t* w(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
wchar_t* w(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }

// Largest piece handed to one WriteFile or ReadFile call.
constexpr size_t kMaxIo = 1u << 20;

// The wait window answers its creation with TRUE (default focus) and goes
// away on WM_CLOSE; it has nothing else to do.
INT_PTR CALLBACK wait_window_proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

// Full path of `path` as Windows resolves it against the current directory.
bool full_path(const char16_t* path, std::wstring& out) {
    DWORD need = GetFullPathNameW(w(path), 0, nullptr, nullptr);
    if (need == 0) return false;
    out.assign(need, L'\0');
    DWORD got = GetFullPathNameW(w(path), need, &out[0], nullptr);
    if (got == 0 || got >= need) return false;
    out.resize(got);
    return true;
}

// Creates a new temporary file beside `target`, named after it, and returns
// its handle and name. The name is unique: an existing one is never reused.
HANDLE create_temporary_beside(const std::wstring& target, std::wstring& temp_name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_name = target + L".zktmp";
        if (attempt > 0) temp_name += std::to_wstring(attempt);
        HANDLE file = CreateFileW(temp_name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

bool write_all(HANDLE file, const void* data, size_t bytes) {
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
        DWORD piece = static_cast<DWORD>(bytes < kMaxIo ? bytes : kMaxIo);
        DWORD written = 0;
        if (!WriteFile(file, p, piece, &written, nullptr) || written != piece) return false;
        p += piece;
        bytes -= piece;
    }
    return true;
}

// The labels for the Yes, No and Cancel buttons of the next message box
// this thread shows, put on them by a hook when the box is activated.
struct ButtonLabels {
    const wchar_t* yes;
    const wchar_t* no;
    const wchar_t* cancel;
    HHOOK hook;
};
thread_local ButtonLabels g_button_labels;

LRESULT CALLBACK label_buttons_hook(int code, WPARAM wparam, LPARAM lparam) {
    ButtonLabels& labels = g_button_labels;
    if (code == HCBT_ACTIVATE && labels.hook) {
        HWND box = reinterpret_cast<HWND>(wparam);
        SetDlgItemTextW(box, IDYES, labels.yes);
        SetDlgItemTextW(box, IDNO, labels.no);
        SetDlgItemTextW(box, IDCANCEL, labels.cancel);
        HHOOK hook = labels.hook;
        labels.hook = nullptr;
        UnhookWindowsHookEx(hook);
        return 0;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class Win32Platform final : public Platform {
public:
    int message_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                    unsigned style) override {
        return MessageBoxW(static_cast<HWND>(owner), w(text), w(caption), style);
    }

    // A message box whose buttons are renamed as it appears: it sizes
    // itself to the text and is answered like any other message box.
    int choice_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                   const char16_t* yes_label, const char16_t* no_label,
                   const char16_t* cancel_label) override {
        g_button_labels.yes = w(yes_label);
        g_button_labels.no = w(no_label);
        g_button_labels.cancel = w(cancel_label);
        g_button_labels.hook =
            SetWindowsHookExW(WH_CBT, label_buttons_hook, nullptr, GetCurrentThreadId());
        const int answer = MessageBoxW(static_cast<HWND>(owner), w(text), w(caption),
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
        if (g_button_labels.hook) UnhookWindowsHookEx(g_button_labels.hook);
        g_button_labels.hook = nullptr;
        return answer;
    }

    bool file_dialog(WindowHandle owner, FileDialogRequest& request) override {
        OPENFILENAMEW ofn;
        std::memset(&ofn, 0, sizeof ofn);
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = static_cast<HWND>(owner);
        ofn.lpstrFilter = w(request.filter);
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = w(request.file);
        ofn.nMaxFile = static_cast<DWORD>(request.file_cap);
        ofn.lpstrTitle = w(request.title);
        ofn.Flags = request.flags;
        BOOL ok = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
        return ok != FALSE;
    }

    bool get_current_directory(char16_t* out, int cap) override {
        if (cap <= 0) return false;
        DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(cap), w(out));
        // A buffer too small gives the size it would need, NUL included.
        if (n == 0 || n >= static_cast<DWORD>(cap)) {
            out[0] = 0;
            return false;
        }
        return true;
    }

    bool set_current_directory(const char16_t* path) override {
        return SetCurrentDirectoryW(w(path)) != FALSE;
    }

    bool path_exists(const char16_t* path) override { return PathFileExistsW(w(path)) != FALSE; }

    FileHandle open_for_read(const char16_t* path) override {
        HANDLE file = CreateFileW(w(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
        return file == INVALID_HANDLE_VALUE ? nullptr : file;
    }

    size_t read(FileHandle file, void* buffer, size_t bytes) override {
        size_t got = 0;
        return read_checked(file, buffer, bytes, &got) ? got : 0;
    }

    bool read_checked(FileHandle file, void* buffer, size_t bytes, size_t* got) override {
        DWORD piece = static_cast<DWORD>(bytes < kMaxIo ? bytes : kMaxIo);
        DWORD read = 0;
        *got = 0;
        if (!ReadFile(static_cast<HANDLE>(file), buffer, piece, &read, nullptr)) return false;
        *got = read;
        return true;
    }

    bool close(FileHandle file) override { return CloseHandle(static_cast<HANDLE>(file)) != FALSE; }

    bool replace_file(const char16_t* path, const void* data, size_t bytes) override {
        std::wstring target;
        if (!full_path(path, target)) return false;
        // A read-only file is one the user does not want overwritten (Wine
        // would move over it), and a folder is not a file.
        DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
            return false;

        std::wstring temp;
        HANDLE file = create_temporary_beside(target, temp);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool ok = write_all(file, data, bytes) && FlushFileBuffers(file);
        ok = CloseHandle(file) && ok;
        ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) DeleteFileW(temp.c_str());
        return ok;
    }

    LocalTime local_time() override {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }

    bool file_stamp(const char16_t* path, FileStamp* out) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(w(path), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        out->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        out->write_time = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
        return true;
    }

    bool make_folder(const char16_t* path) override {
        if (CreateDirectoryW(w(path), nullptr)) return true;
        DWORD attributes = GetFileAttributesW(w(path));
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool copy_file(const char16_t* from, const char16_t* to) override {
        if (!CopyFileW(w(from), w(to), TRUE)) {
            // A copy cut short (a full disk) is removed; an existing file is
            // someone else's and stays.
            DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) DeleteFileW(w(to));
            return false;
        }
        // The copy takes the original's attributes; a read-only copy could
        // not be removed when it is no longer among the kept ones.
        DWORD attributes = GetFileAttributesW(w(to));
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(w(to), attributes & ~FILE_ATTRIBUTE_READONLY);
        return true;
    }

    void list_files(const char16_t* folder, FileNameVisitor visit, void* context) override {
        std::wstring pattern = w(folder);
        pattern += L"\\*";
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                visit(reinterpret_cast<const char16_t*>(found.cFileName), context);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }

    bool remove_file(const char16_t* path) override { return DeleteFileW(w(path)) != FALSE; }

    void show_wait_window(WindowHandle owner) override {
        close_wait_window();
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(WAIT_WINDOW_DIALOG),
                                         static_cast<HWND>(owner), wait_window_proc, 0);
        if (!dialog) return;
        wait_window_ = dialog;
        RECT r;
        GetWindowRect(dialog, &r);
        int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
        int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
        SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(dialog, SW_SHOW);
        // No messages are processed while the file operation runs, so paint
        // the window and its texts now.
        RedrawWindow(dialog, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    void close_wait_window() override {
        if (!wait_window_) return;
        if (IsWindow(wait_window_)) SendMessageW(wait_window_, WM_CLOSE, 0, 0);
        wait_window_ = nullptr;
    }

    void wait_window_progress(const char16_t* text) override {
        if (!wait_window_ || !IsWindow(wait_window_)) return;
        // The line "ファイルアクセス中！" of the wait window (control 301).
        SetDlgItemTextW(wait_window_, 301, w(text));
        UpdateWindow(wait_window_);
    }

    bool user_data_folder(char16_t* out, int cap) override {
        wchar_t folder[MAX_PATH];
        out[0] = 0;
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
            return false;
        std::wstring path = std::wstring(folder) + L"\\Zelkovane";
        if (path.size() + 1 > static_cast<size_t>(cap)) return false;
        std::memcpy(out, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        return true;
    }

    bool file_date(const char16_t* path, LocalTime* out) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        FILETIME local;
        SYSTEMTIME t;
        if (!GetFileAttributesExW(w(path), GetFileExInfoStandard, &data) ||
            !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t))
            return false;
        *out = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
        return true;
    }

    int choose_from_menu(WindowHandle owner, const char16_t* const* items, int count) override {
        HMENU menu = CreatePopupMenu();
        if (!menu) return -1;
        for (int i = 0; i < count; ++i) AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), w(items[i]));
        // Under the control that has the focus (the button just pressed),
        // else at the mouse.
        POINT at;
        RECT r;
        HWND focus = GetFocus();
        if (focus && GetWindowRect(focus, &r)) {
            at = {r.left, r.bottom};
        } else {
            GetCursorPos(&at);
        }
        HWND window = static_cast<HWND>(owner);
        if (window) SetForegroundWindow(window);
        int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN |
                                                               TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                     at.x, at.y, 0, window, nullptr));
        DestroyMenu(menu);
        return chosen - 1;
    }

    bool program_resource(int id, const void** data, size_t* bytes) override {
        *data = nullptr;
        *bytes = 0;
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_RCDATA);
        if (!found) return false;
        HGLOBAL loaded = LoadResource(nullptr, found);
        const void* locked = loaded ? LockResource(loaded) : nullptr;
        if (!locked) return false;
        *data = locked;
        *bytes = SizeofResource(nullptr, found);
        return true;
    }

    int decode_code_page(unsigned code_page, const void* bytes, size_t count, char16_t* out,
                         size_t out_cap) override {
        if (count == 0) return 0;
        if (count > 0x7fffffff || out_cap > 0x7fffffff) return -1;
        // Without MB_ERR_INVALID_CHARS, bytes that are no character of the
        // code page become its default character instead of failing.
        int units = MultiByteToWideChar(code_page, 0, static_cast<const char*>(bytes),
                                        static_cast<int>(count), w(out), static_cast<int>(out_cap));
        return units > 0 ? units : -1;
    }

    HWND wait_window() const { return wait_window_; }

private:
    HWND wait_window_ = nullptr;
};

Win32Platform g_win32_platform;

}  // namespace

Platform& win32_platform() { return g_win32_platform; }

void install_win32_platform() { set_platform(&g_win32_platform); }

WindowHandle wait_window() { return g_win32_platform.wait_window(); }
