/* The far end of a COM port for the Windows serial driver's tests under
 * Wine: a pseudo-terminal whose slave Wine opens as the COM port. Every byte
 * that arrives is echoed, except ENQ (0x05), which is answered with the
 * line's speed, parity and stop bits as the slave's settings hold them,
 * e.g. "19200 E 2\n". Writes the slave's path to the file named by its one
 * argument and runs until SIGTERM or SIGINT. */
#define _DEFAULT_SOURCE
#define _XOPEN_SOURCE 700
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

static volatile sig_atomic_t stopping = 0;

static void on_signal(int number) {
    (void)number;
    stopping = 1;
}

static long speed_of(speed_t code) {
    static const struct {
        speed_t code;
        long baud;
    } table[] = {
        {B110, 110},     {B150, 150},     {B300, 300},     {B600, 600},
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
        {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200},
    };
    for (size_t i = 0; i < sizeof table / sizeof table[0]; ++i) {
        if (table[i].code == code) return table[i].baud;
    }
    return -1;
}

static int write_all(int fd, const char* data, size_t length) {
    while (length > 0) {
        const ssize_t wrote = write(fd, data, length);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return -1;
        data += wrote;
        length -= (size_t)wrote;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: line_peer PATH-FILE\n");
        return 2;
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        perror("line_peer: pseudo-terminal");
        return 1;
    }
    const char* slave = ptsname(master);
    /* Held open so that the master sees no hang-up between the tests' opens;
     * raw, so that nothing is echoed or translated by the terminal layer. */
    const int keeper = open(slave, O_RDWR | O_NOCTTY);
    struct termios mode;
    if (keeper < 0 || tcgetattr(keeper, &mode) != 0) {
        perror("line_peer: slave");
        return 1;
    }
    cfmakeraw(&mode);
    tcsetattr(keeper, TCSANOW, &mode);

    char temporary[4096];
    snprintf(temporary, sizeof temporary, "%s.new", argv[1]);
    FILE* out = fopen(temporary, "w");
    if (out == NULL || fprintf(out, "%s\n", slave) < 0 || fclose(out) != 0 ||
        rename(temporary, argv[1]) != 0) {
        perror("line_peer: path file");
        return 1;
    }

    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = on_signal;
    sigaction(SIGTERM, &action, NULL);
    sigaction(SIGINT, &action, NULL);

    while (!stopping) {
        struct pollfd entry = {master, POLLIN, 0};
        const int ready = poll(&entry, 1, 200);
        if (ready <= 0) continue;
        char buffer[4096];
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got <= 0) continue;
        size_t start = 0;
        for (size_t i = 0; i < (size_t)got; ++i) {
            if (buffer[i] != 0x05) continue;
            if (write_all(master, buffer + start, i - start) != 0) return 1;
            start = i + 1;
            struct termios now;
            char answer[64];
            if (tcgetattr(keeper, &now) != 0) return 1;
            const char parity = !(now.c_cflag & PARENB) ? 'N' : (now.c_cflag & PARODD) ? 'O' : 'E';
            const int length =
                snprintf(answer, sizeof answer, "%ld %c %d\n", speed_of(cfgetospeed(&now)), parity,
                         (now.c_cflag & CSTOPB) ? 2 : 1);
            if (write_all(master, answer, (size_t)length) != 0) return 1;
        }
        if (write_all(master, buffer + start, (size_t)got - start) != 0) return 1;
    }
    close(keeper);
    close(master);
    return 0;
}
