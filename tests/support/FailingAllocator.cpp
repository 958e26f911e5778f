#include "support/FailingAllocator.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t remaining = 0;  // allocations until the failing one; 0 when unarmed
bool failed = false;

}  // namespace

void FailAllocationNumber(std::size_t count) {
    remaining = count;
    failed = false;
}

bool AllocationFailed() {
    return failed;
}

void* operator new(std::size_t size) {
    if (remaining != 0 && --remaining == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
