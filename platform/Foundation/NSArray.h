#pragma once
// NSArray and NSMutableArray: ordered lists of objects, each held strongly. Like
// Foundation's, they never hold nil; inserting nil stops the process.

#include "NSObject.h"

#include <vector>

class NSMutableArray;

class NSArray : public NSObject {
    OBJC_INTERFACE(NSArray)
public:
    NSArray() = default;

    static objc::RefPtr<NSArray> create(std::vector<objc::RefPtr<NSObject>>);

    std::size_t count() const { return m_objects.size(); }
    // Out of range stops the process with an NSRangeException, as on iOS.
    NSObject* objectAtIndex(std::size_t) const;
    NSObject* firstObject() const { return m_objects.empty() ? nullptr : m_objects.front().get(); }
    NSObject* lastObject() const { return m_objects.empty() ? nullptr : m_objects.back().get(); }
    // The objects themselves. Code that calls out while walking them should walk a copy,
    // since a mutable array may change under it.
    const std::vector<objc::RefPtr<NSObject>>& objects() const { return m_objects; }
    bool containsObject(const NSObject*) const;

    objc::RefPtr<NSMutableArray> mutableCopy() const;

    std::string descriptionString() const override { return descriptionWithIndent(0); }
    std::string descriptionWithIndent(unsigned level) const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override { return m_objects.size(); }
    nlohmann::json jsonValue() const override;
    objc::RefPtr<NSObject> copyWithZone() const override;

protected:
    std::vector<objc::RefPtr<NSObject>> m_objects;
};

class NSMutableArray : public NSArray {
    OBJC_INTERFACE(NSMutableArray)
public:
    NSMutableArray() = default;

    static objc::RefPtr<NSMutableArray> create();

    void addObject(NSObject*);
    void insertObjectAtIndex(NSObject*, std::size_t);
    // Removes every object equal (isEqual) to the argument.
    void removeObject(const NSObject*);
    void removeObjectAtIndex(std::size_t);
    void removeAllObjects();

    // A mutable array copies into an immutable one, so the copy cannot change later.
    objc::RefPtr<NSObject> copyWithZone() const override;
};
