// The postal code table as the program carries it: an RCDATA resource that
// the Win32 platform hands to the core's reader (run under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "postal/postal_code_ids.h"
#include "postal/postal_code_table.h"
#include "platform/platform_win32.h"

TEST(PostalResource, TheBuiltInTableFindsAnAddress) {
    install_win32_platform();
    const void* data = nullptr;
    size_t bytes = 0;
    ASSERT_TRUE(win32_platform().program_resource(IDR_POSTAL_CODES, &data, &bytes));
    EXPECT_FALSE(win32_platform().program_resource(IDR_POSTAL_CODES + 1, &data, &bytes));
    EXPECT_EQ(data, nullptr);

    PostalCodeTable table;
    int opened = open_builtin_postal_code_table(table);
    if (opened == POSTAL_TABLE_ABSENT) GTEST_SKIP() << "built without the postal code data";
    ASSERT_EQ(opened, POSTAL_TABLE_OK);
    uint32_t code = 0;
    ASSERT_TRUE(read_typed_postal_code(u"〒150-0001", code));
    int index = find_postal_code(table, code);
    ASSERT_GE(index, 0);
    char16_t address[64];
    postal_address(table, index, address, 64);
    EXPECT_EQ(std::u16string(address), u"東京都渋谷区神宮前");
}
