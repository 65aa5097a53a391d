// The examora command line. For now its main job is the launch sequence.
#include <cstdio>

int main() {
    std::puts("examora");
    return 0;
}
