#include "control/RedrawBatch.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "control/Control.h"
#include "search/ResultList.h"
#include "support/WindowCapture.h"

namespace {

// The paints that reach the list past the batch, with the area each one repaints.
struct Paints {
    std::vector<RECT> Areas;
};

bool CountPaint(Control* control, MessageRecord& message, LRESULT&, void* paints) {
    if (message.Message == WM_PAINT && message.WParam == 0) {
        RECT area = {};
        GetUpdateRect(control->Handle, &area, FALSE);
        static_cast<Paints*>(paints)->Areas.push_back(area);
    }
    return false;
}

class RedrawBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "Redraw batch test");
        form_->SetPosition(0, 0)->SetClientSize(600, 300);
        view_ = CreateResultListView(form_);
        view_->SetPosition(0, 0)->Resize(580, 280);
        ASSERT_NE(form_->WindowHandle(), nullptr);
        form_->SetVisible(true);
        view_->SetVisible(true);
        ResultList list(view_);
        for (int i = 0; i < 30; ++i) {
            list.AddRow("row" + std::to_string(100 + i));
        }
        PumpMessages();
        // Attached before any batch: it sees only the paints that the batch lets through.
        view_->AttachMessageProc(CountPaint, &paints_);
    }
    void TearDown() override { form_->Release(); }

    bool Dirty() const { return GetUpdateRect(view_->Handle, nullptr, FALSE) != FALSE; }

    Control* form_ = nullptr;
    Control* view_ = nullptr;
    Paints paints_;
};

TEST_F(RedrawBatchTest, ChangedCellsReachTheScreenOnlyWhenShown) {
    ResultList list(view_);
    const CapturedImage before = CaptureOnScreen(view_->Handle);
    ASSERT_FALSE(before.Empty());
    {
        RedrawBatch batch(view_, 60000, RedrawBatch::CellsChanged);
        list.SetCell(3, StatusColumn, "Analyzing...");
        list.SelectOnlyRow(3);
        PumpMessages();
        batch.ShowIfDue();
        EXPECT_TRUE(paints_.Areas.empty()) << "the interval is not over";
        EXPECT_EQ(CaptureOnScreen(view_->Handle).Pixels, before.Pixels)
            << "the screen keeps its picture";
    }
    PumpMessages();
    const CapturedImage after = CaptureOnScreen(view_->Handle);
    EXPECT_NE(after.Pixels, before.Pixels) << "the end of the batch paints the changes";

    paints_.Areas.clear();
    {
        RedrawBatch batch(view_, 0, RedrawBatch::CellsChanged);
        list.SetCell(5, StatusColumn, "OK... Fixed");
        PumpMessages();
        EXPECT_TRUE(paints_.Areas.empty());
        EXPECT_EQ(CaptureOnScreen(view_->Handle).Pixels, after.Pixels);
        batch.Changed();
        batch.ShowIfDue();
        EXPECT_EQ(paints_.Areas.size(), 1u) << "shown at once";
        EXPECT_NE(CaptureOnScreen(view_->Handle).Pixels, after.Pixels) << "and on the screen";
        EXPECT_FALSE(Dirty());
        batch.ShowIfDue();
        EXPECT_EQ(paints_.Areas.size(), 1u) << "nothing new to show";
    }
}

TEST_F(RedrawBatchTest, AddedRowsArePaintedWhenShownAndAfterTheBatch) {
    ResultList list(view_);
    {
        RedrawBatch batch(view_, 60000, RedrawBatch::RowsAdded);
        list.AddRow("a new row");
        batch.Changed();
        InvalidateRect(view_->Handle, nullptr, TRUE);  // a paint asked for from outside
        PumpMessages();
        batch.ShowIfDue();
        EXPECT_TRUE(paints_.Areas.empty());
    }
    PumpMessages();
    EXPECT_EQ(paints_.Areas.size(), 1u);

    paints_.Areas.clear();
    {
        RedrawBatch batch(view_, 0, RedrawBatch::RowsAdded);
        list.AddRow("another row");
        batch.ShowIfDue();
        EXPECT_TRUE(paints_.Areas.empty()) << "nothing noted as changed";
        batch.Changed();
        batch.ShowIfDue();
        EXPECT_EQ(paints_.Areas.size(), 1u);
    }
    EXPECT_TRUE(Dirty());
}

}  // namespace
