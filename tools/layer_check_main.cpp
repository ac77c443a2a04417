// The program each subsystem library is linked into, whole, with only the libraries it may use
// (see the top CMakeLists.txt): it links only when the subsystem calls nothing else.
int main() {
    return 0;
}
