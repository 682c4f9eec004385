/* The public headers are valid C, and the shared library is callable from C
 * with the fake link layer in the real one's place. */
#include <stdio.h>
#include <string.h>

#include "c_checks.h"
#include "pendra.h"
#include "zelodll.h"

int main(void) {
    char text[ZELO_MODEM_REPLY_SIZE];

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
    /* The library passes on the link layer's reason as it stands. */
    CHECK(HM_last_error_text(NULL, 0) == Pendra_last_error_text(NULL, 0));
    /* A local file that is not there: the result code, and the file named
     * with the system's reason. */
    CHECK(HM_download(1, 'A', "no such folder/x.txt", "X.TXT") == ZELO_NO_SUCH_FILE);
    memset(text, 'x', sizeof text);
    CHECK(HM_last_file_error_text(text, (int32_t)sizeof text) == 1);
    CHECK(strncmp(text, "no such folder/x.txt: cannot open for reading: ", 47) == 0);
    CHECK(strlen(text) > 47 && strlen(text) < sizeof text);
    /* A packet call with no transfer open. */
    CHECK(HM_download2(NULL, NULL) == ZELO_NO_OPEN_DOWNLOAD);
    HM_stop_communication();
    HM_CloseCommPort(1);

    if (failures == 0) printf("c_api_test: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
