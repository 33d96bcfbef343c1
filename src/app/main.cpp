#include "app/application.h"

int main(int argc, char** argv)
{
    return vantric::runApplication(argc, argv);
}
