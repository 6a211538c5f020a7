#include "Expression.h"

#include <cmath>
#include <unordered_map>

namespace layout {

double Expression::value() const
{
    double result = m_constant;
    for (auto& term : m_terms)
        result += term.coefficient * term.variable.value();
    return result;
}

Expression Expression::reduced() const
{
    std::vector<Term> terms;
    std::unordered_map<std::uint64_t, std::size_t> positions;
    for (auto& term : m_terms) {
        auto [it, inserted] = positions.emplace(term.variable.id(), terms.size());
        if (inserted)
            terms.push_back(term);
        else
            terms[it->second].coefficient += term.coefficient;
    }
    // Coefficients this small are rounding left over from cancelling terms.
    std::erase_if(terms, [](const Term& term) { return std::abs(term.coefficient) < 1e-12; });
    return Expression(std::move(terms), m_constant);
}

Expression& Expression::operator+=(const Expression& other)
{
    m_terms.insert(m_terms.end(), other.m_terms.begin(), other.m_terms.end());
    m_constant += other.m_constant;
    return *this;
}

Expression& Expression::operator-=(const Expression& other)
{
    return *this += -other;
}

Expression& Expression::operator*=(double factor)
{
    for (auto& term : m_terms)
        term.coefficient *= factor;
    m_constant *= factor;
    return *this;
}

Expression operator+(Expression a, const Expression& b) { return a += b; }
Expression operator-(Expression a, const Expression& b) { return a -= b; }
Expression operator-(Expression a) { return a *= -1; }
Expression operator*(Expression a, double factor) { return a *= factor; }
Expression operator*(double factor, Expression a) { return a *= factor; }
Expression operator/(Expression a, double divisor) { return a *= 1 / divisor; }

} // namespace layout
