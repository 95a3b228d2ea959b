// Controls of the sender editor "差出人の設定" (dialog 3). Included by the
// resource script, so plain #defines only.
#pragma once

#define IDC_SE_POSTAL 224          // the sender's postal code t
#define IDC_SE_POSTAL_LABEL 310    // "郵便番号"
#define IDC_SE_NAME 203            // n[name line]
#define IDC_SE_NAME_LINE 309       // "名前:%d/%d"
#define IDC_SE_NAME_NEXT 129       // "＋"
#define IDC_SE_NAME_PREVIOUS 130   // "－"
#define IDC_SE_ADDRESS 225         // a[address line]
#define IDC_SE_ADDRESS_LINE 302    // "住所:%d/%d"
#define IDC_SE_ADDRESS_NEXT 117
#define IDC_SE_ADDRESS_PREVIOUS 118
#define IDC_SE_SENDER 308          // "番号:%d/%d/%d"
#define IDC_SE_ADD 121             // "追加"
#define IDC_SE_SENDER_NEXT 122
#define IDC_SE_SENDER_PREVIOUS 123
#define IDC_SE_SAVE_CLOSE 107      // "保存後閉じる"
#define IDC_SE_UNDO 108            // "元に戻す"
#define IDC_SE_REFRESH 131         // "画面更新"
#define IDC_SE_POSTAL_TO_ADDRESS 140  // "〒→住所": the address field from the postal code
#define IDC_SE_VERTICAL_FORM 141      // "漢数字": the address field in its vertical-writing form
