/* The resolver's C half: the stubs' assembly half (cmake/DelayLoad.cmake) saves the
 * arguments of the call in progress, calls this, and resumes the call in the library. */

#define _GNU_SOURCE
#include "DelayLoad.h"

#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <unistd.h>

static __attribute__((noreturn)) void cannotLoad(const char* soname, const char* why)
{
    fflush(stdout);
    fprintf(stderr, "%s: cannot load %s: %s\n", program_invocation_short_name, soname, why ? why : "unknown error");
    _exit(127);
}

void lumetrix_delay_load(struct DelayLoadedLibrary* library)
{
    void* handle = dlopen(library->soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        cannotLoad(library->soname, dlerror());
    for (unsigned long i = 0; i < library->count; ++i) {
        void* function = dlsym(handle, library->names[i]);
        if (!function)
            cannotLoad(library->soname, dlerror());
        /* Another thread may be jumping through the table meanwhile: each slot changes in
         * one store, from the resolver to the function. */
        __atomic_store_n(&library->slots[i], function, __ATOMIC_RELEASE);
    }
}
