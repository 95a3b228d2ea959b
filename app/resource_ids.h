// Numbers of the program's resources and of the controls and commands they
// carry. Included by the resource script, so plain #defines only.
#pragma once

// Icons and bitmaps.
#define IDI_ZELKOVANE 21        // large program icon, 32 x 32
#define IDI_ZELKOVANE_SMALL 22  // small program icon, 16 x 16
#define IDB_ABOUT 31            // about box picture, 160 x 103
#define IDB_TOOLBAR 32          // toolbar strip, nine 32 x 32 images side by side

// The main window's menu.
#define IDM_MAIN 41

// Dialogs (the editors' numbers 2 to 5 are theirs, the print position
// dialog's is print's).
#include "../editors/editor_dialog_ids.h"
#include "../print/print_dialog_ids.h"
#define IDD_ABOUT 1
#define IDD_WAIT 7
#define IDD_PRINTER_NOTICE 8
// The abort dialog of a print job is addressed by name: "PRNSTOP".

// Static texts of the wait window.
#define IDC_WAIT_ACCESS 301  // "ファイルアクセス中！"
#define IDC_WAIT_BUSY 302    // "ただ今！ファイル読み書き中で～す。"
#define IDC_WAIT_PLEASE 314  // "数秒お待ち下さい！。"

// The printer notice's text.
#define IDC_NOTICE_TEXT 301

// Menu commands of the main window.
#define CMD_NEW 51
#define CMD_OPEN_SENDERS 52
#define CMD_OPEN_ADDRESSEES 53
#define CMD_OPEN_LAYOUTS 54
#define CMD_SAVE_SENDERS 55
#define CMD_SAVE_ADDRESSEES 56
#define CMD_SAVE_LAYOUTS 57
#define CMD_SAVE_CSV 58
#define CMD_SAVE_BITMAP 59
#define CMD_OPEN_LEGACY_LAYOUT 60
#define CMD_OPEN_LEGACY_ADDRESS 61
#define CMD_CARD_LAYOUT 62
#define CMD_SENDER_EDITOR 63
#define CMD_ADDRESSEE_LIST 64
#define CMD_PRINT_POSITION 65
#define CMD_PRINTER_SETTINGS 66
#define CMD_PRINT 67
#define CMD_PROOF_SHEET 75
#define CMD_MANUAL 68
#define CMD_IMPORT_CSV 69
#define CMD_IMPORT_VCARD 72
#define CMD_FIT_LONG_LINES 73  // 印刷 > "長い行を縮めて収める", checked while on
#define CMD_ALIGN_NAMES 74     // 印刷 > "連名・敬称を揃える", checked while on
#define CMD_ABOUT 70
#define CMD_EXIT 71
#define CMD_UPDATE_POSTAL 76
#define CMD_VERTICAL_FORMS 77  // 印刷 > "縦書きの形で印刷", checked while on
#define CMD_KANJI_DIGITS 78    // 印刷 > "数字を漢数字で印刷", checked while on

// The toolbar and its buttons' commands.
#define IDC_TOOLBAR 329
#define CMD_TB_CARD_LAYOUT 330
#define CMD_TB_SENDER_EDITOR 331
#define CMD_TB_ADDRESSEE_LIST 332
#define CMD_TB_PREVIOUS 333
#define CMD_TB_NEXT 334
#define CMD_TB_PRINT 335
#define CMD_TB_PRINT_POSITION 336
#define CMD_TB_MANUAL 337
#define CMD_TB_EXIT 338

// The about box's line of the postal code data.
#define IDC_ABOUT_POSTAL 401

// The status bar.
#define IDC_STATUS_BAR 1
