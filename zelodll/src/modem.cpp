// Modem control and the raw character functions.
#include "library_state.hpp"
#include "shared_body.hpp"
#include "zelodll.h"

using namespace zelo;

extern "C" {

// Placeholders until modem control is built.
int32_t ZELO_API HC_modem_Init(int32_t, const char*, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
ZELO_ALIAS_OF(HC_modem_Hangup, HC_modem_Init, int32_t, int32_t, const char*, int32_t);
int32_t ZELO_API HC_modem_Dial(int32_t, const char*, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HC_modem_return_message(char*) { return ZELO_UNKNOWN_RESPONSE; }

// The raw character functions are part of the interface and do nothing.
uint8_t ZELO_API HC_getch(int32_t /*port*/) { return 0; }
void ZELO_API HC_putch(int32_t /*port*/, int32_t /*character*/) {}
int32_t ZELO_API HC_modem_cmd_mode(int32_t /*port*/, int32_t /*unused*/) { return 0; }

}  // extern "C"
