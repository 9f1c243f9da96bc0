/* A companion program written from the published protocol alone (docs/companion-protocol.md), with
 * the system's own calls and none of the clock's code, to check that the clock works with programs
 * of other authors. It plays one scripted scenario and logs every exchange with its instant.
 *
 *   companion_protocol_peer [--suffix S] STEP...
 *
 * Steps, run in order, each as soon as the one before has ended (no other pause):
 *   send:TEXT         takes the mutex (3 s at most), writes the message, pulses the event, releases
 *   expect:TEXT[@MS]  waits for the next pulse (MS ms at most, default 15000), reads the block at once
 *                     without a lock; the message must be exactly TEXT
 *   quiet:MS          no message may come within MS ms
 *   sleep:MS          a pause the scenario asks for
 *   hold:MS           holds the mutex MS ms, then releases it
 * TEXT is UTF-8 on the command line and Windows-1252 in the block (only Latin-1 letters are used).
 *
 * Log lines on standard output: "<ms> > TEXT" (sent; the instant the send began), "<ms> < TEXT"
 * (received; the instant it was read), "<ms> = text" (others), ms counted from the start. Exit status: 0 every step
 * passed, 1 a step failed (said on standard error), 2 bad usage, 3 the named objects cannot be had.
 *
 * Names: "QUILVENSHAREDMEMORY", "QUILVENMUTEX", "QUILVENEVENT", each followed by the suffix. */
#if !defined(_WIN32)
#define _GNU_SOURCE
#endif
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define BLOCK_SIZE 65536
#define MUTEX_WAIT_MS 3000
#define DEFAULT_EXPECT_MS 15000

#if defined(_WIN32)
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/futex.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>
#endif

static double startMs;

static void fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fputc('\n', stderr);
    exit(1);
}

/* ---- the system's objects ---------------------------------------------------------------------- */

#if defined(_WIN32)

static HANDLE memory, mutex, event;

static double nowMs(void) {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

static void sleepMs(int ms) { Sleep((DWORD)ms); }

static int openObjects(const char* suffix) {
    char name[256];
    snprintf(name, sizeof name, "QUILVENSHAREDMEMORY%s", suffix);
    memory = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, BLOCK_SIZE, name);
    snprintf(name, sizeof name, "QUILVENMUTEX%s", suffix);
    mutex = CreateMutexA(NULL, FALSE, name);
    snprintf(name, sizeof name, "QUILVENEVENT%s", suffix);
    event = CreateEventA(NULL, TRUE, FALSE, name);
    return memory && mutex && event;
}

static int lockMutex(int ms) {
    const DWORD result = WaitForSingleObject(mutex, (DWORD)ms);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

static void unlockMutex(void) { ReleaseMutex(mutex); }

static void writeBlock(const unsigned char* bytes, size_t n) {
    void* view = MapViewOfFile(memory, FILE_MAP_WRITE, 0, 0, n);
    if (!view) fail("MapViewOfFile (write) failed: %lu", (unsigned long)GetLastError());
    memcpy(view, bytes, n);
    UnmapViewOfFile(view);
}

static void readBlock(unsigned char* out) {
    const void* view = MapViewOfFile(memory, FILE_MAP_READ, 0, 0, BLOCK_SIZE);
    if (!view) fail("MapViewOfFile (read) failed: %lu", (unsigned long)GetLastError());
    memcpy(out, view, BLOCK_SIZE);
    UnmapViewOfFile(view);
}

static void pulse(void) { PulseEvent(event); }

/* 1 when pulsed within ms, 0 when not. */
static int waitPulse(int ms) { return WaitForSingleObject(event, (DWORD)ms) == WAIT_OBJECT_0; }

#else

/* The Linux layout of the same three objects, in /dev/shm: the block; "QUILVENMUTEX": u32 magic
 * "QVMX", u32 sizeof(pthread_mutex_t), a process-shared robust mutex; "QUILVENEVENT": u32 magic
 * "QVEV", u32 generation (a pulse adds one and wakes the futex waiters), u32 waiters. Control objects
 * found zeroed are laid out under flock() by whoever comes first, the magic written last. */
struct MutexObject {
    uint32_t magic;
    uint32_t size;
    pthread_mutex_t mutex;
};
struct EventObject {
    uint32_t magic;
    uint32_t generation;
    uint32_t waiters;
};

static unsigned char* block;
static struct MutexObject* mutexObject;
static struct EventObject* eventObject;

static double nowMs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1000.0 + (double)ts.tv_nsec / 1e6;
}

static void sleepMs(int ms) {
    struct timespec ts = {ms / 1000, (long)(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

static void* openObject(const char* base, const char* suffix, size_t size, uint32_t magic) {
    char name[256];
    snprintf(name, sizeof name, "/%s%s", base, suffix);
    const int fd = shm_open(name, O_RDWR | O_CREAT, 0600);
    if (fd < 0) return NULL;
    struct stat st;
    void* view = MAP_FAILED;
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 &&
        ((size_t)st.st_size >= size || ftruncate(fd, (off_t)size) == 0)) {
        view = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    if (view != MAP_FAILED && magic != 0) {
        uint32_t found;
        memcpy(&found, view, sizeof found);
        if (found == 0 && magic == 0x584D5651u) {
            struct MutexObject* m = view;
            pthread_mutexattr_t attributes;
            m->size = sizeof(pthread_mutex_t);
            pthread_mutexattr_init(&attributes);
            pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
            pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
            pthread_mutex_init(&m->mutex, &attributes);
            pthread_mutexattr_destroy(&attributes);
            __atomic_store_n(&m->magic, magic, __ATOMIC_SEQ_CST);
        } else if (found == 0) {
            __atomic_store_n((uint32_t*)view, magic, __ATOMIC_SEQ_CST);
        } else if (found != magic) {
            view = MAP_FAILED;
        }
    }
    flock(fd, LOCK_UN);
    close(fd);
    return view == MAP_FAILED ? NULL : view;
}

static int openObjects(const char* suffix) {
    block = openObject("QUILVENSHAREDMEMORY", suffix, BLOCK_SIZE, 0);
    mutexObject = openObject("QUILVENMUTEX", suffix, sizeof(struct MutexObject), 0x584D5651u);
    eventObject = openObject("QUILVENEVENT", suffix, sizeof(struct EventObject), 0x56455651u);
    return block && mutexObject && eventObject;
}

static int lockMutex(int ms) {
    struct timespec deadline;
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += ms / 1000;
    deadline.tv_nsec += (long)(ms % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    const int rc = pthread_mutex_timedlock(&mutexObject->mutex, &deadline);
    if (rc == EOWNERDEAD) pthread_mutex_consistent(&mutexObject->mutex);
    return rc == 0 || rc == EOWNERDEAD;
}

static void unlockMutex(void) { pthread_mutex_unlock(&mutexObject->mutex); }

static void writeBlock(const unsigned char* bytes, size_t n) { memcpy(block, bytes, n); }

static void readBlock(unsigned char* out) { memcpy(out, block, BLOCK_SIZE); }

static long futex(uint32_t* word, int op, uint32_t value, const struct timespec* timeout) {
    return syscall(SYS_futex, word, op, value, timeout, NULL, 0);
}

static void pulse(void) {
    __atomic_add_fetch(&eventObject->generation, 1, __ATOMIC_SEQ_CST);
    futex(&eventObject->generation, FUTEX_WAKE, INT_MAX, NULL);
}

static int waitPulse(int ms) {
    const uint32_t start = __atomic_load_n(&eventObject->generation, __ATOMIC_SEQ_CST);
    __atomic_add_fetch(&eventObject->waiters, 1, __ATOMIC_SEQ_CST);
    const double deadline = nowMs() + ms;
    int pulsed = 0;
    for (;;) {
        if (__atomic_load_n(&eventObject->generation, __ATOMIC_SEQ_CST) != start) {
            pulsed = 1;
            break;
        }
        const double left = deadline - nowMs();
        if (left <= 0) break;
        struct timespec wait = {(time_t)(left / 1000), (long)((long long)left % 1000) * 1000000L};
        futex(&eventObject->generation, FUTEX_WAIT, start, &wait);
    }
    __atomic_sub_fetch(&eventObject->waiters, 1, __ATOMIC_SEQ_CST);
    return pulsed;
}

#endif

/* ---- messages ---------------------------------------------------------------------------------- */

static unsigned char readCopy[BLOCK_SIZE];

/* UTF-8 to Windows-1252 for the Latin-1 range, in place. */
static size_t toCp1252(const char* utf8, unsigned char* out) {
    size_t n = 0;
    for (const unsigned char* p = (const unsigned char*)utf8; *p; ++p) {
        if ((p[0] == 0xC2 || p[0] == 0xC3) && p[1]) {
            out[n++] = (unsigned char)(((p[0] & 0x03) << 6) | (p[1] & 0x3F));
            ++p;
        } else {
            out[n++] = *p;
        }
    }
    return n;
}

static void printCp1252(const unsigned char* text, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (text[i] >= 0xA0) {
            putchar(0xC0 | (text[i] >> 6));
            putchar(0x80 | (text[i] & 0x3F));
        } else {
            putchar(text[i] >= 0x20 ? text[i] : '?');
        }
    }
}

static void logLine(double atMs, char direction, const unsigned char* text, size_t n) {
    printf("%.1f %c ", atMs - startMs, direction);
    printCp1252(text, n);
    putchar('\n');
    fflush(stdout);
}

static void sendText(const char* utf8) {
    static unsigned char message[BLOCK_SIZE];
    const size_t n = toCp1252(utf8, message + 4);
    const uint32_t length = (uint32_t)n;
    for (int i = 0; i < 4; ++i) message[i] = (unsigned char)(length >> (8 * i));
    /* Logged first, so that nothing delays the next wait once the message is out. */
    logLine(nowMs(), '>', message + 4, n);
    const int held = lockMutex(MUTEX_WAIT_MS);
    writeBlock(message, 4 + n);
    pulse();
    if (held) unlockMutex();
}

/* The text of the next message within ms, read at once without a lock; its length, or -1. */
static long receive(int ms) {
    if (!waitPulse(ms)) return -1;
    readBlock(readCopy);
    const uint32_t length = readCopy[0] | (readCopy[1] << 8) | (readCopy[2] << 16) | ((uint32_t)readCopy[3] << 24);
    const long n = length > BLOCK_SIZE - 4 ? BLOCK_SIZE - 4 : (long)length;
    logLine(nowMs(), '<', readCopy + 4, (size_t)n);
    return n;
}

/* ---- the script -------------------------------------------------------------------------------- */

static int startsWith(const char* text, const char* prefix) { return strncmp(text, prefix, strlen(prefix)) == 0; }

static int number(const char* text) {
    char* end;
    const long value = strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 600000) {
        fprintf(stderr, "not a number of milliseconds: %s\n", text);
        exit(2);
    }
    return (int)value;
}

static void expect(const char* argument) {
    static char wanted[4096];
    static unsigned char bytes[4096];
    snprintf(wanted, sizeof wanted, "%s", argument);
    int ms = DEFAULT_EXPECT_MS;
    char* at = strrchr(wanted, '@');
    if (at) {
        *at = '\0';
        ms = number(at + 1);
    }
    const size_t n = toCp1252(wanted, bytes);
    const long got = receive(ms);
    if (got < 0) fail("expected \"%s\": nothing came within %d ms", wanted, ms);
    if ((size_t)got != n || memcmp(readCopy + 4, bytes, n) != 0) fail("expected \"%s\", got another message", wanted);
}

static void runStep(const char* step) {
    if (startsWith(step, "send:")) {
        sendText(step + 5);
    } else if (startsWith(step, "expect:")) {
        expect(step + 7);
    } else if (startsWith(step, "quiet:")) {
        const int ms = number(step + 6);
        if (receive(ms) >= 0) fail("a message came within %d ms", ms);
    } else if (startsWith(step, "sleep:")) {
        sleepMs(number(step + 6));
    } else if (startsWith(step, "hold:")) {
        if (!lockMutex(MUTEX_WAIT_MS)) fail("the mutex could not be had");
        printf("%.1f = holding the mutex\n", nowMs() - startMs);
        fflush(stdout);
        sleepMs(number(step + 5));
        unlockMutex();
        printf("%.1f = released the mutex\n", nowMs() - startMs);
        fflush(stdout);
    } else {
        fprintf(stderr, "unknown step: %s\n", step);
        exit(2);
    }
}

int main(int argc, char** argv) {
    const char* suffix = "";
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--suffix") == 0) {
        suffix = argv[2];
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: companion_protocol_peer [--suffix S] STEP...\n");
        return 2;
    }
    startMs = nowMs();
    if (!openObjects(suffix)) {
        fprintf(stderr, "the named objects cannot be opened\n");
        return 3;
    }
    printf("%.1f = ready\n", nowMs() - startMs);
    fflush(stdout);
    for (int i = first; i < argc; ++i) runStep(argv[i]);
    return 0;
}
