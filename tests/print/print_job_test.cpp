#include "print/print_job.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/card_status.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"

namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x77);

class PrintJobTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakePrinterSpooler spooler_;
    std::shared_ptr<PageLog> log_ = std::make_shared<PageLog>();
    FakePrintTarget target_{log_};

    void SetUp() override { reset_print_test_document(4); }

    std::vector<int> printed_cards() const {
        std::vector<int> cards;
        for (const auto& page : log_->pages) cards.push_back(card_on_page(page));
        return cards;
    }
    std::vector<int> sent_cards() const {
        std::vector<int> cards;
        for (int i = 0; i < 4; ++i)
            if (doc().hdata[i].typ[0].t == STATUS_SENT) cards.push_back(i);
        return cards;
    }
};

TEST_F(PrintJobTest, RunsOneDocumentWithAPagePerCardAndCopy) {
    print_job(kWindow, target_, 1, 3, 2);
    EXPECT_EQ(printed_cards(), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(log_->calls,
              (std::vector<std::string>{"start_doc Zelkovane", "start_page", "end_page", "start_page",
                                        "end_page", "start_page", "end_page", "start_page",
                                        "end_page", "end_doc"}));
    EXPECT_EQ(sent_cards(), (std::vector<int>{1, 2}));
    // The window is disabled first; it and the abort dialog last for the
    // whole job; then the window is enabled and focused again.
    EXPECT_EQ(spooler_.calls, (std::vector<std::string>{"disable", "abort_dialog",
                                                        "abort_dialog_destroyed", "enable", "focus"}));
    EXPECT_TRUE(spooler_.enabled[kWindow]);
}

TEST_F(PrintJobTest, EmptyRangeStartsAndEndsADocumentWithoutPages) {
    print_job(kWindow, target_, 2, 2, 1);
    EXPECT_EQ(log_->calls, (std::vector<std::string>{"start_doc Zelkovane", "end_doc"}));
    print_job(kWindow, target_, 3, 1, 1);
    EXPECT_TRUE(log_->pages.empty());
    EXPECT_TRUE(sent_cards().empty());
    EXPECT_FALSE(doc().modified);
    EXPECT_TRUE(spooler_.enabled[kWindow]);
}

TEST_F(PrintJobTest, ZeroCopiesPrintNothing) {
    print_job(kWindow, target_, 0, 4, 0);
    EXPECT_TRUE(log_->pages.empty());
    EXPECT_TRUE(sent_cards().empty());
}

TEST_F(PrintJobTest, RangeIsLimitedToTheCardsInUse) {
    // Card 5 holds text behind the first card not in use; it is never printed.
    text_set(doc().hdata[5].tn.m[0].s, u"card 5");
    print_job(kWindow, target_, -3, 300, 1);
    EXPECT_EQ(printed_cards(), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(PrintJobTest, CancelWhileTheFirstPageIsDrawnAbortsAndMarksNoFurtherCard) {
    target_.recording().on_text = [](int page, const std::u16string&) {
        if (page == 0) set_print_user_abort();
    };
    print_job(kWindow, target_, 0, 3, 2);
    EXPECT_EQ(log_->calls,
              (std::vector<std::string>{"start_doc Zelkovane", "start_page", "abort_doc"}));
    // The page being drawn was recorded by the renderer; nothing after it.
    EXPECT_EQ(sent_cards(), (std::vector<int>{0}));
    EXPECT_TRUE(spooler_.enabled[kWindow]);
    EXPECT_FALSE(spooler_.abort_dialog);
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(PrintJobTest, CancelSeenWhileAPageIsSpooledStopsBeforeTheNextPage) {
    target_.cancel_in_end_page = 1;
    print_job(kWindow, target_, 0, 4, 1);
    // The abort dialog stayed up past the first page, naming each page.
    EXPECT_EQ(spooler_.progress, (std::vector<std::string>{"1/4", "2/4"}));
    EXPECT_EQ(std::count(spooler_.calls.begin(), spooler_.calls.end(), "abort_dialog_destroyed"), 1);
    EXPECT_EQ(printed_cards(), (std::vector<int>{0, 1}));
    EXPECT_EQ(log_->calls.back(), "abort_doc");
    EXPECT_EQ(sent_cards(), (std::vector<int>{0, 1}));
}

TEST_F(PrintJobTest, ACancelledJobDoesNotAffectTheNext) {
    set_print_user_abort();
    print_job(kWindow, target_, 0, 1, 1);
    EXPECT_FALSE(print_user_abort());
    EXPECT_EQ(printed_cards(), (std::vector<int>{0}));
}

TEST_F(PrintJobTest, RefusedDocumentPrintsAndMarksNothing) {
    target_.doc_start = DocStart::Failed;
    print_job(kWindow, target_, 0, 4, 1);
    EXPECT_EQ(log_->calls, (std::vector<std::string>{"start_doc Zelkovane"}));
    EXPECT_TRUE(sent_cards().empty());
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(utf8(platform_.boxes[0].text), "印刷を開始できませんでした");
    EXPECT_EQ(utf8(platform_.boxes[0].caption), "Error");
    EXPECT_TRUE(spooler_.enabled[kWindow]);

    platform_.boxes.clear();
    target_.doc_start = DocStart::Cancelled;  // e.g. the output file prompt cancelled
    print_job(kWindow, target_, 0, 4, 1);
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_TRUE(sent_cards().empty());
}

TEST_F(PrintJobTest, FailingPageAbortsTheJob) {
    target_.fail_end_page = 0;  // e.g. the job was deleted from the queue
    print_job(kWindow, target_, 0, 4, 1);
    EXPECT_EQ(log_->calls, (std::vector<std::string>{"start_doc Zelkovane", "start_page",
                                                     "end_page", "abort_doc"}));
    EXPECT_EQ(sent_cards(), (std::vector<int>{0}));

    PrintJobTest::SetUp();
    auto log = std::make_shared<PageLog>();
    FakePrintTarget target(log);
    target.fail_start_page = 1;
    print_job(kWindow, target, 0, 4, 1);
    EXPECT_EQ(log->calls.back(), "abort_doc");
    EXPECT_EQ(sent_cards(), (std::vector<int>{0}));  // the page never started draws nothing
}

}  // namespace
