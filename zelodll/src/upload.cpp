// Uploads: files from a terminal to the host.
#include "library_state.hpp"
#include "zelodll.h"

using namespace zelo;

extern "C" {

// Placeholders until the transfers are built: every call answers "unknown
// response" and touches nothing.
int32_t ZELO_API HM_upload(int32_t, int32_t, const char*, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_upload1(int32_t, int32_t, const char*, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_upload2(int32_t*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_upload1_continue(void) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_upload11(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_upload22(char*, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_cancel_upload(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_upload_mode(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }

}  // extern "C"
