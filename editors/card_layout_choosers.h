// What the card layout dialog asks of the system besides its controls: the
// font chooser offering a printer's fonts, the colour chooser, and a drawing
// surface on the screen to measure an item's font with. The Win32 dialog
// implements it with the common dialogs and a GDI surface on the dialog's
// device context; the native tests with a scripted fake.
#pragma once

#include "model/document.h"
#include "platform/platform.h"
#include "print/printer_list.h"
#include "render/drawing_surface.h"

class LayoutChoosers {
public:
    virtual ~LayoutChoosers() = default;

    // The font chooser over `owner`, starting from `font`, offering the
    // screen's fonts and those of `printer` (nullptr: no printer is known,
    // the screen's fonts only). True when the user confirmed; `font` then
    // holds the chosen font.
    virtual bool choose_font(WindowHandle owner, const PrinterEntry* printer, LogFont& font) = 0;

    // The colour chooser over `owner`, starting from `colour`. True when
    // the user confirmed; `colour` then holds the chosen colour.
    virtual bool choose_colour(WindowHandle owner, RgbColor& colour) = 0;

    // A surface on the screen, in which one card unit is one pixel as on the
    // preview; it stays valid as long as the choosers do.
    virtual DrawingSurface& screen_surface() = 0;
};
