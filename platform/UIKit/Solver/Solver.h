#pragma once
// An exact solver for systems of linear equalities, in the shape of kiwi's (variables,
// expressions, constraints and a solver behind a thin facade), reduced to what view
// layout needs: equalities only, of two strengths.
//
// Required constraints are kept solved for their variables as they are added, so a
// contradiction is found at once, reported, and leaves the solver as it was. Weak
// constraints are applied at each update, in the order they were added, wherever the
// required ones leave room; a variable that nothing fixes keeps its value.

#include "Constraint.h"
#include "Variable.h"

#include <memory>

namespace layout {

class SolverImpl;

class Solver {
public:
    Solver();
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // Throws DuplicateConstraint, or for a required constraint UnsatisfiableConstraint
    // (the solver is then unchanged). A required constraint that the others already
    // imply is accepted.
    void addConstraint(const Constraint&);
    // Throws UnknownConstraint.
    void removeConstraint(const Constraint&);
    bool hasConstraint(const Constraint&) const;

    // Whether the required constraints alone fix the variable's value.
    bool isDetermined(const Variable&) const;

    // Writes the solution into the variables of every constraint.
    void updateVariables();

    void reset();

private:
    std::unique_ptr<SolverImpl> m_impl;
};

} // namespace layout
