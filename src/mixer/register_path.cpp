#include "mixer/register_path.h"

namespace kestrel {

RegisterPath& TheRegisterPath() {
  static RegisterPath path;  // outlives every thread that reads it
  return path;
}

}  // namespace kestrel
