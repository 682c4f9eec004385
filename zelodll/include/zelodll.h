/*
 * zelodll.h - the terminal command library.
 *
 * One exported function per terminal command. Every function is synchronous
 * and runs on the caller's thread; the library keeps one link and one open
 * transfer per process and expects its commands from one thread at a time.
 * Only HM_stop_communication may be called from another thread while a
 * command runs.
 *
 * Across this boundary there are only 32-bit integers and pointers to
 * caller-owned buffers (zero-terminated 8-bit texts, or raw packet bytes for
 * the transfers to and from memory). The library never allocates memory for
 * its caller and never lets an exception out.
 *
 * Arguments common to the commands:
 *   port     the serial port number the caller opened; only passed on to the
 *            library's own power-saving calls and saved by the stepwise
 *            transfers.
 *   address  the terminal address character (A..Y, 0..6) in the low byte.
 *
 * Texts longer than the buffer a command must copy them into are refused
 * with ZELO_UNKNOWN_RESPONSE before anything is sent; the limits are below.
 *
 * This header is valid C (C11) and C++.
 */
#ifndef ZELODLL_H
#define ZELODLL_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define ZELO_API __stdcall
#else
#define ZELO_API
#endif

#if defined(_WIN32)
#if defined(ZELODLL_BUILDING)
/* The DLL's exports come from zelodll.def alone, with their fixed ordinals. */
#define ZELO_EXPORT
#else
#define ZELO_EXPORT __declspec(dllimport)
#endif
#else
#define ZELO_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of every HM_ command (HM_OpenCommPort, the setters and
 * getters, HM_time_delay and HM_stop_communication excepted). */
enum ZeloResult {
    ZELO_OK = 0,               /* success */
    ZELO_MORE = 1,             /* stepwise call: a packet moved, go on;
                                  HM_terminal_id: the terminal refused */
    ZELO_ILLEGAL_COMMAND = 2,  /* the terminal rejected the command */
    ZELO_NAK = 3,              /* negative acknowledgement */
    ZELO_TIMEOUT = 4,          /* no answer in time */
    ZELO_UNKNOWN_RESPONSE = 5, /* anything else, retries used up, text too long */
    ZELO_BAD_BLOCK = 6,        /* the returned block failed its check */
    ZELO_NO_DATA = 7,          /* HM_poll: nothing to be enquired */
    ZELO_POWER_SAVING_ON = 9,  /* power saving could not be turned off */
    ZELO_STOPPED = 10,         /* HM_stop_communication */
    ZELO_NO_SUCH_FILE = 48,
    ZELO_ILLEGAL_FILE_NAME = 49,
    ZELO_NO_FREE_NAME = 51, /* save mode 0 found no free local name */
    ZELO_CANNOT_OPEN_LOCAL = 52,
    ZELO_NO_PROGRAM = 53,
    ZELO_FILE_IN_FLASH = 54,
    ZELO_RAM_DISK_NOT_EMPTY = 64,
    ZELO_OUT_OF_MEMORY_SIZE = 65,
    ZELO_IN_UPLOAD_MODE = 80,
    ZELO_NOT_GATHERED = 250, /* group download: serve this terminal one by one */
    ZELO_NO_OPEN_DOWNLOAD = 252
};

/* Buffer limits, in bytes including the terminating zero. */
enum ZeloLimits {
    ZELO_LOCAL_NAME_SIZE = 120,  /* local file name of an upload */
    ZELO_REMOTE_NAME_SIZE = 100, /* remote and local names kept for resume */
    ZELO_REPLY_SIZE = 128,       /* texts handed back by the queries */
    ZELO_LISTING_SIZE = 2048,    /* HM_dir / HM_dir_ROM listing buffers */
    ZELO_MODEM_REPLY_SIZE = 100, /* HC_modem_return_message destination */
    ZELO_PACKET_SIZE = 255,      /* HM_upload22 destination */
    ZELO_POLL_RECORD_SIZE = 128, /* HM_poll record buffer */
    ZELO_GROUP_MAX_MEMBERS = 40, /* addresses of one group download */
    ZELO_VERSION = 19
};

/* Upload file save modes (HM_set_upload_file_save_mode). */
enum ZeloSaveMode { ZELO_SAVE_NEW_NAME = 0, ZELO_SAVE_OVERWRITE = 1, ZELO_SAVE_APPEND = 2 };

/* ---- Link setup, settings and result slots ---------------------------- */

/* Sets up and connects the link. baud_index 0..9 (110..57600), parity
 * 0 none / 1 odd / 2 even, stop_bits 1 or 2; data_bits is not used.
 * Returns 1 when connected, 0 otherwise (unlike every command). */
ZELO_EXPORT int32_t ZELO_API HM_OpenCommPort(int32_t port, int32_t baud_index, int32_t data_bits,
                                             int32_t parity, int32_t stop_bits);
/* Destroys the link if one was created; the next open creates a new one. */
ZELO_EXPORT void ZELO_API HM_CloseCommPort(int32_t port);

/* Setters store their argument unchecked and return it; getters return the
 * stored value. Retry times (default 10) drives the transfers' retries;
 * time-out (4000), ESC delay (10) and NAK delay (50) are only kept. */
ZELO_EXPORT int32_t ZELO_API HM_SetRetryTimes(int32_t times);
ZELO_EXPORT int32_t ZELO_API HM_GetRetryTimes(void);
ZELO_EXPORT int32_t ZELO_API HM_set_time_out(int32_t ms);
ZELO_EXPORT int32_t ZELO_API HM_get_time_out(void);
ZELO_EXPORT int32_t ZELO_API HM_set_ESC_delay(int32_t ms);
ZELO_EXPORT int32_t ZELO_API HM_get_ESC_delay(void);
ZELO_EXPORT int32_t ZELO_API HM_set_NAK_delay(int32_t ms);
ZELO_EXPORT int32_t ZELO_API HM_get_NAK_delay(void);
/* Non-zero: every command that uses the power-saving wrap turns the
 * terminal's power saving off before its request and on after it. */
ZELO_EXPORT int32_t ZELO_API HM_set_power_saving_status(int32_t on);
ZELO_EXPORT int32_t ZELO_API HM_get_power_saving_status(void);
/* One of ZeloSaveMode; other values behave as ZELO_SAVE_OVERWRITE. */
ZELO_EXPORT int32_t ZELO_API HM_set_upload_file_save_mode(int32_t mode);
ZELO_EXPORT int32_t ZELO_API HM_get_upload_file_save_mode(void);

/* Switch a terminal's power saving off ("7") or on ("8"), at most five
 * attempts 50 ms apart. Result 0, 3, 4 or 5, also kept in return slot 5. */
ZELO_EXPORT int32_t ZELO_API HM_power_saving_off(int32_t port, int32_t address);
ZELO_EXPORT int32_t ZELO_API HM_power_saving_on(int32_t port, int32_t address);
/* Return slot 5: the result of the last power-saving switch. */
ZELO_EXPORT int32_t ZELO_API HM_get_power_saving_return(void);
/* Return slot 0..7 (0: length of the last text handed back). A slot number
 * outside 0..7 returns 0. */
ZELO_EXPORT int32_t ZELO_API HM_get_return_string_length(int32_t slot);

/* Busy-waits just over `ms` milliseconds (0 counts as 1). Returns 0. */
ZELO_EXPORT int32_t ZELO_API HM_time_delay(int32_t ms);
/* Returns ZELO_VERSION (19). */
ZELO_EXPORT int32_t ZELO_API HM_version(void);
/* Asks a running transfer or modem wait to end with ZELO_STOPPED. Safe to
 * call from any thread. */
ZELO_EXPORT void ZELO_API HM_stop_communication(void);

/* An addition outside the fixed ordinals 1..85 (ordinal 100): why the last
 * HM_OpenCommPort of this process failed, as the link layer says it (the
 * device path and the reason in plain English, for the operator). Copies at
 * most `room` - 1 characters and a terminating zero into `text`; `text` may
 * be NULL or `room` 0, and then nothing is copied. The text is empty after
 * an open that succeeded, until the line is lost (the device failed or went
 * away): then ZELO_OPEN_LINE_LOST and a sentence that says so, while the
 * commands that met the loss returned a failure code.
 * Returns the reason: ZELO_OPEN_OK, or one of ZELO_OPEN_* below. */
enum ZeloOpenReason {
    ZELO_OPEN_OK = 0,
    ZELO_OPEN_NO_SUCH_DEVICE = 1,
    ZELO_OPEN_PERMISSION_DENIED = 2,
    ZELO_OPEN_IN_USE = 3,     /* another program holds the port */
    ZELO_OPEN_NOT_SERIAL = 4, /* the path is no serial device */
    ZELO_OPEN_SETTINGS_REFUSED = 5,
    ZELO_OPEN_OTHER = 6,
    ZELO_OPEN_LINE_LOST = 7 /* not an open failure: the open line was lost */
};
ZELO_EXPORT int32_t ZELO_API HM_last_error_text(char* text, int32_t room);

/* An addition outside the fixed ordinals 1..85 (ordinal 101): why the local
 * file of the last upload or download of this process failed, naming the
 * file, what could not be done and the system's reason, e.g.
 * "/data/A/X.DAT: cannot open for writing: Permission denied". The result
 * codes (ZELO_CANNOT_OPEN_LOCAL, ZELO_NO_SUCH_FILE) say only that the local
 * file failed. Every call of HM_upload, HM_upload1, HM_download and
 * HM_download1 starts with the text empty; the stepwise calls that follow
 * them may set it. Copies as HM_last_error_text does: at most `room` - 1
 * characters and a terminating zero; `text` may be NULL or `room` 0.
 * Returns 1 when there is such a text, else 0. */
ZELO_EXPORT int32_t ZELO_API HM_last_file_error_text(char* text, int32_t room);

/* ---- Upload: terminal to host ----------------------------------------- */

/* Whole file. `remote_name` at most 243 characters, so that a resume
 * request "name[offset]" fits its 256-byte buffer. `local_name` (at most
 * ZELO_LOCAL_NAME_SIZE bytes with its zero) must be writable: it receives
 * the local name actually used (save mode 0 may vary one character of the
 * file part). Return slot 0 receives the name's length; slot 7 holds the
 * open local file while the transfer runs. A packet that cannot be written
 * to the local file is not acknowledged: the terminal is sent the cancel
 * request and the result is ZELO_CANNOT_OPEN_LOCAL. In save mode 2 a resume
 * writes after what the file held before this transfer.
 * The packets go into a temporary beside the local file (its name followed
 * by ".zelo-part"; save mode 2 starts it as a copy of the file), which takes
 * the local file's place, synced, only when the upload ends well. A failed,
 * stopped or cancelled upload removes it and leaves an earlier file of that
 * name exactly as it was. A terminal that ends the file with its CRC-32 and
 * length (link protocol version 2) has them compared with what this upload
 * wrote: a mismatch gives ZELO_BAD_BLOCK and keeps the earlier file. */
ZELO_EXPORT int32_t ZELO_API HM_upload(int32_t port, int32_t address, const char* remote_name,
                                       char* local_name);
/* Stepwise: open, then HM_upload2 until it returns anything but 1.
 * `remote_name` at most ZELO_REMOTE_NAME_SIZE - 1 characters (it is kept for
 * HM_upload1_continue); `local_name` as for HM_upload.
 * HM_upload2: 1 when a packet was stored; the running byte and packet counts
 * then go to the two pointers (either may be NULL). At least one attempt,
 * whatever the retry times. ZELO_CANNOT_OPEN_LOCAL, with the terminal sent the
 * cancel request, when the packet could not be written.
 * HM_upload1_continue: goes back one packet (120 bytes) and asks the terminal
 * to resend from there. */
ZELO_EXPORT int32_t ZELO_API HM_upload1(int32_t port, int32_t address, const char* remote_name,
                                        char* local_name);
ZELO_EXPORT int32_t ZELO_API HM_upload2(int32_t* byte_count, int32_t* packet_count);
ZELO_EXPORT int32_t ZELO_API HM_upload1_continue(void);
/* Stepwise to memory: `request` is cut to 255 characters; `packet` receives
 * up to ZELO_PACKET_SIZE bytes, their count in return slot 0. */
ZELO_EXPORT int32_t ZELO_API HM_upload11(int32_t port, int32_t address, const char* request);
ZELO_EXPORT int32_t ZELO_API HM_upload22(char* packet, int32_t unused);
ZELO_EXPORT int32_t ZELO_API HM_cancel_upload(int32_t port, int32_t address);
/* ZELO_IN_UPLOAD_MODE when the terminal is in upload mode. */
ZELO_EXPORT int32_t ZELO_API HM_upload_mode(int32_t port, int32_t address);

/* ---- Download: host to terminal --------------------------------------- */

/* Whole file. `remote_name` at most 242 characters, so that a resume request
 * "Lname[offset]" fits its 256-byte buffer. A local file that cannot be read
 * in its middle is cancelled on the terminal (never ended as if complete) and
 * gives ZELO_UNKNOWN_RESPONSE. */
ZELO_EXPORT int32_t ZELO_API HM_download(int32_t port, int32_t address, const char* local_name,
                                         const char* remote_name);
/* Stepwise: open, then HM_download2 until it returns anything but 1.
 * `local_name` and `remote_name` at most ZELO_REMOTE_NAME_SIZE - 1 characters
 * each. *offset: on entry the position to start from; on success the file
 * size. Return slot 6 holds the open local file while the transfer runs.
 * HM_download2: 1 when a packet of up to 120 bytes was accepted; the running
 * counts then go to the two pointers (either may be NULL). At least one
 * attempt, whatever the retry times. A read error in the middle of the local
 * file cancels the transfer and gives ZELO_UNKNOWN_RESPONSE. */
ZELO_EXPORT int32_t ZELO_API HM_download1(int32_t port, int32_t address, const char* local_name,
                                          const char* remote_name, int32_t* offset);
ZELO_EXPORT int32_t ZELO_API HM_download2(int32_t* byte_count, int32_t* packet_count);
ZELO_EXPORT int32_t ZELO_API HM_download1_continue(void);
/* Stepwise from memory. `remote_name` at most 254 characters. */
ZELO_EXPORT int32_t ZELO_API HM_download11(int32_t port, int32_t address, const char* remote_name);
/* At most 127 bytes per packet; count 0 ends the transfer. A packet whose
 * escaped form does not fit the 256-byte request is refused with
 * ZELO_UNKNOWN_RESPONSE before anything is sent, and the transfer stays open. */
ZELO_EXPORT int32_t ZELO_API HM_download22(const char* packet, int32_t count);
ZELO_EXPORT int32_t ZELO_API HM_cancel_download(int32_t port, int32_t address);

/* ---- Group download: one file to several terminals at once ------------- */

/* Additions outside the fixed ordinals (104 to 107). Terminals on one line
 * hear every frame, so a link that speaks version 3 sends the file's bytes
 * once to all of them, then asks each what it lacks and repairs it alone;
 * each copy is checked by CRC-32 and length at its end. Terminals the link
 * cannot gather (older versions, an announce that was not accepted) are
 * left to the caller's one-by-one path, as is every member that failed.
 *
 * HM_download_group1: `addresses` is a zero-terminated text of 1 to
 * ZELO_GROUP_MAX_MEMBERS distinct address characters; the names as for
 * HM_download1. Announces the file to each address as HM_download1 does
 * (with its power-saving wrap), then gathers the group. ZELO_OK: a group is
 * open, call HM_download_group2 until it returns anything but 1.
 * ZELO_NOT_GATHERED: nobody could be gathered, nothing is open and every
 * address is left for the one-by-one path. ZELO_NO_SUCH_FILE: the local file
 * cannot be read (nothing was sent). ZELO_UNKNOWN_RESPONSE: a text too long,
 * no address, too many or a repeated one (nothing was sent). ZELO_STOPPED.
 *
 * HM_download_group2: 1 while the file's bytes go out or a round of repairs
 * was done; the bytes sent to the group and the number of steps taken then go
 * to the two pointers (either may be NULL). ZELO_OK: every member has its
 * result (some may have failed). ZELO_STOPPED after HM_stop_communication:
 * every member's download is cancelled. Any other code: the whole group
 * failed (the line, or the local file in its middle) and every member's
 * download was cancelled. ZELO_NO_OPEN_DOWNLOAD without an open group.
 *
 * HM_download_group_member: how the last group's download to `address`
 * ended. *result: ZELO_OK when the terminal holds the whole file, checked
 * and kept; ZELO_NOT_GATHERED when it was never in the group; otherwise the
 * failure it met, and its download waits for HM_download_group_resume or a
 * new HM_download1. *held: how many bytes from the file's start it was last
 * known to hold. Either pointer may be NULL. Returns ZELO_OK, ZELO_MORE
 * (nothing written) while the group is still under way, or
 * ZELO_UNKNOWN_RESPONSE when `address` was not named to the last group.
 *
 * HM_download_group_resume: opens the one-by-one download of a member that
 * failed, from the bytes it holds: the resume request "name[held]" instead of
 * the announce; then HM_download2 as after HM_download1. *offset (may be
 * NULL) receives the file size. ZELO_OK when the terminal took it; anything
 * else leaves nothing open, and the caller starts over with HM_download1.
 * ZELO_UNKNOWN_RESPONSE, with nothing sent, for a member that did not fail
 * in the group, or whose copy was refused at its end (it dropped the
 * download: start over). */
ZELO_EXPORT int32_t ZELO_API HM_download_group1(int32_t port, const char* addresses,
                                                const char* local_name, const char* remote_name);
ZELO_EXPORT int32_t ZELO_API HM_download_group2(int32_t* byte_count, int32_t* step_count);
ZELO_EXPORT int32_t ZELO_API HM_download_group_member(int32_t address, int32_t* result,
                                                      int32_t* held);
ZELO_EXPORT int32_t ZELO_API HM_download_group_resume(int32_t port, int32_t address,
                                                      int32_t* offset);

/* ---- Queries ------------------------------------------------------------ */

/* Listings are file names joined by ","; `listing` must hold
 * ZELO_LISTING_SIZE bytes. At most that many bytes are written, the
 * terminating zero included: an entry that would not fit ends the listing
 * before it, and the result is still the terminal's (0 for a listing that
 * went well). HM_dir first clears the text the buffer holds. */
ZELO_EXPORT int32_t ZELO_API HM_dir(int32_t port, int32_t address, char* listing);
ZELO_EXPORT int32_t ZELO_API HM_dir_ROM(int32_t port, int32_t address, char* listing);
ZELO_EXPORT int32_t ZELO_API HM_ram_size(int32_t port, int32_t address, int32_t* total,
                                         int32_t* program_area, int32_t* free_size,
                                         int32_t* ems_total, int32_t* ems_free);
ZELO_EXPORT int32_t ZELO_API HM_flash_size(int32_t port, int32_t address, int32_t* total,
                                           int32_t* free_size);
/* Program area size 0..999 (kilobytes); other sizes are refused with
 * ZELO_UNKNOWN_RESPONSE before anything is sent. */
ZELO_EXPORT int32_t ZELO_API HM_exe_size(int32_t port, int32_t address, int32_t size);
/* `text` must hold ZELO_REPLY_SIZE bytes; it receives at most 127
 * characters and a zero, their count in return slot 0. The same holds for
 * every text a command hands back (HM_sendback, HM_exec_file). */
ZELO_EXPORT int32_t ZELO_API HM_firmware_version(int32_t port, int32_t address, char* text);
ZELO_EXPORT int32_t ZELO_API HM_terminal_id(int32_t port, int32_t address, char* text);
/* `name`: only its first 127 characters are sent. */
ZELO_EXPORT int32_t ZELO_API HM_file_exist(int32_t port, int32_t address, const char* name,
                                           int32_t* length);

/* ---- Control and settings commands ------------------------------------ */

/* Text limits, beyond which a command returns ZELO_UNKNOWN_RESPONSE
 * without sending anything: program and file names of HM_exec, HM_run and
 * HM_delete 255 characters, of HM_autoboot 127, of HM_autoboot_rom 122; the
 * texts of HM_sendback, HM_system_font and the table, clock and password
 * setters 126; HM_send_data and HM_send_data1 127 in escaped form. */
ZELO_EXPORT int32_t ZELO_API HM_warm_start(int32_t port, int32_t address);
ZELO_EXPORT int32_t ZELO_API HM_cold_start(int32_t port, int32_t address);
ZELO_EXPORT int32_t ZELO_API HM_kermit(int32_t port, int32_t address);
/* `record` must hold ZELO_POLL_RECORD_SIZE bytes; all are written, and the
 * record always ends with a zero within them. *length receives the length
 * the terminal reported (0..255). A *length of ZELO_POLL_RECORD_SIZE or more
 * means the record did not fit: it was acknowledged (the terminal has let
 * it go) and `record` holds its first ZELO_POLL_RECORD_SIZE - 1 bytes; the
 * caller must report it. */
ZELO_EXPORT int32_t ZELO_API HM_poll(int32_t port, int32_t address, char* record, int32_t* length);
/* Beyond the fixed table (ordinals 102 and 103): numbered poll records, so
 * that a caller that stores records durably never loses or repeats one.
 * HM_poll_number: the number the terminal gave the record the last HM_poll
 * to `address` returned (0 when the terminal does not number its records)
 * and in *held how many more the library holds for the next HM_poll calls
 * (when 0, the next call asks the line). HM_poll_stored: the caller has the
 * records of `address` through `number` on stable storage; from then on
 * only this lets the terminal drop records (not HM_poll's own
 * acknowledgement), the next request asks it to continue after `number`,
 * and records at or before it that come again are not returned. Call it
 * at start-up with the number kept from an earlier run and after each
 * sync. Both return ZELO_OK. */
ZELO_EXPORT int32_t ZELO_API HM_poll_number(int32_t address, uint32_t* number, int32_t* held);
ZELO_EXPORT int32_t ZELO_API HM_poll_stored(int32_t address, uint32_t number);
ZELO_EXPORT int32_t ZELO_API HM_exec(int32_t port, int32_t address, const char* program);
ZELO_EXPORT int32_t ZELO_API HM_run(int32_t port, int32_t address, const char* program);
ZELO_EXPORT int32_t ZELO_API HM_delete(int32_t port, int32_t address, const char* file_name);
ZELO_EXPORT int32_t ZELO_API HM_send_data(int32_t port, int32_t address, const char* text);
ZELO_EXPORT int32_t ZELO_API HM_send_data1(int32_t port, int32_t address, const char* text,
                                           int32_t unused);
/* `reply` must hold ZELO_REPLY_SIZE bytes. */
ZELO_EXPORT int32_t ZELO_API HM_sendback(int32_t port, int32_t address, const char* text,
                                         char* reply);
ZELO_EXPORT int32_t ZELO_API HM_autoboot(int32_t port, int32_t address, const char* program);
ZELO_EXPORT int32_t ZELO_API HM_autoboot_rom(int32_t port, int32_t address, const char* program);
ZELO_EXPORT int32_t ZELO_API HM_set_address(int32_t port, int32_t address, int32_t new_address);
/* `text` must hold ZELO_REPLY_SIZE bytes. */
ZELO_EXPORT int32_t ZELO_API HM_exec_file(int32_t port, int32_t address, char* text);
ZELO_EXPORT int32_t ZELO_API HM_ups(int32_t port, int32_t address);
ZELO_EXPORT int32_t ZELO_API HM_keypad(int32_t port, int32_t address, int32_t code);
ZELO_EXPORT int32_t ZELO_API HM_system_font(int32_t port, int32_t address, const char* font);
ZELO_EXPORT int32_t ZELO_API HM_buzzer(int32_t port, int32_t address, int32_t volume);
ZELO_EXPORT int32_t ZELO_API HM_term_tab(int32_t port, int32_t address, const char* table);
ZELO_EXPORT int32_t ZELO_API HM_comm_tab(int32_t port, int32_t address, const char* table);
ZELO_EXPORT int32_t ZELO_API HM_dev_tab(int32_t port, int32_t address, const char* table);
ZELO_EXPORT int32_t ZELO_API HM_bar_tab(int32_t port, int32_t address, const char* table);
ZELO_EXPORT int32_t ZELO_API HM_date_time(int32_t port, int32_t address, const char* date_time);
ZELO_EXPORT int32_t ZELO_API HM_password(int32_t port, int32_t address, const char* password);

/* One do-nothing body under five names: sends nothing, returns 0. */
ZELO_EXPORT int32_t ZELO_API HM_K40_field_port(int32_t port, int32_t address, const char* text);
ZELO_EXPORT int32_t ZELO_API HM_K40_min_len(int32_t port, int32_t address, const char* text);
ZELO_EXPORT int32_t ZELO_API HM_K40_record(int32_t port, int32_t address, const char* text);
ZELO_EXPORT int32_t ZELO_API HM_Lanta_trigger(int32_t port, int32_t address, const char* text);
ZELO_EXPORT int32_t ZELO_API HC_modem_cmd(int32_t port, int32_t address, const char* text);

/* ---- Modem and raw characters ----------------------------------------- */

/* Send `command` to the modem and collect its answer for up to timeout_ms.
 * Init and Hangup are one function: the number of the Hayes result word the
 * answer begins with (OK 0, CONNECT 1, ... none 200), or 10 when stopped.
 * Dial: the modem's result translated (CONNECT gives 1), or 10.
 * Each call clears the stop flag when it starts, so that a stop before a
 * hang-up does not end the next initialisation or dial; a stop during the
 * call ends it with 10. The answer kept holds at most 99 characters. */
ZELO_EXPORT int32_t ZELO_API HC_modem_Init(int32_t port, const char* command, int32_t timeout_ms);
ZELO_EXPORT int32_t ZELO_API HC_modem_Hangup(int32_t port, const char* command, int32_t timeout_ms);
ZELO_EXPORT int32_t ZELO_API HC_modem_Dial(int32_t port, const char* command, int32_t timeout_ms);
/* Copies the last modem answer (lines ended by LF) with its zero into
 * `text` (ZELO_MODEM_REPLY_SIZE bytes); returns the bytes copied. */
ZELO_EXPORT int32_t ZELO_API HC_modem_return_message(char* text);
/* Raw character functions: present in the interface, do nothing. */
ZELO_EXPORT uint8_t ZELO_API HC_getch(int32_t port);
ZELO_EXPORT void ZELO_API HC_putch(int32_t port, int32_t character);
ZELO_EXPORT int32_t ZELO_API HC_modem_cmd_mode(int32_t port, int32_t unused);

#ifdef __cplusplus
}
#endif

#endif /* ZELODLL_H */
