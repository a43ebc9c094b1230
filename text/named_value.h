// Reading back an enumeration that files store by name.
#pragma once

#include <cstddef>
#include <string>

namespace quarn {

/// True with `*found` set to the value of `every` that `name_of` calls
/// `name`; false, leaving `*found` alone, when none is called so.
template <typename T, size_t N>
bool ValueNamed(const T (&every)[N], const char* (*name_of)(T),
                const std::string& name, T* found) {
  for (T candidate : every) {
    if (name == name_of(candidate)) {
      *found = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace quarn
