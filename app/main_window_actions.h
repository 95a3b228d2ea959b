// What the main window's commands and keys need of the window itself and of
// the dialogs it opens. The Win32 main window implements it; the native
// tests record the calls.
#pragma once

#include "platform/platform.h"

class MainWindowActions {
public:
    virtual ~MainWindowActions() = default;

    // Invalidates the whole client area with erase and paints it at once.
    virtual void repaint() = 0;

    // The modeless editors: the card layout dialog, the sender editor and
    // the addressee list, each created anew.
    virtual void open_card_layout() = 0;
    virtual void open_sender_editor() = 0;
    virtual void open_addressee_list() = 0;
    // "一覧で確認": every card as a thumbnail with its marks (exists once).
    virtual void open_proof_sheet() = 0;

    // The printer settings command, the print position dialog (modal) and
    // the print command.
    virtual void printer_settings() = 0;
    virtual void print_position() = 0;
    virtual void print() = 0;
    // Rewrites the status bar's texts.
    virtual void refresh_status() = 0;
    // Checks the 印刷 menu's two fitting switches as they stand
    // (render/card_fit.h).
    virtual void show_fit_switches() = 0;

    // Saves the preview of the current card as a BMP file: 0 written, 1 the
    // user declined to overwrite, 2 not written (message shown).
    virtual int export_bitmap(const char16_t* path) = 0;

    // Opens the manual with the system's viewer.
    virtual void open_manual() = 0;
    // The about box (modal).
    virtual void about() = 0;
    // Destroys the main window, which ends the program.
    virtual void destroy() = 0;
};
