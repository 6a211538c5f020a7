#pragma once
// A linear equality, `expression == 0`, with a strength. Required constraints must all
// hold; weak ones hold where the required ones leave room, earlier ones first (the
// layout code uses them to keep what is undetermined where it was). Constraints are
// handles: copies are the same constraint.

#include "Expression.h"

#include <memory>
#include <string>

namespace layout {

enum class Strength {
    Required,
    Weak
};

class Constraint {
public:
    Constraint(Expression expression, Strength = Strength::Required, std::string label = {});

    const Expression& expression() const { return m_data->expression; }
    Strength strength() const { return m_data->strength; }
    // Says what the constraint stands for, in error messages.
    const std::string& label() const { return m_data->label; }

    bool operator==(const Constraint& other) const { return m_data == other.m_data; }
    const void* identity() const { return m_data.get(); }

private:
    struct Data {
        Expression expression;
        Strength strength;
        std::string label;
    };
    std::shared_ptr<Data> m_data;
};

// `a == b` reads as the required constraint a - b == 0.
Constraint operator==(const Expression& a, const Expression& b);

} // namespace layout
