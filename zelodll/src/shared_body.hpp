// Exporting one function body under a second name: the second name is an
// alias symbol of the first, so that code linking the library's archive can
// call it too. On Windows the .def file also maps the exported name to the
// body, which keeps the DLL's export table free of a second entry point.
#pragma once

#define ZELO_ALIAS_OF(name, target, result, ...) \
    result ZELO_API name(__VA_ARGS__) __attribute__((alias(#target)))
