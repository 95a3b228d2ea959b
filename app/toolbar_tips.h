// The main window's toolbar: its nine buttons in display order, each with
// the command it sends and the tooltip it shows. Image i of the toolbar's
// picture strip belongs to button i.
#pragma once

constexpr int TOOLBAR_BUTTON_COUNT = 9;

struct ToolbarButtonInfo {
    int command;              // WM_COMMAND id sent when the button is pressed
    const char16_t* tooltip;  // text shown while the mouse rests on it
};

// Button `index` (0 to 8) in display order; nullptr outside that range.
const ToolbarButtonInfo* toolbar_button(int index);

// The tooltip of the button that sends `command`; nullptr for any id that
// is not one of the toolbar's (330 to 338).
const char16_t* tooltip_text(int command);
