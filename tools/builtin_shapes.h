// The shapes of the built-in scenario, modelled like the game's pieces.
#ifndef MASKFIT_TOOLS_BUILTIN_SHAPES_H
#define MASKFIT_TOOLS_BUILTIN_SHAPES_H

#include <string>
#include <vector>

#include "mesh.h"

namespace demo {

// In placement order. Every mesh starts at (0, 0), so that its mask holds
// no empty strip before the content rectangle.
std::vector<NamedMesh> BuiltinShapes();

}  // namespace demo

#endif
