#pragma once

namespace platform {

// Makes the allocator hand every large block (a picture, a sound) back to
// the system when it is freed, instead of raising its threshold and keeping
// freed pictures in the heap: the program's resident memory then follows
// what it holds.
void ReturnLargeBlocksToTheSystem();

}  // namespace platform
