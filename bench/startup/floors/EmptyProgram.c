/* The floor of any process: exec, the C library's start-up, exit. */
int main(void)
{
    return 0;
}
