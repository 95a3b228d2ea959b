// Control ids of the window "一覧で確認" (created by the program, not from a
// dialog resource). Plain #defines only.
#pragma once

#define IDC_SHEET_ALL 1301             // "すべて"
#define IDC_SHEET_ATTENTION 1302       // "要確認"
#define IDC_SHEET_UNSENT 1303          // "未送付"
#define IDC_SHEET_COUNT 1304           // "表示 80枚（要確認 3枚）"
#define IDC_SHEET_PRINT_SELECTED 1305  // "選択した葉書を印刷"
#define IDC_SHEET_PRINT_SHEET 1306     // "一覧を印刷"
#define IDC_SHEET_CARDS 1307           // the thumbnails
#define IDC_SHEET_SEARCH_LABEL 1308    // "検索"
#define IDC_SHEET_SEARCH 1309          // the text the cards shown must hold
