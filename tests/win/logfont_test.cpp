// The stored font description is handed to GDI as a LOGFONTW as it is.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "model/document.h"

static_assert(sizeof(LogFont) == sizeof(LOGFONTW), "LogFont must match LOGFONTW");
static_assert(offsetof(LogFont, lfHeight) == offsetof(LOGFONTW, lfHeight), "lfHeight");
static_assert(offsetof(LogFont, lfWidth) == offsetof(LOGFONTW, lfWidth), "lfWidth");
static_assert(offsetof(LogFont, lfEscapement) == offsetof(LOGFONTW, lfEscapement), "lfEscapement");
static_assert(offsetof(LogFont, lfOrientation) == offsetof(LOGFONTW, lfOrientation), "lfOrientation");
static_assert(offsetof(LogFont, lfWeight) == offsetof(LOGFONTW, lfWeight), "lfWeight");
static_assert(offsetof(LogFont, lfItalic) == offsetof(LOGFONTW, lfItalic), "lfItalic");
static_assert(offsetof(LogFont, lfUnderline) == offsetof(LOGFONTW, lfUnderline), "lfUnderline");
static_assert(offsetof(LogFont, lfStrikeOut) == offsetof(LOGFONTW, lfStrikeOut), "lfStrikeOut");
static_assert(offsetof(LogFont, lfCharSet) == offsetof(LOGFONTW, lfCharSet), "lfCharSet");
static_assert(offsetof(LogFont, lfOutPrecision) == offsetof(LOGFONTW, lfOutPrecision), "lfOutPrecision");
static_assert(offsetof(LogFont, lfClipPrecision) == offsetof(LOGFONTW, lfClipPrecision), "lfClipPrecision");
static_assert(offsetof(LogFont, lfQuality) == offsetof(LOGFONTW, lfQuality), "lfQuality");
static_assert(offsetof(LogFont, lfPitchAndFamily) == offsetof(LOGFONTW, lfPitchAndFamily),
              "lfPitchAndFamily");
static_assert(offsetof(LogFont, lfFaceName) == offsetof(LOGFONTW, lfFaceName), "lfFaceName");
static_assert(sizeof(LogFont::lfFaceName) == sizeof(LOGFONTW::lfFaceName), "lfFaceName size");

TEST(LogFont, SurvivesARoundTripThroughGdi) {
    LogFont stored{};
    stored.lfHeight = -27;
    stored.lfEscapement = -900;
    stored.lfOrientation = -900;
    stored.lfWeight = 700;
    stored.lfCharSet = 128;  // SHIFTJIS_CHARSET
    const char16_t face[] = u"@HG行書体";
    std::memcpy(stored.lfFaceName, face, sizeof face);

    HFONT font = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&stored));
    ASSERT_NE(font, nullptr);
    LogFont back{};
    ASSERT_EQ(GetObjectW(font, sizeof(LOGFONTW), &back), static_cast<int>(sizeof(LOGFONTW)));
    DeleteObject(font);
    EXPECT_EQ(std::memcmp(&stored, &back, sizeof stored), 0);
}
