// What a program under test wrote to a stdio stream.
#pragma once

#include <cstdio>
#include <string>

namespace quarn {

/// Everything written to `stream` (a tmpfile()), which is then closed.
std::string TakeStreamText(FILE* stream);

}  // namespace quarn
