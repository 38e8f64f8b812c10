// The single-instance guard: an exclusive lock named "ZELKORENGINE".
#pragma once

namespace zk {

// Takes the lock for the life of the process. False when another instance holds it.
bool AcquireSingleInstance();

}  // namespace zk
