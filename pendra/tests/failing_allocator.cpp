#include "failing_allocator.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace failing_allocator {
namespace {

std::atomic<bool> armed{false};
std::atomic<int> refused{0};

}  // namespace

Armed::Armed() { armed = true; }
Armed::~Armed() { armed = false; }

int refusals() { return refused.load(); }

}  // namespace failing_allocator

void* operator new(std::size_t size) {
    if (failing_allocator::armed.load()) {
        ++failing_allocator::refused;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
