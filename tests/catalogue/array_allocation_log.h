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

    // Addresses as numbers: a released pointer is not a usable pointer any more.
    const std::vector<std::uintptr_t>& allocated() const { return allocated_; }
    const std::vector<std::uintptr_t>& released() const { return released_; }

    // Called by the replaced operators only.
    bool noteAllocation();  // false: this allocation must fail
    void noteAllocated(const void* p);
    void noteReleased(const void* p);

private:
    std::size_t attempts_ = 0;
    std::size_t failOrdinal_ = 0;
    std::vector<std::uintptr_t> allocated_;
    std::vector<std::uintptr_t> released_;
};

}  // namespace vyr::testing

namespace vyr::testing {
inline std::uintptr_t address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }
}  // namespace vyr::testing
