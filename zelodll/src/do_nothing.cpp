// One body that does nothing, exported under five names (the Lanta field
// calls, the Lanta trigger and the modem command): it sends nothing and
// returns 0. On Windows the export table maps the other names to it.
#include "c_boundary.hpp"
#include "shared_body.hpp"
#include "zelodll.h"

extern "C" {

int32_t ZELO_API HM_K40_field_port(int32_t /*port*/, int32_t /*address*/,
                                   const char* /*text*/) try {
    return 0;
} catch (...) {
    return zelo::failedInsideLibrary();
}

ZELO_ALIAS_OF(HM_K40_min_len, HM_K40_field_port, int32_t, int32_t, int32_t, const char*);
ZELO_ALIAS_OF(HM_K40_record, HM_K40_field_port, int32_t, int32_t, int32_t, const char*);
ZELO_ALIAS_OF(HM_Lanta_trigger, HM_K40_field_port, int32_t, int32_t, int32_t, const char*);
ZELO_ALIAS_OF(HC_modem_cmd, HM_K40_field_port, int32_t, int32_t, int32_t, const char*);

}  // extern "C"
