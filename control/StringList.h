#pragma once
// List of texts, each stored as its own copy.
#include <string>
#include <vector>

#include "control/ManagedObject.h"

class StringList : public ManagedObject {
public:
    std::vector<std::string> Items;

protected:
    bool DefersDestruction() const override { return true; }
};

StringList* NewStringList();
// Appends a copy of text.
void StringListAdd(StringList* list, const std::string& text);
// A copy of the text at index, or the empty text outside 0..count-1 (or for no list).
std::string StringListItem(const StringList* list, int index);
// 0 for no list.
int StringListCount(const StringList* list);
// Removes every text, last to first.
void StringListClear(StringList* list);
