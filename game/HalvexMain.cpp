// Entry of the game program. Until the window exists it only names itself.

#include <cstdio>

#include "game/Version.h"

int main()
{
    std::printf("%s %s\n", HALVEX_PRODUCT_NAME, HALVEX_VERSION);
    return 0;
}
