// The glTF library's code, compiled here from its header. The packaged shared library was
// built with another layout of the loader class than its header declares (its callbacks
// land on the loader's message strings), so the header's own implementation is used; the
// images it decodes and encodes go through the stb library.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
#include <nlohmann/json.hpp>
