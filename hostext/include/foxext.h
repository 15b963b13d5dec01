/*
 * The host extension interface: the one C contract between the host (foxhost) and the
 * extension libraries (morse, velalib).
 *
 * A library is a shared object exporting one entry, DispatchAPI, which takes a FoxRequest.
 * The host first sends request 0 (start-up) with its service callback; the library answers with
 * its FoxTable and the number 5000. The host then calls functions by index with request 1 and a
 * parameter block. A function returns its result through a return service (10 or 11); without
 * one the host's default result stands.
 *
 * Rules of the boundary: only plain data and codes cross it; no C++ exception ever does. Memory
 * behind handles belongs to the host and is allocated and freed only through handle services.
 * The structures below only ever grow at their end.
 */
#ifndef FOXEXT_H
#define FOXEXT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A handle names a movable memory block owned by the host; 0 is none. */
typedef uint32_t FoxHandle;

/* Value record: one parameter or one returned value. */
typedef struct FoxValue {
  char ev_type;        /* C character, I integer, N number, L logical, D date, O object,
                          H handle-backed text (return only), 0 when absent */
  int16_t ev_width;    /* display width (I, N) */
  uint32_t ev_length;  /* L: truth 0/1; C: byte count; N: decimals */
  int32_t ev_long;     /* I: the integer */
  double ev_real;      /* N: the number; D: the Julian day number */
  int64_t ev_currency; /* not read by this system */
  FoxHandle ev_handle; /* C: the text, not NUL-terminated */
  uint32_t ev_object;  /* O: the object reference */
} FoxValue;

/* Parameter block: the count of parameters passed, then one value record each. */
#define FOX_MAX_PARAMS 27
typedef struct FoxParamBlock {
  int16_t pCount;
  FoxValue p[FOX_MAX_PARAMS];
} FoxParamBlock;

typedef void (*FoxFunction)(FoxParamBlock *params);

/* Parameter count of a routine that the host runs once at load (such as "CALLONLOAD"). */
#define FOX_CALLONLOAD (-2)

/* One row of a library's function table.  Type letters are comma-separated or run together
 * ("OC?"): C I N L O ?, and a leading "." marks an optional parameter. */
typedef struct FoxInfo {
  const char *funcName;
  FoxFunction function;
  int16_t parameters;
  const char *parameterTypes;
} FoxInfo;

typedef struct FoxTable {
  struct FoxTable *nextLibrary; /* 0 */
  int16_t infoCount;
  const FoxInfo *infoPtr;
} FoxTable;

/* ---- host services ---------------------------------------------------------------------- */

enum FoxServiceCode {
  FOX_RET_DATE = 10,      /* text "mm/dd/yyyy" read under the host's date setting */
  FOX_RET_VALUE = 11,     /* value: I, N, L, D, or H (text in a new handle given to the host) */
  FOX_WINDOW_MOVE = 44,   /* window, row, column (args a, b, c = 2, d = 1) */
  FOX_WINDOW_PUT = 53,    /* window, text */
  FOX_EXECUTE = 54,       /* command text */
  FOX_EVALUATE = 55,      /* expression text -> value */
  FOX_READ_KEY = 62,      /* 1, 2 -> key code, 0 when none */
  FOX_ERROR = 83,         /* host error number (182: out of memory) */
  FOX_USER_ERROR = 84,    /* message text */
  FOX_SYSTEM_WINDOW = 112, /* host window -> system window handle */
  FOX_MAIN_WINDOW = 113,  /* 0, 1 -> host window */
  FOX_OBJECT_WINDOW = 121, /* object, 0 (window) or 16 (client) -> host window */
  FOX_SET_PROPERTY = 122, /* object, name, value, add flag */
  FOX_GET_PROPERTY = 123, /* object, name -> value */

  /* Handle services (codes of this implementation). */
  FOX_HANDLE_ALLOC = 200,  /* size -> handle, 0 on failure */
  FOX_HANDLE_FREE = 201,   /* handle */
  FOX_HANDLE_RESIZE = 202, /* handle, size -> 1, or 0 on failure */
  FOX_HANDLE_LOCK = 203,   /* handle */
  FOX_HANDLE_UNLOCK = 204, /* handle */
  FOX_HANDLE_POINTER = 205, /* handle -> pointer */
  FOX_HANDLE_SIZE = 206,   /* handle -> size in bytes */

  /* Window geometry (code of this implementation): system window handle (a) -> left, top,
   * width, height in pixels in a, b, c, d; result 0 when the handle names no window.
   * Handle 0 asks for the screen. */
  FOX_WINDOW_RECT = 207,

  /* Wait for a key (code of this implementation): sleeps until a key can be read with service
   * 62 -> result FOX_KEY_READY, or until no key can come any more because the keyboard's input
   * has ended -> FOX_KEY_INPUT_ENDED, or until the host asks the call to stop ->
   * FOX_KEY_STOP. On the virtual clock, time jumps to the next scripted key. */
  FOX_WAIT_KEY = 208,
  /* Whether the host asks the running call to stop (code of this implementation): result 1
   * once the operator has interrupted the command (Ctrl-C) or the host is ending (SIGTERM,
   * SIGHUP), else 0. A library then lets go of its hardware and returns as soon as it can. */
  FOX_STOP_REQUESTED = 209
};

/* Results of FOX_WAIT_KEY. */
enum FoxKeyWait { FOX_KEY_READY = 1, FOX_KEY_INPUT_ENDED = 2, FOX_KEY_STOP = 3 };

/* Arguments of one host service call.  Which fields a service reads or writes is listed with
 * its code above; fields it does not use are ignored. */
typedef struct FoxServiceArgs {
  int32_t code;
  int32_t a, b, c, d;     /* integer arguments (window, object, flags, sizes) */
  FoxHandle handle;       /* handle argument of handle services */
  const char *text;       /* text argument (not NUL-terminated) */
  uint32_t textLength;
  const char *name;       /* property name (NUL-terminated) */
  FoxValue value;         /* value argument, or the value a service returns */
  int32_t result;         /* integer result */
  void *pointer;          /* pointer result (FOX_HANDLE_POINTER) */
} FoxServiceArgs;

/* The host's service callback.  Returns 0 when the service was carried out, or a host error
 * number.  Services 83 and 84 return too: the library must then return from its entry at once
 * (the C++ layer does this by unwinding to the dispatch entry). */
typedef int32_t (*FoxHostService)(void *hostContext, FoxServiceArgs *args);

/* A clock shared by the host and its libraries.  When the host hands one over at start-up, the
 * libraries read time from it instead of CLOCK_MONOTONIC; every read advances it by
 * advanceMicros, so a library spinning on it moves virtual time forward. */
typedef struct FoxVirtualClock {
  uint64_t nowMicros;
  uint32_t advanceMicros;
} FoxVirtualClock;

/* ---- the dispatch entry ----------------------------------------------------------------- */

enum FoxRequestCode {
  FOX_REQ_STARTUP = 0,      /* host hands services; library answers table and 5000 */
  FOX_REQ_CALL = 1,         /* call infoPtr[index] with params */
  FOX_REQ_ALLOC = 2,        /* allocate a host handle of size bytes -> handle */
  FOX_REQ_FREE = 4,         /* free handle */
  FOX_REQ_POINTER = 6,      /* pointer of handle */
  FOX_REQ_CALL_ROUTINE = 10, /* call routine with params */
  FOX_REQ_CALL_ROUTINE_NOARGS = 11, /* call routine with an empty parameter block */
  FOX_REQ_TABLE = 14,       /* answer the table and 5000 again */
  FOX_REQ_REGISTER = 16,    /* second table: register name -> number */
  FOX_REQ_DROP = 17,        /* second table: drop name */
  FOX_REQ_LOOKUP = 18       /* second table: look up name -> number, 0 if absent */
};

#define FOX_INTERFACE_VERSION 5000

typedef struct FoxRequest {
  int32_t code;
  /* start-up (0) */
  FoxHostService hostService;
  void *hostContext;
  FoxVirtualClock *clock;   /* 0: real monotonic clock */
  /* answers of 0 and 14 */
  const FoxTable *table;
  int32_t version;
  /* call (1, 10, 11) */
  int32_t index;
  FoxFunction routine;
  FoxParamBlock *params;
  /* handles (2, 4, 6) */
  uint32_t size;
  FoxHandle handle;
  void *pointer;
  /* second table (16, 17, 18) */
  const char *name;
  int32_t number;
  /* 0 when the request was carried out, otherwise a host error number */
  int32_t status;
} FoxRequest;

/* The one exported entry of every library. */
typedef void (*FoxDispatchEntry)(FoxRequest *request);
#define FOX_DISPATCH_SYMBOL "DispatchAPI"

/* Host error numbers used by this system. */
#define FOX_ERR_NO_MEMORY 182
#define FOX_ERR_USER 1098 /* a user error raised by a library with its own message */

#ifdef __cplusplus
}
#endif

#endif /* FOXEXT_H */
