// Compiled only by the include-arrow tests, which expect this include to
// fail: WRONG_HEADER names a header of a part the target does not link.
#include WRONG_HEADER
