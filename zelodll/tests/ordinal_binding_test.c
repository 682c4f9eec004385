/* The program binds zelodll.dll by ordinal. Loads the built DLL as the
 * program would and checks that every ordinal of the export table reaches
 * the function of its name, that no ordinal past the table reaches
 * anything, and that calls made by ordinal land where they should: each
 * setter by ordinal is seen by the getter of that name and the other way
 * round, which a swapped pair of ordinals would fail. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "c_checks.h"
#include "ordinal_table.h"
#include "zelodll.h"

typedef int32_t(ZELO_API* Getter)(void);
typedef int32_t(ZELO_API* Setter)(int32_t);

static FARPROC byOrdinal(HMODULE library, unsigned ordinal) {
    return GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
}

static unsigned ordinalOf(const char* name) {
    for (size_t i = 0; i < sizeof kOrdinals / sizeof kOrdinals[0]; ++i) {
        if (strcmp(kOrdinals[i].name, name) == 0) return kOrdinals[i].ordinal;
    }
    fprintf(stderr, "%s is not in the export table\n", name);
    ++failures;
    return 0;
}

/* Sets through the setter's ordinal and reads through the getter's name,
 * then the other way round. */
static void checkPair(HMODULE library, const char* setter, const char* getter, int32_t value) {
    Setter setByOrdinal = (Setter)(void (*)(void))byOrdinal(library, ordinalOf(setter));
    Getter getByOrdinal = (Getter)(void (*)(void))byOrdinal(library, ordinalOf(getter));
    Setter setByName = (Setter)(void (*)(void))GetProcAddress(library, setter);
    Getter getByName = (Getter)(void (*)(void))GetProcAddress(library, getter);
    CHECK(setByOrdinal && getByOrdinal && setByName && getByName);
    if (!(setByOrdinal && getByOrdinal && setByName && getByName)) return;
    setByOrdinal(value);
    CHECK(getByName() == value);
    setByName(value + 1);
    CHECK(getByOrdinal() == value + 1);
}

int main(void) {
    HMODULE library = LoadLibraryA("zelodll.dll");
    if (library == NULL) {
        fprintf(stderr, "cannot load zelodll.dll (error %lu)\n", GetLastError());
        return 1;
    }
    unsigned highest = 0;
    size_t count = sizeof kOrdinals / sizeof kOrdinals[0];
    for (size_t i = 0; i < count; ++i) {
        const FARPROC numbered = byOrdinal(library, kOrdinals[i].ordinal);
        const FARPROC named = GetProcAddress(library, kOrdinals[i].name);
        if (numbered == NULL || numbered != named) {
            fprintf(stderr, "ordinal %u does not reach %s\n", kOrdinals[i].ordinal,
                    kOrdinals[i].name);
            ++failures;
        }
        if (kOrdinals[i].ordinal > highest) highest = kOrdinals[i].ordinal;
    }
    CHECK(byOrdinal(library, highest + 1) == NULL);
    /* The table has a gap below the additions (ordinal 100 on): no ordinal
     * that the table does not list may reach a function either. */
    for (unsigned ordinal = 1; ordinal < highest; ++ordinal) {
        int listed = 0;
        for (size_t i = 0; i < count; ++i) listed |= kOrdinals[i].ordinal == ordinal;
        if (!listed && byOrdinal(library, ordinal) != NULL) {
            fprintf(stderr, "ordinal %u reaches a function it should not\n", ordinal);
            ++failures;
        }
    }

    Getter version = (Getter)(void (*)(void))byOrdinal(library, ordinalOf("HM_version"));
    CHECK(version != NULL && version() == ZELO_VERSION);
    checkPair(library, "HM_set_time_out", "HM_get_time_out", 4321);
    checkPair(library, "HM_set_ESC_delay", "HM_get_ESC_delay", 77);
    checkPair(library, "HM_set_NAK_delay", "HM_get_NAK_delay", 55);
    checkPair(library, "HM_SetRetryTimes", "HM_GetRetryTimes", 6);

    FreeLibrary(library);
    if (failures > 0) {
        fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    printf("ordinal binding: %u ordinals reach their functions\n", (unsigned)count);
    return 0;
}
