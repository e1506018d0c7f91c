#pragma once
// A large catalogue is hundreds of megabytes of small allocations, and the
// kernel's page faults for them were a quarter of a list load on a virtual
// machine.  Told to back its heap with transparent huge pages, the C library
// takes one fault for 2 MiB instead of one for 4 KiB.  It reads that setting
// only when a program starts, so the program starts itself again, once, with
// the setting added to its environment.  A setting of the user's own for it
// (GLIBC_TUNABLES=glibc.malloc.hugetlb=0 turns it off) is left alone, and so
// is a system whose huge pages are off.

#include <string>

// Returns only when the program goes on as it is: the setting is there
// already, does not apply, or the program could not be started again.
void RestartWithHugePageHeap(char** argv);

// The environment value that asks for the huge-page heap, added to the
// user's `current` one; empty when `current` already decides it.
std::string HugePageTunables(const char* current);
