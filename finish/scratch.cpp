#include "finish/scratch.h"

namespace ftvb::finish {

namespace {
thread_local Scratch* lent = nullptr;  // a pointer: nothing to destroy when the thread ends
}

Scratch* threadScratch() { return lent; }

ScratchScope::ScratchScope() : previous_(lent) { lent = &own_; }

ScratchScope::~ScratchScope() { lent = previous_; }

}  // namespace ftvb::finish
