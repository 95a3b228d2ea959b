#include <gtest/gtest.h>

#include <string>

#include "model/document.h"
#include "render/background_path.h"
#include "tests/support/fake_platform.h"

namespace {

std::u16string resolve(const std::u16string& dir, const std::u16string& name, bool* ok = nullptr) {
    char16_t out[PATH_CAP + 8];
    for (char16_t& u : out) u = u'#';
    bool fits = resolve_background_path(dir.c_str(), name.c_str(), out, PATH_CAP);
    if (ok) *ok = fits;
    // Nothing past the resolved name's room is touched.
    for (int i = PATH_CAP; i < PATH_CAP + 8; ++i) EXPECT_EQ(out[i], u'#');
    return out;
}

TEST(BackgroundPathTest, BareNamesAreJoinedToTheWorkingDirectory) {
    EXPECT_EQ(utf8(resolve(u"D:\\data", u"base1.bmp")), "D:\\data\\base1.bmp");
    EXPECT_EQ(utf8(resolve(u"D:\\", u"base1.bmp")), "D:\\base1.bmp");
    EXPECT_EQ(utf8(resolve(u"D:\\data", u"sub\\x.bmp")), "D:\\data\\sub\\x.bmp");
    // A UNC name is not a drive-letter path.
    EXPECT_EQ(utf8(resolve(u"D:\\data", u"\\\\server\\share\\x.bmp")),
              "D:\\data\\\\\\server\\share\\x.bmp");
}

TEST(BackgroundPathTest, DriveLetterPathsAreUsedAsTheyStand) {
    EXPECT_EQ(utf8(resolve(u"D:\\data", u"E:\\pics\\x.bmp")), "E:\\pics\\x.bmp");
    // "E:x.bmp" has no backslash after the colon: joined.
    EXPECT_EQ(utf8(resolve(u"D:\\data", u"E:x.bmp")), "D:\\data\\E:x.bmp");
}

TEST(BackgroundPathTest, NamesThatDoNotFitResolveToNothing) {
    std::u16string dir = u"C:\\" + std::u16string(200, u'd');  // 203 units
    bool ok = false;
    // 203 + 1 + 55 = 259 units plus the NUL: fits exactly.
    EXPECT_EQ(resolve(dir, std::u16string(55, u'n'), &ok).size(), 259u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(resolve(dir, std::u16string(56, u'n'), &ok), u"");
    EXPECT_FALSE(ok);
    // Both fields at their full 259 units.
    std::u16string full_dir = u"C:\\" + std::u16string(256, u'd');
    EXPECT_EQ(resolve(full_dir, std::u16string(259, u'n'), &ok), u"");
    EXPECT_FALSE(ok);
    EXPECT_EQ(resolve(u"D:\\data", u"", &ok), u"");
    EXPECT_FALSE(ok);
}

}  // namespace
