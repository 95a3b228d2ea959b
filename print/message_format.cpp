#include "print/message_format.h"

#include "model/text.h"

void format_message(char16_t* out, int cap, const char16_t* pattern,
                    std::initializer_list<FormatArg> args) {
    TextBuilder b(out, cap);
    const FormatArg* next = args.begin();
    for (const char16_t* p = pattern; *p != 0; ++p) {
        bool placeholder = p[0] == u'%' && (p[1] == u's' || p[1] == u'd');
        if (placeholder && next != args.end()) {
            if (p[1] == u's')
                b.add(next->text ? next->text : u"");
            else
                b.add_int(next->number);
            ++next;
            ++p;
        } else {
            b.add_unit(*p);
        }
    }
}

void format_tenths(char16_t* out, int cap, int32_t tenths) {
    TextBuilder b(out, cap);
    int64_t v = tenths;
    if (v < 0) {
        b.add_unit(u'-');
        v = -v;
    }
    // The whole part fits: |INT32_MIN| / 10 is below INT32_MAX.
    b.add_int(static_cast<int32_t>(v / 10));
    b.add_unit(u'.');
    b.add_unit(static_cast<char16_t>(u'0' + v % 10));
}
