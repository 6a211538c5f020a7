/* A library the delay-load tests call through their stubs: functions whose arguments fill
 * every register a call passes them in and go on to the stack, and one of variable
 * arguments. */

#include <stdarg.h>
#include <stdio.h>

long probe_sum(long a, long b, long c, long d, long e, long f, long g, long h)
{
    return a + 2 * b + 3 * c + 4 * d + 5 * e + 6 * f + 7 * g + 8 * h;
}

double probe_mix(int a, double b, int c, double d, double e, double f, double g, double h, double i, double j, double k)
{
    return a + 2 * b + 3 * c + 4 * d + 5 * e + 6 * f + 7 * g + 8 * h + 9 * i + 10 * j + 11 * k;
}

int probe_format(char* out, unsigned long size, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    int written = vsnprintf(out, size, format, arguments);
    va_end(arguments);
    return written;
}
