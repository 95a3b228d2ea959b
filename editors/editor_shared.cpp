#include "editors/editor_shared.h"

#include <cstring>

#include "model/text.h"

CardRecord work_card;

void copy_addressee(CardRecord& to, const CardRecord& from) {
    std::memcpy(to.tt.m, from.tt.m, sizeof to.tt.m);
    std::memcpy(to.ta.m, from.ta.m, sizeof to.ta.m);
    std::memcpy(to.tn.m, from.tn.m, sizeof to.tn.m);
    to.ftb = from.ftb;
    std::memcpy(to.typ, from.typ, sizeof to.typ);
    std::memcpy(to.yomi, from.yomi, sizeof to.yomi);
}

void copy_layout(CardRecord& to, const CardRecord& from) {
    CardRecord layout;
    std::memcpy(&layout, &from, sizeof layout);
    copy_addressee(layout, to);
    std::memcpy(&to, &layout, sizeof to);
}

bool confirm_discard(DialogView& view) {
    return platform().message_box(view.window(), u"修正を破棄して閉じていいですか？", u"閉じる",
                                  kButtonsYesNo) == kAnswerYes;
}

void format_counter(char16_t* out, int cap, const char16_t* prefix, int a, int b) {
    TextBuilder(out, cap).add(prefix).add_int(a).add_unit(u'/').add_int(b);
}

namespace {

// The editors that are open: the main window's commands that replace the
// document reach them here, holding no pointer to their windows. The card
// layout dialog, the sender editor and the addressee list: at most one of
// each is open.
constexpr int kMaxOpen = 3;
Editor* g_open[kMaxOpen];

// The modal dialogs the editors have open, program-wide: the main window
// disables itself while there is one.
int g_modal = 0;
EditorModalHook g_modal_hook = nullptr;

void remember(Editor& editor) {
    for (Editor*& e : g_open) {
        if (e != nullptr) continue;
        e = &editor;
        return;
    }
}

void forget(const Editor& editor) {
    for (Editor*& e : g_open)
        if (e == &editor) e = nullptr;
}

}  // namespace

Editor::~Editor() { forget(*this); }

void Editor::opened() {
    forget(*this);
    open_ = true;
    remember(*this);
}

void Editor::window_gone() {
    forget(*this);
    open_ = false;
}

void Editor::close(int result) {
    forget(*this);
    open_ = false;
    view_.close(result);
}

bool settle_open_editors(WindowHandle owner) {
    for (Editor*& slot : g_open) {
        if (slot == nullptr) continue;
        // The editor forgets itself when it closes.
        Editor& e = *slot;
        if (!e.has_changes()) {
            e.discard_and_close();
            continue;
        }
        const char16_t* caption = e.caption();
        char16_t question[64];
        TextBuilder(question, 64).add(u"「").add(caption).add(u"」の変更を保存しますか？");
        int answer = platform().message_box(owner, question, caption, kButtonsYesNoCancel);
        if (answer == kAnswerYes) {
            e.save_and_close();
        } else if (answer == kAnswerNo) {
            e.discard_and_close();
        } else {
            return false;
        }
    }
    return true;
}

bool open_editors_have_changes() {
    for (Editor* e : g_open)
        if (e != nullptr && e->has_changes()) return true;
    return false;
}

EditorModal::EditorModal() {
    if (g_modal++ == 0 && g_modal_hook != nullptr) g_modal_hook(true);
}

EditorModal::~EditorModal() {
    if (--g_modal == 0 && g_modal_hook != nullptr) g_modal_hook(false);
}

bool editor_modal_open() { return g_modal > 0; }

void set_editor_modal_hook(EditorModalHook hook) { g_modal_hook = hook; }
