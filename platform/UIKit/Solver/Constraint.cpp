#include "Constraint.h"

namespace layout {

Constraint::Constraint(Expression expression, Strength strength, std::string label)
    : m_data(std::make_shared<Data>(Data { expression.reduced(), strength, std::move(label) }))
{
}

Constraint operator==(const Expression& a, const Expression& b)
{
    return Constraint(a - b);
}

} // namespace layout
