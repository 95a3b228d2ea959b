// The size of the selected printer's paper in tenths of a millimetre, as the
// printing dialogs show it: measured from a printer device or looked up by
// the device mode's paper code. It does not influence where anything is
// printed.
#pragma once

#include <cstdint>

class DrawingSurface;

int32_t paper_width();
int32_t paper_height();
void set_paper_size(int32_t width, int32_t height);

// The eight device capabilities the measurement needs.
struct PaperCaps {
    int32_t logpixelsx;
    int32_t logpixelsy;
    int32_t physicalwidth;
    int32_t physicalheight;
    int32_t horzsize;
    int32_t vertsize;
    int32_t physicaloffsetx;
    int32_t physicaloffsety;
};

PaperCaps read_paper_caps(DrawingSurface& printer);

// A device with an unprintable margin (physical offset not 0) gives its
// physical size converted to 0.1 mm; one without gives its printable size
// in millimetres times ten.
void read_paper_metrics(const PaperCaps& caps);
void read_paper_metrics(DrawingSurface& printer);

// Sets the paper size from the table of known paper codes (dmPaperSize);
// false, with the size unchanged, for an unknown code.
bool paper_size_from_code(int code);
