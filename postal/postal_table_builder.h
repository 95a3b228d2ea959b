// Builds the postal code table (the bytes postal_code_table.h reads) from
// Japan Post's own files: the address file (utf_ken_all.csv in UTF-8, or
// KEN_ALL.CSV in Shift_JIS with long towns split over several records) and
// the business file JIGYOSYO.CSV. The table built into the program is made
// by these same rules: scripts/postal_data.py turns the npm package's rows
// into the two files' layout and runs tools/postal_table_tool.cpp over them.
//
// The rules, one code at a time:
// - Japan Post's notes are no town: a town that is a note ("以下に掲載がない
//   場合", "…の次に４２７番地以降がくる場合", "琴平町一円") counts as none,
//   and a note in brackets at the end of a town ("（次のビルを除く）",
//   "（１～１９丁目）") is cut off; a floor in brackets ("（１階）") stays as
//   "１階"; brackets inside a town stay.
// - A town written "X第Ｎ地割～第Ｍ地割" (or "X第Ｎ地割") keeps X.
// - A building's codes (its floors, "霞が関霞が関ビル１階", and the code for
//   the rest of it) keep the building and floor apart from the town they
//   start with, so that an editor can put them on a line of their own.
// - A business code keeps the street and the office's name as given.
// - Where several rows share a code, only the parts on which all of them
//   agree are kept (two towns of a city give prefecture and city, two
//   prefectures an empty address), and the distinct towns are listed so that
//   the user can choose one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One row of Japan Post's files: a code and one place it stands for.
struct PostalRow {
    uint32_t code;
    std::u16string pref, city, town, street, office;
};

// Kinds of files read_japan_post_file tells apart.
constexpr int POSTAL_FILE_NONE = 0;      // not one of Japan Post's files: nothing was added
constexpr int POSTAL_FILE_ADDRESS = 1;   // utf_ken_all.csv / KEN_ALL.CSV: 15 columns
constexpr int POSTAL_FILE_BUSINESS = 2;  // JIGYOSYO.CSV: 13 columns

// Told how far reading and building have come, 0 to 100.
struct PostalProgress {
    void (*step)(void* context, int percent);
    void* context;
};

// Adds the rows of one of Japan Post's files, as text, to `rows`. Every
// record must have the columns of one kind and a code of seven digits where
// that kind has it; otherwise nothing is added and POSTAL_FILE_NONE is
// returned. Records split over several lines are joined.
int read_japan_post_file(const std::u16string& text, std::vector<PostalRow>& rows,
                         const PostalProgress* progress = nullptr);

// The town of a row without Japan Post's notes (the rules above).
std::u16string postal_town_of(const std::u16string& town);

// The table's bytes for `rows` (reordered by code), with the data's date
// (yyyymmdd, 0 unknown). Progress goes from 50 to 100.
std::string build_postal_table(std::vector<PostalRow>& rows, uint32_t date,
                               const PostalProgress* progress = nullptr);
