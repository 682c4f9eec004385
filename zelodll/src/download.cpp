// Downloads: files from the host to a terminal.
#include "library_state.hpp"
#include "zelodll.h"

using namespace zelo;

extern "C" {

// Placeholders until the transfers are built.
int32_t ZELO_API HM_download(int32_t, int32_t, const char*, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_download1(int32_t, int32_t, const char*, const char*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_download2(int32_t*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_download1_continue(void) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_download11(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_download22(const char*, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_cancel_download(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }

}  // extern "C"
