// The floor of a command: a C++ program that prints one line.
#include <iostream>

int main() { std::cout << "hello\n"; }
