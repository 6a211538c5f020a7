#pragma once
// The solver's working state: every required constraint solved for one of its
// variables (the "basic" variable of its row), written in terms of the variables that
// remain free (the parameters). Adding a constraint substitutes the rows into it; what
// is left either fixes a new basic variable, reduces to 0 = 0 (implied), or to c = 0
// with c nonzero (a contradiction).

#include "Constraint.h"

#include <cstdint>
#include <map>
#include <unordered_set>
#include <vector>

namespace layout {

class SolverImpl {
public:
    void addConstraint(const Constraint&);
    void removeConstraint(const Constraint&);
    bool hasConstraint(const Constraint& constraint) const { return m_known.count(constraint.identity()); }
    bool isDetermined(const Variable&) const;
    void updateVariables();

private:
    struct Row {
        Variable basic;
        Expression expression;
    };
    using Rows = std::map<std::uint64_t, Row>;
    enum class Outcome {
        Added,
        Implied,
        Contradiction
    };

    static Expression substitute(const Expression&, const Rows&);
    static Outcome addRow(Rows&, const Expression&);
    void rebuild();

    Rows m_rows;
    std::vector<Constraint> m_required;
    std::vector<Constraint> m_weak;
    std::unordered_set<const void*> m_known;
};

} // namespace layout
