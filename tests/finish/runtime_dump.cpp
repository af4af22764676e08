// Prints the whole runtime as runtimeText writes it, for the tests that run
// it in LibreOffice: what ships, not the .bas file.
#include <iostream>
#include <set>

#include "finish/runtime.h"

int main() {
    const auto& names = ftvb::finish::runtimeNames();
    std::cout << ftvb::finish::runtimeText({names.begin(), names.end()});
    return 0;
}
