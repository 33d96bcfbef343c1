#include "app/application.h"
#include "app/command_line.h"
#include "app/identity.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (auto status = vantric::answerWithoutWindow(argc, argv, std::cout, std::cerr))
        return *status;
    vantric::announceIdentity();
    return vantric::runApplication(argc, argv);
}
