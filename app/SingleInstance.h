// The single-instance guard: an exclusive lock named "ZELKORENGINE", in a
// folder only the player can write to, so nobody else can hold it for them.
#pragma once
#include <string>

namespace zk {

// Where the lock lives: $XDG_RUNTIME_DIR when it is a private folder of this
// user, else the folder "zelkor" in the user's cache ($XDG_CACHE_HOME, else
// ~/.cache), made private (0700). Empty, with error set, when neither can be
// had.
std::string InstanceLockPath(std::string& error);

enum class LockResult { Acquired, HeldByAnother, Unavailable };
// Opens (without following a symbolic link) and locks the file at path; it
// must be a regular file of this user. On success the lock is held for the
// life of the process.
LockResult TakeInstanceLock(const std::string& path, std::string& error);

// Takes the lock for the life of the process. False when another instance
// holds it. When no lock can be had the game still starts, with a warning.
bool AcquireSingleInstance();

}  // namespace zk
