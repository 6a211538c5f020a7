#include "Solver.h"

#include "SolverImpl.h"

namespace layout {

Solver::Solver()
    : m_impl(std::make_unique<SolverImpl>())
{
}

Solver::~Solver() = default;

void Solver::addConstraint(const Constraint& constraint)
{
    m_impl->addConstraint(constraint);
}

void Solver::removeConstraint(const Constraint& constraint)
{
    m_impl->removeConstraint(constraint);
}

bool Solver::hasConstraint(const Constraint& constraint) const
{
    return m_impl->hasConstraint(constraint);
}

bool Solver::isDetermined(const Variable& variable) const
{
    return m_impl->isDetermined(variable);
}

void Solver::updateVariables()
{
    m_impl->updateVariables();
}

void Solver::reset()
{
    m_impl = std::make_unique<SolverImpl>();
}

} // namespace layout
