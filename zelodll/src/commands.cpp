// Control and settings commands: one request each.
#include "library_state.hpp"
#include "zelodll.h"

using namespace zelo;

extern "C" {

// Placeholders until the commands are built.
int32_t ZELO_API HM_warm_start(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_cold_start(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_kermit(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_poll(int32_t, int32_t, char*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_exec(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_run(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_delete(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_send_data(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_send_data1(int32_t, int32_t, const char*, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_sendback(int32_t, int32_t, const char*, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_autoboot(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_autoboot_rom(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_set_address(int32_t, int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_exec_file(int32_t, int32_t, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_ups(int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_keypad(int32_t, int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_system_font(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_buzzer(int32_t, int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_term_tab(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_comm_tab(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_dev_tab(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_bar_tab(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_date_time(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_password(int32_t, int32_t, const char*) { return ZELO_UNKNOWN_RESPONSE; }

}  // extern "C"
