// Dragging the items of the current card on the preview: a press of the
// left button picks the item under the mouse, moving with the button held
// shows the item following the mouse, and the release stores the item's new
// position in the card. The item being dragged is render_state's
// drag_item(); the grab point and the feedback rectangle live here.
#pragma once

#include "render/card_geometry.h"
#include "render/drawing_surface.h"

// What the drag needs of the main window.
class PreviewWindow {
public:
    virtual ~PreviewWindow() = default;
    // Invalidates `area` of the client area with erase and paints it at
    // once; the preview leaves the dragged item out.
    virtual void repaint_now(const Rect& area) = 0;
    // Draws the dragged item moved by (dx, dy) straight onto the window,
    // outside the paint cycle (draw_moved_item on the window's surface).
    virtual void draw_feedback(ItemId item, int32_t dx, int32_t dy) = 0;
    // Invalidates the whole client area with erase; the paint follows later.
    virtual void invalidate_all() = 0;
};

// Mouse positions are client coordinates as the mouse messages carry them
// (two unsigned 16-bit words).

// Left button down: of the items whose rectangle holds the point strictly
// inside, the one with the highest ItemId is picked, with the point as grab
// point. A miss changes nothing (a pending drag stays pending).
void on_press(int32_t x, int32_t y);
// Mouse move with the left button alone held: repaints the last feedback
// area and draws the item at its offset place.
void on_move(int32_t x, int32_t y, PreviewWindow& window);
// Left button up: adds the offset to the dragged item's two position fields
// of the current card, ends the drag, invalidates the window and marks the
// document modified (also for a click without movement).
void on_release(int32_t x, int32_t y, PreviewWindow& window);

// The item whose rectangle holds (x, y), highest ItemId first; kItemNone.
ItemId hit_test(int32_t x, int32_t y);

// The press that picked the dragged item, and the area the next move
// repaints.
Point drag_grab_point();
Rect drag_feedback_rect();
// Ends any drag without committing it (a new document, tests).
void reset_drag();

// Draws `item` of the current card moved by (dx, dy), in its own font and
// colour as the preview draws it.
void draw_moved_item(DrawingSurface& surface, ItemId item, int32_t dx, int32_t dy);
