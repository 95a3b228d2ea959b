#include "render/preview_drag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "render/card_renderer.h"
#include "render/render_state.h"
#include "tests/render/recording_surface.h"

namespace {

std::string rect_text(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Records what the drag asks of the main window.
class RecordingPreview final : public PreviewWindow {
public:
    std::vector<std::string> calls;
    void repaint_now(const Rect& area) override { calls.push_back("repaint " + rect_text(area)); }
    void draw_feedback(ItemId item, int32_t dx, int32_t dy) override {
        calls.push_back("draw " + std::to_string(item) + " " + std::to_string(dx) + "," +
                        std::to_string(dy));
    }
    void invalidate_all() override { calls.push_back("invalidate"); }
};

class PreviewDragTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        reset_layouts();
        text_set(doc().work_dir, u"C:\\work");
        reset_drag();
        item_extents() = ItemExtents{};
    }
    void TearDown() override {
        reset_drag();
        item_extents() = ItemExtents{};
        exchange_preview_bitmap(nullptr);
    }
    static CardRecord& card() { return doc().hdata[doc().current_card]; }

    // A typical line: address line 0 at (370, 100) measuring
    // (200, 27) covers the client rectangle (353, 150, 380, 350).
    void address_line_zero() {
        text_set(card().ta.m[0].s, u"東京都千代田区千代田一丁目");
        item_extents().address[0] = {200, 27};
    }

    RecordingPreview window;
};

TEST_F(PreviewDragTest, PressPicksTheLineAndReleaseMovesItsOrigin) {
    address_line_zero();
    on_press(360, 200);
    EXPECT_EQ(drag_item(), kItemAddressLine0);
    EXPECT_EQ(drag_grab_point().x, 360);
    EXPECT_EQ(drag_grab_point().y, 200);
    EXPECT_EQ(rect_text(drag_feedback_rect()), "353,150,380,350");

    on_release(350, 210, window);
    EXPECT_EQ(card().ta.xy[0].x, 360);
    EXPECT_EQ(card().ta.xy[0].y, 110);
    EXPECT_EQ(card().ta.xy[1].x, 335) << "the other lines of the block stay";
    EXPECT_EQ(drag_item(), kItemNone);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"invalidate"}));
}

TEST_F(PreviewDragTest, BordersAreOutsideTheRectangle) {
    address_line_zero();
    for (Point p : {Point{353, 200}, Point{380, 200}, Point{360, 150}, Point{360, 350}}) {
        on_press(p.x, p.y);
        EXPECT_EQ(drag_item(), kItemNone) << p.x << "," << p.y;
    }
    on_press(354, 151);
    EXPECT_EQ(drag_item(), kItemAddressLine0);
}

TEST_F(PreviewDragTest, PressOnNothingStartsNothingAndTheReleaseChangesNothing) {
    address_line_zero();
    CardRecord before = card();
    on_press(20, 60);
    EXPECT_EQ(drag_item(), kItemNone);
    on_move(40, 80, window);
    on_release(40, 80, window);
    EXPECT_EQ(std::memcmp(&before, &card(), sizeof before), 0);
    EXPECT_FALSE(doc().modified);
    EXPECT_TRUE(window.calls.empty()) << "no repaint without a drag";
}

TEST_F(PreviewDragTest, OfOverlappingItemsTheHighestIdWins) {
    // The four-digit group (280, 103, 384, 129) under name line 0, which
    // covers (262, 110, 310, 210).
    item_extents().code = {12, 26};
    text_set(card().tn.m[0].s, u"鈴木花子");
    card().tn.xy[0] = {300, 60};
    item_extents().name[0] = {100, 48};
    EXPECT_EQ(hit_test(300, 120), kItemNameLine0);
    EXPECT_EQ(hit_test(350, 120), kItemCodeGroup4);

    // A sender line laid over the addressee's address line wins too.
    address_line_zero();
    card().fa.xy[1] = {375, 190};
    item_extents().sender_address[1] = {50, 20};
    EXPECT_EQ(hit_test(370, 250), kItemSenderAddressLine0 + 1);
    EXPECT_EQ(hit_test(370, 160), kItemAddressLine0);
}

TEST_F(PreviewDragTest, EmptyLinesAreNeverPickedButAnEmptyCodeGroupIs) {
    // Nothing painted yet: every extent is (0, 0).
    card().ta.xy[0] = {100, 100};
    EXPECT_EQ(hit_test(105, 150), kItemNone);
    // An empty code still has its boxes: the group is picked by its cell height.
    item_extents().code = {0, 26};
    EXPECT_EQ(hit_test(195, 110), kItemCodeGroup3);
    EXPECT_EQ(hit_test(290, 110), kItemCodeGroup4);
}

TEST_F(PreviewDragTest, DraggingACodeGroupMovesOnlyThatGroup) {
    item_extents().code = {12, 26};
    on_press(200, 110);  // three-digit group (193, 102, 274, 128)
    ASSERT_EQ(drag_item(), kItemCodeGroup3);
    on_release(210, 105, window);
    EXPECT_EQ(card().tt.x1, 193);
    EXPECT_EQ(card().tt.y1, 47);
    EXPECT_EQ(card().tt.w1, 27);
    EXPECT_EQ(card().tt.x2, 270);
    EXPECT_EQ(card().tt.y2, 53);
    EXPECT_EQ(card().ft.x1, 29) << "the sender's code stays";
}

TEST_F(PreviewDragTest, SenderItemsMoveOnTheCardNotTheSender) {
    text_set(doc().fdata[0].n[0].s, u"山田太郎");
    item_extents().sender_name[0] = {80, 21};
    doc().current_card = 1;
    on_press(75, 460);  // sender name line 0 at (70, 390): (59, 440, 80, 520)
    ASSERT_EQ(drag_item(), kItemSenderNameLine0);
    on_release(65, 470, window);
    EXPECT_EQ(doc().hdata[1].fn.xy[0].x, 60);
    EXPECT_EQ(doc().hdata[1].fn.xy[0].y, 400);
    EXPECT_EQ(doc().hdata[0].fn.xy[0].x, 70) << "other cards keep their layout";
}

TEST_F(PreviewDragTest, AnItemDraggedPastTheLeftEdgeKeepsItsNegativePosition) {
    address_line_zero();
    on_press(360, 200);
    on_release(0, 200, window);
    EXPECT_EQ(card().ta.xy[0].x, 10);
    on_press(5, 200);  // its rectangle is now (-7, 150, 20, 350)
    ASSERT_EQ(drag_item(), kItemAddressLine0);
    on_release(1, 200, window);
    EXPECT_EQ(card().ta.xy[0].x, 6);
    card().ta.xy[0].x = 20;
    on_press(25, 200);
    on_release(0, 200, window);
    EXPECT_EQ(card().ta.xy[0].x, -5);
}

TEST_F(PreviewDragTest, AClickWithoutMovementMarksTheDocumentModified) {
    text_set(card().tn.m[0].s, u"鈴木花子");
    item_extents().name[0] = {192, 50};
    on_press(270, 200);
    ASSERT_EQ(drag_item(), kItemNameLine0);
    on_release(270, 200, window);
    EXPECT_EQ(card().tn.xy[0].x, 270);
    EXPECT_EQ(card().tn.xy[0].y, 115);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"invalidate"}));
}

TEST_F(PreviewDragTest, MovesRepaintTheLastFeedbackAndWidenTheNextByThree) {
    address_line_zero();
    on_press(360, 200);
    on_move(365, 190, window);
    on_move(340, 230, window);
    EXPECT_EQ(window.calls, (std::vector<std::string>{
                                "repaint 353,150,380,350", "draw 3 5,-10",
                                "repaint 355,137,388,343", "draw 3 -20,30"}));
    EXPECT_EQ(rect_text(drag_feedback_rect()), "330,177,363,383");
    EXPECT_EQ(card().ta.xy[0].x, 370) << "moves do not store anything";
    EXPECT_FALSE(doc().modified);
}

TEST_F(PreviewDragTest, GroupFeedbackCoversTheBoxesMoved) {
    item_extents().code = {12, 26};
    on_press(300, 110);  // four-digit group (280, 103, 384, 129)
    on_move(310, 100, window);
    EXPECT_EQ(rect_text(drag_feedback_rect()), "287,90,397,122");
}

TEST_F(PreviewDragTest, APendingDragSurvivesAMissAndFollowsTheCurrentCard) {
    address_line_zero();
    text_set(doc().hdata[2].ta.m[0].s, u"大阪府");
    on_press(360, 200);
    on_press(20, 60);  // a miss keeps the item and its grab point
    EXPECT_EQ(drag_item(), kItemAddressLine0);
    EXPECT_EQ(drag_grab_point().x, 360);

    item_extents().code = {12, 26};
    on_press(200, 110);  // a hit replaces both
    EXPECT_EQ(drag_item(), kItemCodeGroup3);
    EXPECT_EQ(drag_grab_point().x, 200);

    doc().current_card = 2;  // stepped while the button was released outside
    on_release(190, 115, window);
    EXPECT_EQ(doc().hdata[2].tt.x1, 173);
    EXPECT_EQ(doc().hdata[2].tt.y1, 57);
    EXPECT_EQ(doc().hdata[0].tt.x1, 183);
}

TEST_F(PreviewDragTest, ReleaseAfterTheDragEndedDoesNothing) {
    address_line_zero();
    on_press(360, 200);
    on_release(350, 200, window);
    doc().modified = false;
    window.calls.clear();
    on_release(300, 300, window);
    on_move(300, 300, window);
    EXPECT_EQ(card().ta.xy[0].x, 360);
    EXPECT_FALSE(doc().modified);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(PreviewDragTest, ExtentsOfARealPaintMakeTheItemsPickable) {
    text_set(card().tt.m, u"1000001");
    text_set(card().ta.m[0].s, u"東京都");
    RecordingSurface screen;
    draw_card_preview(screen);
    // The recording surface measures cx = |lfHeight| per unit, cy =
    // |lfHeight| + 2, scaled from the reference size.
    EXPECT_EQ(hit_test(365, 170), kItemAddressLine0);  // (352, 150, 380, 231)
    EXPECT_EQ(hit_test(365, 232), kItemNone);
    EXPECT_EQ(hit_test(194, 103), kItemCodeGroup3);  // (193, 102, 274, 128)
}

TEST_F(PreviewDragTest, TheDraggedItemIsDrawnMovedInItsOwnFont) {
    text_set(card().tt.m, u"1000001");
    text_set(card().ta.m[1].s, u"二行目");
    text_set(doc().fdata[0].t, u"5300001");
    card().ta.c = {1, 2, 3};

    RecordingSurface screen;
    draw_moved_item(screen, kItemCodeGroup4, 10, -5);
    EXPECT_EQ(screen.placed(), (std::vector<std::string>{"0@290,98", "0@316,98", "0@342,98",
                                                         "1@368,98"}));
    EXPECT_EQ(screen.fonts.at(0).lfHeight, -24);

    RecordingSurface line;
    draw_moved_item(line, kItemAddressLine0 + 1, -3, 4);
    EXPECT_EQ(line.placed(), (std::vector<std::string>{"二行目@342,154"}));
    EXPECT_EQ(line.fonts.at(0).lfEscapement, -900);
    EXPECT_EQ(line.texts.at(0).colour.b, 3);

    RecordingSurface sender;
    draw_moved_item(sender, kItemSenderCodeGroup3, 0, 0);
    EXPECT_EQ(sender.placed(), (std::vector<std::string>{"5@39,543", "3@55,543", "0@71,543"}));
    EXPECT_EQ(sender.fonts.at(0).lfHeight, -19);

    RecordingSurface empty;
    draw_moved_item(empty, kItemNameLine0 + 4, 0, 0);  // an empty line draws nothing
    draw_moved_item(empty, kItemNone, 0, 0);
    EXPECT_TRUE(empty.texts.empty());
    for (const RecordingSurface* s : {&screen, &line, &sender, &empty})
        EXPECT_EQ(s->open_fonts, 0);
}

}  // namespace
