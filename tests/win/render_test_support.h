// Helpers of the Windows render and print tests: an in-memory 32-bit
// canvas to draw on and read pixels from, a sample card, a temporary folder,
// BMP files written from pixels, and the artifacts folder of the test run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "render/bmp_file.h"
#include "render/card_geometry.h"
#include "render/render_state.h"

namespace render_test {

inline const char16_t* u16(const std::wstring& s) {
    return reinterpret_cast<const char16_t*>(s.c_str());
}

// A white top-down 32-bit DIB section selected into a memory device context.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool valid() const { return bits_ != nullptr; }

    // 0xRRGGBB; outside the canvas white.
    uint32_t pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFF;
        GdiFlush();
        return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
    }
    // Anything clearly darker than white counts as ink.
    bool ink(int x, int y) const {
        uint32_t p = pixel(x, y);
        return ((p >> 16) & 0xFF) < 200 || ((p >> 8) & 0xFF) < 200 || (p & 0xFF) < 200;
    }
    int ink_in(const Rect& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += ink(x, y) ? 1 : 0;
        return n;
    }
    // The smallest rectangle holding all ink of r; empty (0,0,0,0) without ink.
    Rect ink_box(const Rect& r) const {
        Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (ink(x, y)) {
                    if (x < box.left) box.left = x;
                    if (y < box.top) box.top = y;
                    if (x + 1 > box.right) box.right = x + 1;
                    if (y + 1 > box.bottom) box.bottom = y + 1;
                }
        if (box.left == INT32_MAX) return {0, 0, 0, 0};
        return box;
    }
    Rect whole() const { return {0, 0, width_, height_}; }

    // The pixels of r as a 24-bit BMP file.
    std::string bmp(const Rect& r) const {
        int32_t w = r.right - r.left, h = r.bottom - r.top;
        BmpLayout layout{};
        if (!bmp_layout(w, h, &layout)) return {};
        std::string file(layout.file_bytes, '\0');
        uint8_t* bytes = reinterpret_cast<uint8_t*>(&file[0]);
        write_bmp_headers(bytes, w, h);
        for (int32_t y = 0; y < h; ++y) {
            uint8_t* row = bytes + kBmpHeadersSize + static_cast<size_t>(h - 1 - y) * layout.row_bytes;
            for (int32_t x = 0; x < w; ++x) {
                uint32_t p = pixel(r.left + x, r.top + y);
                row[3 * x] = static_cast<uint8_t>(p);
                row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
            }
        }
        return file;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

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

inline std::string read_file(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(h);
    return out;
}

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"zk_render_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring n = found.cFileName;
                if (n != L"." && n != L"..") DeleteFileW(file(n).c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// %ZK_ARTIFACTS% when the test runner set it, else empty.
inline std::wstring artifacts_dir() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"ZK_ARTIFACTS", buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    CreateDirectoryW(buffer, nullptr);
    return buffer;
}

// A fresh document with the default layout on every card and the render
// state of a program that has not painted yet.
inline void reset_document(const std::wstring& work_dir) {
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    text_set(doc().work_dir, u16(work_dir));
    set_drag_item(kItemNone);
    item_extents() = ItemExtents{};
}

// Addressee texts that fill the default layout without overlaps: postal
// code, two address lines, one name line; sender 0 with its code, two
// address lines and a name.
inline void fill_sample_card(int i, const char16_t* code = u"1000001") {
    CardRecord& c = doc().hdata[i];
    text_set(c.tt.m, code);
    text_set(c.ta.m[0].s, u"東京都千代田区千代田一ー一");
    text_set(c.ta.m[1].s, u"皇居前ビル三〇一号");
    text_set(c.tn.m[0].s, u"山田太郎様");
    c.ftb = 0;
    SenderRecord& s = doc().fdata[0];
    text_set(s.t, u"5300001");
    text_set(s.a[0].s, u"大阪市北区梅田一ー一");
    text_set(s.a[1].s, u"梅田ハイツ二〇二");
    text_set(s.n[0].s, u"鈴木花子");
}

inline Rect grow(const Rect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}
inline bool inside(int x, int y, const Rect& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace render_test
