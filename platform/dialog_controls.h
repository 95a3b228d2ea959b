// A dialog's controls as the portable logic sees them, addressed by control
// id. The Win32 dialogs implement it with GetDlgItemTextW and friends; the
// native tests with a fake that keeps the texts by id.
#pragma once

class DialogControls {
public:
    virtual ~DialogControls() = default;
    // Copies at most cap - 1 units of the control's text, NUL-terminated.
    virtual void get_text(int id, char16_t* out, int cap) = 0;
    virtual void set_text(int id, const char16_t* text) = 0;
    virtual bool checked(int id) = 0;
    virtual void set_checked(int id, bool on) = 0;
};
