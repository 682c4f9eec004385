// An allocator that tests can make fail: while armed, every operator new in
// the process throws std::bad_alloc. Linking this library replaces the
// global operator new and delete of the test program, and with them those
// of the shared libraries it loads.
#pragma once

namespace failing_allocator {

// Makes every allocation from now on throw, until the scope ends.
class Armed {
public:
    Armed();
    ~Armed();
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;
};

// How many allocations were refused since the program started.
int refusals();

}  // namespace failing_allocator
