// Controls and timer of the card layout dialog "葉書の設定" (dialog 2).
// Included by the resource script, so plain #defines only.
#pragma once

// Background bitmap and card size.
#define IDC_CL_BITMAP 201          // base_filepass
#define IDC_CL_BROWSE 102          // "参照"
#define IDC_CL_BASE_W 202          // "BitmapSizeX"
#define IDC_CL_BASE_H 208          // "BitmapSizeY"

// Addressee side "あて先側".
#define IDC_CL_TT_X1 203           // row "3桁": tt.x1, tt.y1, tt.w1
#define IDC_CL_TT_Y1 204
#define IDC_CL_TT_W1 205
#define IDC_CL_TT_X2 206           // row "4桁": tt.x2, tt.y2, tt.w2
#define IDC_CL_TT_Y2 207
#define IDC_CL_TT_W2 209
#define IDC_CL_TT_FONT 105
#define IDC_CL_TT_COLOUR 110
#define IDC_CL_TA_X 216            // "住所": ta.xy[address line]
#define IDC_CL_TA_Y 217
#define IDC_CL_TA_LINE 341         // "番号:%d/%d"
#define IDC_CL_TA_NEXT 121         // "＋"
#define IDC_CL_TA_PREVIOUS 122     // "－"
#define IDC_CL_TA_TOPS 113         // "高"
#define IDC_CL_TA_SPACING 114      // "横"
#define IDC_CL_TA_FONT 134
#define IDC_CL_TA_COLOUR 135
#define IDC_CL_TN_X 218            // "氏名": tn.xy[name line]
#define IDC_CL_TN_Y 219
#define IDC_CL_TN_LINE 342
#define IDC_CL_TN_NEXT 123
#define IDC_CL_TN_PREVIOUS 124
#define IDC_CL_TN_TOPS 116
#define IDC_CL_TN_SPACING 115
#define IDC_CL_TN_FONT 136
#define IDC_CL_TN_COLOUR 137

// Sender side "差出側".
#define IDC_CL_FT_X1 210           // row "3桁": ft.x1, ft.y1, ft.w1
#define IDC_CL_FT_Y1 211
#define IDC_CL_FT_W1 212
#define IDC_CL_FT_X2 213           // row "4桁": ft.x2, ft.y2, ft.w2
#define IDC_CL_FT_Y2 214
#define IDC_CL_FT_W2 215
#define IDC_CL_FT_FONT 132
#define IDC_CL_FT_COLOUR 133
#define IDC_CL_FA_X 220            // "住所": fa.xy[sender address line]
#define IDC_CL_FA_Y 221
#define IDC_CL_FA_LINE 343
#define IDC_CL_FA_NEXT 125
#define IDC_CL_FA_PREVIOUS 126
#define IDC_CL_FA_TOPS 119
#define IDC_CL_FA_SPACING 120
#define IDC_CL_FA_FONT 138
#define IDC_CL_FA_COLOUR 139
#define IDC_CL_FN_X 222            // "氏名": fn.xy[sender name line]
#define IDC_CL_FN_Y 223
#define IDC_CL_FN_LINE 344
#define IDC_CL_FN_NEXT 127
#define IDC_CL_FN_PREVIOUS 128
#define IDC_CL_FN_TOPS 143
#define IDC_CL_FN_SPACING 144
#define IDC_CL_FN_FONT 140
#define IDC_CL_FN_COLOUR 141

// "自動処理用設定値": the values the "高" and "横" buttons use.
#define IDC_CL_TOP 227             // "高さ"
#define IDC_CL_SPACING 226         // "幅"

#define IDC_CL_RESET 150           // "座標初期化"
#define IDC_CL_NEXT_PAGE 101       // "次"
#define IDC_CL_PREVIOUS_PAGE 103   // "戻"
#define IDC_CL_PAGE 345            // "Page:%d/%d"

// "基本Data一括変更": the layout clipboard.
#define IDC_CL_COPY 146            // "コピー"
#define IDC_CL_PASTE 147           // "ペースト"
#define IDC_CL_PASTE_ALL 148       // "全部ペースト"

#define IDC_CL_SAVE_CLOSE 107      // "保存後閉じる"
#define IDC_CL_UNDO 108            // "元に戻す"
#define IDC_CL_REFRESH 142         // "画面更新"
#define IDC_CL_RELOAD 145          // "画面取込"

// Follows the main window's toolbar navigation every 300 ms.
#define IDT_CL_FOLLOW 1
#define CL_FOLLOW_INTERVAL_MS 300
