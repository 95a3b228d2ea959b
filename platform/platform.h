// The narrow seam between the portable core and the operating system.
// The core asks for message boxes, file dialogs, files, the current
// directory and the local time only through this interface. There is one
// Win32 implementation (platform_win32.cpp) and one scripted fake for the
// native tests (tests/support/fake_platform.*).
#pragma once

#include <cstddef>
#include <cstdint>

// An opaque window handle (HWND on Windows); nullptr means no owner.
using WindowHandle = void*;
// An opaque open file.
using FileHandle = void*;

// Message box styles and answers, with the values of the Win32 constants.
constexpr unsigned kButtonsOk = 0x0;          // MB_OK
constexpr unsigned kButtonsYesNoCancel = 0x3; // MB_YESNOCANCEL
constexpr unsigned kButtonsYesNo = 0x4;       // MB_YESNO
constexpr unsigned kIconError = 0x10;         // MB_ICONHAND
constexpr unsigned kIconQuestion = 0x20;      // MB_ICONQUESTION
constexpr unsigned kIconWarning = 0x30;       // MB_ICONEXCLAMATION
constexpr unsigned kIconInformation = 0x40;   // MB_ICONASTERISK
constexpr unsigned kDefaultButton2 = 0x100;   // MB_DEFBUTTON2: Enter answers with the second button
constexpr int kAnswerOk = 1;                  // IDOK
constexpr int kAnswerCancel = 2;              // IDCANCEL
constexpr int kAnswerYes = 6;                 // IDYES
constexpr int kAnswerNo = 7;                  // IDNO

// File dialog flags, with the values of the Win32 constants.
constexpr unsigned kOfnAllowMultiSelect = 0x00000200;  // OFN_ALLOWMULTISELECT
constexpr unsigned kOfnExplorer = 0x00080000;          // OFN_EXPLORER

struct LocalTime {
    int year;
    int month;   // 1 to 12
    int day;
    int hour;
    int minute;
    int second;
};

// What the file system says of a file: its size in bytes and the time of its
// last write, in the file system's own units (only compared, never shown).
struct FileStamp {
    uint64_t size;
    uint64_t write_time;
};

// Called with each file name (no folder) that list_files finds.
using FileNameVisitor = void (*)(const char16_t* name, void* context);

// What a file dialog is asked to show. `filter` is a sequence of
// NUL-terminated description and pattern texts ended by an empty text.
// `file` holds the initial name on entry and the chosen path on return;
// `file_cap` units (260) are its size as told to the dialog.
struct FileDialogRequest {
    bool save;                 // GetSaveFileNameW instead of GetOpenFileNameW
    const char16_t* title;
    const char16_t* filter;
    char16_t* file;
    int file_cap;
    unsigned flags;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns the answer (kAnswerOk, kAnswerYes, ...).
    virtual int message_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                            unsigned style) = 0;

    // The common open or save dialog. False when cancelled or failed.
    virtual bool file_dialog(WindowHandle owner, FileDialogRequest& request) = 0;

    virtual bool get_current_directory(char16_t* out, int cap) = 0;
    virtual bool set_current_directory(const char16_t* path) = 0;
    virtual bool path_exists(const char16_t* path) = 0;

    // A message box with Yes, No and Cancel whose buttons carry the labels
    // given (a choice between two named actions); returns kAnswerYes,
    // kAnswerNo or kAnswerCancel. The text should still say what each
    // button does.
    virtual int choice_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                           const char16_t* yes_label, const char16_t* no_label,
                           const char16_t* cancel_label) {
        (void)yes_label, (void)no_label, (void)cancel_label;
        return message_box(owner, text, caption, kButtonsYesNoCancel | kIconQuestion);
    }

    // Opens an existing file for reading; other programs may have it open
    // for reading and writing (a table still open in a spreadsheet).
    // nullptr when it cannot be opened.
    virtual FileHandle open_for_read(const char16_t* path) = 0;
    // Reads up to `bytes` bytes; returns how many were delivered, 0 at the
    // end of the file or on a read error.
    virtual size_t read(FileHandle file, void* buffer, size_t bytes) = 0;
    // Like read, but tells a read error from the end of the file: false on
    // a read error, else true with *got bytes delivered (0 at the end).
    virtual bool read_checked(FileHandle file, void* buffer, size_t bytes, size_t* got) {
        *got = read(file, buffer, bytes);
        return true;
    }
    // False when closing failed.
    virtual bool close(FileHandle file) = 0;

    // Writes `bytes` bytes as the whole new content of `path`: the data go to
    // a temporary file in the same folder, every write is checked, and only
    // then does the temporary file replace the old one. False on any failure,
    // in which case the old file is untouched and no temporary file remains.
    virtual bool replace_file(const char16_t* path, const void* data, size_t bytes) = 0;

    virtual LocalTime local_time() = 0;

    // The size and last write time of an existing file; false when there is
    // no file at `path` (or it is a folder).
    virtual bool file_stamp(const char16_t* path, FileStamp* out) {
        (void)path, (void)out;
        return false;
    }
    // Makes the folder `path` (its parent must exist); true when it was made
    // or is already there.
    virtual bool make_folder(const char16_t* path) {
        (void)path;
        return false;
    }
    // Copies the file `from` byte for byte to the new file `to`, which must
    // not exist yet. False on any failure, in which case no part of `to`
    // remains.
    virtual bool copy_file(const char16_t* from, const char16_t* to) {
        (void)from, (void)to;
        return false;
    }
    // Calls `visit` with the name of every file (not folder) in `folder`.
    virtual void list_files(const char16_t* folder, FileNameVisitor visit, void* context) {
        (void)folder, (void)visit, (void)context;
    }
    // Deletes a file; false when it could not be deleted.
    virtual bool remove_file(const char16_t* path) {
        (void)path;
        return false;
    }

    // The small modeless "file access" window shown around file operations.
    virtual void show_wait_window(WindowHandle owner) = 0;
    virtual void close_wait_window() = 0;
    // Shows `text` as the wait window's progress line (a long operation).
    virtual void wait_window_progress(const char16_t* text) { (void)text; }

    // The folder of this user's data of the program on this machine
    // (%LOCALAPPDATA%\Zelkovane); it may not exist yet. Its parent does.
    virtual bool user_data_folder(char16_t* out, int cap) {
        (void)cap;
        out[0] = 0;
        return false;
    }
    // The local date of an existing file's last write; false when unknown.
    virtual bool file_date(const char16_t* path, LocalTime* out) {
        (void)path, (void)out;
        return false;
    }

    // A small menu of `count` texts at the mouse (or under the focused
    // control); the index chosen, -1 when it was closed (Esc).
    virtual int choose_from_menu(WindowHandle owner, const char16_t* const* items, int count) {
        (void)owner, (void)items, (void)count;
        return -1;
    }

    // The bytes of the program's RCDATA resource `id` (the postal code
    // table), in place for the whole run. False when the program has none
    // under that number.
    virtual bool program_resource(int id, const void** data, size_t* bytes) {
        (void)id;
        *data = nullptr;
        *bytes = 0;
        return false;
    }

    // Decodes `bytes` bytes of text in the Windows code page `code_page`
    // (932: Shift_JIS as Japanese Windows writes it) into at most `out_cap`
    // UTF-16 units. A byte sequence that is no character of the code page
    // still gives a unit (a replacement character), so `bytes` units always
    // suffice. Returns the number of units, or -1 when the code page is not
    // available or the text does not fit.
    virtual int decode_code_page(unsigned code_page, const void* bytes, size_t count,
                                 char16_t* out, size_t out_cap) {
        (void)code_page, (void)bytes, (void)count, (void)out, (void)out_cap;
        return -1;
    }
};

// The platform in use. The Win32 program and the native tests install theirs
// at start.
Platform& platform();
void set_platform(Platform* p);
