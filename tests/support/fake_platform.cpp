#include "tests/support/fake_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "files/backup_generations.h"
#include "files/file_stamps.h"
#include "postal/postal_update.h"
#include "tests/support/iconv_decoder.h"

namespace fs = std::filesystem;

std::string utf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf16le_file(const std::u16string& text) {
    std::string out("\xFF\xFE", 2);
    for (char16_t u : text) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

FakePlatform::FakePlatform() {
    char tmpl[] = "/tmp/zelko-fake-XXXXXX";
    const char* made = mkdtemp(tmpl);
    root_ = made ? made : "/tmp/zelko-fake";
    fs::create_directories(host_path(current_dir));
    fs::create_directories(host_path(u"C:\\appdata"));
    set_platform(this);
    forget_postal_table_in_use();
    // Each test is a fresh run of the program over fresh files.
    forget_file_stamps();
    reset_backup_report();
}

FakePlatform::~FakePlatform() {
    std::error_code ec;
    fs::remove_all(root_, ec);
    set_platform(nullptr);
}

std::u16string FakePlatform::absolute(const std::u16string& path) const {
    if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') return path;
    if (!path.empty() && path[0] == u'\\') return current_dir.substr(0, 2) + path;
    std::u16string base = current_dir;
    if (base.empty() || base.back() != u'\\') base += u'\\';
    return base + path;
}

std::string FakePlatform::host_path(const std::u16string& windows_path) const {
    std::u16string abs = absolute(windows_path);
    std::string out = root_ + "/";
    out += static_cast<char>(abs[0]);
    std::string rest = utf8(abs.substr(2));
    for (char& ch : rest)
        if (ch == '\\') ch = '/';
    return out + rest;
}

void FakePlatform::put_file(const std::u16string& windows_path, const std::string& bytes) {
    std::string p = host_path(windows_path);
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FakePlatform::has_file(const std::u16string& windows_path) const {
    return fs::is_regular_file(host_path(windows_path));
}

std::string FakePlatform::file_bytes(const std::u16string& windows_path) const {
    std::ifstream f(host_path(windows_path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::vector<std::string> FakePlatform::list_dir(const std::u16string& windows_dir) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(host_path(windows_dir), ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int FakePlatform::message_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                              unsigned style) {
    boxes.push_back({owner, text ? text : u"", caption ? caption : u"", style});
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    if ((style & 0xF) == kButtonsYesNoCancel) return kAnswerCancel;
    return (style & 0xF) == kButtonsYesNo ? kAnswerNo : kAnswerOk;
}

bool FakePlatform::file_dialog(WindowHandle owner, FileDialogRequest& request) {
    DialogCall call;
    call.owner = owner;
    call.save = request.save;
    call.title = request.title ? request.title : u"";
    const char16_t* f = request.filter;
    if (f) {
        while (*f) {
            size_t n = std::char_traits<char16_t>::length(f);
            call.filter.append(f, n + 1);
            f += n + 1;
        }
    }
    call.initial_file = request.file;
    call.file_cap = request.file_cap;
    call.flags = request.flags;
    dialogs.push_back(call);
    if (dialog_answers.empty()) return false;
    DialogAnswer a = dialog_answers.front();
    dialog_answers.pop_front();
    if (!a.ok) return false;
    if (static_cast<int>(a.path.size()) >= request.file_cap) return false;  // the dialog refuses it
    for (size_t i = 0; i < a.path.size(); ++i) request.file[i] = a.path[i];
    request.file[a.path.size()] = 0;
    return true;
}

bool FakePlatform::get_current_directory(char16_t* out, int cap) {
    if (static_cast<int>(current_dir.size()) >= cap) return false;
    for (size_t i = 0; i < current_dir.size(); ++i) out[i] = current_dir[i];
    out[current_dir.size()] = 0;
    return true;
}

bool FakePlatform::set_current_directory(const char16_t* path) {
    std::u16string p = absolute(path);
    if (!fs::is_directory(host_path(p))) return false;
    current_dir = p;
    return true;
}

bool FakePlatform::path_exists(const char16_t* path) {
    return fs::exists(host_path(path));
}

FileHandle FakePlatform::open_for_read(const char16_t* path) {
    if (unreadable.count(absolute(path))) return nullptr;
    std::string p = host_path(path);
    std::error_code error;  // a name too long for the host is no file, as on Windows
    if (!fs::is_regular_file(p, error)) return nullptr;
    read_so_far_ = 0;
    return std::fopen(p.c_str(), "rb");
}

size_t FakePlatform::read(FileHandle file, void* buffer, size_t bytes) {
    size_t got = 0;
    return read_checked(file, buffer, bytes, &got) ? got : 0;
}

bool FakePlatform::read_checked(FileHandle file, void* buffer, size_t bytes, size_t* got) {
    *got = 0;
    if (read_so_far_ >= read_error_after) return false;
    if (bytes > read_error_after - read_so_far_) bytes = read_error_after - read_so_far_;
    *got = std::fread(buffer, 1, bytes, static_cast<FILE*>(file));
    read_so_far_ += *got;
    return true;
}

int FakePlatform::choice_box(WindowHandle owner, const char16_t* text, const char16_t* caption,
                             const char16_t* yes_label, const char16_t* no_label,
                             const char16_t* cancel_label) {
    choice_labels = std::u16string(yes_label) + u"/" + no_label + u"/" + cancel_label;
    return Platform::choice_box(owner, text, caption, yes_label, no_label, cancel_label);
}

bool FakePlatform::close(FileHandle file) {
    std::fclose(static_cast<FILE*>(file));
    return !fail_close;
}

bool FakePlatform::replace_file(const char16_t* path, const void* data, size_t bytes) {
    std::u16string abs = absolute(path);
    if (unwritable.count(abs)) return false;
    std::string p = host_path(abs);
    if (!fs::is_directory(fs::path(p).parent_path())) return false;
    std::string tmp = p + ".zktmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f) return false;
        f.write(static_cast<const char*>(data), static_cast<std::streamsize>(bytes));
        if (!f) {
            f.close();
            std::remove(tmp.c_str());
            return false;
        }
    }
    std::error_code ec;
    fs::rename(tmp, p, ec);
    if (ec) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

bool FakePlatform::file_stamp(const char16_t* path, FileStamp* out) {
    std::string p = host_path(path);
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return false;
    out->size = fs::file_size(p, ec);
    out->write_time = static_cast<uint64_t>(fs::last_write_time(p, ec).time_since_epoch().count());
    return true;
}

void FakePlatform::wait_window_progress(const char16_t* text) { progress.push_back(utf8(text)); }

bool FakePlatform::user_data_folder(char16_t* out, int cap) {
    if (user_data.empty() || user_data.size() + 1 > static_cast<size_t>(cap)) return false;
    std::copy(user_data.begin(), user_data.end(), out);
    out[user_data.size()] = 0;
    return true;
}

bool FakePlatform::file_date(const char16_t* path, LocalTime* out) {
    if (!has_file(path)) return false;
    *out = file_dates;
    return true;
}

int FakePlatform::choose_from_menu(WindowHandle, const char16_t* const* items, int count) {
    menus.emplace_back();
    for (int i = 0; i < count; ++i) menus.back().push_back(::utf8(std::u16string(items[i])));
    if (menu_answers.empty()) return -1;
    int chosen = menu_answers.front();
    menu_answers.pop_front();
    return chosen;
}

bool FakePlatform::make_folder(const char16_t* path) {
    std::error_code ec;
    fs::create_directory(host_path(path), ec);
    return fs::is_directory(host_path(path), ec);
}

bool FakePlatform::copy_file(const char16_t* from, const char16_t* to) {
    std::error_code ec;
    return fs::copy_file(host_path(from), host_path(to), ec);
}

void FakePlatform::list_files(const char16_t* folder, FileNameVisitor visit, void* context) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(host_path(folder), ec)) {
        if (!e.is_regular_file()) continue;
        std::string name = e.path().filename().string();  // the tests' names are ASCII
        visit(std::u16string(name.begin(), name.end()).c_str(), context);
    }
}

bool FakePlatform::remove_file(const char16_t* path) {
    std::error_code ec;
    return fs::remove(host_path(path), ec);
}

bool FakePlatform::program_resource(int id, const void** data, size_t* bytes) {
    auto it = resources.find(id);
    *data = it == resources.end() ? nullptr : it->second.data();
    *bytes = it == resources.end() ? 0 : it->second.size();
    return it != resources.end();
}

int FakePlatform::decode_code_page(unsigned code_page, const void* bytes, size_t count,
                                   char16_t* out, size_t out_cap) {
    return iconv_decode_code_page(code_page, bytes, count, out, out_cap);
}
