#include "NSArray.h"

#include <utility>

using objc::RefPtr;

namespace {

std::string indentation(unsigned level)
{
    return std::string(4 * level, ' ');
}

// An index past the end stops the process with the message iOS gives.
[[noreturn]] void raiseRangeException(const NSArray* array, const char* selector, std::size_t index, std::size_t count)
{
    std::string reason = std::string("*** -[") + class_getName(array->getClass()) + " " + selector + "]: index " + std::to_string(index);
    if (!count)
        platform::raiseException("NSRangeException", reason + " beyond bounds for empty array");
    platform::raiseException("NSRangeException", reason + " beyond bounds [0 .. " + std::to_string(count - 1) + "]");
}

} // namespace

RefPtr<NSArray> NSArray::create(std::vector<RefPtr<NSObject>> objects)
{
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (!objects[i])
            platform::raiseException("NSInvalidArgumentException",
                "*** -[NSArray initWithObjects:count:]: attempt to insert nil object from objects[" + std::to_string(i) + "]");
    }
    auto array = alloc();
    array->m_objects = std::move(objects);
    return array;
}

NSObject* NSArray::objectAtIndex(std::size_t index) const
{
    if (index >= m_objects.size())
        raiseRangeException(this, "objectAtIndex:", index, m_objects.size());
    return m_objects[index].get();
}

bool NSArray::containsObject(const NSObject* object) const
{
    for (auto& element : m_objects) {
        if (element->isEqual(object))
            return true;
    }
    return false;
}

RefPtr<NSMutableArray> NSArray::mutableCopy() const
{
    auto copy = NSMutableArray::create();
    copy->m_objects = m_objects;
    return copy;
}

std::string NSArray::descriptionWithIndent(unsigned level) const
{
    // Foundation's layout, quirks included: a nested collection starts at its own
    // indentation after the parent's, so it sits one step further right than its items.
    std::string text = indentation(level) + "(\n";
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        text += indentation(level + 1) + m_objects[i]->descriptionWithIndent(level + 1);
        text += i + 1 < m_objects.size() ? ",\n" : "\n";
    }
    return text + indentation(level) + ")";
}

bool NSArray::isEqual(const NSObject* other) const
{
    auto array = objc_cast<NSArray>(const_cast<NSObject*>(other));
    if (!array || array->m_objects.size() != m_objects.size())
        return false;
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        if (!m_objects[i]->isEqual(array->m_objects[i].get()))
            return false;
    }
    return true;
}

nlohmann::json NSArray::jsonValue() const
{
    auto array = nlohmann::json::array();
    for (auto& element : m_objects)
        array.push_back(element->jsonValue());
    return array;
}

RefPtr<NSObject> NSArray::copyWithZone() const
{
    return const_cast<NSArray*>(this);
}

RefPtr<NSMutableArray> NSMutableArray::create()
{
    return alloc();
}

void NSMutableArray::addObject(NSObject* object)
{
    insertObjectAtIndex(object, m_objects.size());
}

void NSMutableArray::insertObjectAtIndex(NSObject* object, std::size_t index)
{
    if (!object)
        platform::raiseException("NSInvalidArgumentException", std::string("*** -[") + class_getName(isa()) + " insertObject:atIndex:]: object cannot be nil");
    // Inserting at count appends, so the valid range is one wider than for reading.
    if (index > m_objects.size())
        raiseRangeException(this, "insertObject:atIndex:", index, m_objects.size() + 1);
    m_objects.insert(m_objects.begin() + index, RefPtr<NSObject>(object));
}

void NSMutableArray::removeObject(const NSObject* object)
{
    // The removed objects are released only once the array is whole again: a release
    // can run a dealloc that looks at this array.
    std::vector<RefPtr<NSObject>> kept;
    std::vector<RefPtr<NSObject>> removed;
    for (auto& element : m_objects)
        (element->isEqual(object) ? removed : kept).push_back(std::move(element));
    m_objects = std::move(kept);
}

void NSMutableArray::removeObjectAtIndex(std::size_t index)
{
    if (index >= m_objects.size())
        raiseRangeException(this, "removeObjectAtIndex:", index, m_objects.size());
    RefPtr<NSObject> removed = std::move(m_objects[index]);
    m_objects.erase(m_objects.begin() + index);
}

void NSMutableArray::removeAllObjects()
{
    auto removed = std::exchange(m_objects, {});
}

RefPtr<NSObject> NSMutableArray::copyWithZone() const
{
    return NSArray::create(m_objects);
}
