#include "control/RowInProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/ListView.h"
#include "support/WindowCapture.h"

namespace {

class RowInProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "Row in progress test");
        form_->SetPosition(0, 0)->SetClientSize(500, 300);
        list_ = CreateListView(form_, ListViewReport, 0x00018B00, nullptr, nullptr, nullptr);
        list_->SetPosition(0, 0)->Resize(480, 280);
        AddColumn(list_, "Name", 150, ColumnLeft);
        AddColumn(list_, "Status", 100, ColumnLeft);
        ASSERT_NE(form_->WindowHandle(), nullptr);
        form_->SetVisible(true);
        list_->SetVisible(true);
        for (int i = 0; i < 100; ++i)
            AddRow(list_, "row" + std::to_string(100 + i));
        PumpMessages();
        perPage_ = static_cast<int>(list_->Send(LVM_GETCOUNTPERPAGE));
        ASSERT_GT(perPage_, 3);
        ASSERT_LT(perPage_, 40);
    }

    void TearDown() override { form_->Release(); }

    int Top() const { return static_cast<int>(list_->Send(LVM_GETTOPINDEX)); }

    std::vector<int> RowsWith(unsigned flags) const {
        std::vector<int> rows;
        for (int row = 0; row < RowCount(list_); ++row) {
            if (RowState(list_, row) & flags)
                rows.push_back(row);
        }
        return rows;
    }

    Control* form_ = nullptr;
    Control* list_ = nullptr;
    int perPage_ = 0;
};

TEST_F(RowInProgressTest, TheRowBecomesTheOnlyRowWithAnyFlag) {
    SelectAllRows(list_);
    SetRowState(list_, 7, RowCut);
    SetRowState(list_, 9, RowDropHighlighted | RowFocused);
    MarkRowInProgress(list_, 3);
    EXPECT_EQ(RowState(list_, 3), static_cast<unsigned>(RowFocused | RowSelected));
    EXPECT_EQ(RowsWith(RowFocused | RowSelected | RowCut | RowDropHighlighted),
              std::vector<int>{3});

    MarkRowInProgress(list_, -1);
    EXPECT_TRUE(RowsWith(RowFocused | RowSelected | RowCut | RowDropHighlighted).empty());
}

TEST_F(RowInProgressTest, ARowOutOfViewComesFirstSoThatTheNextRowsNeedNoScrolling) {
    const int first = perPage_ + 5;
    MarkRowInProgress(list_, first);
    EXPECT_EQ(Top(), first);
    for (int row = first + 1; row < first + perPage_; ++row) {
        MarkRowInProgress(list_, row);
        EXPECT_EQ(Top(), first) << "row " << row;
    }
    MarkRowInProgress(list_, first + perPage_);
    EXPECT_EQ(Top(), first + perPage_);

    // A row above the visible ones (the user scrolled down) comes first as well.
    MarkRowInProgress(list_, 2);
    EXPECT_EQ(Top(), 2);
    // Near the end the last rows fill the page.
    MarkRowInProgress(list_, 98);
    EXPECT_LE(Top(), 98);
    EXPECT_GT(Top() + perPage_, 98);
    EXPECT_EQ(FocusedRow(list_), 98);
}

TEST_F(RowInProgressTest, TheListIsRepaintedAfterAScrollWhileTheWindowStaysShown) {
    ASSERT_TRUE(IsWindowVisible(list_->Handle));
    PumpMessages();
    MarkRowInProgress(list_, 50);
    EXPECT_TRUE(IsWindowVisible(list_->Handle));
    RECT dirty = {};
    EXPECT_TRUE(GetUpdateRect(list_->Handle, &dirty, FALSE))
        << "the scrolled rows are still to be painted";
    PumpMessages();
    EXPECT_FALSE(GetUpdateRect(list_->Handle, &dirty, FALSE));

    // A hidden list is scrolled too and stays hidden.
    ShowWindow(list_->Handle, SW_HIDE);
    MarkRowInProgress(list_, 10);
    EXPECT_EQ(Top(), 10);
    EXPECT_FALSE(IsWindowVisible(list_->Handle));
}

}  // namespace
