#pragma once
// The floor for a message send: a C++ virtual call. The implementation lives in another
// file, so the compiler of the loop knows no override it could call directly instead.

struct VirtualCounterBase {
    virtual ~VirtualCounterBase() = default;
    virtual long increment(long by) = 0;
};

VirtualCounterBase* makeVirtualCounter();
