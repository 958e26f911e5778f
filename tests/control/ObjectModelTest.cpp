#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestHelpers.h"
#include "control/Control.h"
#include "control/PointerList.h"
#include "control/StringList.h"

namespace {

std::vector<int>* releaseOrder = nullptr;

struct Tracked {
    int Id;
    ~Tracked() { releaseOrder->push_back(Id); }
};

class RecordingObject : public ManagedObject {
public:
    explicit RecordingObject(int id) : id_(id) {}
    ~RecordingObject() override { releaseOrder->push_back(id_); }

private:
    int id_;
};

TEST(ManagedObjectTest, FreshObjectGoesWithOneReleaseAndHoldsKeepItAlive) {
    int destroyed = 0;
    StringList* list = NewStringList();
    WatchDestruction(list, &destroyed);
    list->AddRef();
    list->AddRef();
    list->Release();
    list->Release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(list->RefCount, 0);
    list->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(ManagedObjectTest, OwnedObjectsAreReleasedOldestFirst) {
    std::vector<int> order;
    releaseOrder = &order;
    StringList* owner = NewStringList();
    owner->RegisterOwned(new RecordingObject(1));
    RegisterOwnedObject(owner, new Tracked{2});
    owner->RegisterOwned(new RecordingObject(3));
    Tracked* forgotten = new Tracked{4};
    RegisterOwnedObject(owner, forgotten);
    EXPECT_TRUE(owner->UnregisterOwned(forgotten));
    owner->Release();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    delete forgotten;
    releaseOrder = nullptr;
}

// A form with a label, both counted into destroyed when they go.
Control* WatchedFormWithLabel(int* destroyed, Control** label) {
    Control* form = CreateForm(nullptr, "deferred");
    *label = CreateLabel(form, "text");
    WatchDestruction(form, destroyed);
    WatchDestruction(*label, destroyed);
    return form;
}

TEST(ManagedObjectTest, ControlDestructionWaitsForTheOutermostHandler) {
    int destroyed = 0;
    Control* label = nullptr;
    Control* form = WatchedFormWithLabel(&destroyed, &label);
    EnterMessageHandling();
    EnterMessageHandling();
    form->Release();
    LeaveMessageHandling();
    EXPECT_EQ(destroyed, 0);
    label->SetText("still usable");
    EXPECT_EQ(label->GetText(), "still usable");
    LeaveMessageHandling();
    EXPECT_EQ(destroyed, 2);
}

TEST(ManagedObjectTest, ChildReleasedBeforeItsParentWhileDeferredGoesOnce) {
    int destroyed = 0;
    Control* label = nullptr;
    Control* form = WatchedFormWithLabel(&destroyed, &label);
    EnterMessageHandling();
    form->Release();
    label->Release();
    LeaveMessageHandling();
    EXPECT_EQ(destroyed, 2);
}

TEST(PointerListTest, GrowsByItsStepOrByAQuarter) {
    PointerList stepped(4);
    int items[10] = {};
    stepped.Add(&items[0]);
    EXPECT_EQ(stepped.Capacity(), 4);
    for (int i = 1; i < 5; ++i)
        stepped.Add(&items[i]);
    EXPECT_EQ(stepped.Capacity(), 8);

    PointerList quarter(0);
    quarter.Add(&items[0]);
    EXPECT_EQ(quarter.Capacity(), 1);
    quarter.Add(&items[1]);
    EXPECT_EQ(quarter.Capacity(), 2);
}

TEST(PointerListTest, InsertDeleteAndIndexOf) {
    PointerList list(4);
    int a = 0, b = 0, c = 0, d = 0;
    list.Add(&a);
    list.Add(&c);
    list.Insert(1, &b);
    list.Insert(99, &d);
    EXPECT_EQ(list.IndexOf(&b), 1);
    EXPECT_EQ(list.IndexOf(&d), 3);
    EXPECT_EQ(list.IndexOf(nullptr), -1);
    list.Delete(2, 100);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1), &b);
    EXPECT_EQ(list.Item(5), nullptr);
    list.Delete(-1, 1);
    EXPECT_EQ(list.Count(), 2);
}

TEST(StringListTest, KeepsCopiesAndAnswersEmptyOutsideTheRange) {
    StringList* list = NewStringList();
    std::string text = "123";
    StringListAdd(list, text);
    text = "changed";
    StringListAdd(list, "-1");
    EXPECT_EQ(StringListCount(list), 2);
    EXPECT_EQ(StringListItem(list, 0), "123");
    EXPECT_EQ(StringListItem(list, 1), "-1");
    EXPECT_EQ(StringListItem(list, 2), "");
    EXPECT_EQ(StringListItem(list, -1), "");
    StringListClear(list);
    EXPECT_EQ(StringListCount(list), 0);
    EXPECT_EQ(StringListItem(list, 0), "");
    list->Release();
    EXPECT_EQ(StringListCount(nullptr), 0);
}

int changes = 0;
void CountChange(Control*, GraphicTool*) {
    ++changes;
}

TEST(GraphicToolTest, FaceNameIsCutTo31CharactersAndUnchangedNamesDoNothing) {
    GraphicTool font(GraphicToolKind::Font);
    font.Changed = CountChange;
    changes = 0;
    EXPECT_STREQ(font.FaceName, "MS Sans Serif");
    font.SetFaceName("MS Sans Serif");
    EXPECT_EQ(changes, 0);
    const std::string longName(40, 'x');
    font.SetFaceName(longName.c_str());
    EXPECT_EQ(std::string(font.FaceName), std::string(31, 'x'));
    EXPECT_EQ(changes, 1);
    font.SetFaceName(longName.c_str());
    EXPECT_EQ(changes, 1);
}

TEST(GraphicToolTest, BoldRaisesTheWeightTo700AndClearingItGives0) {
    GraphicTool font(GraphicToolKind::Font);
    font.SetWeight(400);
    font.SetStyle(FontBold);
    EXPECT_EQ(font.Weight, FW_BOLD);
    font.SetStyle(FontBold | FontItalic);
    EXPECT_EQ(font.Weight, FW_BOLD);
    EXPECT_EQ(font.Italic, 1);
    font.SetStyle(0);
    EXPECT_EQ(font.Weight, 0);
    EXPECT_EQ(font.Italic, 0);
    font.SetWeight(300);
    font.SetStyle(FontUnderline);
    EXPECT_EQ(font.Weight, 300);
}

TEST(GraphicToolTest, HandleIsMadeOnDemandAndRemadeAfterAChange) {
    GraphicTool font(GraphicToolKind::Font);
    font.SetFaceName("Arial");
    font.SetHeight(14);
    HFONT first = font.FontHandle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(font.FontHandle(), first);
    LOGFONTA made = {};
    GetObjectA(first, sizeof(made), &made);
    EXPECT_EQ(made.lfHeight, 14);
    EXPECT_STREQ(made.lfFaceName, "Arial");
    font.SetStyle(FontBold);
    EXPECT_EQ(GetObjectType(first), 0u);  // the old handle was deleted
    HFONT second = font.FontHandle();
    GetObjectA(second, sizeof(made), &made);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
}

TEST(ColourTest, SystemColoursResolveAtUse) {
    EXPECT_EQ(ResolveColour(0x00C08080), static_cast<COLORREF>(0xC08080));
    EXPECT_EQ(ResolveColour(ColourBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveColour(ColourWindow), GetSysColor(COLOR_WINDOW));
}

}  // namespace
