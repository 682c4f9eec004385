// Exporting one function body under a second name: the second name is an
// alias symbol of the first, so that code linking the library's archive (the
// tests) can call it too. On Windows the .def file also maps the exported
// name to the body. 32-bit Windows decorates stdcall names ("_name@12"),
// which an alias cannot refer to by the plain name; there the .def alone
// gives the second name, and nothing 32-bit links the archive.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define ZELO_ALIAS_OF(name, target, result, ...) static_assert(true, "")
#else
#define ZELO_ALIAS_OF(name, target, result, ...) \
    result ZELO_API name(__VA_ARGS__) __attribute__((alias(#target)))
#endif
