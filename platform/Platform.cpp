#include "Platform.h"

namespace {
TPlatform current;
}

TPlatform& Platform() { return current; }

void SetPlatform(const TPlatform& platform) { current = platform; }
