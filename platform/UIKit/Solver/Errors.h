#pragma once
// The ways the solver can be misused, each its own error carrying the constraint.

#include "Constraint.h"

#include <stdexcept>

namespace layout {

class ConstraintError : public std::runtime_error {
public:
    ConstraintError(const char* what, Constraint constraint)
        : std::runtime_error(what + (constraint.label().empty() ? std::string() : ": " + constraint.label()))
        , m_constraint(std::move(constraint))
    {
    }
    const Constraint& constraint() const { return m_constraint; }

private:
    Constraint m_constraint;
};

// A required constraint that contradicts the required constraints already added.
class UnsatisfiableConstraint : public ConstraintError {
public:
    explicit UnsatisfiableConstraint(Constraint constraint)
        : ConstraintError("unsatisfiable constraint", std::move(constraint))
    {
    }
};

// A constraint added twice.
class DuplicateConstraint : public ConstraintError {
public:
    explicit DuplicateConstraint(Constraint constraint)
        : ConstraintError("duplicate constraint", std::move(constraint))
    {
    }
};

// A constraint removed that was never added.
class UnknownConstraint : public ConstraintError {
public:
    explicit UnknownConstraint(Constraint constraint)
        : ConstraintError("unknown constraint", std::move(constraint))
    {
    }
};

} // namespace layout
