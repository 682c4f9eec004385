/*
 * pendra.h - the link layer between the terminal command library and the
 * serial line.
 *
 * A link layer owns the serial port and the terminals' escape-command
 * protocol. The terminal command library (zelodll) calls these functions
 * synchronously, one at a time, from one thread, and translates the 16-bit
 * result of each into its own result codes. Any library that exports these
 * names with these signatures under the name "libpendra" (pendra.dll on
 * Windows) can be put in place of ours.
 *
 * Conventions for every function below:
 *   h      the handle returned by Pendra_Create (0 = none).
 *   a      the terminal address character, sign-extended to 16 bits.
 *   buf,n  a request buffer and its one-byte length: on entry *n is the
 *          length of the request held in buf; on return buf holds the reply
 *          and *n its length. The buffer sizes are those named per function.
 *   Result 5 always means a negative acknowledgement and 130 a time-out;
 *   the names below give every result a call can return.
 *
 * This header is valid C (C11) and C++.
 */
#ifndef PENDRA_H
#define PENDRA_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define PENDRA_API __stdcall
#else
#define PENDRA_API
#endif

#if defined(_WIN32)
#if defined(PENDRA_BUILDING)
#define PENDRA_EXPORT __declspec(dllexport)
#else
#define PENDRA_EXPORT __declspec(dllimport)
#endif
#else
#define PENDRA_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The results of the calls below, by name. A call returns only the ones its
 * comment lists, plus PENDRA_NAK, PENDRA_TIME_OUT, PENDRA_DAMAGED_REPLY and
 * PENDRA_LINE_FAILURE, which any request can meet. The numbers are fixed:
 * callers and replacement link layers rely on them. */
enum {
    PENDRA_REPLY = 1,           /* a reply, record, packet or entry is in buf */
    PENDRA_MORE_DATA = 2,       /* POLL: a record, more to come; DBG: illegal request */
    PENDRA_END = 3,             /* ESC_Y: the file ended; POLL: no data */
    PENDRA_ACCEPTED = 4,        /* the request was taken, no reply text */
    PENDRA_NAK = 5,             /* negative acknowledgement: not taken */
    PENDRA_DONE = 6,            /* done; ESC_J: the file exists */
    PENDRA_REFUSED = 7,         /* refused; no such file; illegal name */
    PENDRA_IN_FLASH = 8,        /* ESC_J: the file is in flash ROM */
    PENDRA_NONE = 9,            /* ESC_I, ESC_R: nothing to tell */
    PENDRA_ILLEGAL = 128,       /* the terminal calls the request illegal */
    PENDRA_TIME_OUT = 130,      /* no reply in time */
    PENDRA_DAMAGED_REPLY = 253, /* a reply came but failed its check */
    PENDRA_LINE_FAILURE = 254   /* no open line, the device failed, or a bad argument */
};

/* A link handle; 0 stands for "no link". */
typedef uint32_t PendraHandle;

/* Creates a link object. Returns its handle, or 0 on failure. */
PENDRA_EXPORT PendraHandle PENDRA_API Pendra_Create(void);

/* Sets up the serial port `port` (a COM number, 1 based) with the speed,
 * stop-bit and parity characters the library derives from its settings.
 * Returns 0 on failure. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_SetupEx(PendraHandle h, int32_t port, int16_t baud,
                                                int16_t stop, int16_t parity);

/* Opens the line that Pendra_SetupEx described. Returns 0 on failure. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_Connect(PendraHandle h);

/* Closes the line and releases the link object. */
PENDRA_EXPORT void PENDRA_API Pendra_Destroy(PendraHandle h);

/* A generic request text. 1 = reply in buf (its text from the third byte),
 * 4 or 6 = accepted without a reply. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_DBG(PendraHandle h, int16_t a, char* buf, uint8_t* n);

/* Polls a terminal for one record (buf: 128 bytes, *n is 4 on entry).
 * 1 or 2 = record in buf, 3 = no data. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_POLL(PendraHandle h, int16_t a, char* buf, uint8_t* n);

/* Acknowledges the last reply of terminal a. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ACK(PendraHandle h, int16_t a);

/* Beyond the terminal protocol: numbered poll records, for a caller that
 * stores records durably and must never store one twice.
 * Pendra_poll_number: the number the terminal gave the record the last
 * Pendra_POLL to `a` handed out (0 when the terminal does not number its
 * records) and in *held how many more of its records the link holds, to be
 * handed out without a word on the line. 1 = done.
 * Pendra_poll_stored: the caller has the records of `a` through `number` on
 * stable storage. From then on the terminal is let drop records only
 * through the number so reported (Pendra_ACK no longer does), its next
 * batch continues after it, and records at or before it that come again
 * are dropped. Call it at start-up with the number kept from an earlier
 * run, and whenever more are stored. 1 = done. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_poll_number(PendraHandle h, int16_t a, uint32_t* number,
                                                    uint8_t* held);
PENDRA_EXPORT int16_t PENDRA_API Pendra_poll_stored(PendraHandle h, int16_t a, uint32_t number);

/* Beyond the terminal protocol: one file to several terminals at once
 * (version 3). Terminals on one line hear every frame the host sends, so the
 * file's bytes go out once to the group, and each member is then asked what
 * it lacks and repaired alone. The caller first announces the file to each
 * terminal as for a download of its own (Pendra_DBG "L" name, accepted).
 *
 * Pendra_group_open: gathers those of the `count` terminals in `addresses`
 *   (one character each) whose accepted announce allows a group transfer
 *   (it listed version 3, nothing went to the terminal since) and that join;
 *   joined[i] is set to 1 for each one gathered and 0 for the others, which
 *   the caller serves one by one as before. Returns how many were gathered;
 *   with 0 no group is open (also when fewer than two could be). A group left
 *   open is dropped by a new open. A terminal whose join went unanswered
 *   fails its next data packet (130) without it being sent: resume it.
 * Pendra_group_data: the next `length` bytes of the file (1 to 4096, else
 *   254) for the group. 4 = taken (the call may wait while the line carries
 *   earlier bytes); 254 = the line failed or no group is open; 130 = stopped
 *   (the stop check said so).
 * Pendra_group_finish: after the last bytes, one round of asking each member
 *   what it lacks and sending it again. 2 = call again (a round was done);
 *   6 = every member has its result, in results[i] (i as in the open's
 *   addresses, both arrays of `count` entries): 4 = the terminal holds the
 *   whole file, checked by CRC-32 and length at its end, and kept it; 0 for
 *   a terminal not gathered; 7 = its check refused the copy (the download
 *   dropped, any earlier file kept: announce again); any other number is the
 *   failure that member met (130 silent or stopped, 5 damaged or no
 *   progress, 253, 254), and its download is left open for the caller to
 *   finish or cancel one by one. held[i] is the length from the start of the
 *   file that terminal was last known to hold: a resume "L" name[held[i]]
 *   goes on from there with the end still checked. The group is then closed.
 *   254 = the line failed (results as for 6, the members not finished with
 *   254) or no group is open.
 * Pendra_group_cancel: drops the group (Stop, a failure of the caller's);
 *   sends nothing: the caller cancels each member's download as for one
 *   terminal. 1 = done. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_group_open(PendraHandle h, const char* addresses,
                                                   uint8_t count, uint8_t* joined);
PENDRA_EXPORT int16_t PENDRA_API Pendra_group_data(PendraHandle h, const char* data,
                                                   int16_t length);
PENDRA_EXPORT int16_t PENDRA_API Pendra_group_finish(PendraHandle h, int16_t* results,
                                                     uint32_t* held);
PENDRA_EXPORT int16_t PENDRA_API Pendra_group_cancel(PendraHandle h);

/* Warm start (ESC_A) and cold start (ESC_H). 4 = done. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_A(PendraHandle h, int16_t a);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_H(PendraHandle h, int16_t a);

/* Hands `length` bytes of data to the terminal. 1 or 4 = sent. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_0(PendraHandle h, int16_t a, const char* data,
                                              int16_t length);

/* Changes a terminal's address. 6 = changed, 7 = refused. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_5(PendraHandle h, int16_t old_a, int16_t new_a);

/* Text requests of `length` characters:
 *   ESC_E delete a file       6 = done, 7 = no such file
 *   ESC_X execute a program   6 = done, 7 = no such file
 *   ESC_O auto-boot program   4 or 6 = set, 7 = illegal name
 *   ESC_U upload request      4 = accepted, 7 = no such file */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_E(PendraHandle h, int16_t a, const char* text,
                                              int16_t length);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_X(PendraHandle h, int16_t a, const char* text,
                                              int16_t length);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_O(PendraHandle h, int16_t a, const char* text,
                                              int16_t length);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_U(PendraHandle h, int16_t a, const char* text,
                                              int16_t length);

/* Requests with a reply in buf:
 *   ESC_I running program (128-byte buf)   1 = text in buf, 9 = none
 *   ESC_R terminal identity (128-byte buf) 1 = text in buf, 9 = none
 *   ESC_J file existence (128-byte buf holding the name)
 *         6 = exists, 8 = in flash ROM (buf then holds its length in
 *         digits, *n of them), 7 = absent
 *   ESC_Y next upload packet (256-byte buf)
 *         1 = packet of *n bytes (*n = 0: none left), 3 = end,
 *         5 = negative acknowledgement */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_I(PendraHandle h, int16_t a, char* buf, uint8_t* n);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_R(PendraHandle h, int16_t a, char* buf, uint8_t* n);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_J(PendraHandle h, int16_t a, char* buf, uint8_t* n);
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_Y(PendraHandle h, int16_t a, char* buf, uint8_t* n);

/* Keypad code. 1, 4 or 6 = done, 7 = refused. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_K(PendraHandle h, int16_t a, int16_t code);

/* Buzzer volume as one digit character. 4 = done. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ESC_N(PendraHandle h, int16_t a, int16_t digit);

/* Directory listing, one entry per call. `work` is a 512-byte work area the
 * caller keeps between the calls, `entry` a 512-byte buffer that receives a
 * zero-terminated entry, `more` is set non-zero while entries follow.
 * 1 = entry in buf. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_FindFirst(PendraHandle h, int16_t a, char* work,
                                                  char* entry, uint8_t* more);
PENDRA_EXPORT int16_t PENDRA_API Pendra_FindNext(PendraHandle h, int16_t a, char* work, char* entry,
                                                 uint8_t* more);

/* Writes a command line to a modem on the port. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ModemATCmd(PendraHandle h, const char* command);

/* Collects what the modem answered: appends at most `room` - 1 characters
 * and a terminating zero to buf. 0 = nothing yet, otherwise the modem's
 * result number. */
PENDRA_EXPORT int16_t PENDRA_API Pendra_ModemEcho(PendraHandle h, char* buf, int16_t room);

/* Beyond the terminal protocol: why the last Pendra_SetupEx of this process
 * failed, for the operator. Copies at most room - 1 characters of a plain
 * English sentence that names the device ("/dev/ttyUSB0: permission denied
 * (join the dialout group: ...)") and a terminating zero into buf; buf may
 * be NULL or room 0, and then nothing is copied. After a set-up that
 * succeeded the text is empty, until the line it opened is lost (a read or
 * write failed, the device went away): then PENDRA_OPEN_LINE_LOST, with a
 * sentence that names the device, until the next set-up. Any thread.
 * Returns the reason, one of PENDRA_OPEN_*. */
#define PENDRA_OPEN_OK 0
#define PENDRA_OPEN_NO_SUCH_DEVICE 1
#define PENDRA_OPEN_PERMISSION_DENIED 2
#define PENDRA_OPEN_IN_USE 3
#define PENDRA_OPEN_NOT_SERIAL 4
#define PENDRA_OPEN_SETTINGS_REFUSED 5
#define PENDRA_OPEN_OTHER 6
#define PENDRA_OPEN_LINE_LOST 7
PENDRA_EXPORT int32_t PENDRA_API Pendra_last_error_text(char* buf, int32_t room);

/* Beyond the terminal protocol: a function of the caller's that the link
 * asks, on the thread of the call under way and at least every 50 ms while
 * it waits, whether to stop waiting. When it returns non-zero, a request
 * ends as a time-out (PENDRA_TIME_OUT) without being sent, or sent again,
 * and the opening of a network line fails. NULL, as at load, asks
 * nothing. Any thread; every link of the process. */
typedef int32_t(PENDRA_API* PendraStopCheck)(void);
PENDRA_EXPORT void PENDRA_API Pendra_set_stop_check(PendraStopCheck check);

#ifdef __cplusplus
}
#endif

#endif /* PENDRA_H */
