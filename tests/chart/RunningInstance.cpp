#include "sheet/automation/Application.h"

#include <iostream>
#include <string>

// Keeps one engine instance alive in its own process until its input ends, so that tests have
// "another program" running the engine.
int main()
{
    sheet::Application instance;
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    instance.Quit();
    return 0;
}
