/* Preloaded into 32-bit programs run by qemu-i386: qemu puts trapno = -1 into the signal frames
 * it builds, and Wine reads the kind of fault from that number alone (an access violation became
 * an illegal instruction, guard pages failed, int3 hung). This library wraps sigaction so that each
 * SA_SIGINFO handler of a fault signal first gets the trap number the kernel would have given,
 * worked out from the signal and its si_code. A frame whose trapno is set is left alone.
 * Built with gcc -m32 -nostdlib -shared against the i386 libc (no 32-bit headers needed), so the
 * few kernel and glibc layouts used are written out here. */

#define SIGILL 4
#define SIGTRAP 5
#define SIGBUS 7
#define SIGFPE 8
#define SIGSEGV 11
#define SA_SIGINFO 4
#define SI_KERNEL 0x80
#define TRAP_TRACE 2
#define FPE_INTDIV 1
#define FPE_INTOVF 2

/* x86 trap numbers, as Wine's signal handlers read them */
#define TRAP_DIVIDE 0
#define TRAP_SINGLE_STEP 1
#define TRAP_BREAKPOINT 3
#define TRAP_OVERFLOW 4
#define TRAP_ILLEGAL_INSTRUCTION 6
#define TRAP_PROTECTION 13
#define TRAP_PAGE_FAULT 14
#define TRAP_FPU 16

typedef void (*info_handler)(int, void*, void*);

/* glibc's struct sigaction on i386 */
struct action {
    info_handler handler;
    unsigned long mask[32];
    int flags;
    void (*restorer)(void);
};

/* the start of siginfo_t */
struct info {
    int signo, error, code;
};

/* ucontext_t on i386 up to the general registers; trapno is register 12 */
struct context {
    unsigned long flags;
    void* link;
    void* stack_base;
    int stack_flags;
    unsigned long stack_size;
    long registers[19];
};
#define REGISTER_TRAPNO 12

extern int __sigaction(int signal, const struct action* action, struct action* old);
extern int unsetenv(const char* name);

static info_handler handlers[SIGSEGV + 1];

static int fault_signal(int signal) {
    return signal == SIGILL || signal == SIGTRAP || signal == SIGBUS || signal == SIGFPE || signal == SIGSEGV;
}

static long trap_number(int signal, int code) {
    switch (signal) {
        case SIGSEGV:
            return code == SI_KERNEL ? TRAP_PROTECTION : TRAP_PAGE_FAULT;
        case SIGBUS:
            return TRAP_PAGE_FAULT;
        case SIGILL:
            return TRAP_ILLEGAL_INSTRUCTION;
        case SIGTRAP:
            return code == TRAP_TRACE ? TRAP_SINGLE_STEP : TRAP_BREAKPOINT;
        default: /* SIGFPE */
            return code == FPE_INTDIV ? TRAP_DIVIDE : code == FPE_INTOVF ? TRAP_OVERFLOW : TRAP_FPU;
    }
}

/* Runs in the signal's context: no libc call, no thread-local data. */
static void with_trap_number(int signal, void* info, void* context) {
    struct context* frame = context;
    if (frame && frame->registers[REGISTER_TRAPNO] == -1)
        frame->registers[REGISTER_TRAPNO] = trap_number(signal, info ? ((struct info*)info)->code : 0);
    handlers[signal](signal, info, context);
}

__attribute__((visibility("default"))) int sigaction(int signal, const struct action* action,
                                                     struct action* old) {
    if (!fault_signal(signal)) return __sigaction(signal, action, old);
    info_handler previous = handlers[signal];
    struct action wrapped;
    if (action && (action->flags & SA_SIGINFO) && (unsigned long)action->handler > 1) {
        wrapped = *action;
        handlers[signal] = action->handler;
        wrapped.handler = with_trap_number;
        action = &wrapped;
    }
    int result = __sigaction(signal, action, old);
    if (old && old->handler == with_trap_number) old->handler = previous;
    return result;
}

/* Each 32-bit program is started again through the binfmt_misc interpreter, which names this
 * library for it; native 64-bit children (wineserver, wine64) must not inherit a 32-bit preload. */
__attribute__((constructor)) static void forget_preload(void) { unsetenv("LD_PRELOAD"); }
