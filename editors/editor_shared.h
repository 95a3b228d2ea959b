// What the editors share: the working card of the addressee list and the
// one-line editor, copying what each editor edits between cards, the
// question of the close box, the labels of the form "番号:%d/%d", the
// editors that are open (so that the main window's commands that replace
// the document can ask each one about its changes first), and the count of
// modal dialogs an editor has open (the main window takes no commands
// meanwhile).
#pragma once

#include "editors/dialog_view.h"
#include "model/document.h"

// The addressee list's row clipboard and the one-line editor's working copy;
// all zero at program start, never cleared. File scope because it outlives
// the list's window: a row copied before the list closed is pasted after it
// opens again.
extern CardRecord work_card;

// What the addressee list edits of a card: its texts, postal code, sender
// and history, from `from` into `to`; the layout of `to` stays.
void copy_addressee(CardRecord& to, const CardRecord& from);
// What the card layout dialog edits of a card: everything but the texts,
// postal code, sender and history, from `from` into `to`.
void copy_layout(CardRecord& to, const CardRecord& from);

// The close box of an editor: "修正を破棄して閉じていいですか？" with the
// caption "閉じる" and Yes/No. True when the user answered Yes.
bool confirm_discard(DialogView& view);

// Builds `prefix` followed by "a/b" (for example "番号:" 1 and 5 gives
// "番号:1/5") into `out`.
void format_counter(char16_t* out, int cap, const char16_t* prefix, int a, int b);

// --- Open editors --------------------------------------------------------------

// An editor window's logic, as the main window's commands that replace the
// document (exit, 新規作成, every 開く) see it. The object lives as long as
// its window: it is known to those commands from open() until it closes or
// goes away. Closing is the last thing an editor does: the window deletes
// the object with itself.
class Editor {
public:
    explicit Editor(DialogView& view) : view_(view) {}
    virtual ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    virtual const char16_t* caption() const = 0;  // the dialog's caption
    virtual bool has_changes() = 0;         // anything stored or typed since it opened
    virtual void save_and_close() = 0;      // as its "保存後閉じる"
    virtual void discard_and_close() = 0;   // as its close box answered Yes
    // True from open() until the editor closed.
    bool is_open() const { return open_; }
    // Its window went away without closing it (destroyed with its owner):
    // no longer open, though the object may live on a moment.
    void window_gone();

protected:
    // Known to the main window's commands from now on.
    void opened();
    // Forgets the editor and closes its view with `result`.
    void close(int result);

    DialogView& view_;

private:
    bool open_ = false;
};

// Each open editor with changes asks "「caption」の変更を保存しますか？"
// (its caption, Yes/No/Cancel): Yes saves and closes it, No puts back what
// it changed and closes it; an editor without changes closes at once.
// False when the user cancelled: the command must not go on.
bool settle_open_editors(WindowHandle owner);
// True when an open editor has changes its close would ask about.
bool open_editors_have_changes();

// --- Modal dialogs of the editors ------------------------------------------------

// While one lives, an editor has a modal dialog open (the one-line editor,
// a file, font or colour chooser): the main window takes no commands.
class EditorModal {
public:
    EditorModal();
    ~EditorModal();
    EditorModal(const EditorModal&) = delete;
    EditorModal& operator=(const EditorModal&) = delete;
};
bool editor_modal_open();
// Called with true when the first modal dialog opens and false when the
// last one closes (the Win32 main window disables itself meanwhile).
using EditorModalHook = void (*)(bool open);
void set_editor_modal_hook(EditorModalHook hook);
