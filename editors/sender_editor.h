// The logic of the sender editor "差出人の設定" (dialog 3): one sender at a
// time in three fields (postal code, one address line, one name line),
// stepping through the senders without wrapping, adding one, and undoing
// everything since the editor opened. It writes into the senders directly;
// the Win32 dialog binds it to the real controls.
#pragma once

#include <cstdint>

#include "editors/dialog_view.h"
#include "editors/editor_shared.h"
#include "model/document.h"

struct SenderEditorState {
    int32_t current;       // the sender shown
    int32_t count;         // count_senders() when the editor opened, raised by "追加"
    int32_t address_line;  // 0 or 1: the address line in field 225
    int32_t name_line;     // 0 or 1: the name line in field 203
};

// One open sender editor on its dialog's view; the Win32 dialog creates it
// when it opens and deletes it when it is destroyed.
class SenderEditor final : public Editor {
public:
    explicit SenderEditor(DialogView& view) : Editor(view) {}

    // The editor has been created: snapshot of the 10 senders, sender 0 and
    // lines 0 shown.
    void open();

    // A button of the editor was pressed. False when `id` is none of its
    // buttons.
    bool press(int id);

    // The close box: asks whether to discard the changes; on Yes puts the
    // senders back as they were when the editor opened and closes. True
    // when closed.
    bool close_box();

    const char16_t* caption() const override { return u"差出人の設定"; }
    // Senders stored since the editor opened, or a field typed into.
    bool has_changes() override;
    void save_and_close() override;
    void discard_and_close() override;

private:
    SenderRecord& current_sender();
    void show_fields();
    void store_fields();
    void restore_senders();

    SenderEditorState state_{};
    SenderRecord snapshot_[FDATA_MAX] = {};
};
