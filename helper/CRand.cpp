#include "helper/CRand.h"

namespace {

uint32_t gState = 1;

}  // namespace

int crand()
{
    gState = gState * 214013u + 2531011u;
    return static_cast<int>((gState >> 16) & CRAND_MAX);
}

void csrand(uint32_t seed)
{
    gState = seed;
}
