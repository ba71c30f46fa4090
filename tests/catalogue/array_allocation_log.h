#pragma once
// Watches the array allocations of this test binary (its global operator new[] and
// delete[] are replaced): the loader's buffer and the records' texts are char arrays.

#include <cstddef>
#include <cstdint>
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

// Addresses as numbers, for comparing with pointers whose memory is released: GCC
// rightly warns when a released pointer itself is used.
inline std::uintptr_t address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }
inline std::vector<std::uintptr_t> addresses(const std::vector<const void*>& pointers) {
    std::vector<std::uintptr_t> numbers;
    for (const void* p : pointers) numbers.push_back(address(p));
    return numbers;
}
}  // namespace vyr::testing
