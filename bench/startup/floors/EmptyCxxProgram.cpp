// The least a C++ program costs to start: the C++ runtime (libstdc++, libm, libgcc_s)
// mapped and initialised, and one use of it so the linker keeps it.

#include <string>

int main(int argc, char** argv)
{
    std::string name(argc > 0 ? argv[0] : "");
    return name.empty() ? 1 : 0;
}
