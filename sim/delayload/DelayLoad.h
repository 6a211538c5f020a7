#pragma once
/* A shared library that a program calls but loads only at the first call into it, as a
 * delay-loaded library: the program's references to the library's functions reach stubs
 * (made by lumetrix_delay_load in cmake/DelayLoad.cmake) that jump through a table of
 * addresses. Every entry starts at the library's resolver, which loads the library, fills
 * the whole table and goes on to the function called. A program that never calls in never
 * maps the library, nor what the library itself needs. */

#ifdef __cplusplus
extern "C" {
#endif

struct DelayLoadedLibrary {
    const char* soname;
    const char* const* names;
    void** slots;
    unsigned long count;
};

/* Loads `library` and points every slot at its function. When the library or one of its
 * functions is missing, says so on standard error and ends the process with status 127,
 * as the dynamic loader does for a library it cannot load at start. */
__attribute__((visibility("hidden"))) void lumetrix_delay_load(struct DelayLoadedLibrary* library);

#ifdef __cplusplus
}
#endif
