#include "SolverImpl.h"

#include "Errors.h"

#include <algorithm>
#include <cmath>

namespace layout {

namespace {

// Layout values are points, a few thousand at most; a residue below this is rounding.
constexpr double kTolerance = 1e-7;

} // namespace

Expression SolverImpl::substitute(const Expression& expression, const Rows& rows)
{
    Expression result(expression.constant());
    for (auto& term : expression.terms()) {
        auto row = rows.find(term.variable.id());
        if (row == rows.end())
            result += Expression(term);
        else
            result += row->second.expression * term.coefficient;
    }
    return result.reduced();
}

SolverImpl::Outcome SolverImpl::addRow(Rows& rows, const Expression& expression)
{
    Expression reduced = substitute(expression, rows);
    if (reduced.terms().empty())
        return std::abs(reduced.constant()) < kTolerance ? Outcome::Implied : Outcome::Contradiction;

    // Solve for the term with the largest coefficient (the first of equals), which keeps
    // the division well conditioned.
    auto pivot = std::max_element(reduced.terms().begin(), reduced.terms().end(), [](const Term& a, const Term& b) {
        return std::abs(a.coefficient) < std::abs(b.coefficient);
    });
    Variable basic = pivot->variable;
    double coefficient = pivot->coefficient;
    // c·v + rest = 0  =>  v = -rest / c
    Expression rest = reduced - Expression(Term { basic, coefficient });
    Expression solved = (-rest / coefficient).reduced();

    // The new basic variable leaves every other row.
    Rows single { { basic.id(), Row { basic, solved } } };
    for (auto& [id, row] : rows)
        row.expression = substitute(row.expression, single);
    rows.emplace(basic.id(), Row { basic, solved });
    return Outcome::Added;
}

void SolverImpl::addConstraint(const Constraint& constraint)
{
    if (hasConstraint(constraint))
        throw DuplicateConstraint(constraint);
    if (constraint.strength() == Strength::Required) {
        if (addRow(m_rows, constraint.expression()) == Outcome::Contradiction)
            throw UnsatisfiableConstraint(constraint);
        m_required.push_back(constraint);
    } else {
        m_weak.push_back(constraint);
    }
    m_known.insert(constraint.identity());
}

void SolverImpl::removeConstraint(const Constraint& constraint)
{
    if (!hasConstraint(constraint))
        throw UnknownConstraint(constraint);
    m_known.erase(constraint.identity());
    auto& list = constraint.strength() == Strength::Required ? m_required : m_weak;
    list.erase(std::find(list.begin(), list.end(), constraint));
    if (constraint.strength() == Strength::Required)
        rebuild();
}

void SolverImpl::rebuild()
{
    // The remaining required constraints were consistent together, so none can fail.
    m_rows.clear();
    for (auto& constraint : m_required)
        addRow(m_rows, constraint.expression());
}

bool SolverImpl::isDetermined(const Variable& variable) const
{
    auto row = m_rows.find(variable.id());
    return row != m_rows.end() && row->second.expression.terms().empty();
}

void SolverImpl::updateVariables()
{
    // Weak constraints go into a copy, so the next required constraint still meets only
    // the required ones.
    Rows rows = m_rows;
    for (auto& constraint : m_weak)
        addRow(rows, constraint.expression());
    // Parameters keep their values; the basic variables follow from them.
    for (auto& [id, row] : rows)
        row.basic.setValue(row.expression.value());
}

} // namespace layout
