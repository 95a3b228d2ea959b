// What the 連名 and 敬称 rules read from a name line: whether it was aligned
// by hand (it starts with a space), the 敬称 it ends in, where the given
// name of a "family　given" line starts, and whether the line is a given
// name alone (a 連名 sharing the first line's family name).
#pragma once

struct NameParts {
    bool hand_aligned;  // starts with a space: drawn as typed
    int honorific;      // units of the 敬称 the line ends in; 0 for none
    int given_start;    // units of the family name and the spaces behind it;
                        // 0 when the name has no space inside
    bool given_only;    // not hand aligned, and the name before its 敬称 is
                        // one word without spaces
};

// The parts of the first `length` units of `text`. The 敬称 recognised are
// 様, 殿, 御中, 先生, さん, くん, ちゃん, 君, 御一同様, ご一同様, ご家族様 and 各位.
NameParts name_parts(const char16_t* text, int length);
