#include "render/paper_metrics.h"

#include "render/drawing_surface.h"

namespace {

int32_t g_paper_width = 0;
int32_t g_paper_height = 0;

struct PaperEntry {
    int code;
    int32_t width;
    int32_t height;
};

constexpr PaperEntry kPapers[] = {
    {1, 2159, 2794},    // Letter
    {3, 2794, 4318},    // Tabloid
    {5, 2159, 3556},    // Legal
    {6, 1397, 2159},    // Statement
    {7, 1841, 2667},    // Executive
    {8, 2970, 4200},    // A3
    {9, 2100, 2970},    // A4
    {11, 1480, 2100},   // A5
    {12, 2570, 3640},   // B4 (JIS)
    {13, 1820, 2570},   // B5 (JIS)
    {14, 2159, 3302},   // Folio
    {43, 1000, 1480},   // Japanese postcard
    {44, 2286, 2794},   // 9 x 11 in
    {45, 2540, 2794},   // 10 x 11 in
    {66, 4200, 5940},   // A2
    {70, 1050, 1480},   // A6
    {73, 1200, 2350},   // Japanese envelope Chou #3
    {82, 1480, 2000},   // double Japanese postcard, rotated
    {88, 1280, 1820},   // B6 (JIS)
    {122, 1016, 1524},  // driver-defined sizes
    {123, 3200, 4500},
    {124, 1270, 1778},
    {125, 2150, 3150},
    {126, 2032, 2540},
    {127, 2794, 3810},
    {128, 3048, 4572},
    {129, 1940, 2670},
    {130, 2670, 3880},
    {131, 2330, 2972},
    {153, 5940, 8410},
};

// Physical pixels at `dpi` to tenths of a millimetre, rounded. A device that
// reports no resolution falls back to its size in millimetres.
int32_t tenths_of_mm(int32_t physical, int32_t dpi, int32_t size_mm) {
    if (dpi <= 0) return size_mm * 10;
    double v = (physical * 10.0) / (dpi * 10.0) * 254.0 + 0.5;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

int32_t paper_dimension(int32_t offset, int32_t physical, int32_t dpi, int32_t size_mm) {
    if (offset != 0) return tenths_of_mm(physical, dpi, size_mm);
    return static_cast<int32_t>(static_cast<uint32_t>(size_mm) * 10u);
}

}  // namespace

int32_t paper_width() { return g_paper_width; }
int32_t paper_height() { return g_paper_height; }

void set_paper_size(int32_t width, int32_t height) {
    g_paper_width = width;
    g_paper_height = height;
}

PaperCaps read_paper_caps(DrawingSurface& printer) {
    return {printer.device_caps(kCapLogPixelsX),     printer.device_caps(kCapLogPixelsY),
            printer.device_caps(kCapPhysicalWidth),  printer.device_caps(kCapPhysicalHeight),
            printer.device_caps(kCapHorzSize),       printer.device_caps(kCapVertSize),
            printer.device_caps(kCapPhysicalOffsetX), printer.device_caps(kCapPhysicalOffsetY)};
}

void read_paper_metrics(const PaperCaps& c) {
    g_paper_width = paper_dimension(c.physicaloffsetx, c.physicalwidth, c.logpixelsx, c.horzsize);
    g_paper_height = paper_dimension(c.physicaloffsety, c.physicalheight, c.logpixelsy, c.vertsize);
}

void read_paper_metrics(DrawingSurface& printer) { read_paper_metrics(read_paper_caps(printer)); }

bool paper_size_from_code(int code) {
    for (const PaperEntry& p : kPapers) {
        if (p.code == code) {
            set_paper_size(p.width, p.height);
            return true;
        }
    }
    return false;
}
