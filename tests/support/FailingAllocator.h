#pragma once
// Makes one allocation through operator new fail, for tests of how code survives running
// out of memory. Linking this module replaces the program's global operator new and
// delete (with malloc and free); unarmed they behave as usual.
#include <cstddef>

// The count-th allocation from now on (1 = the next one) throws std::bad_alloc; the
// ones before and after succeed. 0 disarms.
void FailAllocationNumber(std::size_t count);
// True when the armed failure has happened.
bool AllocationFailed();
