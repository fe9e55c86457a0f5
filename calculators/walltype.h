#pragma once

namespace subprogram {

// The kind of gravity wall, as the wall window's options choose it and its section is drawn.
enum class WallType { NotChosen = 0, Upright = 1, Shelf = 2 };

} // namespace subprogram
