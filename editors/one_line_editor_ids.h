// Control ids of the one-line editor "１行編集" (dialog 5). Included by the
// resource script, so plain #defines only.
#pragma once

#define IDC_LINE_ROW_LABEL 328       // "編集行　%d/%d行"
#define IDC_LINE_POSTAL 234          // postal code
#define IDC_LINE_NAME 239            // the name line shown
#define IDC_LINE_YOMI 240            // the reading (よみ)
#define IDC_LINE_NAME_LABEL 306      // "項目　%d/%d" of the name lines
#define IDC_LINE_NAME_NEXT 104       // "＋"
#define IDC_LINE_NAME_PREV 106       // "－"
#define IDC_LINE_ADDRESS 238         // the address line shown
#define IDC_LINE_ADDRESS_LABEL 301   // "項目　%d/%d" of the address lines
#define IDC_LINE_ADDRESS_NEXT 101    // "＋"
#define IDC_LINE_ADDRESS_PREV 102    // "－"
#define IDC_LINE_SENDER_LABEL 307    // "差出　%d/%d"
#define IDC_LINE_SENDER_NAME 308     // first name line of the chosen sender
#define IDC_LINE_SENDER_NEXT 113     // "＋"
#define IDC_LINE_SENDER_PREV 114     // "－"
#define IDC_LINE_STATUS_THIS 271     // status for the card year
#define IDC_LINE_STATUS_LAST 272     // the year before
#define IDC_LINE_STATUS_BEFORE 273   // two years before
#define IDC_LINE_CLOSE 107           // "閉じる"
#define IDC_LINE_CANCEL 105          // "キャンセル"
#define IDC_LINE_COPY 111            // "コピー"
#define IDC_LINE_PASTE 112           // "ペースト"
#define IDC_LINE_POSTAL_TO_ADDRESS 120  // "〒→住所": the address field from the postal code
#define IDC_LINE_VERTICAL_FORM 121      // "漢数字": the address field in its vertical-writing form
