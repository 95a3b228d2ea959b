#include "app/single_instance_win32.h"

#include <cwchar>
#include <string>

#include "app/main_window_win32.h"

namespace {

const wchar_t* const kFolderProperty = L"Zelkovane.WorkingFolder";
// A first copy that is still starting has no window yet: look this long.
constexpr DWORD kFindWindowTimeout = 3000;
constexpr DWORD kFindWindowInterval = 50;

// The key of this run's folder; 0 when the folder could not be read.
ULONG_PTR g_folder_key = 0;

// The current folder as Windows finally resolves it (links, short names and
// substituted drives followed), else as the process sees it.
std::wstring normalised_current_folder() {
    std::wstring path(32768, L'\0');
    DWORD length = 0;
    HANDLE folder = CreateFileW(L".", 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        length = GetFinalPathNameByHandleW(folder, &path[0], static_cast<DWORD>(path.size()),
                                           FILE_NAME_NORMALIZED);
        CloseHandle(folder);
    }
    if (length == 0 || length >= path.size())
        length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), &path[0]);
    if (length == 0 || length >= path.size()) return L"";
    path.resize(length);
    while (path.size() > 1 && path.back() == L'\\') path.pop_back();
    // File names ignore case.
    CharUpperBuffW(&path[0], static_cast<DWORD>(path.size()));
    return path;
}

// FNV-1a over the folder's units; never 0 for a folder.
ULONG_PTR folder_key(const std::wstring& folder) {
    if (folder.empty()) return 0;
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t unit : folder) {
        hash ^= static_cast<unsigned short>(unit);
        hash *= 1099511628211ull;
    }
    return hash == 0 ? 1 : static_cast<ULONG_PTR>(hash);
}

struct WindowSearch {
    ULONG_PTR key;
    HWND found;
};

BOOL CALLBACK match_main_window(HWND window, LPARAM lparam) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(lparam);
    wchar_t name[32];
    if (GetClassNameW(window, name, 32) && std::wcscmp(name, MAIN_WINDOW_CLASS) == 0 &&
        reinterpret_cast<ULONG_PTR>(GetPropW(window, kFolderProperty)) == search.key) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// Brings the first copy's main window to the front, or the question or
// editor it shows last (the main window may still be hidden while the first
// copy asks its start-up questions).
void bring_first_copy_forward() {
    WindowSearch search{g_folder_key, nullptr};
    for (DWORD waited = 0; waited < kFindWindowTimeout; waited += kFindWindowInterval) {
        EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        Sleep(kFindWindowInterval);
    }
    if (!search.found) return;
    // Asynchronous, so a busy first copy never holds this one up.
    if (IsIconic(search.found)) ShowWindowAsync(search.found, SW_RESTORE);
    HWND front = GetLastActivePopup(search.found);
    if (!front || !IsWindowVisible(front)) front = search.found;
    SetForegroundWindow(front);
}

}  // namespace

bool another_copy_runs_here() {
    g_folder_key = folder_key(normalised_current_folder());
    if (g_folder_key == 0) return false;
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\Zelkovane-%016llx", static_cast<unsigned long long>(g_folder_key));
    SetLastError(ERROR_SUCCESS);
    // Held until the process ends; the system closes it then.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
    DWORD error = GetLastError();
    // Access denied: the mutex exists, made by a copy running with other rights.
    bool running = mutex ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
    if (running) bring_first_copy_forward();
    return running;
}

void mark_main_window(HWND window) {
    if (g_folder_key != 0)
        SetPropW(window, kFolderProperty, reinterpret_cast<HANDLE>(g_folder_key));
}

void unmark_main_window(HWND window) { RemovePropW(window, kFolderProperty); }
