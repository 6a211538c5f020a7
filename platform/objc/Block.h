#pragma once
// Blocks: what ^{ ... } makes in Objective-C, a reference-counted object holding code and
// what it captured. Methods that take one (+animateWithDuration:animations:,
// +scheduledTimerWithTimeInterval:repeats:block:) receive it as an object encoded "@?",
// so a block crosses the runtime as it does on iOS instead of as a C++ callable.
//
// Objective-C does not encode a block's own signature in a method's types, so the method
// receiving one checks it here: a block of another signature stops the process.

#include "Object.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

Class objc_getClass(const char* name);

namespace objc {

// What every block is to the runtime; the signature is the concrete Block's business.
class BlockObject : public Object {
public:
    const void* signature() const { return m_signature; }

protected:
    explicit BlockObject(const void* signature)
        : m_signature(signature)
    {
    }

private:
    const void* m_signature;
};

template<typename Signature>
class Block;

template<typename R, typename... Args>
class Block<R(Args...)> final : public BlockObject {
public:
    using Function = std::function<R(Args...)>;

    // A heap block (one that has been copied, as a block kept past its call is), whose
    // class is __NSMallocBlock__ once Foundation has registered it.
    static RefPtr<Block> create(Function function)
    {
        static Class cls = nullptr;
        if (!cls)
            cls = objc_getClass("__NSMallocBlock__");
        return make<Block>(cls, std::move(function));
    }

    // The block passed to a method as `block`, or the process stops if it is of another
    // signature. Nil stays nil.
    static Block* from(BlockObject* block)
    {
        if (block && block->signature() != &s_signature) {
            std::fprintf(stderr, "*** block of the wrong signature passed to a method expecting %s\n", __PRETTY_FUNCTION__);
            std::abort();
        }
        return static_cast<Block*>(block);
    }

    R operator()(Args... args) const { return m_function(std::forward<Args>(args)...); }

    explicit Block(Function function)
        : BlockObject(&s_signature)
        , m_function(std::move(function))
    {
    }

private:
    static inline const char s_signature = 0;
    Function m_function;
};

} // namespace objc
