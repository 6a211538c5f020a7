#pragma once
// A term of a linear expression: coefficient × variable.

#include "Variable.h"

namespace layout {

struct Term {
    Variable variable;
    double coefficient = 1;
};

} // namespace layout
