/* The C test programs' one check: a failed condition is printed with its
 * place and counted in `failures`, and the program goes on. */
#ifndef ZELO_TESTS_C_CHECKS_H
#define ZELO_TESTS_C_CHECKS_H

#include <stdio.h>

static int failures = 0;

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

#endif
