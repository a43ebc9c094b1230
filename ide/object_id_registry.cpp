#include "ide/object_id_registry.h"

namespace quarn {

ObjectIdRegistry::ObjectIdRegistry() : used_(65536, 0) {}

}  // namespace quarn
