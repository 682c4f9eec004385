// The link layer's exported functions. Until the serial driver is in place
// every link fails cleanly: no handle, no set-up, every request times out.
#define PENDRA_BUILDING
#include "pendra.h"

extern "C" {

PendraHandle PENDRA_API Pendra_Create(void) { return 0; }
int16_t PENDRA_API Pendra_SetupEx(PendraHandle, int32_t, int16_t, int16_t, int16_t) { return 0; }
int16_t PENDRA_API Pendra_Connect(PendraHandle) { return 0; }
void PENDRA_API Pendra_Destroy(PendraHandle) {}
int16_t PENDRA_API Pendra_DBG(PendraHandle, int16_t, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_POLL(PendraHandle, int16_t, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_ACK(PendraHandle, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_A(PendraHandle, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_H(PendraHandle, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_0(PendraHandle, int16_t, const char*, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_5(PendraHandle, int16_t, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_E(PendraHandle, int16_t, const char*, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_X(PendraHandle, int16_t, const char*, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_O(PendraHandle, int16_t, const char*, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_U(PendraHandle, int16_t, const char*, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_I(PendraHandle, int16_t, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_ESC_R(PendraHandle, int16_t, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_ESC_J(PendraHandle, int16_t, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_ESC_Y(PendraHandle, int16_t, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_ESC_K(PendraHandle, int16_t, int16_t) { return 130; }
int16_t PENDRA_API Pendra_ESC_N(PendraHandle, int16_t, int16_t) { return 130; }
int16_t PENDRA_API Pendra_FindFirst(PendraHandle, int16_t, char*, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_FindNext(PendraHandle, int16_t, char*, char*, uint8_t*) { return 130; }
int16_t PENDRA_API Pendra_ModemATCmd(PendraHandle, const char*) { return 0; }
int16_t PENDRA_API Pendra_ModemEcho(PendraHandle, char*, int16_t) { return 0; }

}  // extern "C"
