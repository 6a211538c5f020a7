#pragma once
// NSIndexPath with UIKit's table additions: a row within a section.

#include "NSObject.h"

class NSIndexPath : public NSObject {
    OBJC_INTERFACE(NSIndexPath)
public:
    NSIndexPath() = default;

    // +indexPathForRow:inSection:
    static objc::RefPtr<NSIndexPath> indexPathForRow(long row, long section);

    long row() const { return m_row; }
    long section() const { return m_section; }

    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override { return static_cast<std::size_t>(m_section * 1000003 + m_row); }
    nlohmann::json jsonValue() const override { return { m_section, m_row }; }
    // Immutable, so a copy is the object itself.
    objc::RefPtr<NSObject> copyWithZone() const override { return const_cast<NSIndexPath*>(this); }

    static void registerRuntimeClass();

private:
    long m_row = 0;
    long m_section = 0;
};
