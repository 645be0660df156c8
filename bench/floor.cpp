// The benchmark's floor: a GUI program that does nothing, built as regval is.
int main() { return 0; }
