#include "control/StringList.h"

StringList* NewStringList() {
    return new StringList();
}

void StringListAdd(StringList* list, const std::string& text) {
    if (list)
        list->Items.push_back(text);
}

std::string StringListItem(const StringList* list, int index) {
    if (!list || index < 0 || index >= static_cast<int>(list->Items.size()))
        return std::string();
    return list->Items[static_cast<size_t>(index)];
}

int StringListCount(const StringList* list) {
    return list ? static_cast<int>(list->Items.size()) : 0;
}

void StringListClear(StringList* list) {
    if (!list)
        return;
    while (!list->Items.empty())
        list->Items.pop_back();
    list->Items.shrink_to_fit();
}
