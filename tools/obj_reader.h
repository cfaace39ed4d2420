// Reads a user's mesh from a Wavefront OBJ file: the x and y of every `v`
// statement, and every `f` statement as a fan of triangles. Everything else
// the format can say (texture coordinates, normals, groups, materials) has
// no meaning for a mask and is passed over.
#ifndef MASKFIT_TOOLS_OBJ_READER_H
#define MASKFIT_TOOLS_OBJ_READER_H

#include <istream>
#include <string>

#include "input_error.h"
#include "mesh.h"

namespace demo {

// The message names the file and, for a fault in its text, the line.
struct ObjError : InputError {
    using InputError::InputError;
};

Mesh ReadObjFile(const std::string& path);

// `name` stands for the source in messages.
Mesh ParseObj(std::istream& in, const std::string& name);

}  // namespace demo

#endif
