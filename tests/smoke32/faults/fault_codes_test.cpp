// Each kind of processor fault, raised in a child process and left unhandled, must end the child
// with its own exception code. Under qemu-user every fault reached Wine as the same unknown trap
// (an access violation became an illegal instruction, int3 hung); wine/trapno-preload
// restores the trap number. Run with the 32-bit smoke (ctest label smoke32).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/process.h"
#include "support/text.h"

namespace {

#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int recurse(int depth) {
    volatile char page[4096];
    page[0] = static_cast<char>(depth);
    return recurse(depth + 1) + page[0];
}

// The last-chance filter ends the child with the fault's code at once, without starting winedbg.
LONG WINAPI endWithTheCode(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

// The child: raises the named fault and has no handler for it.
int raiseFault(const char* name) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(endWithTheCode);
    volatile int zero = 0, seven = 7;
    if (!std::strcmp(name, "read")) return *reinterpret_cast<volatile int*>(static_cast<intptr_t>(zero) + 16);
    if (!std::strcmp(name, "write")) *reinterpret_cast<volatile int*>(static_cast<intptr_t>(zero) + 16) = 1;
    if (!std::strcmp(name, "ud2")) __asm__ volatile("ud2");
    if (!std::strcmp(name, "int3")) __asm__ volatile("int3");
    if (!std::strcmp(name, "divide")) return seven / zero;
    if (!std::strcmp(name, "guard")) {
        auto* page =
            static_cast<volatile char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD));
        return page ? page[0] : 2;
    }
    if (!std::strcmp(name, "stack")) return recurse(0);
    return 3;
}

struct Fault {
    const char* name;
    DWORD code;
};

// Starts this program as the child for one fault and returns its exit code.
DWORD exitCodeOf(const char* name) {
    wchar_t self[MAX_PATH];
    support::Launch child;
    child.exe.assign(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    child.arguments = L"--fault " + support::utf16(name);
    const support::Finished run = support::runToEnd(child, 60000);  // STILL_ACTIVE when it hangs
    return run.started ? run.exitCode : run.error;
}

TEST(FaultCodes, EachUnhandledFaultEndsTheProcessWithItsOwnCode) {
    const Fault faults[] = {
        {"read", EXCEPTION_ACCESS_VIOLATION},     {"write", EXCEPTION_ACCESS_VIOLATION},
        {"ud2", EXCEPTION_ILLEGAL_INSTRUCTION},   {"int3", EXCEPTION_BREAKPOINT},
        {"divide", EXCEPTION_INT_DIVIDE_BY_ZERO}, {"guard", STATUS_GUARD_PAGE_VIOLATION},
        {"stack", EXCEPTION_STACK_OVERFLOW},
    };
    for (const Fault& fault : faults) {
        char expected[16], seen[16];
        DWORD code = exitCodeOf(fault.name);
        wsprintfA(expected, "0x%08lX", fault.code);
        wsprintfA(seen, "0x%08lX", code);
        EXPECT_STREQ(seen, expected) << "the child that raised \"" << fault.name << "\"";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "--fault")) return raiseFault(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
