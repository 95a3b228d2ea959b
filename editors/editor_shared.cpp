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
struct OpenEditor {
    const EditorKind* kind;  // an editor of functions, or
    Editor* editor;          // an editor object
    DialogView* view;
};
OpenEditor g_open[kMaxOpen];

// The modal dialogs the editors have open, program-wide: the main window
// disables itself while there is one.
int g_modal = 0;
EditorModalHook g_modal_hook = nullptr;

void remember(const OpenEditor& open) {
    for (OpenEditor& e : g_open) {
        if (e.view != nullptr) continue;
        e = open;
        return;
    }
}

void forget(const Editor& editor) {
    for (OpenEditor& e : g_open)
        if (e.editor == &editor) e = {nullptr, nullptr, nullptr};
}

const char16_t* caption_of(const OpenEditor& e) { return e.editor ? e.editor->caption() : e.kind->caption; }

bool has_changes(const OpenEditor& e) {
    return e.editor ? e.editor->has_changes() : e.kind->has_changes(*e.view);
}

void save_and_close(const OpenEditor& e) {
    if (e.editor) {
        e.editor->save_and_close();
    } else {
        e.kind->save_and_close(*e.view);
    }
}

void discard_and_close(const OpenEditor& e) {
    if (e.editor) {
        e.editor->discard_and_close();
    } else {
        e.kind->discard_and_close(*e.view);
    }
}

}  // namespace

Editor::~Editor() { forget(*this); }

void Editor::opened() {
    forget(*this);
    open_ = true;
    remember({nullptr, this, &view_});
}

void Editor::close(int result) {
    forget(*this);
    open_ = false;
    view_.close(result);
}

void editor_opened(const EditorKind& kind, DialogView& view) {
    for (OpenEditor& e : g_open)
        if (e.kind == &kind) e = {nullptr, nullptr, nullptr};
    remember({&kind, nullptr, &view});
}

void forget_editor_view(DialogView& view) {
    for (OpenEditor& e : g_open)
        if (e.view == &view) e = {nullptr, nullptr, nullptr};
}

void close_editor(DialogView& view, int result) {
    forget_editor_view(view);
    view.close(result);
}

bool settle_open_editors(WindowHandle owner) {
    for (OpenEditor& slot : g_open) {
        if (slot.view == nullptr) continue;
        // The editor forgets itself when it closes.
        const OpenEditor e = slot;
        if (!has_changes(e)) {
            discard_and_close(e);
            continue;
        }
        const char16_t* caption = caption_of(e);
        char16_t question[64];
        TextBuilder(question, 64).add(u"「").add(caption).add(u"」の変更を保存しますか？");
        int answer = platform().message_box(owner, question, caption, kButtonsYesNoCancel);
        if (answer == kAnswerYes) {
            save_and_close(e);
        } else if (answer == kAnswerNo) {
            discard_and_close(e);
        } else {
            return false;
        }
    }
    return true;
}

bool open_editors_have_changes() {
    for (OpenEditor& e : g_open)
        if (e.view != nullptr && has_changes(e)) return true;
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
