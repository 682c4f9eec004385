// Queries: directories, memory sizes, firmware version, identity, files.
#include "library_state.hpp"
#include "zelodll.h"

using namespace zelo;

extern "C" {

// Placeholders until the queries are built.
int32_t ZELO_API HM_dir(int32_t, int32_t, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_dir_ROM(int32_t, int32_t, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_ram_size(int32_t, int32_t, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_flash_size(int32_t, int32_t, int32_t*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_exe_size(int32_t, int32_t, int32_t) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_firmware_version(int32_t, int32_t, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_terminal_id(int32_t, int32_t, char*) { return ZELO_UNKNOWN_RESPONSE; }
int32_t ZELO_API HM_file_exist(int32_t, int32_t, const char*, int32_t*) { return ZELO_UNKNOWN_RESPONSE; }

}  // extern "C"
