#pragma once
// Watches the array allocations of this test binary (its global operator new[] and
// delete[] are replaced): the loader's buffer and the records' texts are char arrays.

#include <cstddef>
#include <vector>

namespace vyr::testing {

// Records while it exists; at most one at a time.
class ArrayAllocationLog {
public:
    ArrayAllocationLog();
    ~ArrayAllocationLog();
    ArrayAllocationLog(const ArrayAllocationLog&) = delete;
    ArrayAllocationLog& operator=(const ArrayAllocationLog&) = delete;

    // The ordinal-th array allocation from now on (1-based) fails: the nothrow form
    // returns nullptr, the throwing form throws std::bad_alloc.
    void failAllocation(std::size_t ordinal) { failOrdinal_ = ordinal; }

    const std::vector<const void*>& allocated() const { return allocated_; }
    const std::vector<const void*>& released() const { return released_; }

    // Called by the replaced operators only.
    bool noteAllocation();  // false: this allocation must fail
    void noteAllocated(const void* p);
    void noteReleased(const void* p);

private:
    std::size_t attempts_ = 0;
    std::size_t failOrdinal_ = 0;
    std::vector<const void*> allocated_;
    std::vector<const void*> released_;
};

}  // namespace vyr::testing
