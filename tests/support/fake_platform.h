// A scripted platform for the native tests: it records every message box,
// answers questions and file dialogs from a script, and backs the Windows
// paths the core uses ("C:\work\zelko1.txt") by files in a temporary folder.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

class FakePlatform : public Platform {
public:
    struct Box {
        WindowHandle owner;
        std::u16string text;
        std::u16string caption;
        unsigned style;
    };
    struct DialogCall {
        WindowHandle owner;
        bool save;
        std::u16string title;
        std::u16string filter;  // with its NUL separators, up to the final empty text
        std::u16string initial_file;
        int file_cap;
        unsigned flags;
    };
    struct DialogAnswer {
        bool ok;
        std::u16string path;
    };

    FakePlatform();  // installs itself with set_platform; current directory "C:\work"
    ~FakePlatform() override;

    // Script and record.
    std::vector<Box> boxes;
    std::deque<int> answers;             // answers to the next message boxes, in order
    std::vector<DialogCall> dialogs;
    std::deque<DialogAnswer> dialog_answers;  // none left: the dialog is cancelled
    std::vector<std::string> events;     // "wait_show", "wait_close"
    LocalTime now{2026, 12, 7, 10, 0, 0};
    std::u16string current_dir = u"C:\\work";
    std::set<std::u16string> unwritable;  // replace_file fails for these paths
    std::set<std::u16string> unreadable;  // open_for_read fails for these paths
    bool fail_close = false;              // close() reports a failure
    size_t read_error_after = SIZE_MAX;   // bytes read from a file before a read error
    std::u16string choice_labels;         // "yes/no/cancel" labels of the last choice box

    // Files behind the Windows paths.
    std::string host_path(const std::u16string& windows_path) const;
    void put_file(const std::u16string& windows_path, const std::string& bytes);
    bool has_file(const std::u16string& windows_path) const;
    std::string file_bytes(const std::u16string& windows_path) const;
    // Files in the folder of windows_dir (names only).
    std::vector<std::string> list_dir(const std::u16string& windows_dir) const;

    void answer(int a) { answers.push_back(a); }
    void answer_dialog(const std::u16string& path) { dialog_answers.push_back({true, path}); }
    void cancel_dialog() { dialog_answers.push_back({false, u""}); }

    // Platform
    int message_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                    unsigned style) override;
    bool file_dialog(WindowHandle owner, FileDialogRequest& request) override;
    bool get_current_directory(char16_t* out, int cap) override;
    bool set_current_directory(const char16_t* path) override;
    bool path_exists(const char16_t* path) override;
    FileHandle open_for_read(const char16_t* path) override;
    size_t read(FileHandle file, void* buffer, size_t bytes) override;
    bool read_checked(FileHandle file, void* buffer, size_t bytes, size_t* got) override;
    int choice_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                   const char16_t* yes_label, const char16_t* no_label,
                   const char16_t* cancel_label) override;
    bool close(FileHandle file) override;
    bool replace_file(const char16_t* path, const void* data, size_t bytes) override;
    LocalTime local_time() override { return now; }
    bool file_stamp(const char16_t* path, FileStamp* out) override;
    bool make_folder(const char16_t* path) override;
    bool copy_file(const char16_t* from, const char16_t* to) override;
    void list_files(const char16_t* folder, FileNameVisitor visit, void* context) override;
    bool remove_file(const char16_t* path) override;
    void show_wait_window(WindowHandle) override { events.push_back("wait_show"); }
    void close_wait_window() override { events.push_back("wait_close"); }
    // Code page 932 through iconv.
    int decode_code_page(unsigned code_page, const void* bytes, size_t count, char16_t* out,
                         size_t out_cap) override;

    // The user's data folder, the date every file reports, the answers to
    // the menus shown (none left: closed with Esc) and their items.
    std::u16string user_data = u"C:\\appdata\\Zelkovane";
    LocalTime file_dates{2026, 11, 28, 9, 0, 0};
    std::deque<int> menu_answers;
    std::vector<std::vector<std::string>> menus;
    std::vector<std::string> progress;  // the wait window's progress lines
    bool user_data_folder(char16_t* out, int cap) override;
    bool file_date(const char16_t* path, LocalTime* out) override;
    int choose_from_menu(WindowHandle owner, const char16_t* const* items, int count) override;
    void wait_window_progress(const char16_t* text) override;

    // The program's RCDATA resources by number (the postal code table).
    std::map<int, std::string> resources;
    bool program_resource(int id, const void** data, size_t* bytes) override;

private:
    std::string root_;
    size_t read_so_far_ = 0;
    std::u16string absolute(const std::u16string& path) const;
};

// UTF-8 for readable test failure messages.
std::string utf8(const std::u16string& s);
// UTF-16LE bytes with a byte order mark, for building data files in tests.
std::string utf16le_file(const std::u16string& text);
