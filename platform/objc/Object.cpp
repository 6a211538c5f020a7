#include "Object.h"

#include "runtime.h"

namespace objc {

Object::~Object()
{
    assert(m_refCount == 0 || !m_adopted);
}

void Object::release()
{
    assert(m_refCount > 0);
    if (--m_refCount)
        return;
    dealloc();
}

WeakLink* Object::weakLink()
{
    if (!m_weakLink)
        m_weakLink = new WeakLink(this);
    return m_weakLink;
}

void Object::dealloc()
{
    m_deallocating = true;
    if (m_weakLink) {
        m_weakLink->revoke();
        m_weakLink->release();
        m_weakLink = nullptr;
    }
    // Releasing associated values can run arbitrary code; the object is already marked
    // as dying, so nothing can resurrect it through a weak pointer meanwhile.
    objc_removeAssociatedObjects(this);
    delete this;
}

} // namespace objc
