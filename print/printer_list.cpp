#include "print/printer_list.h"

#include <vector>

#include "model/text.h"
#include "print/printer_spooler.h"
#include "print/printer_state.h"

namespace {
PrinterEntry g_list[PRINTER_LIST_MAX];
int32_t g_count = 0;
}  // namespace

const PrinterEntry* printer_list() { return g_list; }

int32_t printer_count() { return g_count; }

int32_t enum_printers(WindowHandle window) {
    std::vector<PrinterNames> found;
    if (!printer_spooler().enum_printers(found)) {
        platform().message_box(window, u"プリンタが見つかりません", u"プリンタ検索中",
                               kButtonsOk | kIconWarning);
        return -1;
    }
    g_count = found.size() < PRINTER_LIST_MAX ? static_cast<int32_t>(found.size())
                                                : PRINTER_LIST_MAX;
    int32_t index = -1;
    for (int32_t i = 0; i < g_count; ++i) {
        PrinterEntry& e = g_list[i];
        text_set(e.name, found[i].name.c_str());
        text_set(e.port, found[i].port.c_str());
        text_set(e.driver, found[i].driver.c_str());
        if (text_equal(e.name, printer_state().printer_name)) index = i;
    }
    return index;
}
