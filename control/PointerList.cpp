#include "control/PointerList.h"

#include <algorithm>

void PointerList::GrowIfFull() {
    if (items_.size() < items_.capacity())
        return;
    const size_t step = growthStep_ > 0 ? static_cast<size_t>(growthStep_) : items_.size() / 4 + 1;
    items_.reserve(items_.capacity() + step);
}

void PointerList::Add(void* item) {
    GrowIfFull();
    items_.push_back(item);
}

void PointerList::Insert(int index, void* item) {
    GrowIfFull();
    const int clamped = std::max(0, std::min(index, Count()));
    items_.insert(items_.begin() + clamped, item);
}

void PointerList::Delete(int index, int count) {
    if (index < 0 || index >= Count() || count <= 0)
        return;
    const int last = std::min(Count(), index + count);
    items_.erase(items_.begin() + index, items_.begin() + last);
}

int PointerList::IndexOf(const void* item) const {
    auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void PointerList::Clear() {
    items_.clear();
    items_.shrink_to_fit();
}

void* PointerList::Item(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[static_cast<size_t>(index)];
}

void PointerList::SetItem(int index, void* item) {
    if (index >= 0 && index < Count())
        items_[static_cast<size_t>(index)] = item;
}
