#pragma once
// A look at property-list bytes before the parsing library sees them. The library
// recurses once per level of nesting and follows binary object references wherever they
// point, so a hostile file nested tens of thousands deep takes it seconds (or its stack);
// here the nesting is measured without recursion, binary object references are checked to
// stay inside the file and never to loop, and XML dates are checked to be written as
// property lists write them. What passes is safe to hand over.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Why `bytes` must not reach the parser (too deeply nested, a reference out of the
// file or into a loop, a malformed date), or empty when they may.
std::string propertyListShapeProblem(const std::uint8_t* bytes, std::size_t size, unsigned maximumDepth);

} // namespace platform
