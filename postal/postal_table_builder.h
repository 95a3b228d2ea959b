// Builds the postal code table (the bytes postal_code_table.h reads) from
// Japan Post's own files: the address file (utf_ken_all.csv in UTF-8, or
// KEN_ALL.CSV in Shift_JIS with long towns split over several records) and
// the business file JIGYOSYO.CSV. The table built into the program is made
// by these same rules: scripts/postal_data.py turns the npm package's rows
// into the two files' layout and runs tools/postal_table_tool.cpp over them.
//
// The rules, one code at a time:
// - Japan Post's notes are no town: "以下に掲載がない場合" and "琴平町一円"
//   count as none; "…の次に番地がくる場合" keeps the town it names
//   ("大島町の次に番地がくる場合" is 大島町) unless that is the city itself
//   ("小菅村の次に６６４番地以降がくる場合"). A note in brackets at the end
//   of a town ("（次のビルを除く）", "（１～１９丁目）") is cut off; brackets
//   inside a town stay.
// - A 地割 town keeps the name before it, in every form Japan Post writes:
//   "種市第１地割～第３地割", "槻沢２５地割～槻沢２８地割", "湯本２９地割、
//   湯本３０地割" give 種市, 槻沢, 湯本.
// - A building's codes (its floors "霞が関霞が関ビル（１階）" and the code
//   for the rest of it, "（地階・階層不明）") keep the building and floor
//   apart from the town they start with, so that an editor can put them on
//   a line of their own. The floor is read from its bracket, or from "N階"
//   at the end right after the building's own name (the package's rows
//   write "…（高層棟）１階"), so a name ending in digits keeps them
//   ("サンシャイン６０" and "１階"). Qualifiers in brackets before the floor
//   are kept in the building's name without the brackets, on every code of
//   the building alike: "名駅ミッドランドスクエア（高層棟）（１階）" reads
//   名駅 and ミッドランドスクエア高層棟１階.
// - A business code keeps the street and the office's name as given.
// - Where several rows share a code, only the parts on which all of them
//   agree are kept (two towns of a city give prefecture and city, two
//   prefectures an empty address), and the distinct places are listed so
//   that the user can choose one: every town, and a city without a town as
//   itself (0040000: 札幌市厚別区 and 札幌市清田区).
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

// The same for the bytes of a file, read into the storage of `file` from
// its start (read_csv_file, store_csv_bytes), decoded as the CSV reader
// decodes them (utf_ken_all.csv in UTF-8 with or without a byte order mark,
// KEN_ALL.CSV and JIGYOSYO.CSV in Shift_JIS through the platform). A file
// with bytes that are no character (*garbled gets their number) adds
// nothing and gives POSTAL_FILE_NONE. The program's update and the build's
// tool both read through here.
int read_japan_post_bytes(std::u16string& file, size_t bytes, std::vector<PostalRow>& rows,
                          const PostalProgress* progress = nullptr, int* garbled = nullptr);

// The table's bytes for `rows` (their towns are read in place), with the data's date
// (yyyymmdd, 0 unknown). Progress goes from 50 to 100.
std::string build_postal_table(std::vector<PostalRow>& rows, uint32_t date,
                               const PostalProgress* progress = nullptr);
