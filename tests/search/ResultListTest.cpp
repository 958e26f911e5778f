#include "search/ResultList.h"

#include <gtest/gtest.h>

#include "support/UserInput.h"

#include <string>
#include <vector>

namespace {

class ResultListTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "Result list test");
        form_->SetClientSize(700, 400);
        view_ = CreateResultListView(form_);
        view_->SetPosition(2, 67)->Resize(694, 315);
        ASSERT_NE(view_->WindowHandle(), nullptr);
    }

    void TearDown() override { form_->Release(); }

    std::vector<std::string> Column(int column) const {
        ResultList list(view_);
        std::vector<std::string> texts;
        for (int row = 0; row < list.RowCount(); ++row)
            texts.push_back(list.GetCell(row, column));
        return texts;
    }

    // A row as the search writes it.
    int AddFound(const std::string& name, const std::string& path, const std::string& size) {
        ResultList list(view_);
        int row = list.AddRow(name);
        list.SetCell(row, PathColumn, path);
        list.SetCell(row, SizeColumn, size);
        return row;
    }

    Control* form_ = nullptr;
    Control* view_ = nullptr;
};

TEST_F(ResultListTest, ARowAfterTheSearchHoldsNamePathAndSizeWithEmptyStatus) {
    int row = AddFound("report.doc", "C:\\Docs\\", "1,234");
    ResultList list(view_);
    EXPECT_EQ(list.GetCell(row, NameColumn), "report.doc");
    EXPECT_EQ(list.GetCell(row, PathColumn), "C:\\Docs\\");
    EXPECT_EQ(list.GetCell(row, SizeColumn), "1,234");
    EXPECT_EQ(list.GetCell(row, StatusColumn), "");
    EXPECT_EQ(list.GetCell(row, InformationColumn), "");
    EXPECT_FALSE(list.IsRowSelected(row));
    EXPECT_EQ(list.GetCell(row, PathColumn) + list.GetCell(row, NameColumn),
              "C:\\Docs\\report.doc");
}

TEST_F(ResultListTest, RowsAreKeptInNameOrderIgnoringCase) {
    ResultList list(view_);
    EXPECT_EQ(list.AddRow("b.exe"), 0);
    EXPECT_EQ(list.AddRow("A.exe"), 0);
    EXPECT_EQ(list.AddRow("c.exe"), 2);
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"A.exe", "b.exe", "c.exe"}));
    // Byte order would put the capital before "b.exe".
    EXPECT_EQ(list.AddRow("D.exe"), 3);
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"A.exe", "b.exe", "c.exe", "D.exe"}));

    // Cells written at the returned index stay with their row as later rows arrive.
    list.ClearRows();
    AddFound("zeta.exe", "C:\\Z\\", "3");
    AddFound("Alpha.exe", "C:\\A\\", "1");
    AddFound("mid.exe", "C:\\M\\", "2");
    AddFound("beta.exe", "C:\\B\\", "4");
    EXPECT_EQ(Column(NameColumn),
              (std::vector<std::string>{"Alpha.exe", "beta.exe", "mid.exe", "zeta.exe"}));
    EXPECT_EQ(Column(PathColumn),
              (std::vector<std::string>{"C:\\A\\", "C:\\B\\", "C:\\M\\", "C:\\Z\\"}));
    EXPECT_EQ(Column(SizeColumn), (std::vector<std::string>{"1", "4", "2", "3"}));
}

TEST_F(ResultListTest, StatusWritesKeepTheSelectionNameWritesClearIt) {
    ResultList list(view_);
    int a = AddFound("a.exe", "C:\\", "1");
    AddFound("b.exe", "C:\\", "2");
    list.SelectAllRows();
    list.SetCell(a, StatusColumn, "Restored");
    list.SetCell(a, InformationColumn, "a.doc");
    EXPECT_TRUE(list.IsRowSelected(a));
    list.SetCell(1, NameColumn, "b._vrs");
    EXPECT_FALSE(list.IsRowSelected(1));
    EXPECT_EQ(list.NextSelectedRow(-1), 0);
    EXPECT_EQ(list.NextSelectedRow(0), -1);
}

TEST_F(ResultListTest, SortingBySizeComparesTexts) {
    ResultList list(view_);
    AddFound("a.exe", "C:\\", "999");
    AddFound("b.exe", "C:\\", "1,000");
    AddFound("c.exe", "C:\\", "20");
    list.SortRowsByColumn(SizeColumn);
    EXPECT_EQ(Column(SizeColumn), (std::vector<std::string>{"1,000", "20", "999"}));
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"b.exe", "c.exe", "a.exe"}));
}

TEST_F(ResultListTest, ColumnClickSortsOnlyWhileNoSearchRuns) {
    std::uint8_t searching = 1;
    AttachColumnSorting(view_, &searching);
    AddFound("a.exe", "C:\\Z\\", "1");
    AddFound("b.exe", "C:\\Y\\", "2");
    AddFound("c.exe", "C:\\X\\", "3");

    ClickColumnHeader(view_, PathColumn);
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"a.exe", "b.exe", "c.exe"}));

    searching = 0;
    ClickColumnHeader(view_, PathColumn);
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"c.exe", "b.exe", "a.exe"}));

    ResultList list(view_);
    list.SortOnColumnClick(NameColumn, true);
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"c.exe", "b.exe", "a.exe"}));
    list.SortOnColumnClick(NameColumn, false);
    EXPECT_EQ(Column(NameColumn), (std::vector<std::string>{"a.exe", "b.exe", "c.exe"}));
}

}  // namespace
