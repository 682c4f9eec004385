/* The public headers are valid C, and the shared library is callable from C
 * with the fake link layer in the real one's place. */
#include <stdio.h>
#include <string.h>

#include "pendra.h"
#include "zelodll.h"

static int failures = 0;

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

int main(void) {
    char text[ZELO_MODEM_REPLY_SIZE];
    PendraHandle none = 0;

    CHECK(HM_version() == ZELO_VERSION);
    CHECK(HM_get_return_string_length(3) == 0);
    CHECK(HM_SetRetryTimes(12) == 12 && HM_GetRetryTimes() == 12);
    CHECK(HM_OpenCommPort(1, 5, 8, 0, 1) == 1); /* the fake accepts */
    CHECK(HM_K40_record(1, 'A', "table") == 0);
    CHECK(HM_Lanta_trigger(1, 'A', "") == 0);
    CHECK(HC_getch(1) == 0);
    HC_putch(1, 'x');
    CHECK(HC_modem_cmd_mode(1, 0) == 0);
    memset(text, 'x', sizeof text);
    CHECK(HM_last_error_text(text, (int32_t)sizeof text) == ZELO_OPEN_OK && text[0] == 0);
    CHECK(HM_last_error_text(NULL, 0) == ZELO_OPEN_OK);
    memset(text, 0, sizeof text);
    HM_stop_communication();
    HM_CloseCommPort(1);
    CHECK(none == 0);
    CHECK(ZELO_NO_OPEN_DOWNLOAD == 252 && ZELO_STOPPED == 10);

    if (failures == 0) printf("c_api_test: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
