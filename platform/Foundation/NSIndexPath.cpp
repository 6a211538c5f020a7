#include "NSIndexPath.h"

objc::RefPtr<NSIndexPath> NSIndexPath::indexPathForRow(long row, long section)
{
    auto indexPath = NSIndexPath::alloc();
    indexPath->m_row = row;
    indexPath->m_section = section;
    return indexPath;
}

std::string NSIndexPath::descriptionString() const
{
    return "<NSIndexPath> {length = 2, path = " + std::to_string(m_section) + " - " + std::to_string(m_row) + "}";
}

bool NSIndexPath::isEqual(const NSObject* other) const
{
    auto indexPath = objc_cast<NSIndexPath>(const_cast<NSObject*>(other));
    return indexPath && indexPath->m_row == m_row && indexPath->m_section == m_section;
}

void NSIndexPath::registerRuntimeClass()
{
    if (objc_getClass("NSIndexPath"))
        return;
    Class cls = objc::defineClass<NSIndexPath>("NSIndexPath", NSObject::staticClass());
    objc::addMethod(cls, "row", +[](NSIndexPath* self, SEL) { return self->row(); });
    objc::addMethod(cls, "section", +[](NSIndexPath* self, SEL) { return self->section(); });
}
