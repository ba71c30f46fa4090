#include "array_allocation_log.h"

#include <cstdlib>
#include <new>

namespace vyr::testing {

namespace {
ArrayAllocationLog* activeLog = nullptr;
// The log's own vectors allocate (with scalar new); never record from inside a hook.
bool insideHook = false;

void* allocateArray(std::size_t size) {
    if (activeLog && !insideHook) {
        insideHook = true;
        const bool allowed = activeLog->noteAllocation();
        insideHook = false;
        if (!allowed) return nullptr;
    }
    void* p = std::malloc(size ? size : 1);
    if (p && activeLog && !insideHook) {
        insideHook = true;
        activeLog->noteAllocated(p);
        insideHook = false;
    }
    return p;
}

void releaseArray(void* p) {
    if (p && activeLog && !insideHook) {
        insideHook = true;
        activeLog->noteReleased(p);
        insideHook = false;
    }
    std::free(p);
}
}  // namespace

ArrayAllocationLog::ArrayAllocationLog() {
    allocated_.reserve(1024);
    released_.reserve(1024);
    activeLog = this;
}

ArrayAllocationLog::~ArrayAllocationLog() { activeLog = nullptr; }

bool ArrayAllocationLog::noteAllocation() { return ++attempts_ != failOrdinal_; }
void ArrayAllocationLog::noteAllocated(const void* p) { allocated_.push_back(p); }
void ArrayAllocationLog::noteReleased(const void* p) { released_.push_back(p); }

}  // namespace vyr::testing

void* operator new[](std::size_t size) {
    if (void* p = vyr::testing::allocateArray(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return vyr::testing::allocateArray(size);
}
void operator delete[](void* p) noexcept { vyr::testing::releaseArray(p); }
void operator delete[](void* p, std::size_t) noexcept { vyr::testing::releaseArray(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { vyr::testing::releaseArray(p); }
