#include "UIKit/Solver/Errors.h"
#include "UIKit/Solver/Solver.h"

#include <gtest/gtest.h>

using layout::Constraint;
using layout::Expression;
using layout::Solver;
using layout::Strength;
using layout::Variable;

TEST(Layout_Solver, SolvesAChainOfEqualitiesExactly)
{
    Variable left, width, centre, right;
    Solver solver;
    solver.addConstraint(Expression(centre) == Expression(left) + 0.5 * Expression(width));
    solver.addConstraint(Expression(right) == Expression(left) + width);
    solver.addConstraint(Expression(width) == 100);
    solver.addConstraint(Expression(centre) == 187.5);
    solver.updateVariables();
    EXPECT_DOUBLE_EQ(left.value(), 137.5);
    EXPECT_DOUBLE_EQ(right.value(), 237.5);
    EXPECT_TRUE(solver.isDetermined(left));
    EXPECT_TRUE(solver.isDetermined(right));
}

TEST(Layout_Solver, ContradictionIsRejectedAndLeavesTheSolverAsItWas)
{
    Variable x, width;
    Solver solver;
    solver.addConstraint(Expression(x) == 10);
    solver.addConstraint(Expression(width) == 50);
    Constraint contradiction = Expression(x) + width == 100;
    try {
        solver.addConstraint(contradiction);
        FAIL() << "a contradiction must be reported";
    } catch (const layout::UnsatisfiableConstraint& error) {
        EXPECT_TRUE(error.constraint() == contradiction);
    }
    EXPECT_FALSE(solver.hasConstraint(contradiction));
    // Implied by what is there: accepted.
    solver.addConstraint(Expression(x) + width == 60);
    solver.updateVariables();
    EXPECT_DOUBLE_EQ(x.value(), 10);
    EXPECT_DOUBLE_EQ(width.value(), 50);
}

TEST(Layout_Solver, MisuseHasItsOwnErrors)
{
    Variable x;
    Solver solver;
    Constraint c = Expression(x) == 1;
    solver.addConstraint(c);
    EXPECT_THROW(solver.addConstraint(c), layout::DuplicateConstraint);
    solver.removeConstraint(c);
    EXPECT_THROW(solver.removeConstraint(c), layout::UnknownConstraint);
}

TEST(Layout_Solver, RemovingAConstraintFreesWhatItFixed)
{
    Variable x, y;
    Solver solver;
    Constraint fixX = Expression(x) == 5;
    solver.addConstraint(fixX);
    solver.addConstraint(Expression(y) == Expression(x) * 2);
    EXPECT_TRUE(solver.isDetermined(y));
    solver.removeConstraint(fixX);
    EXPECT_FALSE(solver.isDetermined(y));
    solver.addConstraint(Expression(x) == 7);
    solver.updateVariables();
    EXPECT_DOUBLE_EQ(y.value(), 14);
}

TEST(Layout_Solver, WeakConstraintsFillOnlyTheRoomLeftInOrder)
{
    Variable left, width;
    Solver solver;
    solver.addConstraint(Expression(left) + 0.5 * Expression(width) == 50);
    // The first weak wish fixes the width; the second contradicts the result and loses.
    solver.addConstraint(Constraint(Expression(width) - 20, Strength::Weak));
    solver.addConstraint(Constraint(Expression(left) - 0, Strength::Weak));
    EXPECT_FALSE(solver.isDetermined(left)) << "weak constraints do not count as determining";
    solver.updateVariables();
    EXPECT_DOUBLE_EQ(width.value(), 20);
    EXPECT_DOUBLE_EQ(left.value(), 40);

    // A required constraint added later still wins over the earlier weak one.
    solver.addConstraint(Expression(width) == 30);
    solver.updateVariables();
    EXPECT_DOUBLE_EQ(width.value(), 30);
    EXPECT_DOUBLE_EQ(left.value(), 35);
}

TEST(Layout_Solver, UnconstrainedParametersKeepTheirValues)
{
    Variable a, b;
    a.setValue(3);
    Solver solver;
    solver.addConstraint(Expression(b) == Expression(a) + 1);
    solver.updateVariables();
    // Either may be chosen as the free one; the equation holds and nothing moved that
    // did not have to.
    EXPECT_DOUBLE_EQ(b.value() - a.value(), 1);
}
