#pragma once
// A linear expression: a sum of terms plus a constant. The operators below let the
// layout code write constraints as they read: `x + 0.5 * width == other + 20`.

#include "Term.h"

#include <vector>

namespace layout {

class Expression {
public:
    Expression(double constant = 0)
        : m_constant(constant)
    {
    }
    Expression(const Variable& variable)
        : m_terms { { variable, 1 } }
    {
    }
    Expression(Term term)
        : m_terms { std::move(term) }
    {
    }
    Expression(std::vector<Term> terms, double constant)
        : m_terms(std::move(terms))
        , m_constant(constant)
    {
    }

    const std::vector<Term>& terms() const { return m_terms; }
    double constant() const { return m_constant; }
    // The expression's value from its variables' current values.
    double value() const;
    // Like terms combined, in order of first appearance, and zero terms dropped.
    Expression reduced() const;

    Expression& operator+=(const Expression&);
    Expression& operator-=(const Expression&);
    Expression& operator*=(double);

private:
    std::vector<Term> m_terms;
    double m_constant = 0;
};

Expression operator+(Expression, const Expression&);
Expression operator-(Expression, const Expression&);
Expression operator-(Expression);
Expression operator*(Expression, double);
Expression operator*(double, Expression);
Expression operator/(Expression, double);

} // namespace layout
