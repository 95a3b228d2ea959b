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

// The card layout dialog, the sender editor and the addressee list: at
// most one of each is open.
constexpr int kMaxOpen = 3;
struct OpenEditor {
    const EditorKind* kind;
    DialogView* view;
};
OpenEditor g_open[kMaxOpen];

int g_modal = 0;
EditorModalHook g_modal_hook = nullptr;

}  // namespace

void editor_opened(const EditorKind& kind, DialogView& view) {
    for (OpenEditor& e : g_open)
        if (e.kind == &kind) e.view = nullptr;
    for (OpenEditor& e : g_open) {
        if (e.view != nullptr) continue;
        e = {&kind, &view};
        return;
    }
}

void forget_editor_view(DialogView& view) {
    for (OpenEditor& e : g_open)
        if (e.view == &view) e = {nullptr, nullptr};
}

void close_editor(DialogView& view, int result) {
    forget_editor_view(view);
    view.close(result);
}

bool settle_open_editors(WindowHandle owner) {
    for (OpenEditor& e : g_open) {
        if (e.view == nullptr) continue;
        const EditorKind& kind = *e.kind;
        DialogView& view = *e.view;
        if (!kind.has_changes(view)) {
            kind.discard_and_close(view);
            continue;
        }
        char16_t question[64];
        TextBuilder(question, 64).add(u"「").add(kind.caption).add(u"」の変更を保存しますか？");
        int answer = platform().message_box(owner, question, kind.caption, kButtonsYesNoCancel);
        if (answer == kAnswerYes) {
            kind.save_and_close(view);
        } else if (answer == kAnswerNo) {
            kind.discard_and_close(view);
        } else {
            return false;
        }
    }
    return true;
}

bool open_editors_have_changes() {
    for (OpenEditor& e : g_open)
        if (e.view != nullptr && e.kind->has_changes(*e.view)) return true;
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
