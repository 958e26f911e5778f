#pragma once
// Growable array of untyped pointers. A full list grows by GrowthStep items, or by
// count / 4 + 1 when the step is 0.
#include <vector>

class PointerList {
public:
    explicit PointerList(int growthStep = 0) : growthStep_(growthStep) {}

    void Add(void* item);
    // Inserts before index; an index past the end appends, a negative one inserts first.
    void Insert(int index, void* item);
    // Deletes count items from index, clamped to the list.
    void Delete(int index, int count = 1);
    // First index of item, -1 if absent.
    int IndexOf(const void* item) const;
    void Clear();

    int Count() const { return static_cast<int>(items_.size()); }
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    // nullptr for an index out of range.
    void* Item(int index) const;
    void SetItem(int index, void* item);

private:
    void GrowIfFull();

    std::vector<void*> items_;
    int growthStep_;
};
