// Shared set-up of the data file tests: a fake platform with the working
// folder "C:\work" and a document in its start-up state.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/data_files.h"
#include "files/kv_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

class DataFileTest : public ::testing::Test {
protected:
    FakePlatform fake;

    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        clear_senders();
        clear_addressees();
        reset_layouts();
    }

    // Puts a data file with the byte order mark and `text` as UTF-16LE.
    void put_data(const std::u16string& path, const std::u16string& text) {
        fake.put_file(path, utf16le_file(text));
    }
};

// The text of a field, up to its NUL or its capacity.
template <int N>
std::u16string field_text(const char16_t (&field)[N]) {
    return std::u16string(field, static_cast<size_t>(text_length_bounded(field, N)));
}
