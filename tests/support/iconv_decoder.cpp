#include "tests/support/iconv_decoder.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace {

// iconv's name of a Windows code page; nullptr when the tests know none.
const char* iconv_name(unsigned code_page, char (&name)[16]) {
    const bool windows = code_page >= 1250 && code_page <= 1258;
    if (code_page == 932 || code_page == 866 || code_page == 874 || windows) {
        std::snprintf(name, sizeof name, "CP%u", code_page);
        return name;
    }
    if (code_page >= 28592 && code_page <= 28605) {
        std::snprintf(name, sizeof name, "ISO-8859-%u", code_page - 28590);
        return name;
    }
    if (code_page == 20866) return "KOI8-R";
    return nullptr;
}

}  // namespace

int iconv_decode_code_page(unsigned code_page, const void* bytes, size_t count, char16_t* out,
                           size_t out_cap) {
    char name[16];
    if (iconv_name(code_page, name) == nullptr) return -1;
    iconv_t cd = iconv_open("UTF-16LE", iconv_name(code_page, name));
    if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
    char* in = const_cast<char*>(static_cast<const char*>(bytes));
    size_t in_left = count;
    char* to = reinterpret_cast<char*>(out);
    size_t to_left = out_cap * sizeof(char16_t);
    int result = 0;
    while (in_left > 0) {
        if (iconv(cd, &in, &in_left, &to, &to_left) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || to_left < sizeof(char16_t)) {
            result = -1;
            break;
        }
        // An invalid or cut-off sequence: one replacement for its first byte.
        const char16_t replacement = 0xFFFD;
        *to++ = static_cast<char>(replacement & 0xFF);
        *to++ = static_cast<char>(replacement >> 8);
        to_left -= sizeof(char16_t);
        ++in;
        --in_left;
    }
    iconv_close(cd);
    if (result < 0) return -1;
    return static_cast<int>((to - reinterpret_cast<char*>(out)) / sizeof(char16_t));
}

std::string shift_jis(const std::u16string& text) {
    std::string out(text.size() * 2, '\0');
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string in;
    for (char16_t u : text) in += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    char* from = &in[0];
    size_t from_left = in.size();
    char* to = &out[0];
    size_t to_left = out.size();
    size_t done = iconv(cd, &from, &from_left, &to, &to_left);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) return std::string();
    out.resize(out.size() - to_left);
    return out;
}
