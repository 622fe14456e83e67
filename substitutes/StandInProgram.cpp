// A stand-in for one of the product's programs that the tool does not contain: it only has to
// exist with a version resource, so the about page has something real to list.
#include <cstdio>

int main() {
    std::puts("VELK Network Monitor stand-in program");
    return 0;
}
