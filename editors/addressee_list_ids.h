// Control ids of the addressee list "あて先の編集" (dialog 4). Included by
// the resource script, so plain #defines only.
#pragma once

#define IDC_LIST_EDIT 101       // "編集"
#define IDC_LIST_INSERT 102     // "挿入"
#define IDC_LIST_DELETE 103     // "削除"
#define IDC_LIST_COPY 104       // "コピー"
#define IDC_LIST_OVERWRITE 105  // "上書き"
#define IDC_LIST_NEW 106        // "新規"
#define IDC_LIST_SAVE_CLOSE 107 // "保存後閉じる"
#define IDC_LIST_PRINT 108      // "印刷処理"
#define IDC_LIST_REFRESH 110    // "画面更新"
#define IDC_LIST_UNDO 111       // "元に戻す"
#define IDC_LIST_POSTAL_CHECK 112  // "郵便番号チェック": selects the rows whose code is bad
#define IDC_LIST_OVERFLOW_CHECK 113  // "はみ出しチェック": selects the rows whose card has a line that does not fit
#define IDC_LIST_VERTICAL_FORM 121 // "漢数字": the selected rows' address lines in vertical-writing form
#define IDC_LIST_SELECT_UNSENT 130  // "未送付を選択": the rows still without a card this year
#define IDC_LIST_SELECT_REPLY 131   // "要返信を選択": the rows whose card came, none sent
#define IDC_LIST_ROUND_SUMMARY 132  // the line counting the card year's statuses
#define IDC_LIST_SEARCH 140      // "検索": the text to find
#define IDC_LIST_FIND_NEXT 141   // "次を検索" (Enter in the field, F3): the next row that holds it
#define IDC_LIST_SEARCH_LABEL 143  // the label "検索"
#define IDC_LIST_DUPLICATES 142  // "重複チェック": selects the rows that repeat an earlier addressee
#define IDC_LIST_INDEX_FIRST 150 // あ か さ た な は ま や ら わ: 150..159, to the first row of that 行
#define IDC_LIST_INDEX_LAST 159
#define IDC_LIST_ROWS 902       // the report list, created when the list is filled
#define IDC_LIST_CELL_EDIT 951  // the in-place cell editor, created on demand
