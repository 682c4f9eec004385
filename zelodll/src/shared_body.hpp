// Exporting one function body under a second name. On ELF the second name is
// an alias symbol of the first; on Windows the .def file maps the name to
// the body, so nothing is defined here.
#pragma once

#if defined(_WIN32)
#define ZELO_ALIAS_OF(name, target, result, ...) static_assert(true, "")
#else
#define ZELO_ALIAS_OF(name, target, result, ...) \
    result ZELO_API name(__VA_ARGS__) __attribute__((alias(#target)))
#endif
