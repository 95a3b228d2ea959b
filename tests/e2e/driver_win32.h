// Helpers of the end-to-end tests: start Zelkovane.exe in a folder of its
// own, find its windows and message boxes, answer them, send commands and
// keys, take screenshots, and make sure the process never outlives a test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Bounds of the polling waits, in milliseconds.
constexpr DWORD kStartTimeout = 60000;  // the program's first window
constexpr DWORD kWaitTimeout = 30000;   // any later state
constexpr DWORD kJobTimeout = 60000;    // a print job of a few cards
constexpr DWORD kPollInterval = 25;
constexpr DWORD kSteadyTime = 300;      // a screen picture unchanged this long is final

std::string utf8(const std::wstring& s);

// An environment variable, "" when it is not set.
std::wstring environment(const wchar_t* name);

// UTF-16LE bytes with the byte order mark, as the data files hold them.
std::string utf16le_file(const std::wstring& text);
// The text of such a file (without its byte order mark); "" when the bytes
// do not start with one.
std::wstring utf16le_text(const std::string& bytes);
// A file name of the build host ("/work/...") as Wine sees it ("Z:\work\...").
std::wstring host_path(const std::string& unix_path);
// All bytes of a file anywhere ("" when it cannot be read); the file may be
// open for writing elsewhere, as a printer's output is.
std::string read_file(const std::wstring& path);

// A fresh, empty working folder under the temporary folder, removed with
// everything in it when the test ends.
class TempDir {
public:
    explicit TempDir(const std::wstring& tag);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    void write(const std::wstring& name, const std::string& bytes) const;
    std::string read(const std::wstring& name) const;  // "" when missing
    bool exists(const std::wstring& name) const;
    // Names of the files and folders in it (or in its folder `sub`), sorted.
    std::vector<std::wstring> names(const std::wstring& sub = L"") const;
    // Last write time of a file (0 when missing).
    unsigned long long write_time(const std::wstring& name) const;
    // Makes a file read-only, or writable again.
    void set_read_only(const std::wstring& name, bool read_only) const;
    // Copies a file into the folder; false when it could not be copied.
    bool copy_in(const std::wstring& source, const std::wstring& name) const;

private:
    void remove_tree(const std::wstring& sub) const;
    std::wstring path_;
};

// What a message box shows.
struct MessageBoxText {
    std::wstring caption;
    std::wstring text;
};

// The question the program asks at every start, before its main window
// appears, and the caption of that question and of the printer notices.
constexpr const wchar_t* kPrinterQuestion = L"デフォルトプリンタをはがきサイズにしますか？";
constexpr const wchar_t* kPrinterCaption = L"印刷設定";

// One run of Zelkovane.exe (path from the environment variable ZK_EXE),
// started in `working_dir`. The destructor terminates it if it still runs.
class App {
public:
    explicit App(const std::wstring& working_dir);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD pid() const { return pid_; }
    bool running() const;

    // The usual start: answers the printer question (No keeps the default
    // printer's paper, Yes switches it to postcard) and waits for the main
    // window. nullptr when the question or the window did not come.
    HWND start(bool switch_to_postcard = false);
    // Answers the start-up printer question, which must come within the
    // start time-out and read exactly kPrinterQuestion; false otherwise.
    bool answer_printer_question(bool switch_to_postcard);

    // The visible main window ("Main Window" of this process), or nullptr
    // when none appeared in time.
    HWND wait_main_window(DWORD timeout = kStartTimeout);
    HWND main_window() const { return main_; }

    // A visible message box of this process (a "#32770" dialog with the
    // text control 0xFFFF), or nullptr when none appeared in time.
    HWND wait_message_box(DWORD timeout = kWaitTimeout) const;
    // The message box currently shown, nullptr when there is none.
    HWND find_message_box() const;
    static MessageBoxText read_message_box(HWND box);
    // A visible dialog of this process with this caption, or nullptr.
    HWND wait_dialog(const std::wstring& caption, DWORD timeout = kWaitTimeout) const;
    // A visible dialog of this process that is not a message box (a system
    // dialog whose caption depends on the language), or nullptr.
    HWND wait_other_dialog(DWORD timeout = kWaitTimeout) const;
    // The printer notice (dialog 8, caption kPrinterCaption, no buttons),
    // or nullptr when none appeared in time.
    HWND wait_notice(DWORD timeout = kWaitTimeout) const;
    // The text of the notice's static control (301), read from the window
    // manager's copy: the program shows the notice without serving
    // messages, so WM_GETTEXT would not be answered.
    static std::wstring notice_text(HWND notice);
    // Presses a button of a message box or dialog (IDOK, IDYES, IDNO, ...)
    // and waits until the window has gone.
    static bool answer(HWND box, int button);

    // Input to the main window, posted so that the call never blocks on a
    // message box the program opens in response.
    void post_close() const;                     // the close box (SC_CLOSE)
    void post_command(int id) const;             // a menu command
    void post_menu_key(wchar_t mnemonic) const;  // Alt + mnemonic on the menu bar
    void post_key(int virtual_key) const;        // key down and up
    // A mouse message at a client point of the main window, with the key
    // state (MK_LBUTTON, ...) the message carries.
    void post_mouse(UINT message, WPARAM keys, int x, int y) const;

    // Waits until the program has handled everything sent so far.
    bool settle(DWORD timeout = kWaitTimeout) const;

    // Waits for the process to end; false on time-out.
    bool wait_exit(DWORD* exit_code, DWORD timeout = kWaitTimeout) const;
    void kill();

    // The largest memory the running process has held so far, in bytes:
    // the larger of its peak working set and peak committed memory as the
    // system reports them (under Wine, from the Unix process's VmHWM and
    // VmPeak); 0 when they cannot be read, as after the process ended.
    SIZE_T peak_memory() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

// --- The default printer ----------------------------------------------------

// The paper of a printer's default device mode (dmPaperSize, dmPaperWidth,
// dmPaperLength in 0.1 mm, dmOrientation).
struct Paper {
    short code;
    short width;
    short length;
    short orientation;
};
// Japanese postcard, portrait, as the program writes it.
constexpr Paper kPostcardPaper{43, 1000, 1480, 1};
bool operator==(const Paper& a, const Paper& b);
inline bool operator!=(const Paper& a, const Paper& b) { return !(a == b); }

// The system's default printer, "" when there is none.
std::wstring default_printer();
// The printer's settings (PRINTER_INFO_2) in a buffer; empty on failure.
std::vector<BYTE> printer_info(const std::wstring& name);
// The paper of the printer's default device mode as GetPrinterW level 2
// reports it; code -1 when it cannot be read.
Paper default_paper(const std::wstring& printer);
// Writes a paper into the printer's default device mode.
bool set_default_paper(const std::wstring& printer, const Paper& paper);

// Keeps the default printer's paper as it was when the guard was made: a
// test that fails while the program has switched it to postcard (and never
// got to put it back) restores it here, so the following tests and runs
// find the paper they expect.
class PaperGuard {
public:
    PaperGuard();
    ~PaperGuard();
    PaperGuard(const PaperGuard&) = delete;
    PaperGuard& operator=(const PaperGuard&) = delete;
    const std::wstring& printer() const { return printer_; }
    const Paper& paper() const { return paper_; }

private:
    std::wstring printer_;
    Paper paper_;
};

// A visible child window (at any depth) of `parent` with this class, or
// nullptr.
HWND find_descendant(HWND parent, const std::wstring& class_name);
// Sets the text of a control of another process (WM_SETTEXT).
bool set_control_text(HWND control, const std::wstring& text);

// --- Dialog controls by id --------------------------------------------------

// Presses the button `id` of a dialog as a click does (WM_COMMAND with
// BN_CLICKED), posted so that the call never blocks on a window the program
// opens in response. False when the dialog has no such control.
bool click_button(HWND dialog, int id);
// The text of the dialog's control `id` ("" when there is none).
std::wstring item_text(HWND dialog, int id);
// Types a whole new text into the dialog's control `id` (WM_SETTEXT).
bool set_item_text(HWND dialog, int id, const std::wstring& text);

// The close box of a window (WM_SYSCOMMAND with SC_CLOSE), posted so that
// the call never blocks on the question the program asks in response.
bool post_close_box(HWND window);
// The number of visible windows of process `pid` with this caption.
int count_windows(DWORD pid, const std::wstring& caption);
// A key pressed on a window of another process (key down and up, posted,
// as the keyboard delivers them to the window with the focus).
void post_key_to(HWND window, int virtual_key);
// The window with the keyboard focus in the thread of `window`, or nullptr.
HWND focused_window(HWND window);
// A visible dialog owned by `owner` (a chooser or question it opened), or
// nullptr when none appeared in time.
HWND wait_owned_dialog(HWND owner, DWORD timeout = kWaitTimeout);

// The pixels that `window` shows on screen inside its client rectangle
// `area` (client coordinates), once they stayed the same for kSteadyTime.
// Bottom-up
// 24-bit rows; empty on failure.
std::string client_pixels(HWND window, const RECT& area);

// Writes a 24-bit BMP of what the window shows on screen into the folder
// named by the environment variable ZK_ARTIFACTS. False when that variable
// is not set or the capture failed.
bool capture_window(HWND window, const std::wstring& file_name);

std::wstring window_text(HWND window);
std::wstring class_name(HWND window);

// --- Report list controls (SysListView32) of the program ---------------------
// List messages that carry pointers get memory inside the program's process.

int list_row_count(HWND list);
// The text of a cell ("" when there is none).
std::wstring list_cell(HWND list, int row, int column);
// Selects exactly these rows, as a user's clicks with Ctrl do.
bool list_select_rows(HWND list, const std::vector<int>& rows);
std::vector<int> list_selected_rows(HWND list);
// A click on the header of `column` and a right click on a cell, posted
// as mouse input to the header and the list.
bool list_click_header(HWND list, int column);
bool list_right_click_cell(HWND list, int row, int column);
// The text of part `part` of a status bar of the program.
std::wstring status_part(HWND status_bar, int part);
// Chooses the item `text` of a combo box as a user does from its list
// (CB_SELECTSTRING, then the CBN_SELCHANGE its dialog gets).
bool choose_combo_item(HWND dialog, int id, const std::wstring& text);

// --- What the tests check again and again (driver_expect_win32.cpp) ---------

// A sample picture the build drew (base1.bmp, yousi.gdt) as Wine sees it;
// "" when the build drew none.
std::wstring sample_picture(const wchar_t* name);
// Expects the message box on screen (within kWaitTimeout) to show exactly
// this caption and text; nullptr when none came.
HWND expect_message_box(const App& app, const std::wstring& caption, const std::wstring& text);
// The same, then presses `button` and waits until the box has gone.
bool answer(const App& app, const std::wstring& caption, const std::wstring& text, int button);
// Types `path` into the file dialog with this caption (within kWaitTimeout)
// and confirms it; false when the dialog did not come or did not close.
bool open_in_file_dialog(const App& app, const std::wstring& caption, const std::wstring& path);
// A screenshot into ZK_ARTIFACTS, when that folder is given.
void screenshot(HWND window, const wchar_t* name);

// Polls `done` every kPollInterval until it is true or `timeout` passes.
template <typename Condition>
bool wait_until(Condition done, DWORD timeout) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeout) return false;
        Sleep(kPollInterval);
    }
}

}  // namespace e2e
