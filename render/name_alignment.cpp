#include "render/name_alignment.h"

namespace {

// Longest first, so that 御一同様 is not taken for 様.
const char16_t* const kHonorifics[] = {u"御一同様", u"ご一同様", u"ご家族様", u"ちゃん", u"御中",
                                       u"先生",     u"さん",     u"くん",     u"各位",   u"様",
                                       u"殿",       u"君"};

bool is_space(char16_t c) { return c == u' ' || c == u'\u3000'; }

int honorific_at_end(const char16_t* text, int length) {
    for (const char16_t* h : kHonorifics) {
        int n = 0;
        while (h[n] != 0) ++n;
        if (n > length) continue;
        bool same = true;
        for (int i = 0; i < n && same; ++i) same = text[length - n + i] == h[i];
        if (same) return n;
    }
    return 0;
}

}  // namespace

NameParts name_parts(const char16_t* text, int length) {
    NameParts parts{};
    if (length <= 0) return parts;
    parts.hand_aligned = is_space(text[0]);
    parts.honorific = honorific_at_end(text, length);
    // The name: what stands before the 敬称, without the spaces before it.
    int name_end = length - parts.honorific;
    while (name_end > 0 && is_space(text[name_end - 1])) --name_end;
    int space = 0;
    while (space < name_end && !is_space(text[space])) ++space;
    if (space < name_end) {
        int given = space;
        while (given < name_end && is_space(text[given])) ++given;
        if (space > 0) parts.given_start = given;
    }
    parts.given_only = !parts.hand_aligned && name_end > 0 && space == name_end;
    return parts;
}
