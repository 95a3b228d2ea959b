// Numbers of the print position dialog, its controls and timer, and the
// name of a print job's abort dialog. Included by the resource script, so
// plain #defines only.
#pragma once

#define IDD_PRINT_POSITION 6
// The abort dialog of a print job is addressed by name: "PRNSTOP".

#define IDC_PP_PRINTER 327        // "プリンタ　%s"
#define IDC_PP_PAPER 328          // "用紙サイズ　%d.%d（横）×%d.%d（縦）単位mm"
#define IDC_PP_CARD_WIDTH 238     // base_pw, mm with one decimal
#define IDC_PP_CARD_HEIGHT 239    // base_ph
#define IDC_PP_OFFSET_X 234       // base_px
#define IDC_PP_OFFSET_Y 235       // base_py
#define IDC_PP_MODE_ONE 401       // prn_mode 0 (and every value but 1 and 2)
#define IDC_PP_MODE_ALL 402       // prn_mode 1
#define IDC_PP_MODE_RANGE 403     // prn_mode 2
#define IDC_PP_START 228          // start_p
#define IDC_PP_STOP 205           // stop_p
#define IDC_PP_BACKGROUND 257     // bmp_mode
#define IDC_PP_PRINTER_SETUP 106  // "プリンタの設定"
#define IDC_PP_OK 107             // "OK"
#define IDC_PP_CANCEL 108         // "ｷｬﾝｾﾙ"
#define IDC_PP_HELP 109           // "ﾍﾙﾌﾟ"
#define IDC_PP_REPREVIEW 105      // "再ﾌﾟﾚﾋﾞｭ"

// The abort dialog's line naming the page being printed ("%d / %d 枚目").
#define IDC_PRNSTOP_PAGE 1001

#define IDT_PP_PREVIEW 1          // redraws the preview 300 ms after typing
#define PP_PREVIEW_DELAY_MS 300
