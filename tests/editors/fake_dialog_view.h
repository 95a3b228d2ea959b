// A dialog for the editors' native tests: control texts and check marks kept
// by id, repaints counted, the focus and closing recorded. Message boxes go
// through the FakePlatform as everywhere else.
#pragma once

#include <map>
#include <string>

#include "editors/dialog_view.h"
#include "editors/editor_shared.h"
#include "model/text.h"

class FakeDialogView : public DialogView {
public:
    std::map<int, std::u16string> texts;
    std::map<int, bool> checks;
    int main_repaints = 0;
    int dialog_repaints = 0;
    int focused = 0;  // the control last given the focus
    bool closed = false;
    int close_result = -1;

    FakeDialogView() = default;
    FakeDialogView(const FakeDialogView&) = default;
    FakeDialogView& operator=(const FakeDialogView&) = default;

    // The text of a control as the user sees it ("" when never set).
    std::u16string text(int id) const {
        auto it = texts.find(id);
        return it == texts.end() ? std::u16string() : it->second;
    }
    // What the user types into a control.
    void type(int id, const std::u16string& s) { texts[id] = s; }

    void get_text(int id, char16_t* out, int cap) override {
        if (cap <= 0) return;
        std::u16string s = text(id);
        text_copy(out, cap, s.c_str());
    }
    void set_text(int id, const char16_t* s) override { texts[id] = s; }
    bool checked(int id) override { return checks[id]; }
    void set_checked(int id, bool on) override { checks[id] = on; }
    WindowHandle window() override { return reinterpret_cast<WindowHandle>(0x2); }
    void repaint_main_window() override { ++main_repaints; }
    void repaint_dialog() override { ++dialog_repaints; }
    void focus(int id) override { focused = id; }
    void close(int result) override {
        closed = true;
        close_result = result;
    }
};
